// The Channel menu in the main window: Fill Channels through its dialog, Find
// Next and Previous across groups and bands, and the filter box.
#include "MainWindowTest.h"
#include "gui/channels/FrmFillChannels.h"
#include "model/ChannelRules.h"
#include "rules/channels/ChannelFind.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace kt {
namespace {

class ChannelTools : public MainWindowTest {
protected:
    // A group of the HF band, picked as the user does.
    void ShowGroup(const char* letter)
    {
        In<QComboBox>(Channels(), "cboBand")->setCurrentIndex(0);
        In<QComboBox>(Channels(), "cboGroup")->setCurrentText(letter);
    }
    FrmFillChannels* FillDialog()
    {
        Menu("mnuChannelFill");
        return main->findChild<FrmFillChannels*>("FrmFillChannels");
    }
};

TEST_F(ChannelTools, FillDialogPlacesTheCbPlanAsOneStepAndRefusesBadInput)
{
    ShowGroup("F");
    FrmFillChannels* dlg = FillDialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(In<QRadioButton>(dlg, "optCb40")->isChecked());   // F has its segment preset
    EXPECT_EQ(In<QLineEdit>(dlg, "txtSegment")->text(), "26.965");
    dlg->accept();
    EXPECT_EQ(Cell(1), "26.96500");
    EXPECT_EQ(Cell(23), "27.25500");
    EXPECT_EQ(Cell(24), "27.23500");
    EXPECT_EQ(Cell(40), "27.40500");
    EXPECT_EQ(StepNames().last(), "Fill Channels F");
    ASSERT_TRUE(SpinUntil([&] { return !main->findChild<FrmFillChannels*>("FrmFillChannels"); }, 2000));

    // Letters in the start: the field is named, the dialog stays, nothing changes.
    ws->CurrentLanguage = Chinese;
    ShowGroup("A");
    const QByteArray before = test::DocumentBytes(*ws);
    const int steps = main->History().Steps();
    dlg = FillDialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), "填充信道");
    In<QRadioButton>(dlg, "optStartStep")->setChecked(true);
    In<QLineEdit>(dlg, "txtStart")->setText("27.1x");
    dlg->accept();
    ASSERT_FALSE(asker.asked.isEmpty());
    EXPECT_TRUE(asker.asked.last().contains("27.1x") && asker.asked.last().contains("起始频率"));
    // Past the band's top: the first channel out is named.
    In<QLineEdit>(dlg, "txtStart")->setText("30.000");
    dlg->accept();
    EXPECT_TRUE(asker.asked.last().contains("信道 A12")) << asker.asked.last().toStdString();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(test::DocumentBytes(*ws), before);
    EXPECT_EQ(main->History().Steps(), steps);
    dlg->reject();
}

TEST_F(ChannelTools, FindNextWalksGroupsAndBandsAndTheFilterKeepsChannelNumbers)
{
    EXPECT_TRUE(main->menuAction("mnuChannelFindNext")->shortcuts().contains(QKeySequence("F3")));
    EXPECT_TRUE(main->menuAction("mnuChannelFindPrev")->shortcuts().contains(QKeySequence("Shift+F3")));
    EXPECT_TRUE(main->menuAction("mnuChannelFind")->shortcuts().contains(QKeySequence("Ctrl+F")));

    ShowGroup("C");
    Type(5, "28.1234");
    ShowGroup("A");
    InsertChannel(*ws, 3, 1, MemoryGroupOf(1), "28.12348");   // HAM MEM M3
    Menu("mnuChannelFind");
    QDialog* find = main->findChild<QDialog*>("FrmFindChannel");
    ASSERT_NE(find, nullptr);
    In<QLineEdit>(find, "txtFind")->setText("28.1234");

    struct Stop { const char* menu; int band, group, row; };
    const Stop walk[] = {
        {"mnuChannelFindNext", 0, 3, 5},
        {"mnuChannelFindNext", 1, MemoryGroupOf(1), 3},
        {"mnuChannelFindNext", 0, 3, 5},   // round again
        {"mnuChannelFindPrev", 1, MemoryGroupOf(1), 3},
    };
    for (const Stop& s : walk) {
        Menu(s.menu);
        EXPECT_EQ(Channels()->ShownBand(), s.band) << s.menu;
        EXPECT_EQ(Channels()->ShownGroup(), s.group) << s.menu;
        EXPECT_EQ(Channels()->CurrentRow(), s.row) << s.menu;
    }
    EXPECT_FALSE(In<QLabel>(find, "lblFindResult")->text().isEmpty());

    // The filter: only the matching row of group C stays; editing it edits channel 5.
    Menu("mnuChannelFindNext");
    ASSERT_EQ(Channels()->ShownGroup(), 3);
    In<QLineEdit>(Channels(), "txtFilter")->setText("28.12");
    EXPECT_FALSE(Grid()->isRowHidden(4));
    EXPECT_TRUE(Grid()->isRowHidden(0));
    EXPECT_TRUE(Grid()->isRowHidden(39));
    Type(5, "28.12999");
    EXPECT_EQ(Cell(5), "28.12999");
    EXPECT_EQ(DigitsToFreqText(*ws, ws->Channels(0, FindSlot(*ws, 0, 3, 5), 3).Freq.bytes()), "28.12999");
    In<QLineEdit>(Channels(), "txtFilter")->clear();
    EXPECT_FALSE(Grid()->isRowHidden(0));
}

}  // namespace
}  // namespace kt
