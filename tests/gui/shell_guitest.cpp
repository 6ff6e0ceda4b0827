// The main window, offscreen, in a temporary installation with scripted answers.
#include "gui/FrmSetLanguage.h"
#include "shell/MainTexts.h"
#include "shell/Shell.h"
#include "gui/frmAbout.h"
#include "gui/frmMain.h"
#include "gui/MenuPolish.h"
#include "gui/channels/frmCommChInfo.h"
#include "model/DataFile.h"
#include "link/Transfer.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMap>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace kt {
namespace {

using test::TempInstall;

class ShellTest : public ::testing::Test {
protected:
    void Start(int systemLanguage = English, const QByteArray& settings = {}, bool groupWrite = false)
    {
        if (!settings.isEmpty()) ASSERT_TRUE(test::WriteFile(inst.path("language/mysetup.ini"), settings));
        ws = std::make_unique<Workspace>();
        StartOptions opt;
        opt.programDir = inst.bin();
        opt.root = inst.root();
        opt.systemLanguage = systemLanguage;
        opt.groupWrite = groupWrite;
        StartUp(*ws, opt);
        ws->asker = &asker;
        store = std::make_unique<QSettings>(inst.path("geometry.ini"), QSettings::IniFormat);
        main = std::make_unique<frmMain>(*ws, store.get());
        main->endProgram = [this] { ++ended; };
        main->show();
    }
    void TearDown() override
    {
        if (main) {
            main->hide();
            main.reset();
        }
    }
    QStringList ChildTitles() const
    {
        QStringList t;
        for (QMdiSubWindow* s : main->mdiArea()->subWindowList()) t << s->widget()->windowTitle();
        return t;
    }
    QString Job(const QString& name) const { return inst.path("jobs/" + name); }
    void Modify() { ws->WorkRecord.TxOffset = int32_t(ws->WorkRecord.TxOffset + 3); }

