// The DTMF window, driven as a user would: keys into the code editor, clicks
// on the grid, choices in the timing lists.
#include "GuiTestHost.h"
#include "rules/dtmf/DtmfRules.h"
#include "gui/dtmf/FrmDTMF.h"
#include "rules/options/OptionTables.h"
#include "model/Codec.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace kt;

namespace {

struct DtmfWindow : ::testing::Test {
    Workspace ws;
    test::GuiTestHost host{ws};

    FrmDTMF* Open() {
        host.ShowChild(Child::Dtmf);
        FrmDTMF* w = host.DtmfWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        return w;
    }
    QTableWidget* Grid() { return host.DtmfWindow()->findChild<QTableWidget*>("MSFlexGrid1"); }
    QLineEdit* Edit() { return host.DtmfWindow()->findChild<QLineEdit*>("Text1"); }
    QComboBox* Combo(const char* name) { return host.DtmfWindow()->findChild<QComboBox*>(name); }
    void ShowMemoryTab() { host.DtmfWindow()->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(2); }
    void ClickCode(int row) {
        QTableWidget* g = Grid();
        const QRect r = g->visualItemRect(g->item(row - 1, 1));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    }
    void SetCode(int k, const QByteArray& raw) { ws.OptFeat().DtmfCode[k].set(raw); }
    ChannelRec& AddChannel(int band, int group, int chNo) {
        int16_t& count = ws.ChannelCount(band, group);
        ChannelRec& ch = ws.Channels(band, ++count, group);
        ch.ChNo = int16_t(chNo);
        return ch;
    }
};

}  // namespace

TEST_F(DtmfWindow, ClickingRowOneRightAfterOpeningEditsCodeOne)
{
    SetCode(1, "123");
    Open();
    ShowMemoryTab();
    ClickCode(1);
    EXPECT_EQ(host.DtmfWindow()->CurrentCodeRow(), 1);
    ASSERT_TRUE(Edit()->isVisible());
    EXPECT_EQ(Edit()->text(), "123");
    EXPECT_TRUE(Edit()->hasFocus());
    // The box lies over the code cell of row 1.
    const QRect cell = Grid()->visualItemRect(Grid()->item(0, 1));
    EXPECT_TRUE(cell.contains(Edit()->geometry().center()));
}

TEST_F(DtmfWindow, TypedKeysStoreTheCodeAndOnlyTheCodeAlphabet)
{
    Open();
    ShowMemoryTab();
    ClickCode(2);
    ASSERT_TRUE(Edit()->isVisible());
    // Letters past D, spaces, punctuation and non-ASCII never arrive.
    QTest::keyClicks(Edit(), "1x2 a.b+e#");
    QTest::keyClick(Edit(), Qt::Key_Eacute);
    EXPECT_EQ(Grid()->item(1, 1)->text(), "12AB#");
    EXPECT_EQ(ws.OptFeat().DtmfCode[2].bytes(), QByteArray("12AB#\0          ", 16));
    EXPECT_EQ(DtmfCodeText(ws, 2), "12AB#");
    // What the radio receives: one digit value a byte, then the end marker.
    ClearImage(ws);
    EncodeImage(ws);
    const int base = 0x4480 + 16;
    const std::vector<uint8_t> image(ws.MemImage.begin() + base, ws.MemImage.begin() + base + 16);
    const std::vector<uint8_t> expected{1, 2, 10, 11, 15, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16};
    EXPECT_EQ(image, expected);

    QTest::keyClick(Edit(), Qt::Key_Backspace);
    EXPECT_EQ(ws.OptFeat().DtmfCode[2].bytes(), QByteArray("12AB\0           ", 16));
}

