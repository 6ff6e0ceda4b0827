// The option-features window, used through its controls on the offscreen platform.
#include "GuiTestHost.h"
#include "rules/options/OptionTables.h"
#include "model/DataFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

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

// The whole working data as bytes: the record and every channel slot.
QByteArray Snapshot(const Workspace& ws)
{
    QByteArray s = SerializeDataRecord(ws.WorkRecord);
    for (int band = 0; band < kBands; ++band)
        for (int g = 1; g <= GroupsOfBand(band); ++g)
            for (int slot = 1; slot <= GroupSize(band, g); ++slot)
                s += SerializeChannelRecord(ws.Channels(band, slot, g));
    return s;
}

class OptWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        OptFeatRec& o = ws.OptFeat();
        o.FmEnabled = o.AmEnabled = o.UsbEnabled = o.LsbEnabled = 1;
        o.MicGain = 20;
        o.SwrMax = 30;
        o.BattMin = 100;
        o.BattMax = 150;
        ws.WorkRecord.TxOffset = 6000;
        ws.WorkRecord.CwFreq = 70;
        ws.WorkRecord.VoxOn = 1;
        ws.WorkRecord.VoxLevel = 4;
        ws.WorkRecord.VoxDelay = 2;
        ws.WorkRecord.AsqLevel = 5;
    }

    FrmOptFeatures* Open()
    {
        host.ShowChild(Child::OptFeatures);
        FrmOptFeatures* w = host.OptionsWindow();
        EXPECT_NE(w, nullptr);
        return w;
    }
    QComboBox* List(int id) { return host.OptionsWindow()->findChild<QComboBox*>(NameOf(id)); }
    QCheckBox* Check(int id) { return host.OptionsWindow()->findChild<QCheckBox*>(NameOf(id)); }
    QLineEdit* Box(int id) { return host.OptionsWindow()->findChild<QLineEdit*>(NameOf(id)); }
    QString Shown(int id) { return List(id)->currentText(); }
    QStringList Items(int id)
    {
        QStringList l;
        for (int i = 0; i < List(id)->count(); ++i) l << List(id)->itemText(i);
        return l;
    }
    // As a pick from the drop-down: the entry becomes current, then activated.
    void Choose(int id, const QString& text)
    {
        QComboBox* c = List(id);
        const int i = c->findText(text);
        ASSERT_GE(i, 0) << "no entry " << text.toStdString() << " in list " << id;
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    // Types into a number box as the user would, then leaves it.
    void Type(int id, const QString& keys)
    {
        QLineEdit* e = Box(id);
        e->selectAll();
        QTest::keyClicks(e, keys);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(e, &out);
    }
    void AddChannel(int band, int group, int mode)
    {
        const int slot = ++ws.ChannelCount(band, group);
        ws.Channels(band, slot, group).ChNo = static_cast<int16_t>(slot);
        ws.Channels(band, slot, group).Mode = static_cast<int16_t>(mode);
    }

    Workspace ws;
    GuiTestHost host{ws};
};

