// Every control of the option page changed once, the data saved and opened
// again, the page reopened on them, and the radio image encoded from them:
// each byte of the settings areas must hold what the choices mean to the radio.
#include "GuiTestHost.h"
#include "TestSupport.h"
#include "base/Versions.h"
#include "rules/options/OptionTables.h"
#include "model/Codec.h"
#include "model/DataFile.h"
#include "model/Defaults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

namespace kt::test {
namespace {

using namespace opt;

QString NameOf(int id)
{
    if (id >= 300) return QStringLiteral("Text1_%1").arg(id - 300);
    if (id >= 200) return QStringLiteral("Combo2_%1").arg(id - 200);
    if (id >= 100) return QStringLiteral("Check1_%1").arg(id - 100);
    return QStringLiteral("Combo1_%1").arg(id);
}

struct ListChoice { int id; const char* entry; };
// In page order; "VOX" comes before the two lists it unlocks.
const ListChoice kLists[] = {
    {id::Tot, "150s"}, {id::Indic, "Battery Voltage Display"}, {id::Mic, "33"},
    {id::Asq, "7"}, {id::Nog, "12"}, {id::Scm, "Time Scan"}, {id::Fin, "RT"},
    {id::Vox, "ON"}, {id::VoxLevel, "6"}, {id::VoxDelay, "8"}, {id::VoxSpk, "ON"},
    {id::MicType, "DY"}, {id::RxNr, "4"}, {id::TxNr, "2"}, {id::Emg, "EMG 2"},
    {id::VolPath, "BOTH"}, {id::EchoVol, "20"}, {id::EchoTime, "11"}, {id::AmNpc, "ON"},
    {id::CwFreq, "1230"}, {id::CwBeep, "40"}, {id::CwRx, "CW-L"}, {id::CwBkin, "250ms"},
    {id::CwOffset, "ON"},
    {id::Beep, "4"}, {id::FmDeviation, "4K"}, {id::SsbTone, "Lo"}, {id::PfKey, "CH.PUSH"},
    {id::FinRange, "5KHz"}, {id::Agc, "FAST"}, {id::TxColor, "Purple"}, {id::Color, "Green"},
    {id::HfDwBand, "L"}, {id::HfDwChan, "27"}, {id::HfDwMode, "LSB"}, {id::HamDwBand, "E"},
    {id::HamDwChan, "9"}, {id::HamDwMode, "USB"}, {id::HfPublic, "ON"}, {id::HamPublic, "ON"},
    {id::Vfo, "ON"}, {id::VfoStep, "100K"}, {id::Dim, "2"},
    {id::PubBot, "2"}, {id::PubEot, "4"}, {id::PubCall, "2"}, {id::PubHiCut, "ON"},
    {id::PubNbAnl, "ANL"}, {id::PubEcho, "ON"}, {id::Pub10K, "ON"}, {id::Roger, "3"},
};
// Each box clicked once; USB starts off so that USB and CW are left on.
const int kChecks[] = {id::SwrProtect, id::BattProtect, id::VolDisplay, id::SqlDisplay,
                       id::PowDisplay, id::RfgDisplay, id::UsbEnable, id::CwEnable,
                       id::FmEnable, id::AmEnable, id::PaEnable, id::LsbEnable};
struct NumberChoice { int id; const char* typed; const char* shown; };
const NumberChoice kNumbers[] = {
    {id::SwrMax, "7.5", "7.5"}, {id::BattMin, "10.5", "10.5"}, {id::BattMax, "15.5", "15.5"},
    {id::TxOffset, "0.125", "0.1250"},
};

class OptRoundTrip : public ::testing::Test {
protected:
    std::unique_ptr<Workspace> NewWorkspace()
    {
        auto ws = inst.workspace();
        ws->Versions = LoadVersionTable(inst.root());
        InitDefaults(*ws);
        return ws;
    }
    static ChannelRec VfoChannel(const char* digits, int mode)
    {
        ChannelRec ch;
        ch.ChNo = 1;
        ch.Used = 1;
        ch.Freq.set(digits);
        ch.Mode = int16_t(mode);
        ch.RxCtcss = 5;
        ch.TxDcs = 9;
        ch.NbAnl = 2;
        ch.Echo = 1;
        ch.EotCode = 4;
        return ch;
    }
    static QByteArray State(const Workspace& ws)
    {
        QByteArray s = SerializeDataRecord(ws.WorkRecord);
        for (int b = 0; b < kBands; ++b)
            for (int g = 1; g <= GroupsOfBand(b); ++g)
                for (int slot = 1; slot <= GroupSize(b, g); ++slot)
                    s += SerializeChannelRecord(ws.Channels(b, slot, g));
        return s;
    }

