// The channel window inside the real main window: what is typed reaches the
// saved data file.
#include "shell/Shell.h"
#include "gui/frmMain.h"
#include "model/ChannelRules.h"
#include "gui/channels/frmCommChInfo.h"
#include "model/DataFile.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace kt {
namespace {

TEST(ChannelWindowInMain, TypedChannelsReachTheSavedFile)
{
    test::TempInstall inst;
    Workspace ws;
    StartOptions opt;
    opt.programDir = inst.bin();
    opt.root = inst.root();
    StartUp(ws, opt);
    ScriptedAsker asker;
    ws.asker = &asker;
    QSettings store(inst.path("geometry.ini"), QSettings::IniFormat);
    frmMain main(ws, &store);
    main.show();
    QCoreApplication::processEvents();

    frmCommChInfo* w = main.ChannelWindow();
    ASSERT_NE(w, nullptr);   // opened at start-up
    auto* band = w->findChild<QComboBox*>("cboBand");
    auto* group = w->findChild<QComboBox*>("cboGroup");
    auto* grid = w->findChild<QTableView*>("MSFlexGrid1");
    ASSERT_NE(grid, nullptr);
    auto cell = [&](int row) { return grid->model()->index(row - 1, 1); };
    auto edit = [&] { return w->findChild<QLineEdit*>("Text1"); };   // the open edit box
    band->setCurrentIndex(0);
    group->setCurrentText("C");
    EXPECT_EQ(ws.WorkRecord.BandType, 0);
    EXPECT_TRUE(main.windowTitle().contains("24.7150 - 30.1050 MHz")) << main.windowTitle().toStdString();

    grid->setCurrentIndex(cell(5));
    QTest::keyClicks(grid, "2");      // a digit on the grid opens the edit box with it
    ASSERT_NE(edit(), nullptr);
    QTest::keyClicks(edit(), "7.185");
    QTest::keyClick(edit(), Qt::Key_Return);
    grid->setCurrentIndex(cell(5));
    w->findChild<QComboBox*>("cboMode")->setCurrentText("USB");
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    grid->setCurrentIndex(cell(6));
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    grid->setCurrentIndex(cell(7));
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_NE(edit(), nullptr);
    QTest::keyClicks(edit(), "35");   // out of range: warned, nothing stored
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_TRUE(asker.asked.filter("Frequency is out of range.").size() > 0);

    ASSERT_GT(FindSlot(ws, 0, 3, 5), 0);
    ASSERT_GT(FindSlot(ws, 0, 3, 6), 0);
    ws.CurrentFile = inst.path("job.dat");
    ws.IsUntitled = false;
    ASSERT_EQ(SaveDataFile(ws).kind, FileResult::Done);

    auto back = std::make_unique<Workspace>();
    StartUp(*back, opt);   // the version registry decides whether the file can be opened
    back->asker = &asker;
    back->CurrentFile = inst.path("job.dat");
    ASSERT_EQ(OpenDataFile(*back).kind, FileResult::Done);
    const int g = 3;
    for (int ch : {5, 6}) {
        const int slot = FindSlot(*back, 0, g, ch);
        ASSERT_GT(slot, 0) << ch;
        const ChannelRec& r = back->Channels(0, slot, g);
        EXPECT_EQ(DigitsToFreqText(*back, r.Freq.bytes().trimmed()), "27.18500") << ch;
        EXPECT_EQ(r.Mode, 2) << ch;
    }
    EXPECT_EQ(FindSlot(*back, 0, g, 7), 0);
}

// The tool bar's Save takes no focus from the edit box; what was typed there
// is stored before the file is written.
TEST(ChannelWindowInMain, AnOpenEditReachesAFileSavedFromTheToolBar)
{
    test::TempInstall inst;
    Workspace ws;
    StartOptions opt;
    opt.programDir = inst.bin();
    opt.root = inst.root();
    StartUp(ws, opt);
    ScriptedAsker asker;
    ws.asker = &asker;
    QSettings store(inst.path("geometry.ini"), QSettings::IniFormat);
    frmMain main(ws, &store);
    main.show();
    QCoreApplication::processEvents();
    ws.CurrentFile = inst.path("job.dat");
    ws.IsUntitled = false;

    frmCommChInfo* w = main.ChannelWindow();
    ASSERT_NE(w, nullptr);
    w->findChild<QComboBox*>("cboBand")->setCurrentIndex(0);
    w->findChild<QComboBox*>("cboGroup")->setCurrentText("C");
    auto* grid = w->findChild<QTableView*>("MSFlexGrid1");
    grid->setCurrentIndex(grid->model()->index(8, 1));   // row 9
    QTest::keyClick(grid, Qt::Key_Return);
    auto* edit = w->findChild<QLineEdit*>("Text1");
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, "27.255");

    QToolButton* save = nullptr;
    for (QAction* a : main.findChild<QToolBar*>("tbToolBar")->actions())
        if (a->data().toString() == QStringLiteral("保存"))
            save = qobject_cast<QToolButton*>(main.findChild<QToolBar*>("tbToolBar")->widgetForAction(a));
    ASSERT_NE(save, nullptr);
    ASSERT_EQ(save->focusPolicy(), Qt::NoFocus);
    QTest::mouseClick(save, Qt::LeftButton);

    auto back = std::make_unique<Workspace>();
    StartUp(*back, opt);
    back->asker = &asker;
    back->CurrentFile = inst.path("job.dat");
    ASSERT_EQ(OpenDataFile(*back).kind, FileResult::Done);
    const int slot = FindSlot(*back, 0, 3, 9);
    ASSERT_GT(slot, 0);
    EXPECT_EQ(DigitsToFreqText(*back, back->Channels(0, slot, 3).Freq.bytes().trimmed()), "27.25500");
    EXPECT_EQ(w->findChild<QLineEdit*>("Text1"), nullptr);   // the box closed
}

}  // namespace
}  // namespace kt