TEST_F(OptWindow, OpeningShowsOddValuesAsTheFirstEntryAndChangesNothing)
{
    OptFeatRec& o = ws.OptFeat();
    o.NogLevel = 200;
    o.MicGain = 0;
    o.TotTime = 7;
    o.AmEnabled = o.LsbEnabled = 0;   // FM and USB
    o.PublicMode = 1;                 // AM
    o.SwrMax = 250;
    ws.WorkRecord.RxNr = 130;
    ws.WorkRecord.CwFreq = 45;
    ws.WorkRecord.HfDwBand = 30;
    ws.WorkRecord.HfPublicAll = 3;
    ws.WorkRecord.ComChanRb = 6;      // pattern 6 not defined
    ws.WorkRecord.VolDisplay = 2;
    o.ChannelMode = 1;
    o.MenuPage = 9;
    o.LongKey = 4;
    o.PublicRogerBeep = 7;
    ws.WorkRecord.RxColor = 3;
    AddChannel(0, 1, 1);              // AM while AM is off
    const auto before = Snapshot(ws);

    Open();
    EXPECT_EQ(Shown(id::Nog), "Off");
    EXPECT_EQ(Shown(id::Mic), "1");
    EXPECT_EQ(Shown(id::Tot), "60s");
    EXPECT_EQ(Shown(id::RxNr), "3");
    EXPECT_EQ(Shown(id::CwFreq), "450");
    EXPECT_EQ(Shown(id::HfDwBand), "A");
    EXPECT_EQ(Shown(id::HfPublic), "OFF");
    EXPECT_EQ(Shown(id::Roger), "OFF");
    EXPECT_EQ(Items(id::Mode), (QStringList{"FM", "USB"}));
    EXPECT_EQ(Shown(id::Mode), "FM");
    EXPECT_EQ(Box(id::SwrMax)->text(), "25.0");
    EXPECT_EQ(Box(id::TxOffset)->text(), "0.6000");
    EXPECT_TRUE(Check(id::VolDisplay)->isChecked());
    EXPECT_TRUE(host.OptionsWindow()->IsLoaded());
    EXPECT_EQ(Snapshot(ws), before);

    // Closing does not touch the model either.
    host.CloseChild(Child::OptFeatures);
    EXPECT_EQ(Snapshot(ws), before);
}

TEST_F(OptWindow, ChineseCaptionsAndOffStoringZero)
{
    ws.CurrentLanguage = Chinese;
    FrmOptFeatures* w = Open();
    EXPECT_EQ(w->windowTitle(), "可选功能");
    EXPECT_EQ(w->findChild<QLabel*>("Label_" + NameOf(id::Asq))->text(), "ASQ等级");
    EXPECT_EQ(w->findChild<QLabel*>("Label_" + NameOf(id::Tot))->text(), "TOT");
    EXPECT_EQ(w->findChild<QGroupBox*>("FramePublic")->title(), "公共信道设置");
    EXPECT_EQ(Check(id::SwrProtect)->text(), "驻波保护");
    EXPECT_EQ(Shown(id::Asq), "5");
    EXPECT_EQ(Items(id::Color).at(1), "白");
    Choose(id::Asq, "关");
    EXPECT_EQ(ws.WorkRecord.AsqLevel, 0);
    Choose(id::Asq, "9");
    EXPECT_EQ(ws.WorkRecord.AsqLevel, 9);
}

TEST_F(OptWindow, ReShowDataStoresWhatItShows)
{
    Open();
    ws.OptFeat().NogLevel = 200;
    ws.OptFeat().TotTime = 7;
    ws.WorkRecord.CwFreq = 45;
    const int shows = host.showCount;
    host.OptionsWindow()->ReShowData();
    EXPECT_EQ(Shown(id::Nog), "Off");
    EXPECT_EQ(ws.OptFeat().NogLevel, 0);
    EXPECT_EQ(ws.OptFeat().TotTime, 6);
    EXPECT_EQ(Shown(id::CwFreq), "450");
    EXPECT_EQ(ws.WorkRecord.CwFreq, 45);
    EXPECT_EQ(ws.OptFeat().MicGain, 20);
    EXPECT_EQ(ws.WorkRecord.AsqLevel, 5);
    EXPECT_EQ(host.showCount, shows);   // "HF Public" unchanged: no reopening
}

