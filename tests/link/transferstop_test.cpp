// A transfer stopped by the user, the Write of a document whose channel file
// gave too few channels, and a port that is no serial port: through the real
// serial code against the simulated radio.
#include "LinkTestUtil.h"
#include "link/SerialLink.h"
#include "link/SimRadio.h"
#include "link/Transfer.h"
#include "model/DataFile.h"
#include "model/Defaults.h"

#include <QFile>
#include <gtest/gtest.h>

namespace kt::test {
namespace {

class TransferStopTest : public ::testing::Test {
protected:
    LinkFixtureWs f;
    Workspace& ws = *f.ws;
    SimRadio sim;
    std::unique_ptr<Transfer> t;

    void SetUp() override
    {
        ASSERT_TRUE(sim.Start()) << sim.ErrorText().toStdString();
        t = std::make_unique<Transfer>(ws);
        t->SetSimulator(&sim);
        ws.comPort = kSimulatedPortKey;
    }
    int Asked(const QString& text) const { return int(f.asker.asked.count(text)); }
};

// The Write of a pair opened without its channels asks first, in the current
// language, with the real number missing; No sends nothing.  The question
// goes with the document: after a Save, or a read that replaces it, it is not asked.
TEST_F(TransferStopTest, WriteOfAPairWithoutItsChannelsAsksUntilTheDocumentIsSavedOrReplaced)
{
    const QString dat = f.install.path("job.dat");
    InitDefaults(ws);
    ws.CurrentFile = dat;
    ASSERT_EQ(SaveDataFile(ws).kind, FileResult::Done);
    const QString fre = ChannelFileOf(dat);
    const int total = int(QFileInfo(fre).size() / 64);
    ASSERT_GT(total, 5);
    ASSERT_TRUE(WriteFile(fre, ReadFile(fre).left(5 * 64)));   // five channels left
    const QByteArray datBytes = ReadFile(dat), freBytes = ReadFile(fre);

    auto reopen = [&] {
        ASSERT_TRUE(WriteFile(dat, datBytes));   // as before any Save made the loss permanent
        ASSERT_TRUE(WriteFile(fre, freBytes));
        InitDefaults(ws);
        ws.CurrentFile = dat;
        const FileResult r = OpenDataFile(ws);
        ASSERT_EQ(r.kind, FileResult::Done);
        EXPECT_FALSE(r.notice.isEmpty());
    };
    reopen();
    const QString english = QString("The channel file was missing: %1 channels will not be written. Write anyway?")
                                .arg(total - 5);
    f.asker.answers = {Answer::No};
    EXPECT_FALSE(t->Write());
    EXPECT_EQ(f.asker.asked, QStringList{english});
    EXPECT_TRUE(sim.Received().isEmpty());

    ws.CurrentLanguage = Chinese;
    f.asker.asked.clear();
    f.asker.answers = {Answer::No};
    EXPECT_FALSE(t->Write());
    EXPECT_EQ(f.asker.asked, QStringList{QString("信道文件缺失：%1 个信道将不会写入。仍要写入吗？").arg(total - 5)});
    ws.CurrentLanguage = English;

    f.asker.asked.clear();   // Yes writes what the document holds
    EXPECT_TRUE(t->Write());
    EXPECT_EQ(Asked(english), 1);
    EXPECT_GT(sim.BlocksWritten(), 0);

    for (int replaced = 0; replaced < 2; ++replaced) {
        reopen();
        if (replaced == 0) ASSERT_EQ(SaveDataFile(ws).kind, FileResult::Done);
        else ASSERT_TRUE(t->Read());
        f.asker.asked.clear();
        EXPECT_TRUE(t->Write());
        EXPECT_EQ(Asked(english), 0) << replaced;
    }
}

// Stopped part-way through a write: the block under way ends, End is the last
// frame the radio hears, and the write fails without "Write Data Completed.".
TEST_F(TransferStopTest, StopPartWayEndsTheBlockUnderWayThenSendsEnd)
{
    InitDefaults(ws);
    sim.Options().baud = 9600;
    int stoppedAt = -1;
    QObject::connect(&sim, &SimRadio::FrameReceived, t.get(), [&] {
        if (stoppedAt < 0 && sim.BlocksWritten() >= 30) {
            stoppedAt = sim.BlocksWritten();
            t->RequestStop();
        }
    });
    EXPECT_FALSE(t->Write());
    EXPECT_TRUE(t->Stopped());
    ASSERT_GE(stoppedAt, 30);
    EXPECT_LE(sim.BlocksWritten(), stoppedAt + 1);   // nothing after the block under way
    EXPECT_EQ(sim.Received().last(), QByteArray("END"));
    EXPECT_EQ(sim.EndsReceived(), 1);
    EXPECT_TRUE(t->Machine().BlocksSent());
    EXPECT_EQ(Asked("Write Data Completed."), 0);
    EXPECT_FALSE(t->IsPortOpen());

    // The next write is whole again.
    sim.Options().baud = 0;
    sim.ClearLog();
    EXPECT_TRUE(t->Write());
    EXPECT_FALSE(t->Stopped());
    EXPECT_EQ(Asked("Write Data Completed."), 1);
}

TEST(SerialPortTest, ADeviceThatIsNoSerialPortIsNamedSoInBothLanguages)
{
    EnsureApp();
    SerialLink link;
    QString reason;
    EXPECT_FALSE(link.Open("/dev/null", &reason, English));
    EXPECT_EQ(reason, "/dev/null is not a serial port");
    EXPECT_FALSE(link.Open("/dev/null", &reason, Chinese));
    EXPECT_EQ(reason, "/dev/null 不是串口");
}

}  // namespace
}  // namespace kt::test
