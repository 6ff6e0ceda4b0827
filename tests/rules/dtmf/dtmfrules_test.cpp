#include "rules/dtmf/DtmfRules.h"

#include <gtest/gtest.h>

using namespace kt;

namespace {

void SetRaw(Workspace& ws, int k, const QByteArray& raw) { ws.OptFeat().DtmfCode[k].set(raw); }

ChannelRec& AddChannel(Workspace& ws, int band, int group, int chNo)
{
    int16_t& count = ws.ChannelCount(band, group);
    ++count;
    ChannelRec& ch = ws.Channels(band, count, group);
    ch.ChNo = int16_t(chNo);
    ch.Used = 1;
    return ch;
}

}  // namespace

TEST(DtmfCode, UsedWhenTextRemainsAfterCutAndTrim)
{
    struct Case { QByteArray raw; QByteArray text; };
    const Case cases[] = {
        {QByteArray("12AB#\0", 6), "12AB#"},
        {QByteArray("\0" "99", 3), ""},                 // text after the NUL does not count
        {"                ", ""},
        {"  7", "  7"},                                 // leading spaces are kept
        {"0123456789ABCD*#", "0123456789ABCD*#"},      // 16 characters, no NUL
        {QByteArray("5 \0", 3), "5"},
    };
    for (const Case& c : cases) {
        Workspace ws;
        SetRaw(ws, 3, c.raw);
        EXPECT_EQ(DtmfCodeText(ws, 3), c.text) << c.raw.toHex().constData();
        EXPECT_EQ(DtmfCodeIsUsed(ws, 3), !c.text.isEmpty());
        EXPECT_EQ(DtmfCodeNumberIfUsed(ws, 3), c.text.isEmpty() ? 0 : 3);
    }
}

TEST(DtmfCode, NumbersOutsideTheMemoriesAreNeverUsed)
{
    Workspace ws;
    for (int k = 1; k <= 16; ++k) SetRaw(ws, k, "1");
    for (int k : {-1, 0, 17, 255}) {
        EXPECT_FALSE(DtmfCodeIsUsed(ws, k)) << k;
        EXPECT_EQ(DtmfCodeNumberIfUsed(ws, k), 0) << k;
    }
    EXPECT_EQ(DtmfCodeNumberIfUsed(ws, 16), 16);
}

TEST(DtmfCode, StoreAppendsOneNulAndPads)
{
    struct Case { QByteArray typed; QByteArray stored; };
    const Case cases[] = {
        {"12AB#", QByteArray("12AB#\0          ", 16)},
        {"", QByteArray("\0               ", 16)},
        {"1234567890ABCD*", QByteArray("1234567890ABCD*\0", 16)},
        {"1234567890ABCD*#", "1234567890ABCD*#"},       // no room for the NUL
        {"1234567890ABCD*#99", "1234567890ABCD*#"},     // never more than 16
        {"12  ", QByteArray("12\0             ", 16)},
    };
    for (const Case& c : cases) {
        Workspace ws;
        StoreDtmfCode(ws, 9, c.typed);
        EXPECT_EQ(ws.OptFeat().DtmfCode[9].bytes(), c.stored) << c.typed.constData();
        EXPECT_EQ(DtmfCodeText(ws, 9), c.typed.left(16).trimmed());
    }
}

TEST(DtmfCode, StoreIgnoresNumbersOutsideTheMemories)
{
    Workspace ws;
    const auto before = ws.OptFeat().DtmfCode;
    StoreDtmfCode(ws, 0, "1");
    StoreDtmfCode(ws, 17, "1");
    EXPECT_EQ(ws.OptFeat().DtmfCode, before);
}

TEST(DtmfReferences, EmptiedCodeIsClearedInGroupsOneToTenAndThePublicChannel)
{
    Workspace ws;
    for (int k = 1; k <= 16; ++k) SetRaw(ws, k, QByteArray::number(k));
    SetRaw(ws, 4, "");
    ChannelRec& a = AddChannel(ws, 0, 1, 5);
    a.BotCode = 4; a.EotCode = 2; a.CallCode = 4;
    ChannelRec& b = AddChannel(ws, 1, 10, 40);
    b.BotCode = 1; b.EotCode = 4; b.CallCode = 16;
    ChannelRec& c = AddChannel(ws, 0, 11, 1);          // group 11 is left alone
    c.BotCode = 4;
    ChannelRec& mem = AddChannel(ws, 0, 16, 1);        // so is the memory group
    mem.CallCode = 4;
    ws.Channels(0, 2, 1).BotCode = 4;                  // a slot past the count stays
    ws.OptFeat().PublicBotCode = 4;
    ws.OptFeat().PublicEotCode = 3;
    ws.OptFeat().PublicCallCode = 4;

    ClearEmptyDtmfReferences(ws);

    EXPECT_EQ(a.BotCode, 0); EXPECT_EQ(a.EotCode, 2); EXPECT_EQ(a.CallCode, 0);
    EXPECT_EQ(b.BotCode, 1); EXPECT_EQ(b.EotCode, 0); EXPECT_EQ(b.CallCode, 16);
    EXPECT_EQ(c.BotCode, 4);
    EXPECT_EQ(mem.CallCode, 4);
    EXPECT_EQ(ws.Channels(0, 2, 1).BotCode, 4);
    EXPECT_EQ(ws.OptFeat().PublicBotCode, 0);
    EXPECT_EQ(ws.OptFeat().PublicEotCode, 3);
    EXPECT_EQ(ws.OptFeat().PublicCallCode, 0);
}