TEST_F(OptWindow, NumberBoxesCheckClampAndOrder)
{
    Open();
    Type(id::BattMax, "12");
    EXPECT_EQ(Box(id::BattMin)->text(), "10.0");
    EXPECT_EQ(Box(id::BattMax)->text(), "12.0");
    // Min 16.5 above Max 12.0: the two change places before both are stored.
    Type(id::BattMin, "16.5");
    EXPECT_EQ(Box(id::BattMin)->text(), "12.0");
    EXPECT_EQ(Box(id::BattMax)->text(), "16.5");
    EXPECT_EQ(ws.OptFeat().BattMin, 120);
    EXPECT_EQ(ws.OptFeat().BattMax, 165);
    Type(id::BattMax, "18");
    EXPECT_EQ(Box(id::BattMax)->text(), "17.0");
    EXPECT_EQ(ws.OptFeat().BattMax, 170);
    Type(id::BattMin, "x");
    EXPECT_EQ(Box(id::BattMin)->text(), "12.0");   // the letter never arrives
    Type(id::BattMin, "..");
    EXPECT_EQ(Box(id::BattMin)->text(), "9.0");
    EXPECT_EQ(ws.OptFeat().BattMin, 90);

    Type(id::SwrMax, "0.5");
    EXPECT_EQ(Box(id::SwrMax)->text(), "1.2");
    EXPECT_EQ(ws.OptFeat().SwrMax, 12);

    // Keys typed, the text they leave in the box, the text once checked, the value stored.
    struct Case { const char* keys; const char* typed; const char* checked; int stored; } offsets[] = {
        {"1.2.3", "1.2.3", "5.0000", 50000},   // types fine, is no number
        {"0", "0", "0.0001", 1},
        {"1a2,5", "125", "5.0000", 50000},     // letters and commas never arrive
        {"2.5", "2.5", "2.5000", 25000},
        {".", ".", "5.0000", 50000},
    };
    for (const auto& c : offsets) {
        QLineEdit* e = Box(id::TxOffset);
        e->selectAll();
        QTest::keyClicks(e, c.keys);
        EXPECT_EQ(e->text(), c.typed);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(e, &out);
        EXPECT_EQ(e->text(), c.checked) << c.keys;
        EXPECT_EQ(ws.WorkRecord.TxOffset, c.stored) << c.keys;
    }
}

TEST_F(OptWindow, NumberBoxesDropPasteAndSelectAllOnFocus)
{
    FrmOptFeatures* w = Open();
    QLineEdit* e = Box(id::TxOffset);
    QApplication::clipboard()->setText("abc");
    e->setCursorPosition(e->text().size());
    QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(e->text(), "0.6000");
    QTest::keyClick(e, Qt::Key_Backspace);   // control keys pass
    EXPECT_EQ(e->text(), "0.600");

    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    List(id::Tot)->setFocus();
    e->setFocus();
    QTRY_VERIFY(e->hasSelectedText());
    EXPECT_EQ(e->selectedText(), e->text());
    // Leaving it through the focus stores the checked text.
    List(id::Tot)->setFocus();
    QTRY_COMPARE(e->text(), QString("0.6000"));
    EXPECT_EQ(ws.WorkRecord.TxOffset, 6000);
}

TEST_F(OptWindow, TypedNumberIsStoredWhenTheWindowCloses)
{
    Open();
    QLineEdit* e = Box(id::SwrMax);
    e->selectAll();
    QTest::keyClicks(e, "4.5");
    host.CloseChild(Child::OptFeatures);
    EXPECT_EQ(ws.OptFeat().SwrMax, 45);
}

TEST_F(OptWindow, TypedNumberIsStoredBeforeACommandElsewhere)
{
    FrmOptFeatures* w = Open();
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QLineEdit* e = Box(id::TxOffset);
    e->setFocus();
    QTRY_VERIFY(e->hasFocus());

    // A tool bar button takes no focus; its click still finds the number stored.
    QToolButton write;
    write.setFocusPolicy(Qt::NoFocus);
    write.show();
    e->selectAll();
    QTest::keyClicks(e, "1.5");
    ASSERT_EQ(ws.WorkRecord.TxOffset, 6000);
    QTest::mouseClick(&write, Qt::LeftButton);
    EXPECT_EQ(ws.WorkRecord.TxOffset, 15000);
    EXPECT_TRUE(e->hasFocus());

    // So does a shortcut of the main window, but not an editing key.
    e->selectAll();
    QTest::keyClicks(e, "2");
    QKeyEvent selectAll(QEvent::ShortcutOverride, Qt::Key_A, Qt::ControlModifier, "\x01");
    QCoreApplication::sendEvent(e, &selectAll);
    EXPECT_EQ(ws.WorkRecord.TxOffset, 15000);
    QKeyEvent save(QEvent::ShortcutOverride, Qt::Key_S, Qt::ControlModifier, "\x13");
    QCoreApplication::sendEvent(e, &save);
    EXPECT_EQ(ws.WorkRecord.TxOffset, 20000);
    EXPECT_EQ(e->text(), "2.0000");
}

