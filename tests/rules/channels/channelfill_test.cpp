// Filling groups from a band plan, finding channels across both bands and
// sorting a group by frequency, on the document the windows and the tool edit.
#include "rules/channels/ChannelFill.h"
#include "rules/channels/ChannelFind.h"
#include "model/ChannelRules.h"
#include "model/FreqRules.h"
#include "shell/DocumentHistory.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace kt {

// Printed by gtest when a comparison of places fails.
inline void PrintTo(const ChannelPlace& p, std::ostream* os) { *os << p.band << "/" << p.group << "/" << p.channel; }

namespace {

using test::DocumentBytes;

struct FillFixture : ::testing::Test {
    Workspace ws;
    ScriptedAsker asker;

    void SetUp() override
    {
        ws.asker = &asker;
        ws.WorkRecord.BandType = 0;
        ws.BandRange = kBandRange0;
        ParseBandRange(ws);
    }
    // The frequency shown for a channel, "-" when the row is empty.
    QString Shown(int band, int group, int ch)
    {
        const int slot = FindSlot(ws, band, group, ch);
        return slot ? DigitsToFreqText(ws, ws.Channels(band, slot, group).Freq.bytes()) : QStringLiteral("-");
    }
    ChannelRec& Rec(int band, int group, int ch) { return ws.Channels(band, FindSlot(ws, band, group, ch), group); }
    FillRequest Cb(int group, int grid = 5, long long segment = 0)
    {
        FillRequest r;
        r.group = group;
        r.plan = FillPlan::Cb40;
        r.grid = grid;
        r.segmentHz = segment;
        return r;
    }
};

// The familiar 40 channels of 26.965-27.405 MHz, written out as published.
const char* const kGroupF[40] = {
    "26.96500", "26.97500", "26.98500", "27.00500", "27.01500", "27.02500", "27.03500", "27.05500",
    "27.06500", "27.07500", "27.08500", "27.10500", "27.11500", "27.12500", "27.13500", "27.15500",
    "27.16500", "27.17500", "27.18500", "27.20500", "27.21500", "27.22500", "27.25500", "27.23500",
    "27.24500", "27.26500", "27.27500", "27.28500", "27.29500", "27.30500", "27.31500", "27.32500",
    "27.33500", "27.34500", "27.35500", "27.36500", "27.37500", "27.38500", "27.39500", "27.40500"};

TEST_F(FillFixture, CbPlanPlacesTheRasterOfEachSegmentAndGrid)
{
    ASSERT_TRUE(FillChannels(ws, Cb(6)).ok());   // group F
    for (int ch = 1; ch <= 40; ++ch) EXPECT_EQ(Shown(0, 6, ch), kGroupF[ch - 1]) << "F" << ch;

    struct Case { int group, grid; long long segment; int ch; const char* shown; };
    const Case cases[] = {
        {1, 5, 0, 1, "24.71500"},     // A starts at the band's lower limit
        {12, 5, 0, 40, "30.10500"},   // L ends at its upper limit
        {6, 0, 0, 1, "26.96000"},     // the 0 grid: 5 kHz lower
        {6, 0, 0, 23, "27.25000"},
        {14, 5, 27415000, 3, "27.43500"},   // N has no default: channel 1 given
    };
    for (const Case& c : cases) {
        const FillOutcome o = FillChannels(ws, Cb(c.group, c.grid, c.segment));
        ASSERT_TRUE(o.ok()) << c.group;
        EXPECT_EQ(Shown(0, c.group, c.ch), c.shown) << c.group << "/" << c.ch;
        EXPECT_EQ(ws.ChannelCount(0, c.group), 40);   // refilling adds no second channel
    }
}

TEST_F(FillFixture, RefusedFillsNameTheChannelAndChangeNothing)
{
    ASSERT_TRUE(FillChannels(ws, Cb(1)).ok());
    const QByteArray before = DocumentBytes(ws);

    struct Case { FillRequest req; FillError error; int channel; const char* named; };
    FillRequest startUp;
    startUp.group = 2;
    startUp.startHz = 30000000;   // 30.000 + 39 x 10 kHz passes 30.105 at channel 12
    FillRequest ham;
    ham.band = 1;
    ham.group = 1;
    ham.startHz = 28000000;
    FillRequest memCb = Cb(16);
    const Case cases[] = {
        {Cb(1, 0), FillError::OutOfBand, 1, "CH A1"},            // 24.710 is below the band
        {Cb(12, 5, 29700000), FillError::OutOfBand, 37, "CH L37"},   // the segment leaves the band
        {startUp, FillError::OutOfBand, 12, "CH B12"},
        {Cb(13), FillError::NoSegment, 0, "M"},
        {memCb, FillError::NoSegment, 0, "MEM"},
        {ham, FillError::NotEditable, 0, "HAM A"},
    };
    for (const Case& c : cases) {
        const FillOutcome o = FillChannels(ws, c.req);
        EXPECT_EQ(o.error, c.error) << c.named;
        EXPECT_EQ(o.channel, c.channel) << c.named;
        EXPECT_TRUE(FillErrorText(o, c.req, English).contains(c.named)) << FillErrorText(o, c.req, English).toStdString();
        EXPECT_FALSE(FillErrorText(o, c.req, Chinese).isEmpty());
        EXPECT_EQ(DocumentBytes(ws), before) << c.named;
    }
}

TEST_F(FillFixture, StartAndStepKeepsPresentChannelsValuesAndIsOneUndoStep)
{
    InsertChannel(ws, 5, 0, 3, "27.000");
    Rec(0, 3, 5).Mode = 2;
    Rec(0, 3, 5).RxToneType = 1;
    DocumentHistory history(ws);
    const QByteArray before = DocumentBytes(ws);

    FillRequest r;
    r.group = 3;
    r.channels = {9, 5, 7};   // filled in channel order
    ASSERT_TRUE(ParseMhz("28.1", r.startHz));
    ASSERT_TRUE(ParseMhz("0.0125", r.stepHz));
    const FillOutcome o = FillChannels(ws, r);
    ASSERT_TRUE(o.ok());
    EXPECT_EQ(o.added, 2);
    EXPECT_EQ(o.changed, 1);
    EXPECT_EQ(Shown(0, 3, 5), "28.10000");
    EXPECT_EQ(Shown(0, 3, 7), "28.11250");
    EXPECT_EQ(Shown(0, 3, 9), "28.12500");
    EXPECT_EQ(Shown(0, 3, 6), "-");
    EXPECT_EQ(Rec(0, 3, 5).Mode, 2);          // the present channel keeps its values
    EXPECT_EQ(Rec(0, 3, 5).RxToneType, 1);
    EXPECT_EQ(Rec(0, 3, 7).Scan, 1);          // a new one gets a typed channel's
    EXPECT_EQ(Rec(0, 3, 7).NbAnl, 1);

    EXPECT_EQ(history.Steps(), 1);
    history.Undo();
    EXPECT_EQ(DocumentBytes(ws), before);

    long long hz = 0;
    for (const char* bad : {"27.1a", "abc", "27..1", "", "27.0000001"}) EXPECT_FALSE(ParseMhz(bad, hz)) << bad;
}

TEST_F(FillFixture, FindWalksBothBandsAndEveryKindOfQuery)
{
    InsertChannel(ws, 4, 0, 1, "27.185");
    InsertChannel(ws, 2, 0, 6, "27.18510");
    InsertChannel(ws, 9, 0, 16, "28.400");
    InsertChannel(ws, 3, 1, 13, "28.185");   // HAM MEM
    InsertChannel(ws, 5, 1, 1, "27.9");      // HAM A: shown, read-only
    Rec(0, 16, 9).RxToneType = 1;
    Rec(0, 16, 9).RxCtcss = 0;                // 67.0 Hz
    Rec(1, 13, 3).TxToneType = 2;
    Rec(1, 13, 3).TxDcs = 0;                  // D023
    Rec(1, 1, 5).Mode = 2;                    // USB
    Rec(0, 6, 2).TxToneType = 2;              // DCS type with a CTCSS index: not 67.0
    Rec(0, 6, 2).TxCtcss = 0;
    Rec(0, 6, 2).TxDcs = 5;

    using P = ChannelPlace;
    struct Case { const char* text; std::vector<ChannelPlace> found; };
    const Case cases[] = {
        {"27.185", {P{0, 1, 4}, P{0, 6, 2}}},
        {"27185", {P{0, 1, 4}, P{0, 6, 2}}},
        {"27.1851", {P{0, 6, 2}}},
        {"27.1", {P{0, 1, 4}, P{0, 6, 2}}},
        {"28", {P{0, 16, 9}, P{1, 13, 3}}},
        {"67.0", {P{0, 16, 9}}},
        {"d023", {P{1, 13, 3}}},
        {"USB", {P{1, 1, 5}}},
        {"26.9", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(FindChannels(ws, ChannelQuery(c.text)), c.found) << c.text;

    // Next and previous wrap around the job, across groups and bands.
    const auto all = FindChannels(ws, ChannelQuery("2"));
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[size_t(NextMatch(all, P{0, 6, 2}, true))], (P{0, 16, 9}));
    EXPECT_EQ(all[size_t(NextMatch(all, P{0, 16, 9}, true))], (P{1, 1, 5}));
    EXPECT_EQ(all[size_t(NextMatch(all, P{1, 13, 3}, true))], (P{0, 1, 4}));
    EXPECT_EQ(all[size_t(NextMatch(all, P{0, 1, 4}, false))], (P{1, 13, 3}));
    EXPECT_EQ(all[size_t(NextMatch(all, P{0, 5, 1}, false))], (P{0, 1, 4}));
}

TEST_F(FillFixture, SortPlacesChannelsOnTheirNumbersAndReferencesFollow)
{
    ws.OptFeat().GroupEnable[0][1] = 1;
    InsertChannel(ws, 1, 0, 1, "27.300");
    InsertChannel(ws, 2, 0, 1, "27.100");
    InsertChannel(ws, 4, 0, 1, "27.200");
    InsertChannel(ws, 7, 0, 1, "27.050");
    Rec(0, 1, 1).Mode = 2;
    ws.OptFeat().EmgCh1[0][1] = 1;   // 27.300
    ws.OptFeat().EmgCh2[0][1] = 7;   // 27.050
    DocumentHistory history(ws);
    const QByteArray before = DocumentBytes(ws);

    // Only rows 1, 2 and 4: channel 7 stays where it is.
    EXPECT_EQ(SortChannelsByFrequency(ws, 0, 1, {1, 2, 3, 4}), 3);
    EXPECT_EQ(Shown(0, 1, 1), "27.10000");
    EXPECT_EQ(Shown(0, 1, 2), "27.20000");
    EXPECT_EQ(Shown(0, 1, 4), "27.30000");
    EXPECT_EQ(Shown(0, 1, 3), "-");
    EXPECT_EQ(Rec(0, 1, 4).Mode, 2);              // its values went with it
    EXPECT_EQ(ws.OptFeat().EmgCh1[0][1], 4);
    EXPECT_EQ(ws.OptFeat().EmgCh2[0][1], 7);
    EXPECT_EQ(history.Steps(), 1);

    // The whole group: 27.05 takes number 1, and the reference to it follows.
    EXPECT_EQ(SortChannelsByFrequency(ws, 0, 1, {}), 4);
    EXPECT_EQ(Shown(0, 1, 1), "27.05000");
    EXPECT_EQ(Shown(0, 1, 7), "27.30000");
    EXPECT_EQ(ws.OptFeat().EmgCh1[0][1], 7);
    EXPECT_EQ(ws.OptFeat().EmgCh2[0][1], 1);
    EXPECT_EQ(SortChannelsByFrequency(ws, 0, 1, {}), 0);   // sorted already: no step
    EXPECT_EQ(history.Steps(), 2);
    history.Undo();
    history.Undo();
    EXPECT_EQ(DocumentBytes(ws), before);
}

}  // namespace
}  // namespace kt
