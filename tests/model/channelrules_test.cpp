#include "model/ChannelRules.h"

#include <gtest/gtest.h>

namespace kt {
namespace {

TEST(GroupNames, LettersAndNumbersBothWays)
{
    struct Case { int band; int number; const char* text; };
    const Case cases[] = {
        {0, 1, "A"}, {0, 12, "L"}, {0, 15, "O"}, {0, 16, "MEM"}, {0, 17, "VFO"},
        {1, 1, "A"}, {1, 12, "L"}, {1, 13, "MEM"}, {1, 14, "VFO"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GroupLetter(c.band, c.number), c.text) << c.band << "/" << c.number;
        EXPECT_EQ(GroupNumber(c.band, c.text), c.number) << c.band << "/" << c.text;
    }
    // Out of the table.
    EXPECT_EQ(GroupLetter(0, 0), "A");
    EXPECT_EQ(GroupLetter(0, 18), "A");
    EXPECT_EQ(GroupLetter(1, 15), "A");
    EXPECT_EQ(GroupLetter(2, 1), "A");
    EXPECT_EQ(GroupNumber(1, "M"), 0);    // band 1 has no group M
    EXPECT_EQ(GroupNumber(0, "M"), 13);
    EXPECT_EQ(GroupNumber(2, "A"), 0);
    EXPECT_EQ(GroupNumber(0, "a"), 0);
}

TEST(ChannelNames, NameAndIdAreInverse)
{
    EXPECT_EQ(GetCHName(1, 0), "1");
    EXPECT_EQ(GetCHName(40, 0), "40");
    EXPECT_EQ(GetCHName(41, 0), "M1");
    EXPECT_EQ(GetCHName(99, 16), "M59");
    EXPECT_EQ(GetCHName(139, 3), "M99");

    struct Case { QByteArray name; int id; };
    const Case cases[] = {
        {"M1", 41}, {"M99", 139}, {"12", 12}, {"40", 40}, {"12  ", 12},
        {QByteArray("7\0xx", 4), 7}, {"abc", 0}, {"", 0}, {"M", 0}, {"Mx", 0}, {"1.5", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(GetCHID(c.name), c.id) << c.name.constData();
    for (int id = 1; id <= 139; ++id) EXPECT_EQ(GetCHID(GetCHName(id).toLatin1()), id);
}

TEST(Modes, CodeAndTextBothWays)
{
    const char* names[] = {"FM", "AM", "USB", "LSB", "PA", "CW"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ModeText(i), names[i]);
        EXPECT_EQ(ModeCode(names[i]), i);
    }
    EXPECT_EQ(ModeText(6), "FM");
    EXPECT_EQ(ModeText(-1), "FM");
    EXPECT_EQ(ModeCode("usb"), 0);
    EXPECT_EQ(ModeCode(""), 0);
}

TEST(FreqForms, DigitsToDisplay)
{
    Workspace ws;
    ScriptedAsker asker;
    ws.asker = &asker;
    struct Case { QByteArray digits; const char* shown; };
    const Case cases[] = {
        {"27185000", "27.18500"}, {"28000000", "28.00000"}, {"27185", "27.18500"},
        {"27185   ", "27.18500"}, {QByteArray("29\0     ", 8), "29.00000"},
        {"", ""}, {"        ", ""}, {"FFFFFFFF", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(DigitsToFreqText(ws, c.digits), c.shown) << c.digits.constData();
    EXPECT_TRUE(asker.asked.isEmpty());

    // A stored text that is not a number: the notice, then the lower band limit.
    ws.BandMin = 24.715;
    EXPECT_EQ(DigitsToFreqText(ws, "27A85000"), "24.715");
    ASSERT_EQ(asker.asked.size(), 1);
    EXPECT_EQ(asker.asked[0], "Not IsNumeric");
}

TEST(FreqForms, DisplayToDigits)
{
    Workspace ws;
    ws.BandMin = 24.715;
    struct Case { const char* text; const char* digits; };
    const Case cases[] = {
        {"27.185", "27185"}, {"27.18500", "2718500"}, {"28.015000", "28015000"},
        {"27", "27"}, {"", ""},
        {"7.5", "075"},         // megahertz padded to two digits
        {".5", "005"},
        {"abc", "24715"},       // not a number: the lower band limit
    };
    for (const Case& c : cases) EXPECT_EQ(FreqToDigits(ws, c.text), QByteArray(c.digits)) << c.text;
}

// A workspace whose band-0 group 1 holds the given channel numbers.
struct GroupFixture : ::testing::Test {
    Workspace ws;
    ScriptedAsker asker;
    void SetUp() override {
        ws.asker = &asker;
        ws.BandMin = 24.715;
    }
    void Fill(int band, int group, std::initializer_list<int> chNos) {
        for (int ch : chNos) InsertChannel(ws, ch, band, group, "27.185");
    }
    std::vector<int> ChNos(int band, int group) {
        std::vector<int> v;
        for (int s = 1; s <= ws.ChannelCount(band, group); ++s) v.push_back(ws.Channels(band, s, group).ChNo);
        return v;
    }
};

TEST_F(GroupFixture, InsertAppendsANewChannelWithItsDefaults)
{
    Fill(0, 3, {7});
    InsertChannel(ws, 2, 0, 3, "28.015");
    ASSERT_EQ(ws.ChannelCount(0, 3), 2);
    const ChannelRec& c = ws.Channels(0, 2, 3);
    EXPECT_EQ(c.ChNo, 2);
    EXPECT_EQ(c.Used, 1);
    EXPECT_EQ(c.Scan, 1);
    EXPECT_EQ(c.NbAnl, 1);
    EXPECT_EQ(c.Mode, 0);
    EXPECT_EQ(c.Freq.bytes(), "28015   ");
    EXPECT_EQ(c.TxFreq.bytes(), "28015   ");
    EXPECT_EQ(c.RxToneType + c.TxToneType + c.PublicCh + c.RogerBeep + c.HiCut, 0);
    EXPECT_EQ(ChNos(0, 3), (std::vector<int>{7, 2}));
}

TEST_F(GroupFixture, InsertIntoAFullGroupChangesNothing)
{
    for (int ch = 41; ch <= 139; ++ch) InsertChannel(ws, ch, 0, 16, "27.185");
    ASSERT_EQ(ws.ChannelCount(0, 16), 99);
    InsertChannel(ws, 1, 0, 16, "27.185");
    EXPECT_EQ(ws.ChannelCount(0, 16), 99);
    EXPECT_EQ(ws.Channels(0, 99, 16).ChNo, 139);
    InsertChannel(ws, 1, 0, 18, "27.185");   // no such group
    InsertChannel(ws, 1, 1, 15, "27.185");
    EXPECT_EQ(ws.ChannelCount(1, 15), 0);
}

TEST_F(GroupFixture, DeleteKeepsTheSlotsContiguous)
{
    Fill(0, 1, {1, 2, 3, 4, 5});
    DeleteChannelSlot(ws, 2, 0, 1);
    EXPECT_EQ(ws.ChannelCount(0, 1), 4);
    EXPECT_EQ(ChNos(0, 1), (std::vector<int>{1, 3, 4, 5}));
    EXPECT_EQ(ws.Channels(0, 5, 1).ChNo, 0);
    DeleteChannelSlot(ws, 4, 0, 1);          // the last one
    EXPECT_EQ(ChNos(0, 1), (std::vector<int>{1, 3, 4}));
    DeleteChannelSlot(ws, 4, 0, 1);          // past the filled slots: nothing
    DeleteChannelSlot(ws, 0, 0, 1);
    EXPECT_EQ(ChNos(0, 1), (std::vector<int>{1, 3, 4}));
}

TEST_F(GroupFixture, ClearingTheLastChannelOfTheBandChangesNothing)
{
    ws.OptFeat().GroupEnable[0][1] = 1;
    Fill(0, 1, {5});
    EXPECT_FALSE(ClearChannel(ws, 1, 0, 1));
    EXPECT_EQ(ChNos(0, 1), (std::vector<int>{5}));
    EXPECT_EQ(ws.OptFeat().GroupEnable[0][1], 1);
}

TEST_F(GroupFixture, ClearingTheLastChannelOfAGroupTurnsTheGroupOff)
{
    ws.OptFeat().GroupEnable[0][1] = 1;
    ws.OptFeat().GroupEnable[0][2] = 1;
    Fill(0, 1, {5, 45});
    Fill(0, 2, {40});
    EXPECT_TRUE(ClearChannel(ws, 1, 0, 1));
    EXPECT_EQ(ChNos(0, 1), (std::vector<int>{45}));
    EXPECT_EQ(ws.OptFeat().GroupEnable[0][1], 0);
    EXPECT_EQ(ws.OptFeat().GroupEnable[0][2], 1);
}

TEST_F(GroupFixture, ClearingWithOtherRegularChannelsRepointsTheReferences)
{
    struct {
        std::vector<std::pair<int, int>> calls;
    } events;
    QObject::connect(&ws.Events(), &DocumentEvents::channelRefsChanged,
                     [&](int band, int group) { events.calls.emplace_back(band, group); });
    ws.OptFeat().GroupEnable[1][4] = 1;
    Fill(1, 4, {3, 7, 50, 60});
    OptFeatRec& of = ws.OptFeat();
    of.EmgCh1[1][4] = 3;      // deleted below: first regular channel left is 7
    of.EmgCh2[1][4] = 60;     // still there
    of.GrpByte[1][4] = 3;
    of.EmgMode1[1][4] = 3;    // a mode index, never re-pointed
    of.EmgMode2[1][4] = 2;
    EXPECT_TRUE(ClearChannel(ws, 1, 1, 4));
    EXPECT_EQ(ChNos(1, 4), (std::vector<int>{7, 50, 60}));
    EXPECT_EQ(of.EmgCh1[1][4], 7);
    EXPECT_EQ(of.EmgCh2[1][4], 60);
    EXPECT_EQ(of.GrpByte[1][4], 7);
    EXPECT_EQ(of.EmgMode1[1][4], 3);
    EXPECT_EQ(of.EmgMode2[1][4], 2);
    EXPECT_EQ(of.GroupEnable[1][4], 1);
    EXPECT_EQ(events.calls, (std::vector<std::pair<int, int>>{{1, 4}}));
}

TEST_F(GroupFixture, RepointingFollowsTheClassOfTheReference)
{
    Fill(0, 16, {45, 41});
    OptFeatRec& of = ws.OptFeat();
    of.EmgCh1[0][16] = 99;    // memory class: first memory slot is 45
    of.EmgCh2[0][16] = 2;     // regular class: none in the group -> 0
    of.GrpByte[0][16] = 41;   // exists
    RepointChannelRefs(ws, 0, 16);
    EXPECT_EQ(of.EmgCh1[0][16], 45);
    EXPECT_EQ(of.EmgCh2[0][16], 0);
    EXPECT_EQ(of.GrpByte[0][16], 41);
}

TEST_F(GroupFixture, CountsAndSlots)
{
    OptFeatRec& of = ws.OptFeat();
    for (int g : {1, 2, 15}) of.GroupEnable[0][g] = 1;
    Fill(0, 1, {1, 40, 41, 60});
    Fill(0, 2, {12});
    Fill(0, 3, {1, 2});     // group off: not counted
    Fill(0, 15, {39});      // the last lettered group counts
    Fill(0, 16, {1});       // memory group is not lettered
    of.GroupEnable[0][16] = 1;
    EXPECT_EQ(CountRegularChannels(ws, 0, 1), 2);
    EXPECT_EQ(CountRegularChannels(ws, 0, 16), 1);
    EXPECT_EQ(CountOtherChannels(ws, 0, 1, 40), 3);   // 1, 12, 39
    EXPECT_EQ(CountOtherChannels(ws, 0, 2, 12), 3);   // 1, 40, 39
    EXPECT_EQ(CountOtherChannels(ws, 0, 1, 99), 4);
    EXPECT_EQ(CountOtherChannels(ws, 1, 1, 1), 0);
    EXPECT_EQ(FindSlot(ws, 0, 1, 41), 3);
    EXPECT_EQ(FindSlot(ws, 0, 1, 2), 0);
    EXPECT_EQ(FindSlot(ws, 0, 18, 1), 0);
}

}  // namespace
}  // namespace kt