TEST_F(OptWindow, TheLastModeStaysEnabled)
{
    OptFeatRec& o = ws.OptFeat();
    o.AmEnabled = o.UsbEnabled = o.LsbEnabled = 0;   // FM only
    Open();
    Check(id::FmEnable)->click();
    EXPECT_TRUE(Check(id::FmEnable)->isChecked());
    EXPECT_EQ(o.FmEnabled, 1);

    Check(id::CwEnable)->click();
    EXPECT_EQ(o.CwEnabled, 1);
    Check(id::FmEnable)->click();   // CW still on, so FM may go
    EXPECT_FALSE(Check(id::FmEnable)->isChecked());
    EXPECT_EQ(o.FmEnabled, 0);
    Check(id::CwEnable)->click();
    EXPECT_TRUE(Check(id::CwEnable)->isChecked());
    EXPECT_EQ(o.CwEnabled, 1);
}

TEST_F(OptWindow, UncheckingAmRefillsThePublicModeAndMovesAmChannels)
{
    ws.OptFeat().PublicMode = 1;
    AddChannel(0, 1, 1);     // AM in group A of HF
    AddChannel(1, 10, 1);    // AM in group J of HAM
    AddChannel(0, 11, 1);    // AM in group K: not walked
    AddChannel(0, 2, 2);     // USB stays
    Open();
    host.ShowChild(Child::ChannelInfo);
    ASSERT_EQ(Shown(id::Mode), "AM");

    Check(id::AmEnable)->click();
    EXPECT_EQ(ws.OptFeat().AmEnabled, 0);
    EXPECT_EQ(Items(id::Mode), (QStringList{"FM", "USB", "LSB"}));
    EXPECT_EQ(Shown(id::Mode), "FM");
    EXPECT_EQ(ws.OptFeat().PublicMode, 0);
    EXPECT_EQ(ws.Channels(0, 1, 1).Mode, 0);
    EXPECT_EQ(ws.Channels(1, 1, 10).Mode, 0);
    EXPECT_EQ(ws.Channels(0, 1, 11).Mode, 1);
    EXPECT_EQ(ws.Channels(0, 1, 2).Mode, 2);
    // The channel editor no longer offers AM either.
    auto* chMode = host.ChannelWindow()->findChild<QComboBox*>("cboMode");
    ASSERT_NE(chMode, nullptr);
    QStringList offered;
    for (int i = 0; i < chMode->count(); ++i) offered << chMode->itemText(i);
    EXPECT_EQ(offered, (QStringList{"FM", "USB", "LSB"}));

    // A public mode that is still offered stays shown.
    Choose(id::Mode, "USB");
    Check(id::PaEnable)->click();
    EXPECT_EQ(Items(id::Mode), (QStringList{"FM", "USB", "LSB", "PA"}));
    EXPECT_EQ(Shown(id::Mode), "USB");
    EXPECT_EQ(ws.OptFeat().PublicMode, 2);
}

TEST_F(OptWindow, VoxOffDisablesLevelAndDelay)
{
    Open();
    QComboBox* vox = List(id::Vox);
    ASSERT_EQ(vox->currentText(), "ON");
    EXPECT_TRUE(List(id::VoxLevel)->isEnabled());
    QTest::keyClick(vox, Qt::Key_Up);
    EXPECT_EQ(ws.WorkRecord.VoxOn, 0);
    EXPECT_FALSE(List(id::VoxLevel)->isEnabled());
    EXPECT_FALSE(List(id::VoxDelay)->isEnabled());
    EXPECT_EQ(ws.WorkRecord.VoxLevel, 4);
    EXPECT_EQ(Shown(id::VoxDelay), "3");
    QTest::keyClick(vox, Qt::Key_Down);
    EXPECT_EQ(ws.WorkRecord.VoxOn, 1);
    EXPECT_TRUE(List(id::VoxLevel)->isEnabled());
    EXPECT_TRUE(List(id::VoxDelay)->isEnabled());

    ws.WorkRecord.VoxOn = 0;
    host.CloseChild(Child::OptFeatures);
    Open();
    EXPECT_FALSE(List(id::VoxLevel)->isEnabled());
}

