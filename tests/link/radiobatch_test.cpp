// Several radios at once over pseudo-terminals: the faults of one port end
// that port as a single transfer would, and leave the others untouched.
#include "LinkTestUtil.h"
#include "link/LinkTexts.h"
#include "link/RadioBatch.h"
#include "link/SimRadio.h"
#include "model/Codec.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kt::test {
namespace {

std::vector<uint8_t> JobImage()
{
    std::vector<uint8_t> image(kImageSize);
    for (int i = 0; i < kImageSize; ++i) image[size_t(i)] = uint8_t(i * 7 + (i >> 9));
    return image;
}

bool SameUpToEnd(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    return std::equal(a.begin(), a.begin() + kEndAddr, b.begin());
}

class BatchTest : public ::testing::Test {
protected:
    LinkFixtureWs f;
    RadioBatch batch;
    QTemporaryDir dir;
    QList<int> questionsSeen;

    void SetUp() override { batch.SetVersions(f.ws->Versions); }

    SimRadio& Sim(int i) { return *batch.Simulator(i); }
    bool RunToEnd(int ms)
    {
        bool done = false;
        QObject::connect(&batch, &RadioBatch::finished, [&] { done = true; });
        return SpinUntil([&] { return done; }, ms);
    }
};

TEST_F(BatchTest, EachPortEndsOnItsOwnAndTheOthersFinishTheirRadios)
{
    ASSERT_TRUE(batch.AddSimulated(6));
    Sim(1).Options().silent = true;           // a radio that never answers
    Sim(2).Options().model = "RU6000X";       // another model
    Sim(3).Options().dropBlockAt = 0x0200;    // a block lost past its repeats, once
    Sim(3).Options().dropCount = 1 + kBlockRepeats;
    Sim(4).Options().stuckByteAt = 0x1234;    // a memory cell that does not take the write
    Sim(5).Options().firmware = "V999";       // firmware this program does not suit
    batch.AddPort(QStringLiteral("/dev/ttyNoSuchPort"));

    // The questions are answered from the rows while the other ports run:
    // Skip for the silent radio, Retry for the lost block.
    QObject::connect(&batch, &RadioBatch::rowChanged, [&](int row) {
        if (batch.Row(row).question == LinkQuestion::None) return;
        questionsSeen << row;
        QTimer::singleShot(0, &batch, [this, row] { batch.AnswerRow(row, row == 1 ? Answer::Cancel : Answer::Retry); });
    });
    BatchOptions o;
    o.image = JobImage();
    o.verify = true;
    o.jobFile = QStringLiteral("job.dat");
    o.logPath = dir.filePath(QStringLiteral("jobs.csv"));
    batch.Start(o);
    ASSERT_TRUE(RunToEnd(60000));

    EXPECT_EQ(batch.Row(0).state, PortState::Done);
    EXPECT_TRUE(SameUpToEnd(Sim(0).Memory(), o.image));
    EXPECT_EQ(batch.Row(0).verified, 1);

    EXPECT_EQ(batch.Row(1).state, PortState::Skipped);
    EXPECT_EQ(Sim(1).BlocksWritten(), 0);

    EXPECT_EQ(batch.Row(2).state, PortState::Skipped);
    EXPECT_EQ(batch.Row(2).detail, QString("Model type is wrong."));
    EXPECT_EQ(Sim(2).BlocksWritten(), 0);
    EXPECT_EQ(Sim(2).EndsReceived(), 1);     // it was let out of programming mode

    EXPECT_EQ(batch.Row(3).state, PortState::Done);   // retried from block 0
    EXPECT_TRUE(SameUpToEnd(Sim(3).Memory(), o.image));

    EXPECT_EQ(batch.Row(4).state, PortState::Failed);
    EXPECT_TRUE(batch.Row(4).detail.contains("0x1234")) << batch.Row(4).detail.toStdString();

    EXPECT_EQ(batch.Row(5).state, PortState::Skipped);
    EXPECT_TRUE(batch.Row(5).detail.contains("V999"));
    EXPECT_EQ(Sim(5).BlocksWritten(), 0);

    EXPECT_EQ(batch.Row(6).state, PortState::Failed);
    EXPECT_TRUE(batch.Row(6).detail.contains("does not exist"));

    EXPECT_EQ(QSet<int>(questionsSeen.begin(), questionsSeen.end()), (QSet<int>{1, 3}));
    const BatchTotals t = batch.Totals();
    EXPECT_EQ(t.written, 3);
    EXPECT_EQ(t.verified, 2);
    EXPECT_EQ(t.failed, 2);
    EXPECT_EQ(t.skipped, 3);

    // One log row a radio that was there (the missing port had none), after the header.
    QFile log(o.logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1 + 6);
    EXPECT_TRUE(lines[0].startsWith("started,ended,port,model,firmware"));
    int verifiedRows = 0;
    for (const QByteArray& l : lines) verifiedRows += l.contains(",Verified.");
    EXPECT_EQ(verifiedRows, 2);
    EXPECT_TRUE(batch.LogError().isEmpty());
}

TEST_F(BatchTest, KeepWritingTakesTheNextRadioOnlyOnceSwapped)
{
    ASSERT_TRUE(batch.AddSimulated(1));
    Sim(0).Options().silentAfterEnd = 1.5;   // unplugged, then another radio plugged in
    Sim(0).Options().freshAfterSilence = true;
    BatchOptions o;
    o.image = JobImage();
    o.keepGoing = true;
    batch.Start(o);
    ASSERT_TRUE(SpinUntil([&] { return batch.Row(0).written == 1; }, 30000));
    // The second radio, once plugged in, stays: it is polled, never written again.
    Sim(0).Options().silentAfterEnd = 0;
    ASSERT_TRUE(SpinUntil([&] { return batch.Row(0).written == 2; }, 30000));
    EXPECT_EQ(Sim(0).RadiosSeen(), 2);
    EXPECT_TRUE(SameUpToEnd(Sim(0).Memory(), o.image));
    SpinUntil([] { return false; }, 1500);
    EXPECT_EQ(batch.Row(0).written, 2);
    EXPECT_EQ(batch.Row(0).state, PortState::NextRadio);
    EXPECT_TRUE(batch.Running());
    batch.Stop();
    EXPECT_FALSE(batch.Running());
    EXPECT_EQ(batch.Row(0).state, PortState::Stopped);
}

// Stop while one radio is half-written, one port waits for its next radio and
// a simulated radio, never unplugged, has ended its port: only the radio
// caught part-way counts as stopped, says how far it got, and is logged.
TEST_F(BatchTest, StopSaysWhichRadiosAreHalfWrittenAndLogsThem)
{
    ASSERT_TRUE(batch.AddSimulated(3));
    Sim(0).Options().silentAfterEnd = 60;      // unplugged after its write: the port waits
    Sim(1).Options().silentFromAddr = 0x0800;  // the cable pulled part-way
    Sim(1).Options().silentFromSeconds = 60;
    BatchOptions o;
    o.image = JobImage();
    o.keepGoing = true;
    o.logPath = dir.filePath(QStringLiteral("jobs.csv"));
    batch.Start(o);
    ASSERT_TRUE(SpinUntil([&] {
        return batch.Row(0).state == PortState::NextRadio && batch.Row(1).question != LinkQuestion::None
               && batch.Row(2).state == PortState::Done;
    }, 30000));
    // The simulated radio that keeps answering is written once and says why.
    EXPECT_EQ(batch.Row(2).written, 1);
    EXPECT_TRUE(batch.Row(2).detail.endsWith(link_txt::SimNotSwapped.in(English))) << batch.Row(2).detail.toStdString();
    EXPECT_EQ(Sim(2).RadiosSeen(), 1);

    const int percent = batch.Row(1).percent;
    EXPECT_GT(percent, 0);
    EXPECT_LT(percent, 100);
    EXPECT_GT(Sim(1).BlocksWritten(), 0);
    EXPECT_TRUE(batch.Busy());
    batch.Stop();
    EXPECT_FALSE(batch.Running());
    EXPECT_FALSE(batch.Busy());

    const QString stopped = QString("Stopped at %1 %: the radio holds part of the old and part of the new data; "
                                    "write it again").arg(percent);
    EXPECT_EQ(batch.Row(1).state, PortState::Stopped);
    EXPECT_EQ(batch.Row(1).detail, stopped);
    EXPECT_EQ(batch.Row(0).state, PortState::Stopped);
    EXPECT_EQ(batch.Row(0).stopped, 0);   // nothing was being written there
    const BatchTotals t = batch.Totals();
    EXPECT_EQ(t.written, 2);
    EXPECT_EQ(t.stopped, 1);
    EXPECT_EQ(batch.StateText(batch.Row(1)), QString("Stopped"));

    // The log: the two radios written and the one stopped, in order of ending.
    QFile log(o.logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1 + 3);
    EXPECT_TRUE(lines[3].contains(",sim2,")) << lines[3].constData();
    EXPECT_TRUE(QString::fromUtf8(lines[3]).contains(QString("Stopped at %1 %").arg(percent))) << lines[3].constData();
}

}  // namespace
}  // namespace kt::test