    TempInstall inst;
    std::unique_ptr<Workspace> ws;
    ScriptedAsker asker;
    std::unique_ptr<QSettings> store;
    std::unique_ptr<frmMain> main;
    int ended = 0;
};

// Clicks a button of the modal dialog that is up once the event loop runs.
void AnswerModal(const char* buttonName, std::function<void(QWidget*)> inspect = {})
{
    QTimer::singleShot(0, [buttonName, inspect] {
        QWidget* dlg = QApplication::activeModalWidget();
        ASSERT_NE(dlg, nullptr);
        if (inspect) inspect(dlg);
        auto* b = dlg->findChild<QPushButton*>(buttonName);
        ASSERT_NE(b, nullptr) << buttonName;
        b->click();
    });
}

TEST_F(ShellTest, MenuCaptionsAndToolTipsInBothLanguages)
{
    Start();
    for (int L : {English, Chinese}) {
        ws->CurrentLanguage = L;
        main->ApplyMainCaptions();
        for (const MenuEntry& e : MenuTable()) {
            QAction* a = main->menuAction(e.name);
            ASSERT_NE(a, nullptr) << e.name;
            EXPECT_EQ(a->text(), e.caption.in(L)) << e.name << " language " << L;
        }
        for (const ToolButtonEntry& b : ToolBarTable())
            EXPECT_EQ(main->toolButton(QString::fromUtf8(b.key))->toolTip(), PlainCaption(MenuCaption(b.menu, L)))
                << b.key;
    }
    // Spot checks against the texts themselves: access keys in parentheses
    // after Chinese captions, none shown in tool-tips.
    EXPECT_EQ(main->menuAction("mnuHelpAbout")->text(), QString::fromUtf8("关于 KT-6383 Pro(&A)"));
    EXPECT_EQ(main->toolButton("CommSet")->toolTip(), QString::fromUtf8("通讯端口"));
    EXPECT_EQ(main->menu("mnuFile")->title(), QString::fromUtf8("文件(&F)"));
    ws->CurrentLanguage = English;
    main->ApplyMainCaptions();
    EXPECT_EQ(main->toolButton("新建")->toolTip(), "New");
    EXPECT_EQ(main->toolButton("打印")->toolTip(), "Print");
    EXPECT_EQ(main->menuAction("mnuToneTips")->text(), "&Roger Beep");
}

TEST_F(ShellTest, ToolBarButtonsAndSeparatorsInOrder)
{
    Start();
    const QList<QAction*> buttons = main->tbToolBar()->actions();
    ASSERT_EQ(buttons.size(), 18);
    const QStringList keys = {"新建", "打开", "保存", "", "打印", "", "ReadRadio", "CommSet", "WriteRadio", "",
                              "MWriteRadio", "", "About", "", "Undo", "Redo", "", "Find"};
    for (int i = 0; i < 18; ++i) {
        EXPECT_EQ(buttons[i]->isSeparator(), keys[i].isEmpty()) << i + 1;
        if (!keys[i].isEmpty()) EXPECT_EQ(buttons[i]->data().toString(), keys[i]) << i + 1;
    }
    main->ToolBarClick("no such key");   // does nothing
    EXPECT_EQ(ChildTitles().size(), 1);
}

TEST_F(ShellTest, HiddenItemsAndTheGroupWriteFlag)
{
    Start();
    QStringList hidden;
    for (const MenuEntry& e : MenuTable())
        if (!main->menuAction(e.name)->isVisible()) hidden << e.name;
    EXPECT_EQ(hidden, QStringList({"mnuDTMF", "mnuFleetSync", "mnuTestFre", "mnuEmbeddedMsg", "mnuEMG", "mnuTest",
                                   "mnuMWriteToRadio", "mnuTools", "mnuWindowTileHorizontal",
                                   "mnuWindowTileVertical", "mnuWindowArrangeIcons", "MnuListEdit"}));
    EXPECT_FALSE(main->toolButton("MWriteRadio")->isVisible());
    // Items that do nothing are still offered.
    for (const char* name : {"mnuKeyAssignm", "mnuScanInfo"}) {
        EXPECT_TRUE(main->menuAction(name)->isVisible()) << name;
        main->menuAction(name)->trigger();
    }
    EXPECT_TRUE(asker.asked.isEmpty());
    EXPECT_EQ(ChildTitles().size(), 1);

    main.reset();
    Start(English, {}, true);
    EXPECT_TRUE(main->menuAction("mnuMWriteToRadio")->isVisible());
    EXPECT_TRUE(main->toolButton("MWriteRadio")->isVisible());
}

TEST_F(ShellTest, TreeNodesAndTheirClicks)
{
    Start();
    QTreeWidget* tree = main->TreeView1();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), "KT-6383 Pro");
    EXPECT_EQ(root->data(0, Qt::UserRole).toString(), "N0");
    EXPECT_TRUE(root->isExpanded());
    const struct { const char* key; const char* text; std::function<QWidget*()> window; } nodes[] = {
        {"N1", "Channel Information", [this] { return (QWidget*)main->ChannelWindow(); }},
        {"N2", "Option Features", [this] { return (QWidget*)main->OptionsWindow(); }},
        {"N12", "Roger Beep", [this] { return (QWidget*)main->ToneTipsWindow(); }},
        {"N5", "DTMF", [this] { return (QWidget*)main->DtmfWindow(); }},
    };
    ASSERT_EQ(root->childCount(), 4);
    main->CloseAllChildren();
    for (int i = 0; i < 4; ++i) {
        QTreeWidgetItem* item = root->child(i);
        EXPECT_EQ(item->data(0, Qt::UserRole).toString(), nodes[i].key);
        EXPECT_EQ(item->text(0), nodes[i].text);
        EXPECT_EQ(nodes[i].window(), nullptr);
        emit tree->itemClicked(item, 0);
        EXPECT_EQ(ChildTitles().size(), i + 1);
        ASSERT_NE(nodes[i].window(), nullptr) << nodes[i].key;
        EXPECT_EQ(main->mdiArea()->activeSubWindow()->widget(), nodes[i].window());
    }
    emit tree->itemClicked(root, 0);
    EXPECT_EQ(ChildTitles().size(), 4);

    ws->CurrentLanguage = Chinese;
    main->Change_Language();
    root = tree->topLevelItem(0);
    EXPECT_EQ(root->child(0)->text(0), QString::fromUtf8("信道信息"));
    EXPECT_EQ(root->child(1)->text(0), QString::fromUtf8("可选功能"));
    EXPECT_EQ(root->child(2)->text(0), QString::fromUtf8("RB音"));
    EXPECT_EQ(root->child(3)->text(0), QString::fromUtf8("DTMF(双音多频)"));
}

