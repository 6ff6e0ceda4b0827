#include "rules/channels/ChannelTables.h"
#include "model/ChannelRules.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace kt {
namespace {

TEST(ToneTables, DisplayFormsAndBounds)
{
    const QStringList c = CtcssList();
    ASSERT_EQ(c.size(), 38);
    EXPECT_EQ(c.first(), "C_001(67.0Hz)");
    EXPECT_EQ(c[11], "C_012(100.0Hz)");
    EXPECT_EQ(c.last(), "C_038(250.3Hz)");
    const QStringList d = DcsList();
    ASSERT_EQ(d.size(), 104);
    EXPECT_EQ(d.first(), "D_001(023N)");
    EXPECT_EQ(d[16], "D_017(114N)");
    EXPECT_EQ(d.last(), "D_104(754N)");
    EXPECT_DOUBLE_EQ(CtcssTone(37), 250.3);
    EXPECT_DOUBLE_EQ(CtcssTone(38), 0.0);
    EXPECT_DOUBLE_EQ(CtcssTone(-1), 0.0);
    EXPECT_EQ(DcsCode(103), "754");
    EXPECT_EQ(DcsCode(104), "");
    // The codes are octal: no digit 8 or 9 may appear.
    for (int i = 0; i < kDcsCount; ++i) EXPECT_FALSE(DcsCode(i).contains(QRegularExpression("[89]"))) << i;
}

TEST(GroupLists, SelectorHidesMtoOWithoutTheExtendedLayout)
{
    struct Case { int band; bool ext; int count; const char* last3; };
    const Case cases[] = {
        {0, false, 14, "L,MEM,VFO"},
        {0, true, 17, "O,MEM,VFO"},
        {1, false, 14, "L,MEM,VFO"},
        {1, true, 14, "L,MEM,VFO"},
    };
    for (const Case& c : cases) {
        const QStringList l = GroupSelectorTexts(c.band, c.ext);
        EXPECT_EQ(l.size(), c.count) << c.band << c.ext;
        EXPECT_EQ(l.mid(l.size() - 3).join(","), c.last3) << c.band << c.ext;
        const QStringList w = WorkGroupTexts(c.band, c.ext);
        EXPECT_EQ(w.size(), c.count - 2);
        EXPECT_FALSE(w.contains("MEM"));
        EXPECT_FALSE(w.contains("VFO"));
    }
    EXPECT_EQ(FullGroupTexts(0).size(), 17);   // the hidden list always has all
    EXPECT_EQ(FullGroupTexts(1).size(), 14);
}

TEST(GroupLists, KindsEditabilityAndRowHeaders)
{
    EXPECT_TRUE(GroupEditable(0, 1));
    EXPECT_TRUE(GroupEditable(0, 17));
    EXPECT_TRUE(GroupEditable(1, 13));    // band 1 "MEM"
    EXPECT_FALSE(GroupEditable(1, 1));    // band 1 "A"
    EXPECT_FALSE(GroupEditable(1, 14));   // band 1 "VFO"
    EXPECT_EQ(RowHeaderText(0, 16, 5), "M5");
    EXPECT_EQ(RowHeaderText(1, 13, 99), "M99");
    EXPECT_EQ(RowHeaderText(0, 1, 40), "40");
    EXPECT_EQ(BandRangeText(0), "24.7150 - 30.1050 MHz");
    EXPECT_EQ(BandRangeText(1), "28.0000 - 29.6950 MHz");
    EXPECT_EQ(BandSelectorTexts().at(1), "HAM -- 28.0000 - 29.7000 MHz");
}

TEST(ModeList, BuiltFromEnabledModesAndNeverPaInMemory)
{
    Workspace ws;
    auto& o = ws.OptFeat();
    o.FmEnabled = o.AmEnabled = o.UsbEnabled = o.LsbEnabled = o.PaEnabled = o.CwEnabled = 1;
    EXPECT_EQ(FillModeList(ws, false).join(","), "FM,AM,USB,LSB,PA,CW");
    EXPECT_EQ(FillModeList(ws, true).join(","), "FM,AM,USB,LSB,CW");
    o.AmEnabled = 0;
    o.LsbEnabled = 0;
    o.CwEnabled = 2;   // anything above 0 means offered
    EXPECT_EQ(FillModeList(ws, false).join(","), "FM,USB,PA,CW");
}

TEST(ReferenceLists, OnlyFilledCodesAndDefinedPatterns)
{
    Workspace ws;
    ws.OptFeat().DtmfCode[3].set("123");
    ws.OptFeat().DtmfCode[7].set("   ");                      // spaces only: empty
    ws.OptFeat().DtmfCode[9].set(QByteArray("\0" "12", 3));   // cut at the NUL: empty
    ws.OptFeat().DtmfCode[16].set("#");
    EXPECT_EQ(DtmfRefList(ws).join(","), "OFF,3,16");

    ws.WorkRecord.RbPattern[1].RbRecycle = 1;   // pattern 2: recycles but no tone length
    ws.WorkRecord.RbPattern[4].RbRecycle = 1;   // pattern 5: defined
    ws.WorkRecord.RbPattern[4].RbTone[1][13] = 3;
    ws.WorkRecord.RbPattern[6].RbTone[1][0] = 3;   // pattern 7: tones but recycle off
    EXPECT_EQ(RogerRefList(ws).join(","), "OFF,5");

    ws.CurrentLanguage = Chinese;
    EXPECT_EQ(RogerRefList(ws).first(), "关");
}

TEST(EmergencyList, RegularChannelsAscending)
{
    Workspace ws;
    for (int ch : {12, 3, 41, 40, 7}) InsertChannel(ws, ch, 0, 2, "27.00000");
    EXPECT_EQ(EmgChannelList(ws, 0, 2).join(","), "3,7,12,40");
    EXPECT_TRUE(EmgChannelList(ws, 0, 3).isEmpty());
}

// Every field: the stored value shows the right entry, and storing the entry
// gives the stored value back.
TEST(DetailFields, ShowAndStoreRoundTrip)
{
    Workspace ws;
    auto& o = ws.OptFeat();
    o.FmEnabled = o.AmEnabled = o.UsbEnabled = o.LsbEnabled = o.PaEnabled = o.CwEnabled = 1;
    ws.OptFeat().DtmfCode[5].set("55");
    ws.WorkRecord.RbPattern[2].RbRecycle = 1;
    ws.WorkRecord.RbPattern[2].RbTone[1][0] = 1;   // pattern 3 defined

    ChannelRec r;
    r.BusyLock = 1; r.RepShift = 2; r.RxToneType = 1; r.RxCtcss = 37; r.RxDcs = 103;
    r.TxToneType = 2; r.TxCtcss = 5; r.TxDcs = 16; r.Scan = 0; r.PublicCh = 1;
    r.BotCode = 5; r.EotCode = 0; r.CallCode = 5; r.HiCut = 1; r.NbAnl = 3; r.Echo = 1;
    r.Add10K = 1; r.RogerBeep = 3; r.Mode = 4;

    struct Case { ChField f; const char* text; };
    const Case cases[] = {
        {ChField::Busy, "ON"}, {ChField::Rep, "-"}, {ChField::RxType, "CTCSS"},
        {ChField::RxCtcss, "C_038(250.3Hz)"}, {ChField::RxDcs, "D_104(754N)"},
        {ChField::TxType, "DCS"}, {ChField::TxCtcss, "C_006(82.5Hz)"}, {ChField::TxDcs, "D_017(114N)"},
        {ChField::Scan, "Del"}, {ChField::Public, "ON"}, {ChField::Bot, "5"}, {ChField::Eot, "OFF"},
        {ChField::Call, "5"}, {ChField::HiCut, "ON"}, {ChField::NbAnl, "NB/ANL"}, {ChField::Echo, "ON"},
        {ChField::Add10K, "ON"}, {ChField::Roger, "3"}, {ChField::Mode, "PA"},
    };
    ChannelRec back;   // all zero
    for (const Case& c : cases) {
        const QString shown = ChFieldText(ws, r, c.f, false);
        EXPECT_EQ(shown, c.text) << int(c.f);
        const QStringList list = ChFieldList(ws, c.f, false);
        StoreChField(back, c.f, shown, int(list.indexOf(shown)));
    }
    for (const Case& c : cases) {
        EXPECT_EQ(ChFieldText(ws, back, c.f, false), c.text) << int(c.f);
    }
    EXPECT_EQ(back.Mode, 4);
    EXPECT_EQ(back.EotCode, 0);
    EXPECT_EQ(back.RogerBeep, 3);
    EXPECT_EQ(back.RxDcs, 103);
}

TEST(DetailFields, UnlistedValuesShowTheFirstEntry)
{
    Workspace ws;
    ws.OptFeat().FmEnabled = ws.OptFeat().UsbEnabled = ws.OptFeat().PaEnabled = 1;
    ChannelRec r;
    r.BotCode = 9;      // code 9 is empty
    r.RogerBeep = 2;    // pattern 2 not defined
    r.RxCtcss = 80;     // outside the table
    r.NbAnl = 7;
    r.Mode = 4;         // PA, not offered in the memory group
    EXPECT_EQ(ChFieldText(ws, r, ChField::Bot, false), "OFF");
    EXPECT_EQ(ChFieldText(ws, r, ChField::Roger, false), "OFF");
    EXPECT_EQ(ChFieldText(ws, r, ChField::RxCtcss, false), "C_001(67.0Hz)");
    EXPECT_EQ(ChFieldText(ws, r, ChField::NbAnl, false), "OFF");
    EXPECT_EQ(ChFieldText(ws, r, ChField::Mode, false), "PA");
    EXPECT_EQ(ChFieldText(ws, r, ChField::Mode, true), "FM");
}

TEST(DetailFields, ChineseListsStoreTheSameValues)
{
    Workspace ws;
    ws.CurrentLanguage = Chinese;
    EXPECT_EQ(ChFieldList(ws, ChField::Scan, false).join(","), "删除,添加");
    EXPECT_EQ(ChFieldList(ws, ChField::Rep, false).join(","), "关,+,-");
    EXPECT_EQ(ChFieldList(ws, ChField::NbAnl, false).join(","), "关,NB,ANL,NB/ANL");
    EXPECT_EQ(ChFieldLabel(ChField::Scan, Chinese), "扫描");
    ChannelRec r;
    r.BotCode = 4;
    StoreChField(r, ChField::Bot, "关", 0);
    EXPECT_EQ(r.BotCode, 0);
    StoreChField(r, ChField::Scan, "添加", 1);
    EXPECT_EQ(r.Scan, 1);
}

TEST(DetailFields, PublicLocksAllButBusy)
{
    QStringList locked;
    for (ChField f : kAllChFields)
        if (LockedByPublic(f)) locked << ChFieldLabel(f, English);
    EXPECT_EQ(locked.join(","), "BOT,EOT,Call,HI-CUT,NB/ANL,ECHO,+10KHz,Roger,Mode");
}

}  // namespace
}  // namespace kt
