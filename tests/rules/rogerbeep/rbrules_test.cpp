#include "rules/rogerbeep/RbRules.h"

#include <gtest/gtest.h>

using namespace kt;

namespace {

void Define(Workspace& ws, int n, int recycle = 1)
{
    RbPatternRec& p = Pattern(ws, n);
    p = RbPatternRec{};
    p.RbRecycle = int16_t(recycle);
    p.RbTone[0][0] = 100;
    p.RbTone[1][0] = 20;
}

ChannelRec& AddChannel(Workspace& ws, int band, int group, int chNo)
{
    int16_t& count = ws.ChannelCount(band, group);
    ++count;
    ChannelRec& ch = ws.Channels(band, count, group);
    ch.ChNo = int16_t(chNo);
    return ch;
}

}  // namespace

TEST(RbPattern, DefinedNeedsARunAndSomeLength)
{
    struct Case { int recycle; int toneIndex; int dur; bool defined; };
    const Case cases[] = {
        {1, 0, 1, true}, {10, 13, 255, true}, {0, 0, 20, false},
        {1, 0, 0, false}, {1, 5, -1, false}, {-1, 0, 20, false},
    };
    for (const Case& c : cases) {
        RbPatternRec p;
        p.RbRecycle = int16_t(c.recycle);
        p.RbTone[0][c.toneIndex] = 0;           // a rest counts as long as it has a length
        p.RbTone[1][c.toneIndex] = int16_t(c.dur);
        EXPECT_EQ(PatternIsDefined(p), c.defined) << c.recycle << "/" << c.dur;
    }
}

TEST(RbPattern, NumbersAndCount)
{
    Workspace ws;
    EXPECT_EQ(CountDefinedPatterns(ws), 0);
    Define(ws, 3);
    Define(ws, 8);
    EXPECT_EQ(CountDefinedPatterns(ws), 2);
    for (int n = -1; n <= 9; ++n)
        EXPECT_EQ(PatternIsDefined(ws, n), (n == 3 || n == 8) ? n : 0) << n;
}

TEST(RbReferences, UndefinedPatternIsClearedEverywhereItIsReferenced)
{
    Workspace ws;
    Define(ws, 3);
    Define(ws, 5);
    ChannelRec& a = AddChannel(ws, 0, 1, 1);   a.RogerBeep = 5;
    ChannelRec& b = AddChannel(ws, 1, 10, 2);  b.RogerBeep = 5;
    ChannelRec& c = AddChannel(ws, 0, 4, 3);   c.RogerBeep = 3;
    ChannelRec& d = AddChannel(ws, 0, 11, 4);  d.RogerBeep = 5;   // groups past 10 are left alone
    ChannelRec& e = AddChannel(ws, 1, 13, 1);  e.RogerBeep = 5;
    ws.OptFeat().PublicRogerBeep = 5;
    ws.WorkRecord.ComChanRb = 5;

    Pattern(ws, 5).RbRecycle = 0;
    ClearUndefinedRbReferences(ws);

    EXPECT_EQ(a.RogerBeep, 0);
    EXPECT_EQ(b.RogerBeep, 0);
    EXPECT_EQ(c.RogerBeep, 3);
    EXPECT_EQ(d.RogerBeep, 5);
    EXPECT_EQ(e.RogerBeep, 5);
    EXPECT_EQ(ws.OptFeat().PublicRogerBeep, 0);
    EXPECT_EQ(ws.WorkRecord.ComChanRb, 0);

    ws.OptFeat().PublicRogerBeep = 3;
    ws.WorkRecord.ComChanRb = 3;
    ClearUndefinedRbReferences(ws);
    EXPECT_EQ(ws.OptFeat().PublicRogerBeep, 3);
    EXPECT_EQ(ws.WorkRecord.ComChanRb, 3);
}

TEST(RbLists, EntriesAndFrequencyCodes)
{
    EXPECT_EQ(RbRecycleList(English).size(), 11);
    EXPECT_EQ(RbRecycleList(English).first(), "Off");
    EXPECT_EQ(RbRecycleList(Chinese).first(), QString::fromUtf8("关"));
    EXPECT_EQ(RbTimeList().size(), 256);
    EXPECT_EQ(RbTimeList().at(255), "2550");
    const QStringList freq = RbFreqList(English);
    ASSERT_EQ(freq.size(), 217);
    EXPECT_EQ(RbFreqList(Chinese).first(), QString::fromUtf8("无"));

    struct Case { int code; int index; };
    const Case cases[] = {{0, 0}, {30, 0}, {39, 0}, {40, 1}, {100, 61}, {255, 216}, {256, 0}, {-5, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(RbFreqIndex(c.code), c.index) << c.code;
        if (c.index > 0) {
            EXPECT_EQ(freq.at(c.index), QString::number(c.code * 10));
            EXPECT_EQ(RbFreqCodeAt(c.index), c.code);
        }
    }
    EXPECT_EQ(freq.at(0), "None");
    EXPECT_EQ(RbFreqCodeAt(0), 0);
    EXPECT_EQ(RbFreqCodeAt(217), 0);
}

TEST(RbDrawing, BarsShareTheWidthByLengthAndRiseWithFrequency)
{
    RbPatternRec p;
    p.RbTone[0][0] = 128; p.RbTone[1][0] = 10;   // tone 1
    p.RbTone[1][1] = 0;                          // tone 2 has no length: no bar
    p.RbTone[0][2] = 0;   p.RbTone[1][2] = 10;   // tone 3 is a rest
    p.RbTone[0][3] = 255; p.RbTone[1][3] = 20;   // tone 4
    const auto bars = PatternBars(p, 8100, 1600);
    ASSERT_EQ(bars.size(), 3u);
    // W = 8000, T = 40, H = 1500
    EXPECT_EQ(bars[0].tone, 1);
    EXPECT_EQ(bars[0].x, 50);   EXPECT_EQ(bars[0].w, 2000);
    EXPECT_EQ(bars[0].h, 750);  EXPECT_EQ(bars[0].y, 1600 - 50 - 750);
    EXPECT_TRUE(bars[0].red);
    EXPECT_EQ(bars[1].tone, 3);
    EXPECT_EQ(bars[1].x, 2050); EXPECT_EQ(bars[1].w, 2000); EXPECT_EQ(bars[1].h, 0);
    EXPECT_TRUE(bars[1].red);
    EXPECT_EQ(bars[2].tone, 4);
    EXPECT_EQ(bars[2].x, 4050); EXPECT_EQ(bars[2].w, 4000);
    EXPECT_EQ(bars[2].h, 1494);  // 255 * 1500 / 256 rounded
    EXPECT_FALSE(bars[2].red);
    EXPECT_EQ(bars[2].x + bars[2].w, 8050);

    EXPECT_TRUE(PatternBars(RbPatternRec{}, 8100, 1600).empty());
}