TEST(DtmfReferences, NumbersOutsideTheMemoriesBecomeNone)
{
    Workspace ws;
    SetRaw(ws, 1, "1");
    ChannelRec& a = AddChannel(ws, 0, 3, 1);
    a.BotCode = 200; a.EotCode = 1; a.CallCode = -3;
    ClearEmptyDtmfReferences(ws);
    EXPECT_EQ(a.BotCode, 0);
    EXPECT_EQ(a.EotCode, 1);
    EXPECT_EQ(a.CallCode, 0);
}

TEST(DtmfKeys, OnlyTheCodeAlphabetAndControlKeysPass)
{
    struct Case { int in; int out; };
    const Case cases[] = {
        {'0', '0'}, {'9', '9'}, {'*', '*'}, {'#', '#'}, {'A', 'A'}, {'D', 'D'},
        {'a', 'A'}, {'b', 'B'}, {'c', 'C'}, {'d', 'D'},
        {'e', 0}, {'E', 0}, {'x', 0}, {' ', 0}, {'+', 0}, {'.', 0}, {'/', 0},
        {8, 8}, {9, 9}, {127, 127}, {13, 0}, {3, 0}, {22, 0}, {24, 0},
        {128, 0}, {0xE9, 0}, {0x4E2D, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(FilterDtmfKey(c.in), c.out) << c.in;
}

TEST(DtmfTiming, ListsHaveTheirEntries)
{
    struct Case { DtmfTimingList list; int count; const char* first; const char* last; };
    const Case cases[] = {
        {DtmfSendTimeList(), 50, "10", "500"},
        {DtmfFirstDigitTimeList(), 11, "0", "1000"},
        {DtmfFirstDigitDelayList(), 25, "100", "2500"},
        {DtmfStarHashTimeList(), 4, "0", "1000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.list.entries.size(), c.count);
        EXPECT_EQ(c.list.entries.first(), c.first);
        EXPECT_EQ(c.list.entries.last(), c.last);
    }
    EXPECT_EQ(DtmfDCodeAssignList(English).size(), 17);
    EXPECT_EQ(DtmfDCodeAssignList(English).at(0), "D Code");
    EXPECT_EQ(DtmfDCodeAssignList(English).at(16), "16s");
    EXPECT_EQ(DtmfDCodeAssignList(Chinese).at(0), QString::fromUtf8("D 码"));
    EXPECT_EQ(DtmfDCodeAssignList(Chinese).at(3), QString::fromUtf8("3秒"));
}

TEST(DtmfTiming, StoredValuesShowAndStoreByTheirScale)
{
    struct Case { DtmfTimingList list; int stored; const char* shown; int storedAgain; };
    const Case cases[] = {
        {DtmfFirstDigitDelayList(), 7, "700", 7},
        {DtmfFirstDigitDelayList(), 25, "2500", 25},
        {DtmfFirstDigitDelayList(), 0, "100", 1},       // no entry "0"
        {DtmfStarHashTimeList(), 2, "0", 0},            // no entry "200"
        {DtmfStarHashTimeList(), 5, "500", 5},
        {DtmfSendTimeList(), 0, "10", 1},
        {DtmfSendTimeList(), 50, "500", 50},
        {DtmfSendTimeList(), 51, "10", 1},
        {DtmfFirstDigitTimeList(), 10, "1000", 10},
        {DtmfFirstDigitTimeList(), -1, "0", 0},
    };
    for (const Case& c : cases) {
        const int index = DtmfTimingIndex(c.list, c.stored);
        EXPECT_EQ(c.list.entries.at(index), c.shown) << c.stored;
        EXPECT_EQ(DtmfTimingValue(c.list, index), c.storedAgain) << c.stored;
    }
    EXPECT_EQ(DtmfTimingValue(DtmfFirstDigitDelayList(), 24), 25);   // choosing "2500"
    EXPECT_EQ(DtmfTimingValue(DtmfSendTimeList(), 99), 1);           // bad index: first entry
}