TEST_F(ShellTest, OneInstanceOfEachChild)
{
    Start();
    ASSERT_NE(main->ChannelWindow(), nullptr);
    frmCommChInfo* first = main->ChannelWindow();
    main->ShowChild(Child::OptFeatures);
    main->ShowChild(Child::ChannelInfo);
    EXPECT_EQ(main->ChannelWindow(), first);
    EXPECT_EQ(ChildTitles().size(), 2);
    EXPECT_EQ(main->mdiArea()->activeSubWindow()->widget(), first);

    // Closing a child by its frame forgets it; the next show creates a new one.
    main->mdiArea()->activeSubWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->ChannelWindow(), nullptr);
    main->menuAction("mnuChannelInfo")->trigger();
    EXPECT_NE(main->ChannelWindow(), nullptr);

    main->menuAction("mnuCloseAll")->trigger();
    EXPECT_TRUE(ChildTitles().isEmpty());
    EXPECT_EQ(main->OptionsWindow(), nullptr);
}

class ShellWithoutTemplatesTest : public ShellTest {
protected:
    ShellWithoutTemplatesTest() { QDir(inst.bin() + "/Init").removeRecursively(); }
};

TEST_F(ShellWithoutTemplatesTest, TitleExamples)
{
    Start();
    EXPECT_EQ(main->windowTitle(), "KT-6383 Pro[28.0000 - 29.6990 MHz][File Name:new.dat]");
    EXPECT_EQ(main->statusPanel(2)->text(), "KT-6383 Pro[28.0000 - 29.6990 MHz]");
    // The start value 1 is on no port list here: it says so.
    EXPECT_TRUE(main->statusPanel(3)->text().startsWith("COM1")) << main->statusPanel(3)->text().toStdString();
    ws->comPort = kSimulatedPortKey;
    main->ApplyMainCaptions();
    EXPECT_EQ(main->statusPanel(3)->text(), "COM Simulated radio");
    EXPECT_FALSE(IsModified(*ws));

    QDir().mkpath(inst.path("jobs"));
    asker.fileNames = {Job("radio.dat")};
    main->menuAction("mnuFileSaveAs")->trigger();
    EXPECT_EQ(main->windowTitle(), "KT-6383 Pro[28.0000 - 29.6990 MHz][File Name:radio.dat]");

    ws->CurrentLanguage = Chinese;
    main->ApplyMainCaptions();
    EXPECT_EQ(main->windowTitle(), QString::fromUtf8("KT-6383 Pro[28.0000 - 29.6990 MHz][文件名:radio.dat]"));
    EXPECT_EQ(main->statusPanel(3)->text(), QString::fromUtf8("通信口 模拟对讲机"));
}

TEST_F(ShellTest, OpenThenNewKeepsTheFileName)
{
    Start();
    QDir().mkpath(inst.path("jobs"));
    asker.fileNames = {Job("kept.dat")};
    main->mnuFileSaveAs_Click();
    main->CloseAllChildren();
    ws->IsUntitled = true;
    ws->CurrentFile = "new.dat";

    asker.fileNames = {Job("kept.dat")};
    main->menuAction("mnuFileOpen")->trigger();
    EXPECT_TRUE(asker.asked.isEmpty()) << qPrintable(asker.asked.join("|"));
    EXPECT_EQ(ChildTitles(), QStringList({"Channel Information"}));
    EXPECT_EQ(main->windowTitle(), "KT-6383 Pro[" + ws->BandRange + "][File Name:kept.dat]");

    asker.answers = {Answer::Ok};
    main->menuAction("mnuFileNew")->trigger();
    EXPECT_EQ(asker.asked, QStringList({"All data will be cleared."}));
    EXPECT_EQ(main->windowTitle(), "KT-6383 Pro[" + ws->BandRange + "][File Name:kept.dat]");

    asker.answers = {Answer::Cancel};
    main->menuAction("mnuFileSave")->trigger();
    EXPECT_EQ(asker.asked.last(), "\"kept.dat\"file will be Overwrite,Continue?");
}