TEST_F(DtmfWindow, ACodeStopsAtSixteenCharactersWithoutNul)
{
    Open();
    ShowMemoryTab();
    ClickCode(5);
    QTest::keyClicks(Edit(), "0123456789abcd*#7777");
    EXPECT_EQ(Edit()->text(), "0123456789ABCD*#");
    EXPECT_EQ(ws.OptFeat().DtmfCode[5].bytes(), QByteArray("0123456789ABCD*#"));
    EXPECT_EQ(DtmfCodeText(ws, 5), "0123456789ABCD*#");
    // No end marker in the image, and it reads back unchanged.
    ClearImage(ws);
    EncodeImage(ws);
    const int base = 0x4480 + 4 * 16;
    const std::vector<uint8_t> image(ws.MemImage.begin() + base, ws.MemImage.begin() + base + 16);
    const std::vector<uint8_t> expected{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    EXPECT_EQ(image, expected);
    Workspace back;
    back.MemImage = ws.MemImage;
    DecodeImage(back);
    EXPECT_EQ(DtmfCodeText(back, 5), "0123456789ABCD*#");
}

TEST_F(DtmfWindow, PasteCutAndCopyKeysAreDropped)
{
    SetCode(3, "12");
    Open();
    ShowMemoryTab();
    ClickCode(3);
    QApplication::clipboard()->setText("99xx");
    QTest::keyClick(Edit(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(Edit(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Edit()->text(), "12");
    Edit()->selectAll();
    QTest::keyClick(Edit(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Edit()->text(), "12");
    EXPECT_EQ(DtmfCodeText(ws, 3), "12");
}

TEST_F(DtmfWindow, EnterMovesOnToTheNextCode)
{
    SetCode(7, "7");
    Open();
    ShowMemoryTab();
    ClickCode(6);
    QTest::keyClicks(Edit(), "66");
    QTest::keyClick(Edit(), Qt::Key_Return);
    EXPECT_EQ(host.DtmfWindow()->CurrentCodeRow(), 7);
    EXPECT_EQ(Edit()->text(), "7");
    EXPECT_EQ(DtmfCodeText(ws, 6), "66");
    EXPECT_EQ(DtmfCodeText(ws, 7), "7");
}

TEST_F(DtmfWindow, EmptyingACodeClearsItsReferences)
{
    for (int k = 1; k <= 16; ++k) SetCode(k, QByteArray::number(k));
    ChannelRec& a = AddChannel(0, 2, 1);
    a.BotCode = 4; a.EotCode = 4; a.CallCode = 5;
    ChannelRec& b = AddChannel(1, 10, 3);
    b.CallCode = 4;
    ChannelRec& c = AddChannel(0, 12, 3);
    c.CallCode = 4;
    ws.OptFeat().PublicBotCode = 4;
    ws.OptFeat().PublicEotCode = 5;
    ws.OptFeat().PublicCallCode = 4;
    host.ShowChild(Child::ChannelInfo);
    host.ShowChild(Child::OptFeatures);
    auto* eot = host.OptionsWindow()->findChild<QComboBox*>(QStringLiteral("Combo2_%1").arg(opt::id::PubEot - 200));
    ASSERT_NE(eot, nullptr);
    ASSERT_GE(eot->findText("4"), 0);
    ASSERT_GE(host.ChannelWindow()->findChild<QComboBox*>("cboBot")->findText("4"), 0);
    Open();
    ShowMemoryTab();
    ClickCode(4);
    QTest::keyClick(Edit(), Qt::Key_Backspace);
    EXPECT_FALSE(DtmfCodeIsUsed(ws, 4));
    EXPECT_EQ(a.BotCode, 0);
    EXPECT_EQ(a.EotCode, 0);
    EXPECT_EQ(a.CallCode, 5);
    EXPECT_EQ(b.CallCode, 0);
    EXPECT_EQ(c.CallCode, 4);            // groups past 10 are not walked
    EXPECT_EQ(ws.OptFeat().PublicBotCode, 0);
    EXPECT_EQ(ws.OptFeat().PublicEotCode, 5);
    EXPECT_EQ(ws.OptFeat().PublicCallCode, 0);
    // The channel editor and the option page no longer offer code 4.
    auto* bot = host.ChannelWindow()->findChild<QComboBox*>("cboBot");
    ASSERT_NE(bot, nullptr);
    EXPECT_EQ(bot->findText("4"), -1);
    EXPECT_GE(bot->findText("16"), 0);
    EXPECT_EQ(eot->findText("4"), -1);
    EXPECT_GE(eot->findText("3"), 0);
    EXPECT_EQ(eot->currentText(), "5");
}

TEST_F(DtmfWindow, OpeningShowsTimingAndKeepsWhatIsShown)
{
    OptFeatRec& o = ws.OptFeat();
    o.DtmfSendTime = 0;            // no entry "0": shows "10", kept as 1
    o.DtmfFirstDigitTime = 4;
    o.DtmfFirstDigitDelay = 7;
    o.DtmfStarHashTime = 2;        // no entry "200": shows "0", kept as 0
    o.DtmfDCodeAssign = 30;        // past the list: first entry, kept as 0
    o.DtmfDisplay = 5;
    SetCode(9, QByteArray("55\0zz", 5));
    Open();
    EXPECT_EQ(Combo("cboSendTime")->currentText(), "10");
    EXPECT_EQ(Combo("cboFirstDigitTime")->currentText(), "400");
    EXPECT_EQ(Combo("cboFirstDigitDelay")->currentText(), "700");
    EXPECT_EQ(Combo("cboStarHashTime")->currentText(), "0");
    EXPECT_EQ(Combo("cboDCodeAssign")->currentText(), "D Code");
    EXPECT_TRUE(host.DtmfWindow()->findChild<QCheckBox*>("chkDtmfDisplay")->isChecked());
    EXPECT_EQ(o.DtmfSendTime, 1);
    EXPECT_EQ(o.DtmfFirstDigitTime, 4);
    EXPECT_EQ(o.DtmfFirstDigitDelay, 7);
    EXPECT_EQ(o.DtmfStarHashTime, 0);
    EXPECT_EQ(o.DtmfDCodeAssign, 0);
    EXPECT_EQ(o.DtmfDisplay, 1);
    EXPECT_EQ(o.DtmfCode[9].bytes(), QByteArray("55              "));   // cut and padded
}

TEST_F(DtmfWindow, ChoosingAnEntryStoresItAtOnce)
{
    Open();
    struct Case { const char* combo; const char* entry; int16_t OptFeatRec::*field; int stored; };
    const Case cases[] = {
        {"cboFirstDigitDelay", "2500", &OptFeatRec::DtmfFirstDigitDelay, 25},
        {"cboSendTime", "230", &OptFeatRec::DtmfSendTime, 23},
        {"cboFirstDigitTime", "1000", &OptFeatRec::DtmfFirstDigitTime, 10},
        {"cboStarHashTime", "500", &OptFeatRec::DtmfStarHashTime, 5},
        {"cboDCodeAssign", "16s", &OptFeatRec::DtmfDCodeAssign, 16},
    };
    for (const Case& c : cases) {
        QComboBox* box = Combo(c.combo);
        const int index = box->findText(c.entry);
        ASSERT_GE(index, 0) << c.entry;
        box->setCurrentIndex(index);
        EXPECT_EQ(ws.OptFeat().*c.field, c.stored) << c.combo;
    }
    auto* display = host.DtmfWindow()->findChild<QCheckBox*>("chkDtmfDisplay");
    QTest::mouseClick(display, Qt::LeftButton, {}, QPoint(8, display->height() / 2));
    EXPECT_EQ(ws.OptFeat().DtmfDisplay, display->isChecked() ? 1 : 0);
    EXPECT_EQ(ws.OptFeat().DtmfDisplay, 1);
}

TEST_F(DtmfWindow, DecodePageIsUnavailableAndCaptionsFollowTheLanguage)
{
    ws.CurrentLanguage = Chinese;
    FrmDTMF* w = Open();
    auto* tabs = w->findChild<QTabWidget*>("SSTab1");
    EXPECT_FALSE(tabs->isTabEnabled(1));
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("DTMF(双音多频)"));
    EXPECT_EQ(tabs->tabText(2), QString::fromUtf8("自动拨号存储器"));
    EXPECT_EQ(Grid()->horizontalHeaderItem(0)->text(), QString::fromUtf8("编号"));
    EXPECT_EQ(Combo("cboDCodeAssign")->itemText(2), QString::fromUtf8("2秒"));

    ws.CurrentLanguage = English;
    w->ApplyDtmfLanguage();
    EXPECT_EQ(w->windowTitle(), "DTMF");
    EXPECT_EQ(tabs->tabText(0), "Encode");
    EXPECT_EQ(Combo("cboDCodeAssign")->itemText(2), "2s");
}
