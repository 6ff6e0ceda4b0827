// Both windows inside the real main window: opened from its menu, closed by
// their Close buttons and by the main window while the player runs.
#include "TestSupport.h"
#include "shell/Shell.h"
#include "gui/frmMain.h"
#include "gui/dtmf/FrmDTMF.h"
#include "gui/rogerbeep/FrmToneTips.h"
#include "rules/rogerbeep/RbRules.h"

#include <QAction>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace kt;

namespace {

struct CountingSink : ToneSink {
    int played = 0;
    QTimer timer;
    std::function<void()> pending;
    CountingSink() {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto d = std::move(pending);
            if (d) d();
        });
    }
    void Play(const RbStep& s, std::function<void()> done) override {
        ++played;
        pending = std::move(done);
        timer.start(s.ms);
    }
    void Cancel() override { timer.stop(); pending = nullptr; }
};

struct InMainWindow : ::testing::Test {
    test::TempInstall inst;
    Workspace ws;
    ScriptedAsker asker;
    std::unique_ptr<QSettings> store;
    std::unique_ptr<frmMain> main;
    CountingSink sink;

    void SetUp() override {
        StartOptions opt;
        opt.programDir = inst.bin();
        opt.root = inst.root();
        StartUp(ws, opt);
        ws.asker = &asker;
        store = std::make_unique<QSettings>(inst.path("geometry.ini"), QSettings::IniFormat);
        main = std::make_unique<frmMain>(ws, store.get());
        main->show();
    }
    void TearDown() override { main.reset(); }
};

}  // namespace

TEST_F(InMainWindow, ClosingAllChildrenWhilePlayingStopsThePlayer)
{
    RbPatternRec& p = Pattern(ws, 1);
    p = RbPatternRec{};
    p.RbRecycle = 10;
    p.RbTone[0][0] = 100;
    p.RbTone[1][0] = 30;
    main->menuAction("mnuToneTips")->trigger();
    FrmToneTips* w = main->ToneTipsWindow();
    ASSERT_NE(w, nullptr);
    w->SetToneSink(&sink);
    QTest::mouseClick(w->findChild<QPushButton*>("cmdPlay"), Qt::LeftButton);
    ASSERT_TRUE(w->IsPlaying());
    QTest::qWait(50);
    main->CloseAllChildren();
    EXPECT_EQ(main->ToneTipsWindow(), nullptr);
    EXPECT_FALSE(sink.timer.isActive());
    const int played = sink.played;
    QTest::qWait(400);
    EXPECT_EQ(sink.played, played);
}

TEST_F(InMainWindow, CloseButtonsUnloadTheWindows)
{
    main->ShowChild(Child::Dtmf);
    main->menuAction("mnuToneTips")->trigger();
    ASSERT_NE(main->DtmfWindow(), nullptr);
    ASSERT_NE(main->ToneTipsWindow(), nullptr);
    QTest::mouseClick(main->DtmfWindow()->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
    QTest::mouseClick(main->ToneTipsWindow()->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !main->DtmfWindow() && !main->ToneTipsWindow(); }, 2000));
}