TEST_F(ShellTest, ToolBarNewDoesNotAskButTheMenuDoes)
{
    Start();
    Modify();
    asker.answers = {Answer::Cancel};
    main->menuAction("mnuFileNew")->trigger();
    EXPECT_EQ(asker.asked, QStringList({"All data will be cleared."}));
    EXPECT_TRUE(IsModified(*ws));   // cancelled: data stay

    asker.answers = {Answer::Ok};
    main->menuAction("mnuFileNew")->trigger();
    EXPECT_FALSE(IsModified(*ws));
    EXPECT_EQ(ChildTitles(), QStringList({"Channel Information"}));

    Modify();
    main->ShowChild(Child::OptFeatures);
    asker.asked.clear();
    main->toolButton("新建")->trigger();
    EXPECT_TRUE(asker.asked.isEmpty());
    EXPECT_FALSE(IsModified(*ws));
    EXPECT_EQ(ChildTitles(), QStringList({"Channel Information"}));
}

TEST_F(ShellTest, LanguageChangeRebuildsEveryOpenWindowWhereItWas)
{
    Start(Chinese, "[language]\nIsFirstRun=0\nCurrentLanguage=1\n");
    EXPECT_EQ(ws->CurrentLanguage, English);
    main->ApplyLanguage();   // first activation: shown (system) language differs
    EXPECT_EQ(ws->ShownLanguage, English);
    main->ShowChild(Child::OptFeatures);
    main->ShowChild(Child::ToneTips);
    main->Editor(Child::OptFeatures)->parentWidget()->move(40, 30);
    const auto frames = [&] {
        QMap<int, QRect> f;
        for (Child c : {Child::ChannelInfo, Child::OptFeatures, Child::ToneTips, Child::Dtmf})
            if (QWidget* w = main->Editor(c)) f[int(c)] = w->parentWidget()->geometry();
        return f;
    };
    const QMap<int, QRect> before = frames();
    ASSERT_EQ(before.size(), 3);

    FrmSetLanguage dlg(*ws, main.get());
    ASSERT_EQ(dlg.Combo1->count(), 2);
    EXPECT_EQ(dlg.Combo1->itemText(0), "English");
    EXPECT_EQ(dlg.Combo1->itemText(1), "Chinese");
    EXPECT_EQ(dlg.windowTitle(), "Language Setup");
    EXPECT_EQ(dlg.Label1->text(), "Language Mode");
    EXPECT_EQ(dlg.Command1->text(), "&OK");
    EXPECT_EQ(dlg.Command2->text(), "&Cancel");
    dlg.Combo1->setCurrentIndex(1);
    // Nothing changes while the dialog is open.
    EXPECT_EQ(main->menuAction("mnuFile")->text(), "&File");
    dlg.Command1_Click();
    EXPECT_EQ(ws->CurrentLanguage, Chinese);
    EXPECT_EQ(ws->ShownLanguage, English);
    EXPECT_TRUE(test::ReadFile(inst.path("language/mysetup.ini")).contains("CurrentLanguage=2"));

    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    main->ApplyLanguage();
    // Qt's own buttons and dialogs follow the program's language.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("取消"));
    // The same windows, built again in Chinese, each at its place; the one in
    // front is still in front.
    EXPECT_EQ(frames(), before);
    EXPECT_TRUE(ChildTitles().contains(QString::fromUtf8("信道信息")));
    EXPECT_EQ(main->mdiArea()->activeSubWindow()->widget(), main->Editor(Child::ToneTips));
    EXPECT_EQ(main->menuAction("mnuFile")->text(), QString::fromUtf8("文件(&F)"));
    QWidget* channel = main->ChannelWindow();
    main->ApplyLanguage();   // second activation: nothing more
    EXPECT_EQ(main->ChannelWindow(), channel);

    // Back to English through the menu and the dialog's OK button.
    main->ShowChild(Child::OptFeatures);
    AnswerModal("Command1", [](QWidget* d) {
        auto* combo = d->findChild<QComboBox*>("Combo1");
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->itemText(0), QString::fromUtf8("英语"));
        EXPECT_EQ(combo->currentText(), QString::fromUtf8("中文"));
        combo->setCurrentIndex(0);
    });
    main->CloseChild(Child::ToneTips);
    main->menuAction("mnuLanguage")->trigger();
    EXPECT_EQ(ws->CurrentLanguage, English);
    EXPECT_EQ(ChildTitles().size(), 2);
    EXPECT_TRUE(ChildTitles().contains("Channel Information"));
    // With no window open, the channel window comes back.
    main->CloseAllChildren();
    ws->CurrentLanguage = Chinese;
    main->ApplyLanguage();
    EXPECT_EQ(ChildTitles(), QStringList({QString::fromUtf8("信道信息")}));
    ws->CurrentLanguage = English;
    main->ApplyLanguage();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    EXPECT_EQ(main->windowTitle(), "KT-6383 Pro[" + ws->BandRange + "][File Name:new.dat]");
}

