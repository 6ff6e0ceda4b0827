// The WAV export measured as a listener would: the file is decoded and its
// tones found by zero crossings, then compared with the pattern's table.
#include "rules/rogerbeep/RbWav.h"
#include "TestSupport.h"

#include <QDir>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace kt;

namespace {

struct Heard {
    double hz, startMs, lengthMs;
};

struct Decoded {
    int rate = 0, channels = 0, bits = 0, format = 0;
    std::vector<int16_t> samples;
};

// Reads a RIFF file chunk by chunk, trusting only what the header says.
Decoded Decode(const QByteArray& file)
{
    Decoded d;
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(file.constData() + at); };
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(file.constData() + at); };
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE") return d;
    EXPECT_EQ(u32(4), quint32(file.size() - 8));
    for (qsizetype at = 12; at + 8 <= file.size();) {
        const QByteArray id = file.mid(at, 4);
        const quint32 size = u32(at + 4);
        if (id == "fmt ") {
            d.format = u16(at + 8);
            d.channels = u16(at + 10);
            d.rate = int(u32(at + 12));
            EXPECT_EQ(u32(at + 16), quint32(d.rate * d.channels * 2));
            EXPECT_EQ(u16(at + 20), d.channels * 2);
            d.bits = u16(at + 22);
        } else if (id == "data") {
            EXPECT_EQ(at + 8 + size, quint32(file.size()));
            for (quint32 k = 0; k + 1 < size; k += 2) d.samples.push_back(qFromLittleEndian<qint16>(file.constData() + at + 8 + k));
        }
        at += 8 + size + (size & 1);
    }
    return d;
}

// Tones are stretches of sound between silences of 1 ms or more; within a
// stretch a jump of the half period marks the next tone.
std::vector<Heard> Listen(const std::vector<int16_t>& s, int rate)
{
    std::vector<Heard> heard;
    const double msPerSample = 1000.0 / rate;
    size_t k = 0;
    while (k < s.size()) {
        while (k < s.size() && s[k] == 0) ++k;
        if (k >= s.size()) break;
        size_t end = k, zeros = 0;
        for (size_t j = k; j < s.size() && zeros < size_t(rate / 1000); ++j) {
            if (s[j] == 0) ++zeros;
            else { zeros = 0; end = j; }
        }
        // Sign changes in [k, end], interpolated to a fraction of a sample.
        std::vector<double> cross;
        int lastSign = 0;
        size_t lastAt = k;
        for (size_t j = k; j <= end; ++j) {
            const int sign = (s[j] > 0) - (s[j] < 0);
            if (!sign) continue;
            if (lastSign && sign != lastSign)
                cross.push_back(lastAt + double(s[lastAt]) / (s[lastAt] - s[j]) * double(j - lastAt));
            lastSign = sign;
            lastAt = j;
        }
        std::vector<size_t> cuts{0};
        for (size_t c = 2; c + 1 < cross.size(); ++c) {
            const double before = cross[c - 1] - cross[c - 2], now = cross[c + 1] - cross[c];
            if (now > before * 1.4 || now < before / 1.4) cuts.push_back(c);
        }
        cuts.push_back(cross.size());
        double from = double(k);
        for (size_t c = 0; c + 1 < cuts.size(); ++c) {
            const size_t a = cuts[c], b = cuts[c + 1] - 1;
            if (b <= a + 2) continue;
            const double hz = (b - a) / 2.0 / ((cross[b] - cross[a]) / rate);
            const double to = c + 2 < cuts.size() ? cross[b] + (cross[b + 1] - cross[b]) / 2 : double(end + 1);
            heard.push_back({hz, from * msPerSample, (to - from) * msPerSample});
            from = to;
        }
        k = end + 1;
    }
    return heard;
}

// What the table of a pattern says is heard: frequency code x 10 Hz for
// length code x 10 ms, a frequency of None a rest, the inter time after each run.
std::vector<Heard> Expected(const RbPatternRec& p, int runs)
{
    std::vector<Heard> e;
    double t = 0;
    for (int r = 0; r < runs; ++r) {
        for (int i = 0; i < kRbTones; ++i) {
            const int ms = p.RbTone[1][i] * 10;
            if (ms == 0) continue;
            if (p.RbTone[0][i] > 0) e.push_back({p.RbTone[0][i] * 10.0, t, double(ms)});
            t += ms;
        }
        t += p.RbInterTime * 10;
    }
    return e;
}

