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
    SimRadio held;   // a radio on a port of the list, set up by each test

    void SetUp() override
    {
        ws->asker = &asker;
        ws->Versions = LoadVersionTable(ws->InstallRoot);
        ASSERT_TRUE(held.Start());
    }
};

TEST_F(SeveralRadiosTest, ARadioCaughtPartWayAsksInItsRowAndStopSaysItIsHalfWritten)
{
    held.Options().silentFromAddr = 0x0800;   // the cable pulled part-way
    held.Options().silentFromSeconds = 60;
    FrmSeveralRadios w(*ws, [this] { return QStringList{held.DevicePath()}; });
    w.show();
    ASSERT_EQ(w.Ports->count(), 1);
    w.Ports->item(0)->setCheckState(Qt::Checked);
    w.Simulated->setValue(2);
    w.Verify->setChecked(true);
    ASSERT_TRUE(w.StartWriting());
    RadioBatch& b = *w.Batch();
    ASSERT_EQ(w.Rows->rowCount(), 3);
    EXPECT_FALSE(w.Start->isEnabled());

    // The held port asks in its row; the simulated radios finish meanwhile.
    ASSERT_TRUE(SpinUntil([&] { return b.Row(0).question != LinkQuestion::None; }, 10000));
    EXPECT_TRUE(w.Rows->cellWidget(0, 6)->isVisible());
    ASSERT_TRUE(SpinUntil([&] { return b.Row(1).state == PortState::Done && b.Row(2).state == PortState::Done; }, 20000));
    EXPECT_TRUE(b.Running());
    EXPECT_TRUE(asker.asked.isEmpty());   // no modal question

    // Closing now asks; No keeps the window and the radio where it is.
    int asked = 0;
    w.askStop = [&] { ++asked; return false; };
    w.reject();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(w.isVisible());

    const int percent = b.Row(0).percent;
    ASSERT_GT(percent, 0);
    w.Stop->click();
    ASSERT_FALSE(b.Running());
    EXPECT_TRUE(w.Start->isEnabled());
    EXPECT_EQ(w.Rows->item(0, 4)->text(), QString("Stopped"));
    EXPECT_EQ(w.Rows->item(0, 5)->text(),
              QString("Stopped at %1 %: the radio holds part of the old and part of the new data; write it again")
                  .arg(percent));
    EXPECT_EQ(w.Summary->text(), QString("2 written, 2 verified, 0 failed, 0 skipped, 1 stopped."));
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(std::equal(ws->MemImage.begin(), ws->MemImage.begin() + 0x5CC0, b.Simulator(i)->Memory().begin()));
    w.reject();
    EXPECT_EQ(asked, 1);   // nothing runs: no question
}

// Keep writing, in Chinese: the simulated radio (never unplugged) is written
// once and its row says why; with the held port waiting for its next radio,
// nothing is being written and closing asks nothing.
TEST_F(SeveralRadiosTest, KeepWritingClosesWithoutAQuestionWhileEveryPortWaits)
{
    ws->CurrentLanguage = Chinese;
    held.Options().silentAfterEnd = 60;   // unplugged once written
    FrmSeveralRadios w(*ws, [this] { return QStringList{held.DevicePath()}; });
    w.Ports->item(0)->setCheckState(Qt::Checked);
    w.Simulated->setValue(1);
    w.KeepGoing->setChecked(true);
    w.show();
    ASSERT_TRUE(w.StartWriting());
    RadioBatch& b = *w.Batch();
    ASSERT_TRUE(SpinUntil([&] { return b.Row(0).state == PortState::NextRadio && b.Row(1).state == PortState::Done; },
                          20000));
    EXPECT_TRUE(w.Rows->item(1, 5)->text().endsWith(QString::fromUtf8("模拟对讲机不会被更换，此端口不再写入其他对讲机。")))
        << w.Rows->item(1, 5)->text().toStdString();
    EXPECT_TRUE(b.Running());
    int asked = 0;
    w.askStop = [&] { ++asked; return false; };
    w.reject();
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(b.Running());
    EXPECT_EQ(b.Totals().stopped, 0);
    EXPECT_EQ(w.Summary->text(), QString::fromUtf8("已写入 2 台，已校验 0 台，失败 0 台，跳过 0 台，停止 0 台。"));
    EXPECT_TRUE(asker.asked.isEmpty());
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