TEST_F(ShellTest, LanguageDialogOnAnEnglishSystemOffersEnglishOnly)
{
    Start(English, "[language]\nIsFirstRun=0\nCurrentLanguage=2\n");
    EXPECT_EQ(ws->CurrentLanguage, Chinese);
    FrmSetLanguage dlg(*ws);
    ASSERT_EQ(dlg.Combo1->count(), 1);
    EXPECT_EQ(dlg.Combo1->itemText(0), QString::fromUtf8("英语"));
    EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("语言设置"));
    EXPECT_EQ(dlg.Command1->text(), QString::fromUtf8("确定(&O)"));

    // Cancel changes nothing.
    dlg.Command2_Click();
    EXPECT_EQ(ws->CurrentLanguage, Chinese);
}

TEST_F(ShellTest, ChoosingTheLanguageInUseChangesNothingButRewritesTheKey)
{
    Start();
    main->ShowChild(Child::OptFeatures);
    ASSERT_TRUE(test::WriteFile(inst.path("language/mysetup.ini"), "[language]\nIsFirstRun=0\n"));
    FrmSetLanguage dlg(*ws);
    dlg.Command1_Click();
    EXPECT_EQ(ws->CurrentLanguage, English);
    EXPECT_EQ(ws->ShownLanguage, English);
    EXPECT_TRUE(test::ReadFile(inst.path("language/mysetup.ini")).contains("CurrentLanguage=1"));
    main->ApplyLanguage();
    EXPECT_EQ(ChildTitles().size(), 2);   // nothing closed
}

TEST(FirstRunFrame, HoldsTheEditorWithinNinetyPercentCentred)
{
    const QRect screen(0, 0, 1400, 1000);
    struct Case { QSize wanted; QRect want; };
    const Case cases[] = {
        {{1100, 800}, QRect(150, 100, 1100, 800)},
        {{2000, 1200}, QRect(70, 50, 1260, 900)},
        {{1300, 950}, QRect(70, 50, 1260, 900)},
    };
    for (const Case& c : cases) EXPECT_EQ(FirstRunFrame(c.wanted, screen), c.want);
    EXPECT_EQ(FirstRunFrame({500, 400}, QRect(1400, 0, 1000, 800)).center(), QRect(1400, 0, 1000, 800).center());
}