TEST_F(OptWindow, PublicSwitchSetsTheBandAndReopensTheChannelEditor)
{
    Open();
    host.ShowChild(Child::ChannelInfo);
    QPointer<frmCommChInfo> before = host.ChannelWindow();
    const int shows = host.showCount;

    Choose(id::HfPublic, "ON");
    EXPECT_EQ(ws.WorkRecord.HfPublicAll, 1);
    EXPECT_EQ(ws.Channels(0, 1, 1).PublicCh, 1);
    EXPECT_EQ(ws.Channels(0, 99, 16).PublicCh, 1);
    EXPECT_EQ(ws.Channels(0, 1, 17).PublicCh, 1);
    EXPECT_EQ(ws.Channels(1, 1, 1).PublicCh, 0);
    EXPECT_TRUE(before.isNull());
    EXPECT_NE(host.ChannelWindow(), nullptr);
    EXPECT_EQ(host.showCount, shows + 1);

    // The same entry again: nothing happens.
    ws.Channels(0, 5, 3).PublicCh = 0;
    Choose(id::HfPublic, "ON");
    EXPECT_EQ(ws.Channels(0, 5, 3).PublicCh, 0);
    EXPECT_EQ(host.showCount, shows + 1);

    Choose(id::HamPublic, "ON");
    EXPECT_EQ(ws.WorkRecord.HamPublicAll, 1);
    EXPECT_EQ(ws.Channels(1, 99, 13).PublicCh, 1);
    EXPECT_EQ(host.showCount, shows + 2);
}

TEST_F(OptWindow, ShowDtmfDropsEmptiedCodes)
{
    OptFeatRec& o = ws.OptFeat();
    o.DtmfCode[3].set("12#");
    o.DtmfCode[5].set("*9");
    o.PublicEotCode = 3;
    o.PublicBotCode = 5;
    Open();
    ASSERT_EQ(Shown(id::PubEot), "3");
    // The DTMF window empties code 3 and clears the references to it.
    o.DtmfCode[3].set(QByteArray(1, '\0'));
    o.PublicEotCode = 0;
    host.OptionsWindow()->ShowDTMF();
    for (int id : {id::PubBot, id::PubEot, id::PubCall})
        EXPECT_EQ(Items(id), (QStringList{"OFF", "5"}));
    EXPECT_EQ(Shown(id::PubEot), "OFF");
    EXPECT_EQ(Shown(id::PubBot), "5");
    EXPECT_EQ(o.PublicBotCode, 5);
    EXPECT_EQ(o.PublicEotCode, 0);
}

TEST_F(OptWindow, ShowRbOffersTheDefinedPatterns)
{
    for (int i : {1, 2}) {
        ws.WorkRecord.RbPattern[i - 1].RbRecycle = 1;
        ws.WorkRecord.RbPattern[i - 1].RbTone[1][0] = 3;
    }
    ws.WorkRecord.ComChanRb = 2;
    Open();
    ASSERT_EQ(Items(id::Roger), (QStringList{"OFF", "1", "2"}));
    ASSERT_EQ(Shown(id::Roger), "2");
    for (int i : {1, 2}) ws.WorkRecord.RbPattern[i - 1].RbRecycle = 0;
    ws.WorkRecord.RbPattern[4].RbRecycle = 1;
    ws.WorkRecord.RbPattern[4].RbTone[1][5] = 1;
    ws.WorkRecord.ComChanRb = 5;
    host.OptionsWindow()->ShowRB();
    EXPECT_EQ(Items(id::Roger), (QStringList{"OFF", "5"}));
    EXPECT_EQ(Shown(id::Roger), "5");
    EXPECT_EQ(ws.WorkRecord.ComChanRb, 5);
}

