#include "rules/rogerbeep/RbPlayer.h"

#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace kt;

namespace {

RbPatternRec Example()
{
    // Two runs of 1000 Hz for 200 ms and a 100 ms rest, 500 ms after each run.
    RbPatternRec p;
    p.RbRecycle = 2;
    p.RbInterTime = 50;
    p.RbTone[0][0] = 100; p.RbTone[1][0] = 20;
    p.RbTone[0][1] = 0;   p.RbTone[1][1] = 10;
    return p;
}

std::vector<RbStep> AllSteps(RbSequence& seq)
{
    std::vector<RbStep> steps;
    while (auto s = seq.Next()) {
        steps.push_back(*s);
        if (steps.size() > 10000) break;
    }
    return steps;
}

// A sink the test drives by hand: it keeps the pending done.
struct ManualSink : ToneSink {
    std::vector<RbStep> played;
    std::function<void()> pending;
    int cancels = 0;
    void Play(const RbStep& s, std::function<void()> done) override { played.push_back(s); pending = std::move(done); }
    void Cancel() override { ++cancels; pending = nullptr; }
    bool Finish() {
        if (!pending) return false;
        auto d = std::move(pending);
        pending = nullptr;
        d();
        return true;
    }
};

const RbStep kTone1000{RbStep::Tone, 1000, 200};
const RbStep kRest100{RbStep::Rest, 0, 100};
const RbStep kPause500{RbStep::Pause, 0, 500};

}  // namespace

TEST(RbSequence, ExamplePatternPlaysTwiceWithRestAndPause)
{
    RbSequence seq;
    const RbPatternRec p = Example();
    ASSERT_TRUE(seq.PreparePlayback(p));
    EXPECT_EQ(seq.Runs(), 2);
    EXPECT_EQ(seq.PauseMs(), 500);
    EXPECT_EQ(seq.PatternTotalTime(), 300);
    seq.Begin([&] { return p; });
    const std::vector<RbStep> expected{kTone1000, kRest100, kPause500, kTone1000, kRest100, kPause500};
    EXPECT_EQ(AllSteps(seq), expected);
    EXPECT_FALSE(seq.Next().has_value());
}

TEST(RbSequence, ZeroLengthsAreSkippedAndLowFrequenciesRest)
{
    RbPatternRec p;
    p.RbRecycle = 1;
    p.RbTone[0][0] = 120; p.RbTone[1][0] = 0;    // no length: skipped
    p.RbTone[0][1] = 4;   p.RbTone[1][1] = 3;    // 40 Hz: a rest
    p.RbTone[0][2] = 5;   p.RbTone[1][2] = 1;    // 50 Hz: sounded
    p.RbTone[0][13] = 255; p.RbTone[1][13] = 255;
    RbSequence seq;
    ASSERT_TRUE(seq.PreparePlayback(p));
    seq.Begin([&] { return p; });
    const std::vector<RbStep> expected{
        {RbStep::Rest, 0, 30}, {RbStep::Tone, 50, 10}, {RbStep::Tone, 2550, 2550}, {RbStep::Pause, 0, 0}};
    EXPECT_EQ(AllSteps(seq), expected);
}

TEST(RbSequence, NothingToPlay)
{
    RbSequence seq;
    RbPatternRec empty;
    empty.RbRecycle = 3;
    EXPECT_FALSE(seq.PreparePlayback(empty));

    RbPatternRec off = Example();
    off.RbRecycle = 0;                       // playable length but no run
    ASSERT_TRUE(seq.PreparePlayback(off));
    seq.Begin([&] { return off; });
    EXPECT_TRUE(AllSteps(seq).empty());
}

TEST(RbSequence, TonesComeFromTheShownPatternRunsAndPauseFromTheStartedOne)
{
    const RbPatternRec first = Example();
    RbPatternRec second;
    second.RbRecycle = 9;                    // not taken over
    second.RbInterTime = 1;
    second.RbTone[0][0] = 200; second.RbTone[1][0] = 5;
    const RbPatternRec* shown = &first;
    RbSequence seq;
    ASSERT_TRUE(seq.PreparePlayback(first));
    seq.Begin([&] { return *shown; });
    ASSERT_EQ(seq.Next(), kTone1000);
    shown = &second;                         // the user switches the tab
    const std::vector<RbStep> expected{kPause500, {RbStep::Tone, 2000, 50}, kPause500};
    EXPECT_EQ(AllSteps(seq), expected);
}