TEST_F(ShellTest, GeometryFirstRunFitsTheEditorsThenStored)
{
    Start();
    // First run: the option window, the largest editor, fits without
    // scrolling where the screen allows, and the window is centred.
    const QRect avail = main->screen()->availableGeometry();
    EXPECT_LE(main->width(), avail.width() * 9 / 10);
    EXPECT_LE(main->height(), avail.height() * 9 / 10);
    EXPECT_LE(std::abs(main->geometry().center().x() - avail.center().x()), 1);
    main->ShowChild(Child::OptFeatures);
    QMdiSubWindow* opt = main->mdiArea()->activeSubWindow();
    ASSERT_NE(opt, nullptr);
    const QSize room = main->mdiArea()->viewport()->size();
    if (main->width() < avail.width() * 9 / 10 && main->height() < avail.height() * 9 / 10) {
        EXPECT_LE(opt->width(), room.width());
        EXPECT_LE(opt->height(), room.height());
    }
    // No child reaches past the work area where the area is big enough, and
    // one larger than the area sits at its top-left corner.
    for (QMdiSubWindow* s : main->mdiArea()->subWindowList()) {
        if (s->width() >= room.width()) EXPECT_EQ(s->x(), 0);
        else EXPECT_LE(s->geometry().right(), room.width());
        if (s->height() >= room.height()) EXPECT_EQ(s->y(), 0);
        else EXPECT_LE(s->geometry().bottom(), room.height());
    }

    main->resize(640, 480);
    main->close();
    EXPECT_FALSE(main->isVisible());
    store->sync();
    EXPECT_EQ(store->value("Settings/MainWidth").toString(), "9600");
    EXPECT_EQ(store->value("Settings/MainHeight").toString(), "7200");
    EXPECT_TRUE(asker.asked.isEmpty());

    // Stored geometry is used on the next start.
    main.reset();
    Start();
    EXPECT_EQ(main->size(), QSize(640, 480));
}

TEST_F(ShellTest, UnbuiltCommandsDisabledAndStandardShortcuts)
{
    Start();
    for (const char* name : {"mnuKeyAssignm", "mnuScanInfo"}) {
        ASSERT_NE(main->menuAction(name), nullptr) << name;
        EXPECT_FALSE(main->menuAction(name)->isEnabled()) << name;
        EXPECT_FALSE(main->menuAction(name)->text().isEmpty()) << name;
    }
    for (const char* built : {"MnuCheckRadioBand", "MnuFrequencyCheck", "mnuFilePrint", "mnuFileExportPdf",
                              "mnuModelInfo", "mnuHelpTopic"})
        EXPECT_TRUE(main->menuAction(built)->isEnabled()) << built;
    EXPECT_TRUE(main->toolButton(QString::fromUtf8("打印"))->isEnabled());
    EXPECT_TRUE(main->menuAction("mnuFileSave")->isEnabled());
    const std::pair<const char*, const char*> keys[] = {
        {"mnuFileNew", "Ctrl+N"}, {"mnuFileOpen", "Ctrl+O"}, {"mnuFileSave", "Ctrl+S"},
        {"mnuFileSaveAs", "Ctrl+Shift+S"}, {"mnuFileExit", "Ctrl+Q"}, {"mnuFilePrint", "Ctrl+P"},
        {"mnuHelpTopic", "F1"}};
    for (const auto& [name, key] : keys)
        EXPECT_EQ(main->menuAction(name)->shortcut().toString(), QString(key)) << name;
    // The shortcut runs the command: Ctrl+N asks before clearing.
    asker.answers = {Answer::Cancel};
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QTest::keyClick(main->mdiArea(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(asker.asked.size(), 1);
}

TEST_F(ShellTest, ExitWithModifiedData)
{
    Start();
    Modify();
    asker.answers = {Answer::Cancel};
    EXPECT_FALSE(main->close());
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(store->contains("Settings/MainLeft"));

    // Untitled: Yes opens Save As; a cancelled dialog cancels the exit.
    asker.answers = {Answer::Yes};
    EXPECT_FALSE(main->close());
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("new.dat")));

    QDir().mkpath(inst.path("jobs"));
    asker.answers = {Answer::Yes};
    asker.fileNames = {Job("onexit.dat")};
    EXPECT_TRUE(main->close());
    EXPECT_EQ(test::ReadFile(Job("onexit.dat")).size(), kDataFileSize);
    EXPECT_TRUE(store->contains("Settings/MainLeft"));
}

