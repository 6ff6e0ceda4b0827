#include "rules/rogerbeep/RbWav.h"

#include <QSaveFile>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <vector>

namespace kt {

QByteArray PatternPcm(const RbPatternRec& p, int runs, int sampleRate)
{
    RbPatternRec shown = p;
    if (runs > 0) shown.RbRecycle = int16_t(std::min(runs, 255));
    // The player's own sequence, so the file holds exactly what is heard.
    RbSequence seq;
    if (!seq.PreparePlayback(shown)) return {};
    seq.Begin([&shown] { return shown; });
    QByteArray pcm;
    qint64 total = 0;
    std::vector<RbStep> steps;
    while (auto s = seq.Next()) {
        steps.push_back(*s);
        total += SamplesFor(s->ms, sampleRate) * 2;
    }
    pcm.reserve(total);
    for (const RbStep& s : steps)
        pcm += s.kind == RbStep::Tone ? SynthesizeTone(s.freqHz, s.ms, sampleRate) : SynthesizeSilence(s.ms, sampleRate);
    return pcm;
}

QByteArray WavFile(const QByteArray& pcm, int sampleRate)
{
    QByteArray w(44, '\0');
    auto* h = reinterpret_cast<uchar*>(w.data());
    auto u32 = [h](int at, quint32 v) { qToLittleEndian<quint32>(v, h + at); };
    auto u16 = [h](int at, quint16 v) { qToLittleEndian<quint16>(v, h + at); };
    std::memcpy(h, "RIFF", 4);
    u32(4, quint32(36 + pcm.size()));
    std::memcpy(h + 8, "WAVEfmt ", 8);
    u32(16, 16);                          // size of the format chunk
    u16(20, 1);                           // PCM
    u16(22, 1);                           // mono
    u32(24, quint32(sampleRate));
    u32(28, quint32(sampleRate) * 2);     // bytes per second
    u16(32, 2);                           // bytes per frame
    u16(34, 16);                          // bits per sample
    std::memcpy(h + 36, "data", 4);
    u32(40, quint32(pcm.size()));
    return w + pcm;
}

bool SavePatternWav(const QString& path, const RbPatternRec& p, int runs, QString& error)
{
    const QByteArray pcm = PatternPcm(p, runs);
    if (pcm.isEmpty()) {
        error = QStringLiteral("the pattern has nothing to play");
        return false;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        error = f.errorString();
        return false;
    }
    const QByteArray wav = WavFile(pcm);
    if (f.write(wav) != wav.size() || !f.commit()) {
        error = f.errorString();
        f.cancelWriting();
        return false;
    }
    return true;
}

}  // namespace kt
