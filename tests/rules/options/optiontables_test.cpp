// The value tables of the option page: what a stored value shows, what a
// chosen entry stores, the number boxes and the channel rules of the page.
#include "rules/options/OptionTables.h"

#include <gtest/gtest.h>
#include <ostream>
#include <set>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace kt::opt {
namespace {

const ListSetting& L(int id)
{
    const ListSetting* s = FindList(id);
    EXPECT_NE(s, nullptr) << id;
    return *s;
}

const Workspace& Empty()
{
    static const Workspace ws;
    return ws;
}

QString Shown(int id, int stored, int lang = English, const Workspace& ws = Empty())
{
    return ShownText(L(id), EntriesOf(id, lang, ws), stored);
}

int Stored(int id, const QString& chosen, int lang = English, const Workspace& ws = Empty())
{
    return StoredValueOf(L(id), EntriesOf(id, lang, ws), chosen);
}

TEST(OptionTables, StoredValuesShowTheirEntry)
{
    struct Case { int id; int stored; int lang; const char* shown; } cases[] = {
        {id::Nog, 40, English, "Off"},          // outside the list: first entry
        {id::Nog, 32, English, "32"},
        {id::Mic, 0, English, "1"},             // no entry "0": first entry
        {id::Mic, 45, English, "45"},
        {id::Tot, 7, English, "60s"},           // between two steps: the lower one
        {id::Tot, 60, English, "600s"},
        {id::Tot, 0, Chinese, "关"},
        {id::RxNr, 0, English, "OFF"},
        {id::RxNr, 130, English, "3"},
        {id::TxNr, 132, English, "5"},
        {id::TxNr, 3, English, "OFF"},          // below 128 but not 0
        {id::CwFreq, 45, English, "450"},
        {id::CwFreq, 255, English, "2550"},
        {id::CwFreq, 10, English, "300"},
        {id::CwBkin, 100, English, "1000ms"},
        {id::CwBkin, 0, English, "Off"},
        {id::PfKey, 19, English, "Scan"},
        {id::HfDwBand, 10, English, "L"},       // "L" follows "J"
        {id::Indic, 3, Chinese, "电池电压显示"},
        {id::Color, 1, Chinese, "白"},
        {id::Color, 0, Chinese, "Off"},
        {id::TxColor, 1, Chinese, "White"},
        {id::Asq, 0, Chinese, "关"},
        {id::Asq, 9, English, "9"},
        {id::Beep, 0, Chinese, "关"},
        {id::Emg, 2, English, "EMG 2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Shown(c.id, c.stored, c.lang), QString::fromUtf8(c.shown))
            << "list " << c.id << " value " << c.stored;
}

TEST(OptionTables, ChosenEntriesStoreByTheirRule)
{
    struct Case { int id; const char* chosen; int lang; int stored; } cases[] = {
        {id::Nog, "5", English, 5},
        {id::Tot, "Off", English, 0},
        {id::Tot, "60s", English, 6},
        {id::Tot, "600s", English, 60},
        {id::RxNr, "OFF", English, 0},
        {id::RxNr, "1", English, 128},
        {id::RxNr, "5", English, 132},
        {id::CwFreq, "300", English, 30},
        {id::CwFreq, "2550", English, 255},
        {id::CwBkin, "10ms", English, 1},
        {id::Asq, "关", Chinese, 0},
        {id::Asq, "OFF", English, 0},
        {id::Asq, "7", Chinese, 7},
        {id::Mic, "1", English, 1},            // MIC has no OFF: its first entry is 1
        {id::Mic, "45", English, 45},
        {id::VoxLevel, "1", English, 0},
        {id::EchoVol, "32", English, 31},
        {id::VfoStep, "1M", English, 6},
        {id::Nog, "nope", English, -1},        // not an entry
    };
    for (const auto& c : cases)
        EXPECT_EQ(Stored(c.id, QString::fromUtf8(c.chosen), c.lang), c.stored)
            << "list " << c.id << " entry " << c.chosen;
}

TEST(OptionTables, ListSizesAndEnds)
{
    struct Case { int id; int count; const char* last; } cases[] = {
        {id::Tot, 21, "600s"}, {id::Nog, 33, "32"}, {id::Mic, 45, "45"}, {id::CwFreq, 226, "2550"},
        {id::CwBkin, 101, "1000ms"}, {id::CwBeep, 64, "63"}, {id::PfKey, 20, "Scan"},
        {id::HfDwBand, 11, "L"}, {id::HamDwChan, 40, "40"}, {id::EchoTime, 32, "32"},
        {id::VfoStep, 7, "1M"}, {id::TxColor, 8, "Cyan"}, {id::PubNbAnl, 4, "NB/ANL"},
    };
    for (const auto& c : cases) {
        for (int lang : {English, Chinese}) {
            const QStringList e = EntriesOf(c.id, lang, Empty());
            EXPECT_EQ(e.size(), c.count) << c.id;
            EXPECT_EQ(e.last(), QString::fromUtf8(c.last)) << c.id;
        }
    }
}

// Every entry of every fixed list stores a value that shows that entry again,
// in both languages; a list with a repeated entry or a broken rule fails here.
TEST(OptionTables, EveryEntryRoundTripsThroughItsStoredValue)
{
    const std::set<int> dynamic{id::Roger, id::Mode, id::PubBot, id::PubEot, id::PubCall};
    for (const ListSetting& s : ListSettings()) {
        if (dynamic.count(s.id)) continue;
        for (int lang : {English, Chinese}) {
            const QStringList e = EntriesOf(s.id, lang, Empty());
            ASSERT_FALSE(e.isEmpty()) << s.id;
            QStringList unique = e;
            EXPECT_EQ(unique.removeDuplicates(), 0) << s.id;
            for (const QString& entry : e) {
                const int v = StoredValueOf(s, e, entry);
                EXPECT_GE(v, 0);
                EXPECT_LE(v, 255);
                EXPECT_EQ(ShownText(s, e, v), entry) << s.id << " " << entry.toStdString();
            }
        }
    }
}

TEST(OptionTables, EveryFieldHasItsOwnPlace)
{
    constexpr int kFields = static_cast<int>(Field::TxOffset) + 1;
    DataRecord r;
    for (int f = 0; f < kFields; ++f) SetField(r, static_cast<Field>(f), f + 1);
    for (int f = 0; f < kFields; ++f) EXPECT_EQ(GetField(r, static_cast<Field>(f)), f + 1) << f;
    // A few that live outside the option record.
    SetField(r, Field::TxColor, 7);
    SetField(r, Field::TxOffset, 50000);
    SetField(r, Field::ComChanRb, 5);
    EXPECT_EQ(r.TxColor, 7);
    EXPECT_EQ(r.RxColor, 0);
    EXPECT_EQ(r.TxOffset, 50000);
    EXPECT_EQ(r.ComChanRb, 5);
    EXPECT_EQ(r.OptFeat.PublicRogerBeep, 0);
}

TEST(OptionTables, PublicModeListLeavesOutDisabledModesAndCw)
{
    Workspace r;
    r.OptFeat().FmEnabled = 1;
    r.OptFeat().UsbEnabled = 1;
    r.OptFeat().CwEnabled = 1;
    r.OptFeat().PublicMode = 1;   // AM, not offered
    EXPECT_EQ(EntriesOf(id::Mode, English, r), (QStringList{"FM", "USB"}));
    EXPECT_EQ(Shown(id::Mode, 1, English, r), "FM");
    EXPECT_EQ(Shown(id::Mode, 2, English, r), "USB");
    EXPECT_EQ(Stored(id::Mode, "USB", English, r), 2);

    Workspace onlyCw;
    onlyCw.OptFeat().CwEnabled = 1;
    EXPECT_TRUE(EntriesOf(id::Mode, English, onlyCw).isEmpty());
    EXPECT_EQ(Shown(id::Mode, 0, English, onlyCw), "");
}

TEST(OptionTables, RogerAndCodeListsOfferWhatIsDefined)
{
    Workspace ws;
    DataRecord& r = ws.WorkRecord;
    r.RbPattern[4].RbRecycle = 1;
    r.RbPattern[4].RbTone[1][3] = 2;     // pattern 5: defined
    r.RbPattern[0].RbRecycle = 0;
    r.RbPattern[0].RbTone[1][0] = 2;     // pattern 1: tones but no repeat
    r.RbPattern[1].RbRecycle = 1;        // pattern 2: repeat but no tone length
    r.RbPattern[1].RbTone[0][0] = 9;
    EXPECT_EQ(EntriesOf(id::Roger, English, ws), (QStringList{"OFF", "5"}));
    EXPECT_EQ(EntriesOf(id::Roger, Chinese, ws), (QStringList{"关", "5"}));
    EXPECT_EQ(Shown(id::Roger, 5, English, ws), "5");
    EXPECT_EQ(Shown(id::Roger, 2, English, ws), "OFF");
    EXPECT_EQ(Stored(id::Roger, "5", English, ws), 5);
    EXPECT_EQ(Stored(id::Roger, "关", Chinese, ws), 0);

    r.OptFeat.DtmfCode[3].set("12#");
    r.OptFeat.DtmfCode[4].set(QByteArray("\0" "99", 3));   // cut at the NUL: empty
    r.OptFeat.DtmfCode[16].set("A");
    EXPECT_EQ(EntriesOf(id::PubEot, English, ws), (QStringList{"OFF", "3", "16"}));
    EXPECT_EQ(Shown(id::PubBot, 16, English, ws), "16");
    EXPECT_EQ(Shown(id::PubBot, 4, English, ws), "OFF");
}

TEST(OptionTables, NumberBoxesCheckTypedText)
{
    struct Case { int id; const char* typed; const char* text; int stored; } cases[] = {
        {id::BattMin, "18", "17.0", 170},
        {id::BattMin, "8", "9.0", 90},
        {id::BattMin, "abc", "9.0", 90},
        {id::BattMax, "12", "12.0", 120},
        {id::BattMax, "", "9.0", 90},
        {id::SwrMax, "abc", "20.0", 200},
        {id::SwrMax, "1", "1.2", 12},
        {id::SwrMax, "3.25", "3.3", 33},   // two decimals rounded to one, stored as shown
        {id::TxOffset, "x", "5.0000", 50000},
        {id::TxOffset, "0", "0.0001", 1},
        {id::TxOffset, "1.23456", "1.2346", 12346},
        {id::TxOffset, "9", "5.0000", 50000},
        {id::TxOffset, "1.2.3", "5.0000", 50000},
        {id::TxOffset, "0.6", "0.6000", 6000},
    };
    for (const auto& c : cases) {
        const NumberSetting& s = *FindNumber(c.id);
        const QString text = CheckedNumberText(s, c.typed);
        EXPECT_EQ(text, c.text) << c.id << " " << c.typed;
        EXPECT_EQ(StoredNumberOf(s, text), c.stored) << c.id << " " << c.typed;
    }
    EXPECT_EQ(NumberText(*FindNumber(id::TxOffset), 6000), "0.6000");
    EXPECT_EQ(NumberText(*FindNumber(id::SwrMax), 250), "25.0");   // shown as stored, not clamped

    QString mn = "16.5", mx = "12.0";
    OrderBatteryTexts(mn, mx);
    EXPECT_EQ(mn, "12.0");
    EXPECT_EQ(mx, "16.5");
    OrderBatteryTexts(mn, mx);
    EXPECT_EQ(mn, "12.0");
}

TEST(OptionTables, PublicSwitchCoversEverySlotOfItsBand)
{
    Workspace ws;
    SetPublicAcrossBand(ws, 0, 1);
    EXPECT_EQ(ws.Channels(0, 1, 1).PublicCh, 1);
    EXPECT_EQ(ws.Channels(0, 40, 15).PublicCh, 1);
    EXPECT_EQ(ws.Channels(0, 41, 15).PublicCh, 0);   // lettered groups have 40 slots
    EXPECT_EQ(ws.Channels(0, 99, 16).PublicCh, 1);
    EXPECT_EQ(ws.Channels(0, 1, 17).PublicCh, 1);
    EXPECT_EQ(ws.Channels(0, 2, 17).PublicCh, 0);
    EXPECT_EQ(ws.Channels(1, 1, 1).PublicCh, 0);     // the other band is left alone

    SetPublicAcrossBand(ws, 1, 1);
    EXPECT_EQ(ws.Channels(1, 40, 12).PublicCh, 1);
    EXPECT_EQ(ws.Channels(1, 99, 13).PublicCh, 1);
    EXPECT_EQ(ws.Channels(1, 1, 14).PublicCh, 1);
    EXPECT_EQ(ws.Channels(1, 1, 15).PublicCh, 0);
    SetPublicAcrossBand(ws, 0, 0);
    EXPECT_EQ(ws.Channels(0, 99, 16).PublicCh, 0);
    EXPECT_EQ(ws.Channels(1, 99, 13).PublicCh, 1);
}

TEST(OptionTables, ChannelModesFollowTheEnabledModes)
{
    Workspace ws;
    auto add = [&](int band, int group, int mode) {
        const int slot = ++ws.ChannelCount(band, group);
        ChannelRec& ch = ws.Channels(band, slot, group);
        ch.ChNo = static_cast<int16_t>(slot);
        ch.Mode = static_cast<int16_t>(mode);
        return &ch;
    };
    OptFeatRec& o = ws.OptFeat();
    o.AmEnabled = 1;
    o.UsbEnabled = 1;
    o.CwEnabled = 1;
    ChannelRec* fm = add(0, 1, 0);
    ChannelRec* lsb = add(1, 10, 3);
    ChannelRec* usb = add(0, 2, 2);
    ChannelRec* cw = add(0, 3, 5);
    ChannelRec* odd = add(1, 1, 9);
    ChannelRec* outside = add(0, 11, 0);   // groups above 10 are not walked
    ChannelRec* mem = add(0, 16, 0);
    EXPECT_EQ(AlignChannelModes(ws), 3);
    EXPECT_EQ(fm->Mode, 1);
    EXPECT_EQ(lsb->Mode, 1);
    EXPECT_EQ(usb->Mode, 2);
    EXPECT_EQ(cw->Mode, 5);
    EXPECT_EQ(odd->Mode, 1);
    EXPECT_EQ(outside->Mode, 0);
    EXPECT_EQ(mem->Mode, 0);

    o.CwEnabled = 0;
    o.AmEnabled = 0;
    o.UsbEnabled = 0;   // none of FM-PA: FM
    EXPECT_EQ(AlignChannelModes(ws), 5);   // the AM ones, USB and CW
    EXPECT_EQ(cw->Mode, 0);
    EXPECT_EQ(usb->Mode, 0);
}

}  // namespace
}  // namespace kt::opt