TEST(RbPlayer, StopEndsBeforeTheNextToneAndLetsASoundingToneFinish)
{
    ManualSink sink;
    RbPlayer player(sink);
    const RbPatternRec p = Example();
    int finished = 0;
    ASSERT_TRUE(player.Start(p, [&] { return p; }, [&] { ++finished; }));
    ASSERT_EQ(sink.played.size(), 1u);
    EXPECT_EQ(sink.played[0], kTone1000);
    player.StopPlayback();
    EXPECT_TRUE(player.Playing());           // the tone sounds to its end
    EXPECT_EQ(finished, 0);
    ASSERT_TRUE(sink.Finish());
    EXPECT_FALSE(player.Playing());
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(sink.played.size(), 1u);       // nothing after the stop
    player.StopPlayback();
    EXPECT_EQ(finished, 1);
}

TEST(RbPlayer, StopDuringARestOrPauseEndsAtOnce)
{
    for (int stepsBeforeStop : {1, 2}) {     // in the rest, in the pause
        ManualSink sink;
        RbPlayer player(sink);
        const RbPatternRec p = Example();
        int finished = 0;
        ASSERT_TRUE(player.Start(p, [&] { return p; }, [&] { ++finished; }));
        for (int i = 0; i < stepsBeforeStop; ++i) ASSERT_TRUE(sink.Finish());
        player.StopPlayback();
        EXPECT_FALSE(player.Playing());
        EXPECT_EQ(finished, 1);
        EXPECT_EQ(sink.cancels, 1);
        EXPECT_FALSE(sink.Finish());
    }
}

TEST(RbPlayer, RunsToTheEndAndRefusesAPatternWithoutLength)
{
    ManualSink sink;
    RbPlayer player(sink);
    const RbPatternRec p = Example();
    int finished = 0;
    ASSERT_TRUE(player.Start(p, [&] { return p; }, [&] { ++finished; }));
    EXPECT_FALSE(player.Start(p, [&] { return p; }, [] {}));   // one playing at a time
    while (sink.Finish()) {}
    EXPECT_EQ(sink.played.size(), 6u);
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(player.Playing());

    RbPatternRec silent;
    silent.RbRecycle = 1;
    EXPECT_FALSE(player.Start(silent, [&] { return silent; }, [&] { ++finished; }));
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(sink.played.size(), 6u);
}

namespace {

std::vector<int> Samples(const QByteArray& pcm)
{
    std::vector<int> s(pcm.size() / 2);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = qFromLittleEndian<qint16>(reinterpret_cast<const uchar*>(pcm.constData()) + 2 * i);
    return s;
}

// Frequency from the number of rising zero crossings over the steady middle.
double MeasuredFrequency(const std::vector<int>& s, int rate)
{
    const size_t from = s.size() / 10, to = s.size() - s.size() / 10;
    size_t first = 0, last = 0;
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i) {
        if (s[i - 1] < 0 && s[i] >= 0) {
            if (crossings == 0) first = i;
            last = i;
            ++crossings;
        }
    }
    if (crossings < 2) return 0;
    return double(crossings - 1) * rate / double(last - first);
}

}  // namespace

TEST(ToneSynthesis, RightLengthAndFrequencyWithoutClicks)
{
    struct Case { int hz; int ms; int rate; };
    const Case cases[] = {{1000, 200, 48000}, {400, 2550, 48000}, {2550, 10, 48000}, {1230, 100, 44100}};
    for (const Case& c : cases) {
        const QByteArray pcm = SynthesizeTone(c.hz, c.ms, c.rate);
        const auto s = Samples(pcm);
        EXPECT_EQ(int(s.size()), c.rate * c.ms / 1000) << c.hz;
        EXPECT_NEAR(MeasuredFrequency(s, c.rate), c.hz, c.hz * 0.01) << c.hz << " Hz " << c.ms << " ms";
        // Starts and ends at rest, never jumps by more than the sine's own slope.
        EXPECT_LE(std::abs(s.front()), 50);
        EXPECT_LE(std::abs(s.back()), 200);
        const double maxStep = 0.5 * 32767 * 2 * M_PI * c.hz / c.rate * 1.1 + 2;
        int peak = 0;
        for (size_t i = 1; i < s.size(); ++i) {
            ASSERT_LE(std::abs(s[i] - s[i - 1]), maxStep) << c.hz << " at " << i;
            peak = std::max(peak, std::abs(s[i]));
        }
        EXPECT_GT(peak, 15000);
        EXPECT_LE(peak, 16384);
    }
    EXPECT_EQ(SynthesizeSilence(100).size(), 4800 * 2);
    EXPECT_EQ(SynthesizeSilence(100).count('\0'), 9600);
}