    TempInstall inst;
};

TEST_F(OptRoundTrip, EveryChoiceReachesTheImage)
{
    auto ws = NewWorkspace();
    DataRecord& r = ws->WorkRecord;
    OptFeatRec& o = r.OptFeat;
    // Settings the page never shows, at values that stand out.
    r.BandType = 1;
    o.Opt4804H = 2;
    o.HfWorkGroup = 3;
    o.HamWorkGroup = 2;
    o.ChannelMode = 1;
    o.Opt4807B1 = 1;
    o.Opt4808() = 41;
    o.Opt4809() = 17;
    o.MenuPage = 6;
    o.LongKey = 3;
    o.PublicBusy = 1;
    o.PublicRogerBeep = 7;
    o.DtmfSendTime = 11;
    o.DtmfFirstDigitTime = 12;
    o.DtmfFirstDigitDelay = 13;
    o.DtmfStarHashTime = 2;
    o.DtmfDCodeAssign = 5;
    o.DtmfDisplay = 1;
    r.FreqChMode = 1;
    r.RxColor = 4;
    for (int g = 1; g <= 15; ++g) o.GrpByte[0][g] = int16_t(g + 2);
    for (int g = 1; g <= 12; ++g) o.GrpByte[1][g] = int16_t(43 + g);
    // What the public lists may offer.
    o.DtmfCode[2].set("12#");
    o.DtmfCode[4].set("*9A");
    r.RbPattern[2].RbRecycle = 1;
    r.RbPattern[2].RbTone[0][0] = 40;
    r.RbPattern[2].RbTone[1][0] = 3;
    o.UsbEnabled = 0;
    // The one-channel groups, which sit inside the settings area of the image.
    ws->ChannelCount(0, 17) = 1;
    ws->Channels(0, 1, 17) = VfoChannel("27185000", 3);
    ws->ChannelCount(1, 14) = 1;
    ws->Channels(1, 1, 14) = VfoChannel("2850", 1);
    ASSERT_GE(ws->ChannelCount(0, 1), 1);
    const int firstChannelMode = ws->Channels(0, 1, 1).Mode;
    ASSERT_EQ(firstChannelMode, 0);

    {
        GuiTestHost host(*ws);
        host.ShowChild(Child::OptFeatures);
        FrmOptFeatures* w = host.OptionsWindow();
        ASSERT_NE(w, nullptr);
        for (const ListChoice& c : kLists) {
            auto* box = w->findChild<QComboBox*>(NameOf(c.id));
            ASSERT_NE(box, nullptr) << c.id;
            ASSERT_TRUE(box->isEnabled()) << c.id;
            const int i = box->findText(QString::fromUtf8(c.entry));
            ASSERT_GE(i, 0) << c.id << " " << c.entry;
            ASSERT_NE(i, box->currentIndex()) << "not a change: " << c.entry;
            box->setCurrentIndex(i);
            emit box->activated(i);
        }
        for (int id : kChecks) {
            auto* box = w->findChild<QCheckBox*>(NameOf(id));
            ASSERT_NE(box, nullptr) << id;
            const bool was = box->isChecked();
            box->click();
            ASSERT_NE(box->isChecked(), was) << id;
        }
        auto* mode = w->findChild<QComboBox*>(NameOf(id::Mode));
        ASSERT_EQ(mode->count(), 1);          // USB; CW has no place there
        ASSERT_EQ(mode->itemText(0), "USB");
        emit mode->activated(0);
        for (const NumberChoice& n : kNumbers) {
            auto* e = w->findChild<QLineEdit*>(NameOf(n.id));
            ASSERT_NE(e, nullptr);
            e->selectAll();
            QTest::keyClicks(e, n.typed);
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QCoreApplication::sendEvent(e, &out);
            EXPECT_EQ(e->text(), n.shown);
        }
        host.CloseChild(Child::OptFeatures);
    }
    ws->CurrentFile = inst.path("opt.dat");
    ASSERT_EQ(SaveDataFile(*ws).kind, FileResult::Done);

    // A fresh start: open the pair and the page on it.
    auto again = NewWorkspace();
    again->CurrentFile = inst.path("opt.dat");
    ASSERT_EQ(OpenDataFile(*again).kind, FileResult::Done);
    const QByteArray opened = State(*again);
    {
        GuiTestHost host(*again);
        host.ShowChild(Child::OptFeatures);
        FrmOptFeatures* w = host.OptionsWindow();
        for (const ListChoice& c : kLists)
            EXPECT_EQ(w->findChild<QComboBox*>(NameOf(c.id))->currentText(),
                      QString::fromUtf8(c.entry)) << c.id;
        EXPECT_EQ(w->findChild<QComboBox*>(NameOf(id::Mode))->currentText(), "USB");
        for (const NumberChoice& n : kNumbers)
            EXPECT_EQ(w->findChild<QLineEdit*>(NameOf(n.id))->text(), n.shown);
        EXPECT_FALSE(w->findChild<QCheckBox*>(NameOf(id::SwrProtect))->isChecked());
        EXPECT_TRUE(w->findChild<QCheckBox*>(NameOf(id::RfgDisplay))->isChecked());
        EXPECT_TRUE(w->findChild<QCheckBox*>(NameOf(id::CwEnable))->isChecked());
        EXPECT_FALSE(w->findChild<QCheckBox*>(NameOf(id::FmEnable))->isChecked());
        host.CloseChild(Child::OptFeatures);
    }
    EXPECT_EQ(State(*again), opened);

    ClearImage(*again);
    EncodeImage(*again);
    const std::vector<uint8_t>& img = again->MemImage;

    std::map<int, int> want;
    for (int a = 0x4804; a <= 0x4865; ++a) want[a] = 0;   // unused bytes: cleared to 0
    want[0x4804] = (2 + 1) * 16 + 1;             // Opt4804H + 1 over BandType
    want[0x4805] = 3 - 1;
    want[0x4806] = 2 - 1;
    want[0x4807] = 0 + 1 * 2 + 2 * 4 + 1 * 16;   // ChannelMode written 0, Opt4807B1, EMG 2, VFO on
    want[0x4808] = 41;
    want[0x4809] = 17;
    // One-channel groups: BCD frequency, the bytes of the record, PublicCh now set by the page.
    const int hfVfo[16] = {0x27, 0x18, 0x50, 0x00, 5, 0, 3, 0, 9, 4 + 32 * 2, 0, 128, 0, 4, 0, 0};
    const int hamVfo[16] = {0x28, 0x50, 0x00, 0x00, 5, 0, 1, 0, 9, 4 + 32 * 2, 0, 128, 0, 4, 0, 0};
    for (int i = 0; i < 15; ++i) {   // byte 15 is not written
        want[0x4810 + i] = hfVfo[i];
        want[0x4820 + i] = hamVfo[i];
    }
    want.erase(0x481F);
    want.erase(0x482F);
    for (int g = 1; g <= 15; ++g) want[0x4840 + g - 1] = g + 2 - 1;
    for (int g = 1; g <= 12; ++g) want[0x4850 + g - 1] = 43 + g - 1;
    want[0x4860] = 10;   // HF DW Band "L"
    want[0x4861] = 26;   // HF DW Chan 27
    want[0x4862] = 3;    // LSB
    want[0x4863] = 4;    // "E"
    want[0x4864] = 8;    // 9
    want[0x4865] = 2;    // USB

    const int opt[] = {
        155, 0,          // 0x4A00 Max[V] 15.5 V
        105, 0,          // 0x4A02 Min[V] 10.5 V
        75,              // 0x4A04 SWR Max 7.5
        2,               // 0x4A05 public mode USB
        4 + 32,          // 0x4A06 USB and CW enabled
        1 + 4 + 8 + 16 + 2 * 32,   // 0x4A07 HI-CUT, ECHO, +10KHz, busy kept, ANL
        3,               // 0x4A08 Roger 3 (the copy the radio uses)
        2, 4, 2,         // 0x4A09 BOT, EOT, CALL
        4, 3, 33, 12, 15, 0, 0, 1, 3, 3,   // 0x4A0C Beep .. Color
        0,               // 0x4A16
        1250 & 0xFF, 1250 >> 8,   // 0x4A17 Tx Offset 0.125 MHz
        1,               // 0x4A19 Freq/CH kept
        7,               // 0x4A1A ASQ
        11, 12, 13, 2, 5, 1,   // 0x4A1B DTMF settings kept
        6,               // 0x4A21 menu page kept
        1, 5, 7, 131, 129,   // 0x4A22 MicType DY, VOX Level 6, VOX Delay 8, Rx NR 4, Tx NR 2
        1, 2, 19, 10, 5, 1,  // 0x4A27 VOX, VOL Path, Echo VOL, Echo Time, VFO Step, AM NPC
        1, 1, 17,        // 0x4A2D FM Deviation 4K, SSB Tone Lo, PF Key CH.PUSH
        15,              // 0x4A30 the four display bits
        1,               // 0x4A31 Fin Range 5KHz
        123, 0,          // 0x4A32 CW Freq 1230 Hz, high byte 0
        40, 2, 1, 1,     // 0x4A34 CW BEEP, Dim, VOX Spk, AGC
        1, 25, 1,        // 0x4A38 Cw Rx CW-L, Cw Bkin 250 ms, Cw OffSet
        4, 6,            // 0x4A3B Rx Color kept, Tx Color Purple
    };
    static_assert(std::size(opt) == 0x3D);
    for (int i = 0; i < 0x3D; ++i) want[0x4A00 + i] = opt[i];

    int checked = 0;
    for (const auto& [addr, value] : want) {
        EXPECT_EQ(int(img[addr]), value) << "byte 0x" << std::hex << addr;
        ++checked;
    }
    EXPECT_EQ(checked, (0x4865 - 0x4804 + 1) - 2 + 0x3D);

    // Mode rule: a channel of group A went from FM to the first mode left, USB.
    EXPECT_EQ(int(img[0x0006]), 2);
}

}  // namespace
}  // namespace kt::test