TEST_F(OptWindow, LabelsEndAHundredTwipsLeftOfTheirControls)
{
    for (int lang : {English, Chinese}) {
        ws.CurrentLanguage = lang;
        FrmOptFeatures* w = Open();
        int checked = 0;
        for (QLabel* l : w->findChildren<QLabel*>()) {
            if (!l->objectName().startsWith("Label_")) continue;
            auto* control = w->findChild<QWidget*>(l->objectName().mid(6));
            ASSERT_NE(control, nullptr) << l->objectName().toStdString();
            ASSERT_EQ(control->parentWidget(), l->parentWidget());
            EXPECT_EQ(l->width(), l->sizeHint().width()) << l->text().toStdString();
            const int gap = control->x() - (l->x() + l->width());
            EXPECT_GE(gap, 6) << l->text().toStdString();
            EXPECT_LE(gap, 7) << l->text().toStdString();
            EXPECT_GE(l->x(), 0) << l->text().toStdString();
            ++checked;
        }
        EXPECT_EQ(checked, int(ListSettings().size() + NumberSettings().size()));
        host.CloseChild(Child::OptFeatures);
    }
}

TEST_F(OptWindow, ColumnsKeepTheirOrder)
{
    FrmOptFeatures* w = Open();
    const std::vector<std::vector<int>> columns{
        {id::Tot, id::Indic, id::Mic, id::Asq, id::Fin, id::TxOffset, id::Vox, id::VoxLevel,
         id::VoxDelay, id::VoxSpk, id::MicType, id::RxNr, id::TxNr, id::Emg, id::VolPath,
         id::EchoVol, id::EchoTime, id::AmNpc, id::CwFreq, id::CwBeep, id::CwRx, id::CwBkin,
         id::CwOffset},
        {id::Beep, id::FmDeviation, id::SsbTone, id::PfKey, id::FinRange, id::Agc, id::TxColor,
         id::Color},
        {id::HfDwBand, id::HfDwChan, id::HfDwMode, id::HamDwBand, id::HamDwChan, id::HamDwMode,
         id::HfPublic, id::HamPublic, id::Vfo, id::VfoStep, id::Dim},
        {id::PubBot, id::PubEot, id::PubCall, id::PubHiCut, id::PubNbAnl, id::PubEcho, id::Pub10K,
         id::Roger, id::Mode},
        {id::FmEnable, id::AmEnable, id::LsbEnable, id::UsbEnable, id::PaEnable, id::CwEnable},
    };
    for (const auto& col : columns) {
        QWidget* first = w->findChild<QWidget*>(NameOf(col.front()));
        ASSERT_NE(first, nullptr);
        int lastY = -1;
        for (int id : col) {
            QWidget* c = w->findChild<QWidget*>(NameOf(id));
            ASSERT_NE(c, nullptr) << id;
            EXPECT_EQ(c->x(), first->x()) << id;
            EXPECT_GT(c->y(), lastY) << id;
            lastY = c->y();
        }
    }
    // Left, middle and right columns from left to right; nothing outside the window.
    EXPECT_LT(List(id::Tot)->geometry().right(), List(id::Beep)->x());
    EXPECT_LT(List(id::Beep)->geometry().right(), List(id::HfDwBand)->x());
    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (c->parentWidget() != w) continue;
        EXPECT_TRUE(w->rect().contains(c->geometry())) << c->objectName().toStdString();
    }
}

TEST_F(OptWindow, CloseButtonUnloadsTheWindow)
{
    FrmOptFeatures* w = Open();
    auto* close = w->findChild<QPushButton*>("cmdClose");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), "&Close");
    close->click();
    QTRY_VERIFY(host.OptionsWindow() == nullptr);
}

}  // namespace
}  // namespace kt::test
