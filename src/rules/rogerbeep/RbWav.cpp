#include "rules/rogerbeep/RbWav.h"

#include <QSaveFile>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace kt {

namespace {

QByteArray WavHeader(qsizetype dataBytes, int sampleRate);

// Appends the samples of one playing of p to out (after room set aside
// for a header); false when the pattern has nothing to play.
bool AppendPatternPcm(QByteArray& out, qsizetype headerRoom, const RbPatternRec& p, int runs, int sampleRate)
{
    RbPatternRec shown = p;
    if (runs > 0) shown.RbRecycle = int16_t(std::min(runs, 255));
    // The player's own sequence, so the file holds exactly what is heard.
    RbSequence seq;
    if (!seq.PreparePlayback(shown)) return false;
    seq.Begin([&shown] { return shown; });
    qint64 total = 0;
    std::vector<RbStep> steps;
    while (auto s = seq.Next()) {
        steps.push_back(*s);
        total += SamplesFor(s->ms, sampleRate) * 2;
    }
    QByteArray& pcm = out;
    pcm.reserve(headerRoom + total);
    pcm.resize(headerRoom);
    // Runs repeat their tones: each different step is synthesised once.
    std::map<std::pair<int, int>, QByteArray> made;
    for (const RbStep& s : steps) {
        const auto key = std::make_pair(s.kind == RbStep::Tone ? s.freqHz : 0, s.ms);
        auto it = made.find(key);
        if (it == made.end())
            it = made.emplace(key, key.first ? SynthesizeTone(s.freqHz, s.ms, sampleRate) : SynthesizeSilence(s.ms, sampleRate)).first;
        pcm += it->second;
    }
    return true;
}

}  // namespace

QByteArray PatternPcm(const RbPatternRec& p, int runs, int sampleRate)
{
    QByteArray pcm;
    AppendPatternPcm(pcm, 0, p, runs, sampleRate);
    return pcm;
}

QByteArray PatternWav(const RbPatternRec& p, int runs)
{
    QByteArray wav;
    if (!AppendPatternPcm(wav, 44, p, runs, kToneSampleRate)) return {};
    const QByteArray h = WavHeader(wav.size() - 44, kToneSampleRate);
    std::memcpy(wav.data(), h.constData(), 44);
    return wav;
}

QByteArray WavFile(const QByteArray& pcm, int sampleRate) { return WavHeader(pcm.size(), sampleRate) + pcm; }

namespace {

QByteArray WavHeader(qsizetype dataBytes, int sampleRate)
{
    QByteArray w(44, '\0');
    auto* h = reinterpret_cast<uchar*>(w.data());
    auto u32 = [h](int at, quint32 v) { qToLittleEndian<quint32>(v, h + at); };
    auto u16 = [h](int at, quint16 v) { qToLittleEndian<quint16>(v, h + at); };
    std::memcpy(h, "RIFF", 4);
    u32(4, quint32(36 + dataBytes));
    std::memcpy(h + 8, "WAVEfmt ", 8);
    u32(16, 16);                          // size of the format chunk
    u16(20, 1);                           // PCM
    u16(22, 1);                           // mono
    u32(24, quint32(sampleRate));
    u32(28, quint32(sampleRate) * 2);     // bytes per second
    u16(32, 2);                           // bytes per frame
    u16(34, 16);                          // bits per sample
    std::memcpy(h + 36, "data", 4);
    u32(40, quint32(dataBytes));
    return w;
}

}  // namespace

bool SavePatternWav(const QString& path, const RbPatternRec& p, int runs, QString& error)
{
    const QByteArray wav = PatternWav(p, runs);
    if (wav.isEmpty()) {
        error = QStringLiteral("the pattern has nothing to play");
        return false;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        error = f.errorString();
        return false;
    }
    if (f.write(wav) != wav.size() || !f.commit()) {
        error = f.errorString();
        f.cancelWriting();
        return false;
    }
    return true;
}

}  // namespace kt
