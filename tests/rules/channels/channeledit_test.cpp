#include "rules/channels/ChannelEdit.h"
#include "model/ChannelRules.h"
#include "model/Codec.h"
#include "model/DataFile.h"
#include "model/Defaults.h"
#include "model/FreqRules.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <vector>

namespace kt {
namespace {

constexpr const char* kOut = "Frequency is out of range.";

struct EditFixture : ::testing::Test {
    Workspace ws;
    ScriptedAsker asker;
    struct {
        int titles = 0;
    } events;

    void SetUp() override {
        ws.asker = &asker;
        QObject::connect(&ws.Events(), &DocumentEvents::titleChanged, [this] { ++events.titles; });
        UseBand(0);
    }
    void UseBand(int band, bool extended = false) {
        ws.WorkRecord.BandType = int16_t(band);
        ws.BandRange = band == 0 ? kBandRange0 : kBandRange1;
        ws.ExtendedHf = extended;
        ParseBandRange(ws);
    }
    void Fill(int band, int group, std::initializer_list<int> chNos) {
        ws.OptFeat().GroupEnable[band][group] = 1;
        for (int ch : chNos) InsertChannel(ws, ch, band, group, QString("27.%1").arg(ch, 3, 10, QChar('0')));
    }
    std::vector<int> ChNos(int band, int group) const {
        std::vector<int> v;
        for (int s = 1; s <= ws.ChannelCount(band, group); ++s) v.push_back(ws.Channels(band, s, group).ChNo);
        return v;
    }
    QString Shown(int band, int group, int chNo) {
        const int slot = FindSlot(ws, band, group, chNo);
        return slot ? DigitsToFreqText(ws, ws.Channels(band, slot, group).Freq.bytes().trimmed()) : QString("-");
    }
};

TEST_F(EditFixture, TypedFrequenciesAreCheckedSnappedAndStored)
{
    struct Case { int band; bool ext; const char* typed; FreqCellResult result; const char* shown; bool warned; };
    const Case cases[] = {
        {0, false, "27.185", FreqCellResult::Inserted, "27.18500", false},
        {0, false, "30.2", FreqCellResult::Nothing, "-", true},
        {0, false, "20.0", FreqCellResult::Nothing, "-", true},
        {0, false, "21.2", FreqCellResult::Nothing, "-", true},
        {0, true, "21.2", FreqCellResult::Inserted, "21.20000", false},
        {1, true, "21.2", FreqCellResult::Nothing, "-", true},      // the second range is band 0's only
        {1, false, "29.7", FreqCellResult::Nothing, "-", true},
        {1, false, "28.000005", FreqCellResult::Inserted, "28.00000", false},   // 5 Hz off the raster
        {1, false, "28.00005", FreqCellResult::Inserted, "28.00005", false},    // 50 Hz is on it
        {0, false, "24.715", FreqCellResult::Inserted, "24.71500", false},
        {0, false, "abc", FreqCellResult::Nothing, "-", true},
        {0, false, "2.7.1", FreqCellResult::Nothing, "-", true},
        {0, false, "   ", FreqCellResult::Nothing, "-", false},
    };
    for (const Case& c : cases) {
        Workspace fresh;
        ws.WorkRecord = fresh.WorkRecord;
        ws.Channels = fresh.Channels;
        asker.asked.clear();
        UseBand(c.band, c.ext);
        const int mem = MemoryGroupOf(c.band);
        EXPECT_EQ(SaveFreqCell(ws, c.band, mem, 7, 1, c.typed), c.result) << c.typed;
        EXPECT_EQ(Shown(c.band, mem, 7), c.shown) << c.typed;
        EXPECT_EQ(!asker.asked.filter(kOut).isEmpty(), c.warned) << c.typed;
    }
}

TEST_F(EditFixture, OutOfRangeOverAnExistingChannelKeepsIt)
{
    Fill(0, 1, {1, 2});
    ws.Channels(0, 2, 1).Mode = 2;
    for (const char* typed : {"35", "abc", "20.0"}) {
        asker.asked.clear();
        EXPECT_EQ(SaveFreqCell(ws, 0, 1, 2, 1, typed), FreqCellResult::Kept) << typed;
        EXPECT_EQ(asker.asked, QStringList{FreqOutText(ws)});
        EXPECT_EQ(ChNos(0, 1), (std::vector<int>{1, 2}));
        EXPECT_EQ(Shown(0, 1, 2), "27.00200");
        EXPECT_EQ(ws.Channels(0, 2, 1).Mode, 2);
    }
    EXPECT_EQ(SaveFreqCell(ws, 0, 1, 2, 1, "26.5"), FreqCellResult::Changed);
    EXPECT_EQ(Shown(0, 1, 2), "26.50000");
    EXPECT_EQ(ws.Channels(0, 2, 1).Mode, 2);   // only the frequency changes
}

TEST_F(EditFixture, EmptyingDeletesWithTheLastChannelGuard)
{
    Fill(0, 1, {1, 2});
    EXPECT_EQ(SaveFreqCell(ws, 0, 1, 1, 1, ""), FreqCellResult::Deleted);
    EXPECT_EQ(ChNos(0, 1), (std::vector<int>{2}));
    // Channel 2 is now the only channel of the band.
    EXPECT_EQ(SaveFreqCell(ws, 0, 1, 2, 1, ""), FreqCellResult::Refused);
    EXPECT_EQ(ChNos(0, 1), (std::vector<int>{2}));
    EXPECT_EQ(ws.OptFeat().GroupEnable[0][1], 1);
    // With a channel in another enabled group the last one of a group goes, and the group goes off.
    Fill(0, 4, {9});
    EXPECT_EQ(SaveFreqCell(ws, 0, 1, 2, 1, ""), FreqCellResult::Deleted);
    EXPECT_TRUE(ChNos(0, 1).empty());
    EXPECT_EQ(ws.OptFeat().GroupEnable[0][1], 0);
}

TEST_F(EditFixture, InsertRepointsTheEmergencyChannelsAndRowsOutsideTheGroupAreIgnored)
{
    Fill(0, 3, {});
    ws.OptFeat().EmgCh1[0][3] = 0;
    ws.OptFeat().EmgCh2[0][3] = 30;
    EXPECT_EQ(SaveFreqCell(ws, 0, 3, 5, 1, "27"), FreqCellResult::Inserted);
    EXPECT_EQ(ws.OptFeat().EmgCh1[0][3], 5);
    EXPECT_EQ(ws.OptFeat().EmgCh2[0][3], 5);
    EXPECT_EQ(ws.WorkRecord.CurGroup[0], 1);   // 0 is taken as 1

    EXPECT_EQ(SaveFreqCell(ws, 0, 3, 41, 1, "27"), FreqCellResult::Nothing);   // lettered groups have 40
    EXPECT_EQ(SaveFreqCell(ws, 0, 17, 2, 1, "27"), FreqCellResult::Nothing);   // "VFO" has one
    EXPECT_EQ(SaveFreqCell(ws, 0, 3, 6, 0, "27"), FreqCellResult::Nothing);    // not the frequency column
    EXPECT_EQ(SaveFreqCell(ws, 2, 3, 6, 1, "27"), FreqCellResult::Nothing);
    EXPECT_EQ(ChNos(0, 3), (std::vector<int>{5}));
}

TEST_F(EditFixture, BandChangeSetsRangeLimitsAndTitleOnlyWhenDifferent)
{
    EXPECT_FALSE(ChangeBand(ws, 0));
    EXPECT_EQ(events.titles, 0);
    EXPECT_TRUE(ChangeBand(ws, 1));
    EXPECT_EQ(ws.WorkRecord.BandType, 1);
    EXPECT_EQ(ws.BandRange, kBandRange1);
    EXPECT_DOUBLE_EQ(ws.BandMax, 29.695);
    EXPECT_EQ(events.titles, 1);
    EXPECT_FALSE(ChangeBand(ws, 3));
    // A start-up range text is replaced even when the band number is the same.
    ws.BandRange = kBandRangeOther;
    EXPECT_TRUE(ChangeBand(ws, 1));
    EXPECT_EQ(ws.BandRange, kBandRange1);
}

TEST_F(EditFixture, GroupValidRule)
{
    Fill(0, 1, {1});
    EXPECT_EQ(SetGroupValid(ws, 0, 1, false), GroupValidResult::Refused);   // the only valid group
    EXPECT_EQ(ws.OptFeat().GroupEnable[0][1], 1);

    EXPECT_EQ(SetGroupValid(ws, 0, 2, true), GroupValidResult::AcceptedWithDefaultChannel);
    EXPECT_EQ(ChNos(0, 2), (std::vector<int>{1}));
    EXPECT_EQ(Shown(0, 2, 1), "28.14500");
    EXPECT_EQ(SetGroupValid(ws, 0, 1, false), GroupValidResult::Accepted);
    EXPECT_EQ(ws.OptFeat().GroupEnable[0][1], 0);
    // Back on with its channel still there: no second channel.
    EXPECT_EQ(SetGroupValid(ws, 0, 1, true), GroupValidResult::Accepted);
    EXPECT_EQ(ChNos(0, 1), (std::vector<int>{1}));
    // Groups above 10 have no default frequency.
    EXPECT_EQ(SetGroupValid(ws, 0, 11, true), GroupValidResult::Accepted);
    EXPECT_TRUE(ChNos(0, 11).empty());
    // Only lettered groups count as "another" valid group.
    Workspace other;
    other.OptFeat().GroupEnable[1][1] = 1;
    other.OptFeat().GroupEnable[1][13] = 1;
    EXPECT_EQ(SetGroupValid(other, 1, 1, false), GroupValidResult::Refused);
}

TEST_F(EditFixture, GroupNamesAreAtMostFourBytes)
{
    struct Case { int lang; const char* typed; QByteArray stored; const char* shown; };
    const Case cases[] = {
        {English, "ABCDEF", "ABCD", "ABCD"},
        {English, "ab", "ab  ", "ab"},
        {English, "", "    ", ""},
        {Chinese, "中文组", QByteArray("\xD6\xD0\xCE\xC4"), "中文"},
        {Chinese, "A中文", QByteArray("A\xD6\xD0 "), "A中"},
    };
    for (const Case& c : cases) {
        ws.CurrentLanguage = c.lang;
        StoreGroupName(ws, 0, 5, QString::fromUtf8(c.typed));
        EXPECT_EQ(ws.OptFeat().GroupName[0][5].bytes(), c.stored) << c.typed;
        EXPECT_EQ(GroupNameText(ws, 0, 5), QString::fromUtf8(c.shown)) << c.typed;
    }
}

// ---- line-edit commands ----------------------------------------------------

TEST_F(EditFixture, CopyAndPasteCarryEveryValue)
{
    Fill(0, 1, {3, 4});
    ws.Channels(0, 1, 1).Mode = 3;
    ws.Channels(0, 1, 1).RxCtcss = 12;
    EXPECT_FALSE(LineClipboardFilled(ws));
    EXPECT_EQ(LinePaste(ws, 0, 1, 10), PasteResult::ClipboardEmpty);

    LineCopy(ws, 0, 1, 3);
    ASSERT_TRUE(LineClipboardFilled(ws));
    EXPECT_EQ(LinePaste(ws, 0, 16, 99), PasteResult::Pasted);      // into the memory group, last row
    EXPECT_EQ(LinePaste(ws, 0, 1, 4), PasteResult::Pasted);       // over an existing channel
    EXPECT_EQ(LinePaste(ws, 0, 1, 41), PasteResult::Nothing);      // outside the group
    EXPECT_EQ(LinePaste(ws, 0, 17, 1), PasteResult::Pasted);       // "VFO" row 1
    EXPECT_EQ(LinePaste(ws, 0, 17, 2), PasteResult::Nothing);
    for (auto [group, ch] : {std::pair{16, 99}, std::pair{1, 4}, std::pair{17, 1}}) {
        const int slot = FindSlot(ws, 0, group, ch);
        ASSERT_GT(slot, 0) << group;
        EXPECT_EQ(ws.Channels(0, slot, group).Mode, 3);
        EXPECT_EQ(ws.Channels(0, slot, group).RxCtcss, 12);
        EXPECT_EQ(Shown(0, group, ch), "27.00300");
    }
    EXPECT_EQ(ChNos(0, 1), (std::vector<int>{3, 4}));

    // Copying an empty row leaves nothing to paste.
    LineCopy(ws, 0, 1, 20);
    EXPECT_FALSE(LineClipboardFilled(ws));
    EXPECT_EQ(LinePaste(ws, 0, 1, 21), PasteResult::ClipboardEmpty);
}

TEST_F(EditFixture, CutAndDeletePerGroupKind)
{
    Fill(0, 1, {1, 2, 3});
    Fill(0, 16, {50});
    Fill(0, 17, {1});

    EXPECT_EQ(LineCut(ws, 0, 17, 1), RemoveResult::Nothing);       // never in "VFO"
    EXPECT_EQ(LineDelete(ws, 0, 17, 1), RemoveResult::Nothing);
    EXPECT_EQ(ChNos(0, 17), (std::vector<int>{1}));

    EXPECT_EQ(LineCut(ws, 0, 1, 2), RemoveResult::Removed);
    EXPECT_EQ(ChNos(0, 1), (std::vector<int>{1, 3}));
    EXPECT_TRUE(LineClipboardFilled(ws));
    EXPECT_EQ(ws.LineClip.ChNo, 2);

    EXPECT_EQ(LineDelete(ws, 0, 16, 50), RemoveResult::Removed);
    EXPECT_TRUE(ChNos(0, 16).empty());
    EXPECT_EQ(ws.LineClip.ChNo, 2);                                  // Delete leaves the clipboard
    EXPECT_EQ(LineDelete(ws, 0, 1, 40), RemoveResult::Nothing);     // empty row

    EXPECT_EQ(LineDelete(ws, 0, 1, 1), RemoveResult::Removed);
    // Channel 3 is the band's last regular channel: it stays.
    EXPECT_EQ(LineDelete(ws, 0, 1, 3), RemoveResult::LastChannel);
    EXPECT_EQ(LineCut(ws, 0, 1, 3), RemoveResult::LastChannel);
    EXPECT_EQ(ChNos(0, 1), (std::vector<int>{3}));
    EXPECT_EQ(ws.LineClip.ChNo, 3);                                  // but it was copied
}

TEST_F(EditFixture, InsertPasteShiftsButNeverPushesTheLastChannelOut)
{
    struct Case { int group; std::initializer_list<int> before; int row; std::vector<int> after; };
    const Case cases[] = {
        {1, {38, 39, 5}, 38, {5, 38, 39, 40}},         // 38 -> 39, 39 -> 40, new 38
        {1, {1, 2, 3}, 1, {1, 2, 3, 4}},
        {16, {97, 98}, 97, {97, 98, 99}},               // memory group
        {16, {10}, 99, {10, 99}},
    };
    for (const Case& c : cases) {
        Workspace fresh;
        ws.WorkRecord = fresh.WorkRecord;
        ws.Channels = fresh.Channels;
        Fill(0, 2, {7});
        LineCopy(ws, 0, 2, 7);
        Fill(0, c.group, c.before);
        const int oldAtRow = FindSlot(ws, 0, c.group, c.row);
        const QByteArray oldFreq = oldAtRow ? ws.Channels(0, oldAtRow, c.group).Freq.bytes() : QByteArray();
        ASSERT_EQ(LineInsertPaste(ws, 0, c.group, c.row), PasteResult::Pasted) << c.group << "/" << c.row;
        std::vector<int> got = ChNos(0, c.group);
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, c.after) << c.group << "/" << c.row;
        EXPECT_EQ(Shown(0, c.group, c.row), "27.00700");
        const int size = GroupSize(0, c.group);
        if (oldAtRow && c.row < size) {
            const int moved = FindSlot(ws, 0, c.group, c.row + 1);
            ASSERT_GT(moved, 0);
            EXPECT_EQ(ws.Channels(0, moved, c.group).Freq.bytes(), oldFreq);
        }
    }
}

// A channel on the group's last row would be lost: the command is refused,
// names that channel, and the group stays as it was.
TEST_F(EditFixture, InsertPasteWithTheLastRowTakenChangesNothing)
{
    struct Case { int group; std::initializer_list<int> before; int row; const char* named; };
    const Case cases[] = {
        {1, {38, 39, 40, 5}, 39, "CH A40"},
        {1, {40}, 40, "CH A40"},
        {16, {98, 99}, 98, "CH MEM M99"},
    };
    for (const Case& c : cases) {
        Workspace fresh;
        ws.WorkRecord = fresh.WorkRecord;
        ws.Channels = fresh.Channels;
        Fill(0, 2, {7});
        LineCopy(ws, 0, 2, 7);
        Fill(0, c.group, c.before);
        const ChannelTable before = ws.Channels;
        const int count = ws.ChannelCount(0, c.group);
        EXPECT_EQ(LineInsertPaste(ws, 0, c.group, c.row), PasteResult::PushedOut) << c.group << "/" << c.row;
        EXPECT_EQ(PushedOutChannel(0, c.group, English), c.named);
        EXPECT_EQ(ws.ChannelCount(0, c.group), count);
        for (int s = 1; s <= ws.ChannelCount(0, c.group); ++s)
            EXPECT_EQ(ws.Channels(0, s, c.group).ChNo, before(0, s, c.group).ChNo) << s;
    }
}

TEST_F(EditFixture, InsertPasteNeedsAChannelInTheClipboardAndNeverTouchesVfo)
{
    Fill(0, 1, {39, 40});
    EXPECT_EQ(LineInsertPaste(ws, 0, 1, 39), PasteResult::ClipboardEmpty);
    EXPECT_EQ(ChNos(0, 1), (std::vector<int>{39, 40}));   // nothing shifted, nothing lost
    LineCopy(ws, 0, 1, 39);
    Fill(0, 17, {1});
    EXPECT_EQ(LineInsertPaste(ws, 0, 17, 1), PasteResult::Nothing);
    EXPECT_EQ(ChNos(0, 17), (std::vector<int>{1}));
}

// A job from an older template holds channels 41-46 beside channel 1 in a
// lettered group; all 40 rows must still take a channel, by each of the three
// ways in, and survive a save, a reopen and an encode.
TEST(FullGroup, EveryRowOfALetteredGroupTakesAChannel)
{
    test::TempInstall inst;
    auto ws = inst.workspace();
    ScriptedAsker asker;
    ws->asker = &asker;
    InitDefaults(*ws);
    const int band = ws->WorkRecord.BandType;
    constexpr int A = 1;
    for (int ch = 41; ch <= 46; ++ch) InsertChannel(*ws, ch, band, A, "28.015");
    ASSERT_GT(FindSlot(*ws, band, A, 1), 0);
    const auto freq = [&](int row) { return QStringLiteral("%1.%2").arg(ws->BandMin < 26 ? 26 : 28).arg(100 + row * 10); };

    for (int row = 1; row <= 20; ++row) {
        const FreqCellResult r = SaveFreqCell(*ws, band, A, row, 1, freq(row));
        ASSERT_TRUE(r == FreqCellResult::Inserted || r == FreqCellResult::Changed) << row;
    }
    LineCopy(*ws, band, A, 5);
    for (int row = 21; row <= 30; ++row) ASSERT_EQ(LinePaste(*ws, band, A, row), PasteResult::Pasted) << row;
    for (int row = 31; row <= 40; ++row) ASSERT_EQ(LineInsertPaste(*ws, band, A, row), PasteResult::Pasted) << row;
    EXPECT_TRUE(asker.asked.isEmpty()) << asker.asked.join(" | ").toStdString();
    for (int row = 1; row <= 46; ++row) ASSERT_GT(FindSlot(*ws, band, A, row), 0) << row;
    EXPECT_EQ(ws->ChannelCount(band, A), 46);

    ws->CurrentFile = inst.path("full.dat");
    ASSERT_EQ(SaveDataFile(*ws).kind, FileResult::Done);
    auto reopened = inst.workspace();
    reopened->asker = &asker;
    reopened->Versions = LoadVersionTable(inst.root());
    reopened->CurrentFile = ws->CurrentFile;
    ASSERT_EQ(OpenDataFile(*reopened).kind, FileResult::Done);
    EncodeImage(*reopened);
    Workspace decoded = *reopened;
    DecodeImage(decoded);
    const auto shown = [&](Workspace& w, int row) {
        const int slot = FindSlot(w, band, A, row);
        return slot ? DigitsToFreqText(w, w.Channels(band, slot, A).Freq.bytes().trimmed()) : QString("-");
    };
    for (int row = 1; row <= 40; ++row) {
        const QString expected = shown(*ws, row <= 20 ? row : 5);
        ASSERT_EQ(expected, FormatFreqInput(*ws, freq(row <= 20 ? row : 5), false));
        EXPECT_EQ(shown(*reopened, row), expected) << row;
        EXPECT_EQ(shown(decoded, row), expected) << row;
    }
}

TEST_F(EditFixture, ANewChannelWithEverySlotTakenChangesNothing)
{
    // Only a damaged document can fill all 99 slots of a lettered group.
    Fill(0, 1, {1});
    ws.ChannelCount(0, 1) = kMaxSlots;
    for (int s = 2; s <= kMaxSlots; ++s) ws.Channels(0, s, 1).ChNo = int16_t(100 + s);
    LineCopy(ws, 0, 1, 1);
    const ChannelTable before = ws.Channels;
    EXPECT_EQ(SaveFreqCell(ws, 0, 1, 2, 1, "27.185"), FreqCellResult::NoRoom);
    EXPECT_EQ(LinePaste(ws, 0, 1, 2), PasteResult::NoRoom);
    EXPECT_EQ(LineInsertPaste(ws, 0, 1, 2), PasteResult::NoRoom);
    EXPECT_EQ(ws.ChannelCount(0, 1), kMaxSlots);
    for (int s = 1; s <= kMaxSlots; ++s) EXPECT_EQ(ws.Channels(0, s, 1).ChNo, before(0, s, 1).ChNo);
}

}  // namespace
}  // namespace kt