RbPatternRec Mixed()
{
    RbPatternRec p;
    p.RbRecycle = 3;
    p.RbInterTime = 25;
    const int tones[][2] = {{60, 8}, {180, 5}, {0, 3}, {255, 2}, {0, 1}, {40, 1}, {100, 0}, {100, 4}};
    for (int i = 0; i < 8; ++i) {
        p.RbTone[0][i] = int16_t(tones[i][0]);
        p.RbTone[1][i] = int16_t(tones[i][1]);
    }
    return p;
}

void ExpectHeard(const std::vector<Heard>& heard, const std::vector<Heard>& expected)
{
    ASSERT_EQ(heard.size(), expected.size());
    for (size_t i = 0; i < heard.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(heard[i].hz, expected[i].hz, expected[i].hz * 0.01);
        // The fades of a tone and the cut between two tones blur its edges a little.
        EXPECT_NEAR(heard[i].startMs, expected[i].startMs, 1.5);
        EXPECT_NEAR(heard[i].lengthMs, expected[i].lengthMs, 2.5);
    }
}

}  // namespace

TEST(RbWav, FileHoldsEveryToneRestPauseAndRunOfThePattern)
{
    const RbPatternRec p = Mixed();
    const QByteArray wav = PatternWav(p);
    EXPECT_EQ(wav, WavFile(PatternPcm(p)));
    const Decoded d = Decode(wav);
    EXPECT_EQ(d.format, 1);
    EXPECT_EQ(d.channels, 1);
    EXPECT_EQ(d.bits, 16);
    ASSERT_EQ(d.rate, 48000);
    ExpectHeard(Listen(d.samples, d.rate), Expected(p, 3));
    // Three runs of 80+50+30+20+10+10+40 ms, each followed by 250 ms of pause.
    EXPECT_EQ(d.samples.size(), size_t(3 * (240 + 250) * 48));
}

TEST(RbWav, RunCountCanBeGivenAndTonesKeepThePlayersFades)
{
    const RbPatternRec p = Mixed();
    const QByteArray pcm = PatternPcm(p, 5);
    const Decoded d = Decode(WavFile(pcm));
    ExpectHeard(Listen(d.samples, d.rate), Expected(p, 5));
    // The samples are the player's: the first tone with its fade-in and fade-out.
    const QByteArray first = SynthesizeTone(600, 80);
    EXPECT_EQ(pcm.left(first.size()), first);
    EXPECT_EQ(d.samples[0], 0);
    EXPECT_LT(std::abs(d.samples[10]), 200);

    RbPatternRec silent = p;
    for (int i = 0; i < kRbTones; ++i) silent.RbTone[1][i] = 0;
    EXPECT_TRUE(PatternPcm(silent).isEmpty());
}

TEST(RbWav, AFailedSaveLeavesNoFileAndKeepsAnOldOne)
{
    test::TempInstall install(false, false);
    QString error;
    const QString old = install.path("old.wav");
    ASSERT_TRUE(test::WriteFile(old, "before"));
    EXPECT_FALSE(SavePatternWav(install.path("no/such/folder/x.wav"), Mixed(), 0, error));
    EXPECT_FALSE(error.isEmpty());

    // A folder in the way: the rename fails, nothing is left behind.
    ASSERT_TRUE(QDir(install.root()).mkdir("taken.wav"));
    const QStringList before = QDir(install.root()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    EXPECT_FALSE(SavePatternWav(install.path("taken.wav"), Mixed(), 0, error));
    EXPECT_EQ(QDir(install.root()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), before);

    RbPatternRec nothing;
    EXPECT_FALSE(SavePatternWav(old, nothing, 0, error));
    EXPECT_EQ(test::ReadFile(old), "before");
    ASSERT_TRUE(SavePatternWav(old, Mixed(), 1, error)) << error.toStdString();
    EXPECT_EQ(test::ReadFile(old).size(), 44 + (240 + 250) * 48 * 2);
}
