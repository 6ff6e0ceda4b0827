// The main window as a new user meets it: editor windows that stay where they
// were through a failed Open, an Open, a read and a language switch; HAM
// groups that say they are read-only; an Insert&Paste that would push a
// channel out; access keys of a child window; tool-tips without access-key
// marks.
#include "MainWindowTest.h"
#include "rules/channels/ChannelTables.h"

#include <QAction>
#include <QLabel>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QToolBar>

namespace kt {
namespace {

class WindowsTest : public MainWindowTest {
protected:
    // Where each open editor's frame stands.
    QMap<int, QRect> Frames()
    {
        QMap<int, QRect> f;
        for (Child c : {Child::ChannelInfo, Child::OptFeatures, Child::ToneTips, Child::Dtmf})
            if (QWidget* w = main->Editor(c)) f[int(c)] = w->parentWidget()->geometry();
        return f;
    }
    void ShowBand(int band) { In<QComboBox>(Channels(), "cboBand")->setCurrentIndex(band); }
    void ShowGroup(const QString& letter)
    {
        auto* c = In<QComboBox>(Channels(), "cboGroup");
        c->setCurrentIndex(c->findText(letter));
    }
    QString StatusLine() { return main->statusPanel(1)->text(); }
};

TEST_F(WindowsTest, OpenWindowsStayWhereTheyWereThroughAFailedOpenAnOpenAndARead)
{
    for (Child c : {Child::OptFeatures, Child::Dtmf, Child::ChannelInfo}) main->ShowChild(c);
    QCoreApplication::processEvents();   // fitted into the area as they first show
    main->Editor(Child::OptFeatures)->parentWidget()->move(60, 45);
    const QMap<int, QRect> frames = Frames();
    ASSERT_EQ(frames.size(), 3);
    ws->CurrentFile = inst.path("job.dat");
    ASSERT_TRUE(SaveCurrentFile(*ws));

    ASSERT_TRUE(test::WriteFile(inst.path("garbage.dat"), QByteArray(1699, 'x')));
    asker.fileNames = {inst.path("garbage.dat")};
    asker.asked.clear();
    Menu("mnuFileOpen");
    ASSERT_EQ(asker.asked.size(), 1);   // the refusal
    EXPECT_EQ(ws->CurrentFile, inst.path("job.dat"));
    EXPECT_EQ(Frames(), frames);

    asker.fileNames = {inst.path("job.dat")};
    Menu("mnuFileOpen");
    EXPECT_EQ(Frames(), frames);

    main->transfers()->ReadFromRadio();
    ASSERT_TRUE(main->transfers()->LastSuccess());
    EXPECT_EQ(Frames(), frames);
    EXPECT_EQ(main->mdiArea()->activeSubWindow()->widget(), Channels());
}

TEST_F(WindowsTest, HamLetteredGroupsSayTheyAreReadOnlyOnceAVisit)
{
    const QString why = ws->T(chtxt::ReadOnlyGroup);
    ShowBand(1);
    ShowGroup("A");
    SelectRow(3);
    EXPECT_FALSE(Grid()->model()->flags(Grid()->currentIndex()) & Qt::ItemIsEditable);
    EXPECT_EQ(Grid()->currentIndex().data(Qt::ToolTipRole).toString(), why);

    QTest::keyClick(Grid(), Qt::Key_Return);
    EXPECT_EQ(Channels()->findChild<QLineEdit*>("Text1"), nullptr);
    EXPECT_EQ(StatusLine(), why);
    main->statusPanel(1)->clear();
    QTest::keyClick(Grid(), Qt::Key_5);
    QTest::keyClick(Grid(), Qt::Key_F2);
    EXPECT_EQ(StatusLine(), QString()) << "said once a visit";

    // A command chosen from the menu is refused with the reason each time.
    ShowGroup("MEM");
    EXPECT_EQ(StatusLine(), QString());
    Type(1, "28.5");
    Menu("MnuLECopy");
    ShowGroup("B");
    SelectRow(2);
    const QString before = Cell(2);
    asker.asked.clear();
    Menu("MnuLEPaste");
    Menu("MnuLEInsert");
    EXPECT_EQ(asker.asked, QStringList({why, why}));
    EXPECT_EQ(Cell(2), before);
    QTest::keyClick(Grid(), Qt::Key_Return);
    EXPECT_EQ(StatusLine(), why) << "a new visit says it again";

    // In Chinese, and the MEM group is edited as before.
    ws->CurrentLanguage = Chinese;
    main->ApplyLanguage();
    ShowGroup("A");
    QTest::keyClick(Grid(), Qt::Key_Return);
    EXPECT_EQ(StatusLine(), QString::fromUtf8("HAM 频段只能编辑 MEM 组；本组为只读。"));
    ShowGroup("MEM");
    SelectRow(4);
    QTest::keyClick(Grid(), Qt::Key_Return);
    EXPECT_NE(Channels()->findChild<QLineEdit*>("Text1"), nullptr);
}

TEST_F(WindowsTest, InsertPasteThatWouldPushTheLastChannelOutChangesNothing)
{
    ShowBand(0);
    ShowGroup("A");
    Type(40, "27.405");
    Type(5, "27.045");
    SelectRow(5);
    Menu("MnuLECopy");
    SelectRow(10);
    const int steps = main->History().Steps();
    const QByteArray before = test::DocumentBytes(*ws);
    asker.asked.clear();
    Menu("MnuLEInsert");
    EXPECT_EQ(asker.asked, QStringList({"CH A40 would be pushed out of the group; delete or move it first"}));
    EXPECT_TRUE(test::DocumentBytes(*ws) == before);
    EXPECT_EQ(main->History().Steps(), steps);
    EXPECT_EQ(Cell(40), "27.40500");

    // With the last row free it goes through, and its undo step reads plainly.
    SelectRow(40);
    Menu("MnuLEDelete");
    SelectRow(10);
    Menu("MnuLEInsert");
    EXPECT_EQ(Cell(10), "27.04500");
    EXPECT_EQ(main->menuAction("mnuEditUndo")->text(), "&Undo Insert&&Paste CH A10");
    EXPECT_EQ(main->toolButton("Undo")->toolTip(), "Undo Insert&Paste CH A10");
    for (QAction* a : main->tbToolBar()->actions())
        EXPECT_FALSE(a->toolTip().contains(QRegularExpression("&[^P]"))) << a->toolTip().toStdString();
}

TEST_F(WindowsTest, AltLetterInAChildWindowReachesItsButtonBeforeTheMainMenu)
{
    main->ShowChild(Child::ToneTips);
    QWidget* tones = main->Editor(Child::ToneTips);
    QApplication::setActiveWindow(main.get());
    auto* stop = In<QPushButton>(tones, "cmdStop");
    stop->setEnabled(true);
    In<QWidget>(tones, "cmdClose")->setFocus();
    QSignalSpy clicked(stop, &QPushButton::clicked);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);   // also the Setup menu's key
    EXPECT_TRUE(SpinUntil([&] { return clicked.count() == 1; }, 2000));
    EXPECT_FALSE(main->menu("mnuSet")->isVisible());
}

}  // namespace
}  // namespace kt