TEST_F(ShellTest, BackgroundLeavesOutThePictureBorder)
{
    Start();
    const QImage pic(inst.bin() + "/PIC/BK_1.jpg");
    ASSERT_FALSE(pic.isNull());
    const QImage tile = main->BackgroundTile();
    ASSERT_EQ(tile.size(), pic.size() - QSize(2, 2));
    EXPECT_EQ(tile.pixel(0, 0), pic.pixel(1, 1));
    EXPECT_EQ(tile.pixel(tile.width() - 1, tile.height() - 1), pic.pixel(pic.width() - 2, pic.height() - 2));

    ws->CurrentLanguage = Chinese;
    main->LoadBKPic();
    EXPECT_EQ(main->BackgroundTile().pixel(5, 5), QImage(inst.bin() + "/PIC/BK_2.jpg").pixel(6, 6));
}

TEST_F(ShellTest, MissingPicturesAreNotReported)
{
    QDir(inst.bin() + "/PIC").removeRecursively();
    Start();
    EXPECT_TRUE(main->BackgroundTile().isNull());
    EXPECT_TRUE(asker.asked.isEmpty());
    EXPECT_TRUE(main->isVisible());
}

TEST_F(ShellTest, ViewTogglesAndTheTreeCloseButton)
{
    Start();
    QAction* tree = main->menuAction("mnuTreeView");
    EXPECT_TRUE(tree->isChecked());
    tree->trigger();
    EXPECT_FALSE(main->Picture1()->isVisible());
    EXPECT_FALSE(tree->isChecked());
    tree->trigger();
    EXPECT_TRUE(main->Picture1()->isVisible());
    EXPECT_TRUE(tree->isChecked());

    QList<QAction*> closeButtons = main->Toolbar1()->actions();
    QAction* close = closeButtons.last();
    EXPECT_EQ(close->data().toString(), QString::fromUtf8("删除"));
    EXPECT_EQ(close->toolTip(), "Close");
    close->trigger();
    EXPECT_FALSE(main->Picture1()->isVisible());
    EXPECT_FALSE(tree->isChecked());

    main->menuAction("mnuViewToolbar")->trigger();
    EXPECT_FALSE(main->tbToolBar()->isVisible());
    main->menuAction("mnuViewToolbar")->trigger();
    EXPECT_TRUE(main->tbToolBar()->isVisible());
    main->menuAction("mnuViewStatusBar")->trigger();
    EXPECT_FALSE(main->sbStatusBar()->isVisible());
}

