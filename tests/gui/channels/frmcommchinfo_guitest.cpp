// The channel editor window, offscreen, driven with keys and clicks.
#include "GuiTestHost.h"
#include "model/ChannelRules.h"
#include "model/FreqRules.h"
#include "gui/channels/frmCommChInfo.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <cstring>
#include <gtest/gtest.h>

namespace kt {
namespace {

using test::GuiTestHost;

// Everything the window may write, compared field by field.
bool SameModel(const Workspace& a, const Workspace& b)
{
    const DataRecord& x = a.WorkRecord;
    const DataRecord& y = b.WorkRecord;
    if (x.BandType != y.BandType || x.CurGroup[0] != y.CurGroup[0] || x.CurGroup[1] != y.CurGroup[1] ||
        x.CurRow != y.CurRow || x.ChannelCount != y.ChannelCount)
        return false;
    const OptFeatRec& o = x.OptFeat;
    const OptFeatRec& p = y.OptFeat;
    if (o.GroupEnable != p.GroupEnable || o.EmgCh1 != p.EmgCh1 || o.EmgCh2 != p.EmgCh2 ||
        o.EmgMode1 != p.EmgMode1 || o.EmgMode2 != p.EmgMode2 || o.GrpByte != p.GrpByte ||
        o.HfWorkGroup != p.HfWorkGroup || o.HamWorkGroup != p.HamWorkGroup)
        return false;
    for (int band = 0; band < kBands; ++band)
        for (int g = 1; g <= kMaxGroups; ++g) {
            if (!(o.GroupName[band][g] == p.GroupName[band][g])) return false;
            for (int s = 1; s <= kMaxSlots; ++s)
                if (std::memcmp(&a.Channels(band, s, g), &b.Channels(band, s, g), sizeof(ChannelRec)) != 0)
                    return false;
        }
    return a.BandRange == b.BandRange;
}

struct WindowFixture : ::testing::Test {
    Workspace ws;
    std::unique_ptr<GuiTestHost> host;
    frmCommChInfo* w = nullptr;

