// The window "Write to Several Radios" with real ports: simulated radios of
// its own plus one the test holds, which stops answering.
#include "GuiTestHost.h"
#include "TestSupport.h"
#include "base/Versions.h"
#include "gui/link/FrmSeveralRadios.h"
#include "gui/link/GuiTransfers.h"
#include "link/RadioBatch.h"
#include "link/SimRadio.h"
#include "model/Codec.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace kt::test {
namespace {

bool SpinUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class SeveralRadiosTest : public ::testing::Test {
protected:
    TempInstall install;
    std::unique_ptr<Workspace> ws = install.workspace();
    ScriptedAsker asker;
    SimRadio silent;

    void SetUp() override
    {
        ws->asker = &asker;
        ws->Versions = LoadVersionTable(ws->InstallRoot);
        ASSERT_TRUE(silent.Start());
        silent.Options().silent = true;
    }
};

TEST_F(SeveralRadiosTest, WritesEveryRadioWhileOneAsksInItsRowAndClosingAsksFirst)
{
    FrmSeveralRadios w(*ws, [this] { return QStringList{silent.DevicePath()}; });
    w.show();
    ASSERT_EQ(w.Ports->count(), 1);
    w.Ports->item(0)->setCheckState(Qt::Checked);
    w.Simulated->setValue(2);
    w.Verify->setChecked(true);
    ASSERT_TRUE(w.StartWriting());
    RadioBatch& b = *w.Batch();
    ASSERT_EQ(w.Rows->rowCount(), 3);
    EXPECT_FALSE(w.Start->isEnabled());

    // The silent port asks in its row; the simulated radios finish meanwhile.
    ASSERT_TRUE(SpinUntil([&] { return b.Row(0).question != LinkQuestion::None; }, 5000));
    QWidget* actions = w.Rows->cellWidget(0, 6);
    EXPECT_TRUE(actions->isVisible());
    ASSERT_TRUE(SpinUntil([&] { return b.Row(1).state == PortState::Done && b.Row(2).state == PortState::Done; }, 20000));
    EXPECT_TRUE(b.Running());
    EXPECT_TRUE(asker.asked.isEmpty());   // no modal question

    // Closing now asks; No keeps the window and the port waiting.
    int asked = 0;
    w.askStop = [&] { ++asked; return false; };
    w.reject();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(w.isVisible());

    QList<QPushButton*> buttons = actions->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 2);
    buttons[1]->click();   // Skip
    ASSERT_TRUE(SpinUntil([&] { return !b.Running(); }, 3000));
    EXPECT_TRUE(w.Start->isEnabled());
    EXPECT_EQ(w.Rows->item(0, 4)->text(), QString("Skipped"));
    EXPECT_EQ(w.Summary->text(), QString("2 written, 2 verified, 0 failed, 1 skipped."));
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(std::equal(ws->MemImage.begin(), ws->MemImage.begin() + 0x5CC0, b.Simulator(i)->Memory().begin()));
    w.reject();
    EXPECT_EQ(asked, 1);   // nothing runs: no question
}

TEST_F(SeveralRadiosTest, NothingChosenSaysSoInBothLanguages)
{
    for (int lang : {1, 2}) {
        ws->CurrentLanguage = lang;
        FrmSeveralRadios w(*ws, [] { return QStringList{}; });
        EXPECT_EQ(w.windowTitle(), lang == 1 ? QString("Write to Several Radios") : QString("同时写入多台对讲机"));
        EXPECT_FALSE(w.StartWriting());
        EXPECT_EQ(w.Batch(), nullptr);
    }
    ASSERT_EQ(asker.asked.size(), 2);
    EXPECT_EQ(asker.asked[1], QString("请先勾选端口或添加模拟对讲机。"));
}

}  // namespace
}  // namespace kt::test