TEST_F(ShellTest, SplitterKeepsItsLimits)
{
    Start();
    QWidget* bar = main->CommandMove();
    QWidget* pane = main->Picture1();
    const int before = pane->width();
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(2, 50));
    QMouseEvent move(QEvent::MouseMove, QPointF(32, 50), bar->mapToGlobal(QPointF(32, 50)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(bar, &move);
    EXPECT_EQ(pane->width(), before + 32);
    // Narrower than 300 twips (20 pixels): refused.
    QMouseEvent shrink(QEvent::MouseMove, QPointF(-(before + 32) + 10, 50), QPointF(0, 0), Qt::NoButton,
                       Qt::LeftButton, {});
    QApplication::sendEvent(bar, &shrink);
    EXPECT_EQ(pane->width(), before + 32);
    // Wider than the window: refused.
    QMouseEvent grow(QEvent::MouseMove, QPointF(main->width(), 50), QPointF(0, 0), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(bar, &grow);
    EXPECT_EQ(pane->width(), before + 32);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(2, 50));
    QMouseEvent after(QEvent::MouseMove, QPointF(40, 50), QPointF(0, 0), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(bar, &after);
    EXPECT_EQ(pane->width(), before + 32);   // not dragging any more
}

TEST_F(ShellTest, InitialSettingReplacesTheDataAndShowsTheChannelWindow)
{
    Start();
    main->ShowChild(Child::Dtmf);
    Modify();
    main->menuAction("MnuInitial")->trigger();
    EXPECT_FALSE(IsModified(*ws));
    EXPECT_EQ(ChildTitles(), QStringList({"Channel Information"}));
    EXPECT_TRUE(ws->IsUntitled);
}

TEST_F(ShellTest, ListEditPopupPasteFollowsTheClipboard)
{
    Start();
    main->PopupListEditMenu(QPoint(100, 100));
    QMenu* popup = main->menu("MnuListEdit");
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(main->menuAction("MnuLEPaste")->isEnabled(), main->ChannelWindow()->ClipboardFilled());
    EXPECT_TRUE(main->menuAction("MnuLECopy")->isEnabled());
    popup->hide();
    main->CloseAllChildren();
    main->PopupListEditMenu(QPoint(100, 100));
    EXPECT_FALSE(main->menuAction("MnuLEPaste")->isEnabled());
    main->menuAction("MnuLECopy")->trigger();   // no channel window: nothing happens
    popup->hide();
}

TEST_F(ShellTest, AboutBoxesInBothLanguages)
{
    Start();
    FrmAbout2 en(*ws);
    EXPECT_EQ(en.lblTitle->text(), "KT-6383 Pro");
    EXPECT_EQ(en.lblVersion->text(), "Version " KT_VERSION_TEXT);
    frmAbout zh(*ws);
    EXPECT_EQ(zh.lblVersion->text(), QString::fromUtf8("版本 ") + KT_VERSION_TEXT);
    zh.startSystemInfo = [] { return false; };
    zh.cmdSysInfo->click();
    EXPECT_EQ(asker.asked, QStringList({QString::fromUtf8("此时系统信息不可用")}));

    // The menu shows the English box in English.
    QString shown;
    AnswerModal("cmdOK", [&shown](QWidget* d) { shown = d->objectName(); });
    main->menuAction("mnuHelpAbout")->trigger();
    EXPECT_EQ(shown, "FrmAbout2");
    ws->CurrentLanguage = Chinese;
    AnswerModal("cmdOK", [&shown](QWidget* d) { shown = d->objectName(); });
    main->toolButton("About")->trigger();
    EXPECT_EQ(shown, "frmAbout");
}

TEST_F(ShellTest, LaunchStartsTheOtherVersionAndEnds)
{
    ASSERT_TRUE(test::WriteFile(inst.path("Version.ini"),
                                "[Version]\nCurrentVersion=V200\nSoftVersionCount=1\nFirmVersionCount=2\n"
                                "[Soft]\nVersion0=V200\n[Firm]\nFirm0=V200V200\nFirm1=V100V100\n"));
    Start();
    const QString marker = inst.path("started.txt");
    QDir().mkpath(inst.path("V100/RA_418"));
    const QString program = inst.path("V100/RA_418/") + main->ownExecutableName;
    ASSERT_TRUE(test::WriteFile(program, "#!/bin/sh\necho \"$#\" > '" + marker.toUtf8() + "'\n"));
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // A version the registry does not know: the failure text, and the program goes on.
    main->LaunchVersion("V300");
    EXPECT_EQ(asker.asked, QStringList({"Fail to start the software. This version does not exist."}));
    EXPECT_EQ(ended, 0);

    Modify();
    asker.answers = {Answer::No};
    main->LaunchVersion("V100");
    EXPECT_EQ(asker.asked.last(), "File has been modify,save it now?");
    EXPECT_EQ(ended, 1);
    QElapsedTimer t;
    t.start();
    // The shell makes the file before it writes the line: wait for the line.
    while (!test::ReadFile(marker).endsWith('\n') && t.elapsed() < 10000) QTest::qWait(20);
    EXPECT_EQ(test::ReadFile(marker).trimmed(), "0");   // started with no arguments
    // Ending this way skips the shut-down steps.
    EXPECT_TRUE(main->close());
    EXPECT_FALSE(store->contains("Settings/MainLeft"));
}

}  // namespace
}  // namespace kt