    void SetUp() override {
        ws.WorkRecord.BandType = 0;
        ws.BandRange = kBandRange0;
        ParseBandRange(ws);
        auto& o = ws.OptFeat();
        o.FmEnabled = o.AmEnabled = o.UsbEnabled = o.LsbEnabled = o.PaEnabled = o.CwEnabled = 1;
        o.HfWorkGroup = 2;
        for (int g : {1, 2}) o.GroupEnable[0][g] = 1;
        o.GroupEnable[1][1] = 1;
        Add(0, 1, 1, "27.185");
        Add(0, 1, 2, "27.195");
        Add(0, 1, 40, "27.405");
        Add(0, 2, 5, "26.965");
        Add(0, 16, 99, "28.5");
        Add(1, 1, 1, "28.015");
        Add(1, 13, 3, "29.1");
        ws.OptFeat().EmgCh1[0][1] = 2;
        ws.OptFeat().DtmfCode[4].set("1234");
        ws.WorkRecord.RbPattern[2].RbRecycle = 1;
        ws.WorkRecord.RbPattern[2].RbTone[1][0] = 2;
    }
    void Open() {
        host = std::make_unique<GuiTestHost>(ws);
        host->ShowChild(Child::ChannelInfo);
        w = host->ChannelWindow();
        ASSERT_NE(w, nullptr);
        QApplication::setActiveWindow(w);
        QCoreApplication::processEvents();
    }
    void Add(int band, int group, int ch, const char* f) { InsertChannel(ws, ch, band, group, f); }
    template <class T> T* Get(const char* name) {
        T* c = w->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QTableView* Grid() { return Get<QTableView>("MSFlexGrid1"); }
    // The open edit box over the current cell; null when none is open.
    QLineEdit* Edit() {
        QLineEdit* e = w->findChild<QLineEdit*>("Text1");
        return e && e->isVisible() ? e : nullptr;
    }
    bool Editing() { return Edit() != nullptr; }
    QComboBox* Combo(const char* name) { return Get<QComboBox>(name); }
    QModelIndex Index(int row, int col) { return Grid()->model()->index(row - 1, col); }
    QString Text(int row, int col) { return Index(row, col).data().toString(); }
    QString Header(int col) { return Grid()->model()->headerData(col, Qt::Horizontal).toString(); }
    QString Cell(int row) { return Text(row, 1); }
    QRect CellRect(int row) { return Grid()->visualRect(Index(row, 1)); }
    void Select(int row) { Grid()->setCurrentIndex(Index(row, 1)); }
    void ShowGroup(const char* text) { Combo("cboGroup")->setCurrentText(text); }
    void Key(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(target, Qt::Key(key), mods);
    }
    // Opens the edit box on a row, types and presses Enter.
    void Type(int row, const QString& text) {
        Select(row);
        Key(Grid(), Qt::Key_Return);
        ASSERT_TRUE(Editing()) << row;
        Edit()->selectAll();
        Key(Edit(), Qt::Key_Backspace);
        QTest::keyClicks(Edit(), text);
        Key(Edit(), Qt::Key_Return);
    }
    const ChannelRec* Channel(int band, int group, int ch) {
        const int s = FindSlot(ws, band, group, ch);
        return s ? &ws.Channels(band, s, group) : nullptr;
    }
    QString Stored(int band, int group, int ch) {
        const ChannelRec* r = Channel(band, group, ch);
        return r ? DigitsToFreqText(ws, r->Freq.bytes().trimmed()) : QString("-");
    }
};

TEST_F(WindowFixture, OpeningRelanguagingAndRefreshingNeverWrite)
{
    ws.WorkRecord.CurRow[0][1] = 45;   // a row that must not be "corrected" while filling
    Workspace before;
    before.WorkRecord = ws.WorkRecord;
    before.Channels = ws.Channels;
    before.BandRange = ws.BandRange;
    Open();
    EXPECT_TRUE(w->WandToSave());
    EXPECT_TRUE(SameModel(ws, before));
    ws.CurrentLanguage = Chinese;
    w->ReShowChInfoByLanguage();
    w->ShowDTMF();
    w->ShowRB();
    w->InitValidComboList();
    w->ShowValidComboText();
    w->InitComboWorkGroup();
    w->SetGridData();
    w->reShowGrid(1);
    EXPECT_TRUE(SameModel(ws, before));
    EXPECT_TRUE(host->asker.asked.isEmpty()) << host->asker.asked.join("|").toStdString();
}

TEST_F(WindowFixture, ShowsTheGroupAsTheModelHoldsIt)
{
    Open();
    EXPECT_EQ(w->windowTitle(), "Channel Information");
    EXPECT_EQ(Grid()->model()->rowCount(), 40);
    EXPECT_EQ(Header(0), "CH No.");
    EXPECT_EQ(Header(1), "Frequency");
    EXPECT_EQ(Text(40, 0), "40");
    EXPECT_EQ(Cell(1), "27.18500");
    EXPECT_EQ(Cell(3), "");
    EXPECT_EQ(Cell(40), "27.40500");
    EXPECT_EQ(Get<QGroupBox>("fraBand")->title(), "HF -- 24.7150 - 30.1050 MHz");
    EXPECT_EQ(Get<QGroupBox>("fraGroup")->title(), "Band -- A");
    EXPECT_EQ(Combo("cboGroup")->count(), 14);     // no "M"-"O" without the extended layout
    EXPECT_EQ(Combo("cboGroupAll")->count(), 17);
    EXPECT_EQ(Combo("cboWorkGroup")->currentText(), "B");
    EXPECT_EQ(Combo("cboEmgCh1")->count(), 3);
    EXPECT_EQ(Combo("cboEmgCh1")->currentText(), "2");
    EXPECT_EQ(Combo("cboBot")->count(), 2);        // "OFF" and code 4
    EXPECT_EQ(Combo("cboRoger")->itemText(1), "3");

    ShowGroup("MEM");
    EXPECT_EQ(Grid()->model()->rowCount(), 99);
    EXPECT_EQ(Text(99, 0), "M99");
    EXPECT_EQ(Cell(99), "28.50000");
    EXPECT_EQ(ws.WorkRecord.CurGroup[0], 16);
    EXPECT_TRUE(Combo("cboWorkGroup")->isVisibleTo(w));
    EXPECT_FALSE(Combo("cboGroupValid")->isVisibleTo(w));
    EXPECT_TRUE(Get<QLineEdit>("txtGroupName")->isVisibleTo(w));
    EXPECT_EQ(Combo("cboMode")->findText("PA"), -1);

    ShowGroup("VFO");
    EXPECT_EQ(Grid()->model()->rowCount(), 1);
    EXPECT_FALSE(Combo("cboWorkGroup")->isVisibleTo(w));
    EXPECT_FALSE(Combo("cboEmgCh1")->isVisibleTo(w));
    EXPECT_FALSE(Combo("cboMemCh")->isVisibleTo(w));

    ShowGroup("B");
    EXPECT_NE(Combo("cboMode")->findText("PA"), -1);
    EXPECT_TRUE(Combo("cboEmgCh1")->isVisibleTo(w));
    EXPECT_FALSE(Combo("cboMemCh")->isVisibleTo(w));
}

TEST_F(WindowFixture, ANonNumericStoredFrequencyIsReportedNotFatal)
{
    ws.Channels(0, 1, 1).Freq.set("27AB0000");
    Open();
    EXPECT_TRUE(host->asker.asked.contains("Not IsNumeric"));
    EXPECT_EQ(Cell(2), "27.19500");
}

TEST_F(WindowFixture, BandSwitch)
{
    ws.ExtendedHf = true;
    Open();
    EXPECT_EQ(Combo("cboGroup")->count(), 17);
    const int titles = host->titleCount;
    Combo("cboBand")->setCurrentIndex(0);   // the band already in use
    EXPECT_EQ(host->titleCount, titles);
    EXPECT_EQ(ws.BandRange, kBandRange0);

    Combo("cboBand")->setCurrentIndex(1);
    EXPECT_EQ(ws.WorkRecord.BandType, 1);
    EXPECT_EQ(ws.BandRange, kBandRange1);
    EXPECT_DOUBLE_EQ(ws.BandMax, 29.695);
    EXPECT_EQ(host->titleCount, titles + 1);
    EXPECT_EQ(Get<QGroupBox>("fraBand")->title(), "HAM -- 28.0000 - 29.7000 MHz");
    EXPECT_EQ(Combo("cboGroup")->count(), 14);
    EXPECT_EQ(Combo("cboGroup")->currentText(), "A");
    EXPECT_EQ(Cell(1), "28.01500");

    Combo("cboBand")->setCurrentIndex(0);
    EXPECT_EQ(ws.WorkRecord.BandType, 0);
    EXPECT_EQ(Cell(1), "27.18500");
}

TEST_F(WindowFixture, Band1LetteredGroupsAreReadOnlyAndMemIsEditable)
{
    ws.WorkRecord.BandType = 1;
    ws.BandRange = kBandRange1;
    ParseBandRange(ws);
    Open();
    Select(1);
    Key(Grid(), Qt::Key_Return);
    EXPECT_FALSE(Editing());
    Key(Grid(), Qt::Key_Delete);
    EXPECT_NE(Channel(1, 1, 1), nullptr);
    QTest::mouseClick(Grid()->viewport(), Qt::RightButton, {}, CellRect(1).center());
    EXPECT_EQ(host->popupCount, 0);

    ShowGroup("MEM");
    Type(3, "29.2");
    EXPECT_EQ(Stored(1, 13, 3), "29.20000");
    Type(4, "29.7");   // above the band
    EXPECT_TRUE(host->asker.asked.filter("Frequency is out of range.").size() > 0);
    EXPECT_EQ(Cell(4), "");
    EXPECT_EQ(Channel(1, 13, 4), nullptr);
    QTest::mouseClick(Grid()->viewport(), Qt::RightButton, {}, CellRect(3).center());
    EXPECT_EQ(host->popupCount, 1);
    EXPECT_EQ(w->CurrentRow(), 3);
}

TEST_F(WindowFixture, FrequencyEntryThroughTheEditBox)
{
    Open();
    struct Case { int row; const char* typed; const char* cell; const char* stored; bool warned; };
    const Case cases[] = {
        {3, "27.185", "27.18500", "27.18500", false},
        {4, "30.2", "", "-", true},
        {5, "20.0", "", "-", true},
        {6, "24.7151", "24.71510", "24.71510", false},
        {2, "35", "27.19500", "27.19500", true},   // over an existing channel: kept
        {40, "26.5", "26.50000", "26.50000", false},
    };
    for (const Case& c : cases) {
        host->asker.asked.clear();
        Type(c.row, c.typed);
        EXPECT_EQ(Cell(c.row), c.cell) << c.typed;
        EXPECT_EQ(Stored(0, 1, c.row), c.stored) << c.typed;
        EXPECT_EQ(host->asker.asked.filter("Frequency is out of range.").size() > 0, c.warned) << c.typed;
        EXPECT_FALSE(Editing());
    }
    // Enter on the last row stored it and moved to row 1.
    EXPECT_EQ(w->CurrentRow(), 1);
    // A new channel joins the emergency lists.
    EXPECT_NE(Combo("cboEmgCh2")->findText("3"), -1);
}

TEST_F(WindowFixture, EmptyingACellDeletesButNeverTheBandsLastChannel)
{
    Open();
    Type(2, "");
    EXPECT_EQ(Channel(0, 1, 2), nullptr);
    EXPECT_EQ(Cell(2), "");
    EXPECT_EQ(w->CurrentRow(), 3);   // an empty text moves to the next line
    EXPECT_EQ(Combo("cboEmgCh1")->currentText(), "1");   // re-pointed away from 2

    ShowGroup("B");
    Type(5, "");                     // B's only channel: B goes off
    EXPECT_EQ(Channel(0, 2, 5), nullptr);
    EXPECT_EQ(ws.OptFeat().GroupEnable[0][2], 0);
    EXPECT_EQ(Combo("cboGroupValid")->currentIndex(), 0);

    ShowGroup("A");
    Type(40, "");
    Type(1, "");                     // the last channel of the band
    EXPECT_NE(Channel(0, 1, 1), nullptr);
    EXPECT_EQ(Cell(1), "27.18500");
    EXPECT_TRUE(host->asker.asked.contains("The last channel of the band cannot be removed."));
}

TEST_F(WindowFixture, EditBoxTakesOnlyDigitsAndAPoint)
{
    Open();
    Select(3);
    Key(Grid(), Qt::Key_Return);
    ASSERT_TRUE(Editing());
    QTest::keyClicks(Edit(), "2a7.Z1-8 5x");
    QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString::fromUtf8("é"));
    QApplication::sendEvent(Edit(), &accented);
    QKeyEvent wide(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("５"));
    QApplication::sendEvent(Edit(), &wide);   // a full-width digit is not a digit here
    EXPECT_EQ(Edit()->text(), "27.185");
    QGuiApplication::clipboard()->setText("26.5");
    Key(Edit(), Qt::Key_V, Qt::ControlModifier);
    Key(Edit(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Edit()->text(), "27.185");
    Edit()->selectAll();
    Key(Edit(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Edit()->text(), "27.185");
    Key(Edit(), Qt::Key_End);
    QTest::keyClicks(Edit(), "123");   // at most 8 characters
    EXPECT_EQ(Edit()->text(), "27.18512");
    Key(Edit(), Qt::Key_Escape);       // Escape leaves without storing
    EXPECT_FALSE(Editing());
    EXPECT_EQ(Channel(0, 1, 3), nullptr);

    // A digit typed on the grid starts the edit with it.
    Select(4);
    QTest::keyClicks(Grid(), "2");
    ASSERT_TRUE(Editing());
    QTest::keyClicks(Edit(), "6.6");
    EXPECT_EQ(Edit()->text(), "26.6");
    Key(Edit(), Qt::Key_Return);
    EXPECT_EQ(Stored(0, 1, 4), "26.60000");
}

TEST_F(WindowFixture, AnOpenEditIsStoredBeforeAToolButtonOrAShortcutActs)
{
    Open();
    // Tool bar buttons take no focus from the edit box; the main window tells
    // the document before any command acts, as this button does.
    QToolButton save;
    save.setFocusPolicy(Qt::NoFocus);
    QString seenBySave;
    QObject::connect(&save, &QToolButton::clicked, [&] {
        emit ws.Events().aboutToEncode();
        seenBySave = Stored(0, 1, 5);
    });
    save.show();
    Select(5);
    Key(Grid(), Qt::Key_Return);
    QTest::keyClicks(Edit(), "26.7");
    QTest::mouseClick(&save, Qt::LeftButton);
    EXPECT_EQ(seenBySave, "26.70000");
    EXPECT_FALSE(Editing());

    Select(6);
    Key(Grid(), Qt::Key_Return);
    QTest::keyClicks(Edit(), "26.8");
    QKeyEvent ctrlS(QEvent::ShortcutOverride, Qt::Key_S, Qt::ControlModifier, "s");
    QApplication::sendEvent(Edit(), &ctrlS);
    EXPECT_EQ(Stored(0, 1, 6), "26.80000");
    // Editing keys of the box itself do not close it.
    Select(7);
    Key(Grid(), Qt::Key_Return);
    QTest::keyClicks(Edit(), "26.9");
    QKeyEvent ctrlLeft(QEvent::ShortcutOverride, Qt::Key_Left, Qt::ControlModifier);
    QApplication::sendEvent(Edit(), &ctrlLeft);
    EXPECT_TRUE(Editing());
    EXPECT_EQ(Channel(0, 1, 7), nullptr);
}

TEST_F(WindowFixture, DetailPanelWritesAtOnceAndFollowsTheRow)
{
    Open();
    auto* detail = Get<QGroupBox>("fraDetail");
    Select(3);
    EXPECT_FALSE(detail->isVisibleTo(w));   // empty row
    Select(2);
    ASSERT_TRUE(detail->isVisibleTo(w));
    EXPECT_EQ(detail->title(), "More Information -- CH 2");
    EXPECT_EQ(Combo("cboNbAnl")->currentText(), "NB");
    EXPECT_FALSE(Combo("cboRxCtcss")->isVisibleTo(w));
    EXPECT_FALSE(Combo("cboRxDcs")->isVisibleTo(w));

    Combo("cboRxType")->setCurrentIndex(2);
    EXPECT_EQ(Channel(0, 1, 2)->RxToneType, 2);
    EXPECT_TRUE(Combo("cboRxDcs")->isVisibleTo(w));
    EXPECT_FALSE(Combo("cboRxCtcss")->isVisibleTo(w));
    Combo("cboRxDcs")->setCurrentText("D_010(053N)");
    EXPECT_EQ(Channel(0, 1, 2)->RxDcs, 9);
    Combo("cboMode")->setCurrentText("CW");
    EXPECT_EQ(Channel(0, 1, 2)->Mode, 5);
    Combo("cboBot")->setCurrentText("4");
    EXPECT_EQ(Channel(0, 1, 2)->BotCode, 4);
    Combo("cboBot")->setCurrentIndex(0);
    EXPECT_EQ(Channel(0, 1, 2)->BotCode, 0);
    Combo("cboRoger")->setCurrentText("3");
    EXPECT_EQ(Channel(0, 1, 2)->RogerBeep, 3);
    EXPECT_EQ(Channel(0, 1, 1)->RogerBeep, 0);   // only the row's channel

    // Back on the row, the panel shows what was stored.
    Select(1);
    Select(2);
    EXPECT_EQ(Combo("cboMode")->currentText(), "CW");
    EXPECT_EQ(Combo("cboRxDcs")->currentText(), "D_010(053N)");
}

TEST_F(WindowFixture, PublicLocksTheChannelsSharedValues)
{
    Open();
    Select(1);
    Combo("cboPublic")->setCurrentIndex(1);
    EXPECT_EQ(Channel(0, 1, 1)->PublicCh, 1);
    for (const char* n : {"cboHiCut", "cboNbAnl", "cboEcho", "cboAdd10K", "cboBot", "cboEot", "cboCall",
                          "cboRoger", "cboMode"})
        EXPECT_FALSE(Combo(n)->isEnabled()) << n;
    EXPECT_TRUE(Combo("cboBusy")->isEnabled());
    EXPECT_TRUE(Combo("cboScan")->isEnabled());
    Select(2);   // a channel without it
    EXPECT_TRUE(Combo("cboMode")->isEnabled());
    Select(1);
    EXPECT_FALSE(Combo("cboMode")->isEnabled());
}

TEST_F(WindowFixture, GroupPanelValues)
{
    Open();
    Combo("cboEmgCh2")->setCurrentText("40");
    EXPECT_EQ(ws.OptFeat().EmgCh2[0][1], 40);
    Combo("cboEmgMode1")->setCurrentText("LSB");
    EXPECT_EQ(ws.OptFeat().EmgMode1[0][1], 3);
    Combo("cboWorkGroup")->setCurrentText("C");
    EXPECT_EQ(ws.OptFeat().HfWorkGroup, 3);
    QTest::keyClicks(Get<QLineEdit>("txtGroupName"), "NET12");
    EXPECT_EQ(ws.OptFeat().GroupName[0][1].bytes(), "NET1");

    // "Group Valid": the other valid group lets A go off; back on.
    Combo("cboGroupValid")->setCurrentIndex(0);
    EXPECT_EQ(ws.OptFeat().GroupEnable[0][1], 0);
    Combo("cboGroupValid")->setCurrentIndex(1);
    EXPECT_EQ(ws.OptFeat().GroupEnable[0][1], 1);
    ShowGroup("B");
    ws.OptFeat().GroupEnable[0][1] = 0;   // B is now the only valid group
    Combo("cboGroupValid")->setCurrentIndex(0);
    EXPECT_EQ(ws.OptFeat().GroupEnable[0][2], 1);
    EXPECT_EQ(Combo("cboGroupValid")->currentIndex(), 1);

    // Switching on an empty group gives it its default channel 1.
    ShowGroup("D");
    Combo("cboGroupValid")->setCurrentIndex(1);
    EXPECT_EQ(ws.OptFeat().GroupEnable[0][4], 1);
    EXPECT_EQ(Cell(1), "28.08500");
}

TEST_F(WindowFixture, LineCommandsFromTheKeyboard)
{
    Open();
    Select(1);
    Combo("cboMode")->setCurrentText("USB");
    Key(Grid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(w->ClipboardFilled());

    Select(10);
    Key(Grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Cell(10), "27.18500");
    EXPECT_EQ(Channel(0, 1, 10)->Mode, 2);
    EXPECT_TRUE(Get<QGroupBox>("fraDetail")->isVisibleTo(w));

    Select(2);
    Key(Grid(), Qt::Key_X, Qt::ControlModifier);   // cut 2
    EXPECT_EQ(Cell(2), "");
    EXPECT_EQ(Channel(0, 1, 2), nullptr);
    EXPECT_FALSE(Get<QGroupBox>("fraDetail")->isVisibleTo(w));

    Select(10);
    host->asker.asked.clear();
    Key(Grid(), Qt::Key_Insert);                    // channel 40 would be pushed out: refused
    EXPECT_EQ(host->asker.asked, QStringList({"CH A40 would be pushed out of the group; delete or move it first"}));
    EXPECT_EQ(Cell(10), "27.18500");
    ASSERT_NE(Channel(0, 1, 40), nullptr);
    Select(40);
    Key(Grid(), Qt::Key_Delete);
    Select(10);
    Key(Grid(), Qt::Key_Insert);                    // insert channel 2's copy at 10
    EXPECT_EQ(Cell(10), "27.19500");
    EXPECT_EQ(Cell(11), "27.18500");
    EXPECT_EQ(Cell(40), "");

    Type(39, "27.39");
    Select(39);
    Key(Grid(), Qt::Key_Insert);
    EXPECT_EQ(Cell(39), "27.19500");
    EXPECT_EQ(Cell(40), "27.39000");

    Select(11);
    Key(Grid(), Qt::Key_Delete);
    EXPECT_EQ(Cell(11), "");
    EXPECT_EQ(Channel(0, 1, 11), nullptr);
}

TEST_F(WindowFixture, LineCommandsFromTheHostsMenuPerGroupKind)
{
    Open();
    ShowGroup("VFO");
    Select(1);
    Type(1, "27.5");
    w->LECut();
    w->LEDelete();
    w->LEInsertPaste();
    EXPECT_NE(Channel(0, 17, 1), nullptr);          // nothing removes the VFO channel
    EXPECT_FALSE(w->ClipboardFilled());             // and Cut does not even copy it there
    w->LECopy();
    EXPECT_TRUE(w->ClipboardFilled());

    ShowGroup("MEM");
    Select(98);
    w->LEPaste();
    EXPECT_EQ(Cell(98), "27.50000");
    const QString old99 = Cell(99);
    ASSERT_FALSE(old99.isEmpty());
    w->LEInsertPaste();                              // 99 would be pushed out: refused
    EXPECT_EQ(Cell(98), "27.50000");
    EXPECT_EQ(Cell(99), old99);
    EXPECT_EQ(ws.ChannelCount(0, 16), 2);
    Select(99);
    w->LEDelete();
    Select(98);
    w->LEInsertPaste();                              // 98 -> 99, a copy on 98
    EXPECT_EQ(Stored(0, 16, 99), "27.50000");
    EXPECT_EQ(Cell(98), "27.50000");
    EXPECT_EQ(ws.ChannelCount(0, 16), 2);
}

TEST_F(WindowFixture, ChineseCaptionsAndLists)
{
    ws.CurrentLanguage = Chinese;
    Open();
    EXPECT_EQ(w->windowTitle(), "信道信息");
    EXPECT_EQ(Header(0), "信道");
    EXPECT_EQ(Get<QGroupBox>("fraGroup")->title(), "组 -- A");
    Select(1);
    EXPECT_EQ(Combo("cboScan")->currentText(), "添加");
    EXPECT_EQ(Combo("cboBusy")->currentText(), "关");
    Combo("cboBusy")->setCurrentText("开");
    EXPECT_EQ(Channel(0, 1, 1)->BusyLock, 1);
    EXPECT_EQ(Combo("cboGroupValid")->currentText(), "开");
}

TEST_F(WindowFixture, ScrollingOrMovingOnStoresTheOpenEdit)
{
    Open();
    Select(3);
    Key(Grid(), Qt::Key_Return);
    QTest::keyClicks(Edit(), "26.71");
    Grid()->verticalScrollBar()->setValue(Grid()->verticalScrollBar()->maximum());
    EXPECT_FALSE(Editing());
    EXPECT_EQ(Stored(0, 1, 3), "26.71000");
    EXPECT_EQ(Cell(3), "26.71000");

    Select(4);
    Key(Grid(), Qt::Key_Return);
    QTest::keyClicks(Edit(), "26.72");
    Key(Edit(), Qt::Key_Down);   // the box ignores it; the grid moves on and stores first
    EXPECT_FALSE(Editing());
    EXPECT_EQ(Stored(0, 1, 4), "26.72000");

    Select(6);
    Key(Grid(), Qt::Key_Return);
    QTest::keyClicks(Edit(), "26.73");
    Combo("cboEmgCh1")->setFocus();   // another control of the window takes the focus
    EXPECT_FALSE(Editing());
    EXPECT_EQ(Stored(0, 1, 6), "26.73000");

    // A typed entry still open when the window goes is the user's too.
    Select(7);
    Key(Grid(), Qt::Key_Return);
    QTest::keyClicks(Edit(), "26.74");
    host->CloseChild(Child::ChannelInfo);
    EXPECT_EQ(Stored(0, 1, 7), "26.74000");
}

TEST_F(WindowFixture, AChannelChosenElsewhereIsShown)
{
    Open();
    emit ws.Events().channelSelected(1, 13, 3);   // band 1, "MEM", M3
    EXPECT_EQ(w->ShownBand(), 1);
    EXPECT_EQ(ws.WorkRecord.BandType, 1);
    EXPECT_EQ(Combo("cboGroup")->currentText(), "MEM");
    EXPECT_EQ(w->CurrentRow(), 3);
    EXPECT_EQ(Get<QGroupBox>("fraDetail")->title(), "More Information -- CH M3");
    EXPECT_EQ(Cell(3), "29.10000");

    emit ws.Events().channelSelected(0, 2, 5);
    EXPECT_EQ(ws.WorkRecord.BandType, 0);
    EXPECT_EQ(Combo("cboGroup")->currentText(), "B");
    EXPECT_EQ(ws.WorkRecord.CurGroup[0], 2);
    EXPECT_EQ(w->CurrentRow(), 5);

    emit ws.Events().channelSelected(0, 15, 1);   // "M" is not offered without the extended layout
    EXPECT_EQ(Combo("cboGroup")->currentText(), "B");
    EXPECT_EQ(w->CurrentRow(), 5);
}

TEST_F(WindowFixture, LayoutKeepsItsWidthAndShowsWholeEntries)
{
    Open();
    EXPECT_FALSE(Get<QPushButton>("cmdHelp")->isEnabled());
    EXPECT_FALSE(Get<QPushButton>("cmdEdit")->isEnabled());
    EXPECT_EQ(Get<QPushButton>("cmdHelp")->text(), "&Help");
    EXPECT_EQ(Get<QPushButton>("cmdEdit")->text(), "Channel");
    EXPECT_TRUE(Get<QPushButton>("cmdClose")->isEnabled());

    QHeaderView* h = Grid()->horizontalHeader();
    auto fills = [&] { return h->sectionSize(0) + h->sectionSize(1) == Grid()->viewport()->width(); };
    EXPECT_TRUE(fills());

    Select(1);
    QCoreApplication::processEvents();
    const int width = w->width();
    auto check = [&](const char* when) {
        QCoreApplication::processEvents();
        EXPECT_EQ(w->width(), width) << when;
        for (QComboBox* c : w->findChildren<QComboBox*>())
            if (c->isVisibleTo(w))
                for (int i = 0; i < c->count(); ++i)
                    EXPECT_GE(c->width(), c->fontMetrics().horizontalAdvance(c->itemText(i)) + 20)
                        << when << " " << c->objectName().toStdString() << " " << c->itemText(i).toStdString();
    };
    Combo("cboRxType")->setCurrentIndex(1);
    ASSERT_NE(Combo("cboRxCtcss")->findText("C_001(67.0Hz)"), -1);
    check("CTCSS");
    Combo("cboTxType")->setCurrentIndex(2);
    check("DCS");
    Select(3);
    check("empty row");
    ShowGroup("MEM");
    check("MEM");
    EXPECT_TRUE(fills());
    ws.CurrentLanguage = Chinese;
    w->ReShowChInfoByLanguage();
    Select(99);
    Combo("cboRxType")->setCurrentIndex(1);
    QCoreApplication::processEvents();
    const int zhWidth = w->width();
    Select(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->width(), zhWidth);
}

}  // namespace
}  // namespace kt
