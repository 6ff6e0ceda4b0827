// The option page inside the real main window: opened from the menu and the
// tree, reopening the channel editor through the main window, closed by its button.
#include "TestSupport.h"
#include "shell/Shell.h"
#include "gui/frmMain.h"
#include "gui/channels/frmCommChInfo.h"
#include "gui/options/FrmOptFeatures.h"

#include <QAction>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

namespace kt {
namespace {

class OptInMain : public ::testing::Test {
protected:
    void SetUp() override
    {
        ws = std::make_unique<Workspace>();
        StartOptions opt;
        opt.programDir = inst.bin();
        opt.root = inst.root();
        StartUp(*ws, opt);
        ws->asker = &asker;
        store = std::make_unique<QSettings>(inst.path("geometry.ini"), QSettings::IniFormat);
        main = std::make_unique<frmMain>(*ws, store.get());
        main->show();
    }
    void TearDown() override
    {
        main->hide();
        main.reset();
    }
    QComboBox* List(const char* name) { return main->OptionsWindow()->findChild<QComboBox*>(name); }

    test::TempInstall inst;
    std::unique_ptr<Workspace> ws;
    ScriptedAsker asker;
    std::unique_ptr<QSettings> store;
    std::unique_ptr<frmMain> main;
};

TEST_F(OptInMain, MenuTreePublicSwitchAndClose)
{
    ASSERT_NE(main->ChannelWindow(), nullptr);   // opened at start
    main->menuAction("mnuOptFeature")->trigger();
    FrmOptFeatures* w = main->OptionsWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Optional Features");
    EXPECT_EQ(main->mdiArea()->activeSubWindow()->widget(), w);

    // "HF Public" ON: every HF slot public, and a fresh channel editor shows it.
    QPointer<frmCommChInfo> before = main->ChannelWindow();
    QComboBox* hf = List("Combo1_45");
    ASSERT_NE(hf, nullptr);
    hf->setCurrentIndex(1);
    emit hf->activated(1);
    EXPECT_TRUE(before.isNull());
    ASSERT_NE(main->ChannelWindow(), nullptr);
    EXPECT_EQ(ws->Channels(0, 1, 1).PublicCh, 1);
    EXPECT_EQ(ws->Channels(1, 1, 1).PublicCh, 0);
    EXPECT_EQ(main->OptionsWindow(), w);         // the page itself stays open

    // The Close button unloads the page; the tree opens it again.
    const int windows = main->mdiArea()->subWindowList().size();
    w->findChild<QPushButton*>("cmdClose")->click();
    QTRY_VERIFY(main->OptionsWindow() == nullptr);
    EXPECT_EQ(main->mdiArea()->subWindowList().size(), windows - 1);
    main->TreeNodeClick("N2");
    ASSERT_NE(main->OptionsWindow(), nullptr);
    EXPECT_EQ(List("Combo1_45")->currentText(), "ON");
}

}  // namespace
}  // namespace kt
