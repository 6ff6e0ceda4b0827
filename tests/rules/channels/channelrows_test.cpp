// Rows copied from one group and pasted into another of either band: each
// pasted channel is checked against the group it lands in, and a paste that
// cannot place every row leaves the document byte for byte as it was.
#include "rules/channels/ChannelRows.h"
#include "model/ChannelRules.h"
#include "model/FreqRules.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

namespace kt {
namespace {

struct RowsFixture : ::testing::Test {
    std::unique_ptr<Workspace> own = std::make_unique<Workspace>();
    Workspace* wp = own.get();
    Workspace& ws = *wp;
    ScriptedAsker asker;

    void SetUp() override { Prepare(ws); }
    void Prepare(Workspace& ws)
    {
        ws.asker = &asker;
        ws.WorkRecord.BandType = 0;
        ws.BandRange = kBandRange0;
        ParseBandRange(ws);
        auto& o = ws.OptFeat();
        o.FmEnabled = o.AmEnabled = o.UsbEnabled = o.LsbEnabled = o.PaEnabled = o.CwEnabled = 1;
    }
    void Put(int band, int group, int ch, const char* freq) { Put(ws, band, group, ch, freq); }
    static void Put(Workspace& ws, int band, int group, int ch, const char* freq)
    {
        ws.OptFeat().GroupEnable[band][group] = 1;
        InsertChannel(ws, ch, band, group, freq);
    }
    ChannelRec& At(int band, int group, int ch) { return At(ws, band, group, ch); }
    static ChannelRec& At(Workspace& ws, int band, int group, int ch) { return ws.Channels(band, FindSlot(ws, band, group, ch), group); }
};

TEST_F(RowsFixture, PasteAcrossGroupsAndBandsPlacesAllOrNothing)
{
    const int mem0 = MemoryGroupOf(0), mem1 = MemoryGroupOf(1);
    // Source rows: A1 27.185 FM, A2 28.500 PA, A4 29.000 FM (A3 empty: the spacing is kept).
    struct Case {
        const char* name;
        int band, group, row;
        bool insert;
        PasteResult result;
        const char* problem;       // a text the refusal names; null when placed
        QList<int> landed;         // channels holding the pasted rows
    };
    const Case cases[] = {
        {"same group further down", 0, 1, 10, false, PasteResult::Pasted, nullptr, {10, 11, 13}},
        {"another lettered group", 0, 3, 1, false, PasteResult::Pasted, nullptr, {1, 2, 4}},
        {"past the group's 40 rows", 0, 3, 38, false, PasteResult::NoRoom, "CH A4: lands on channel 41, past the group's 40 rows", {}},
        {"PA is no mode of the memory group", 0, mem0, 1, false, PasteResult::NoRoom, "CH A2: the radio does not offer PA here", {}},
        {"HAM band: 27.185 outside its range", 1, mem1, 5, false, PasteResult::NoRoom, "CH A1: \"27.18500\" outside the band's range", {}},
        {"insert pushing A40 out", 0, 1, 38, true, PasteResult::PushedOut, "CH A40", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Workspace ws;
        Prepare(ws);
        Put(ws, 0, 1, 1, "27.185");
        Put(ws, 0, 1, 2, "28.500");
        Put(ws, 0, 1, 4, "29.000");
        Put(ws, 0, 1, 40, "27.405");
        Put(ws, 0, 3, 1, "26.000");
        Put(ws, 0, mem0, 1, "27.000");
        Put(ws, 1, mem1, 1, "28.100");
        At(ws, 0, 1, 2).Mode = int16_t(ModeCode("PA"));
        const RowClip clip = CopyRows(ws, 0, 1, {1, 2, 3, 4});
        ASSERT_EQ(clip.recs.size(), 3);
        const QByteArray before = test::DocumentBytes(ws);

        const RowsPaste r = PasteRows(ws, c.band, c.group, c.row, clip, c.insert);
        EXPECT_EQ(r.result, c.result);
        if (c.problem) {
            EXPECT_TRUE(r.problems.join('\n').contains(QString::fromUtf8(c.problem))) << r.problems.join('\n').toStdString();
            EXPECT_TRUE(test::DocumentBytes(ws) == before) << "a refused paste changes nothing";
            continue;
        }
        EXPECT_TRUE(r.problems.isEmpty()) << r.problems.join('\n').toStdString();
        for (int i = 0; i < 3; ++i) {
            const int slot = FindSlot(ws, c.band, c.group, c.landed[i]);
            ASSERT_GT(slot, 0);
            EXPECT_EQ(ws.Channels(c.band, slot, c.group).Freq.bytes(), clip.recs[i].Freq.bytes());
        }
    }
}

TEST_F(RowsFixture, ReferencesTheJobDoesNotHoldBecomeOffAndTextRowsFollowTheCsvRules)
{
    Put(0, 1, 1, "27.185");
    RowClip clip = CopyRows(ws, 0, 1, {1});
    clip.recs[0].BotCode = 5;      // no DTMF code 5 in this job
    clip.recs[0].RogerBeep = 3;    // no pattern 3
    RowClip back;
    ASSERT_TRUE(DecodeRowClip(EncodeRowClip(clip), back));
    ASSERT_TRUE(PasteRows(ws, 0, 2, 7, back, false).ok());
    EXPECT_EQ(At(0, 2, 7).BotCode, 0);
    EXPECT_EQ(At(0, 2, 7).RogerBeep, 0);

    // The tab-separated form a copy puts on the clipboard reads back as the same channels.
    const QByteArray text = RowClipText(ws, CopyRows(ws, 0, 1, {1}));
    EXPECT_TRUE(text.startsWith("Band\tGroup\tChannel\tFrequency\t"));
    RowClip read;
    EXPECT_TRUE(ReadRowClipText(ws, text, read).isEmpty());
    ASSERT_EQ(read.recs.size(), 1);
    EXPECT_EQ(read.recs[0].Freq.bytes(), At(0, 1, 1).Freq.bytes());

    // Bad cells are named by row and column; nothing is read.
    struct Bad { const char* text; const char* named; };
    const Bad bads[] = {
        {"HF\tA\t1\t27.1x5\tOFF\tOFF\tOff\tOff\tADD\tOFF\tOFF\tOFF\tOFF\tOFF\tON\tOFF\tOFF\tOFF\tFM\n", "row 1, column 4 (Frequency)"},
        {"HF\tA\t1\t27.185\n", "row 1: the row has 4 columns, the header 19"},
        {"HF\tZ\t1\t27.185\tOFF\tOFF\tOff\tOff\tADD\tOFF\tOFF\tOFF\tOFF\tOFF\tON\tOFF\tOFF\tOFF\tFM\n", "row 1, column 2 (Group)"},
    };
    for (const Bad& b : bads) {
        RowClip none;
        const QStringList problems = ReadRowClipText(ws, b.text, none);
        EXPECT_TRUE(problems.join('\n').contains(b.named)) << problems.join('\n').toStdString();
        EXPECT_TRUE(none.isEmpty());
    }
}

}  // namespace
}  // namespace kt
