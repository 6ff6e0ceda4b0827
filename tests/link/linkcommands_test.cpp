// kt6383 read / write as functions, against a simulated radio in this process.
#include "LinkTestUtil.h"
#include "link/Backups.h"
#include "link/LinkCommands.h"
#include "link/SimRadio.h"
#include "model/DataFile.h"

#include <QDir>
#include <QSettings>
#include <gtest/gtest.h>
#include <unistd.h>

namespace kt::test {
namespace {

class LinkCommandTest : public ::testing::Test {
protected:
    TempInstall install;
    SimRadio sim;
    QString dev;
    void SetUp() override
    {
        EnsureApp();
        ASSERT_TRUE(sim.Start());
        dev = sim.DevicePath();
        for (int i = 0; i < SimRadio::kMemorySize; ++i) sim.Memory()[i] = uint8_t(i * 13 + 5);
    }
    QStringList Args(QStringList more) { return QStringList{"--root", install.root(), "--port", dev} + more; }
};

TEST_F(LinkCommandTest, ReadIntoAnImageCopiesEveryTransferredByte)
{
    const QString out = install.path("radio.img");
    ASSERT_EQ(RunReadCommand(Args({"--yes", out})), 0);
    const QByteArray b = ReadFile(out);
    ASSERT_EQ(b.size(), SimRadio::kMemorySize);
    for (int i = 0; i < 0x5CC0; ++i) ASSERT_EQ(uint8_t(b[i]), sim.Memory()[i]) << i;
    EXPECT_EQ(uint8_t(b[0x5CC0]), 0xFF);
}

TEST_F(LinkCommandTest, ReadIntoADataFilePair)
{
    const QString out = install.path("radio.dat");
    ASSERT_EQ(RunReadCommand(Args({"--yes", out})), 0);
    EXPECT_EQ(ReadFile(out).size(), kDataFileSize);
    EXPECT_TRUE(QFile::exists(ChannelFileOf(out)));
}

TEST_F(LinkCommandTest, WriteAnImageIntoOneAndIntoSeveralRadios)
{
    QByteArray img(SimRadio::kMemorySize, '\0');
    for (int i = 0; i < img.size(); ++i) img[i] = char(i % 251);
    const QString in = install.path("job.img");
    ASSERT_TRUE(WriteFile(in, img));
    for (const QStringList& extra : {QStringList{}, QStringList{"--radios", "1"}}) {
        sim.FillMemory(0);
        ASSERT_EQ(RunWriteCommand(Args(extra + QStringList{"--yes", in})), 0);
        for (int i = 0; i < 0x5CC0; ++i) ASSERT_EQ(sim.Memory()[i], uint8_t(img[i])) << i;
        EXPECT_EQ(sim.Memory()[0x5CC0], 0);
    }
}

// Several ports at once: every radio that can be reached is written and
// verified, the one that cannot is reported and makes the status 1.
TEST_F(LinkCommandTest, SeveralPortsAtOnceWithVerifyAndAJobLog)
{
    QByteArray img(SimRadio::kMemorySize, '\0');
    for (int i = 0; i < img.size(); ++i) img[i] = char(i % 253);
    const QString in = install.path("job.img");
    ASSERT_TRUE(WriteFile(in, img));
    const QString log = install.path("jobs.csv");
    const QStringList common{"--root", install.root(), "--yes", "--port", dev, "--port", "sim:2"};
    QSettings settings(QStringLiteral("KT-6383 Pro"), QStringLiteral("KT-6383 Pro"));
    SetBackupLimit(settings, BackupStore::kDefaultKeep);   // another test may have lowered it
    const QDir backups(BackupStore::DefaultFolder());
    const auto writes = [&] { return backups.entryList({"*-write*.img"}, QDir::Files).size(); };
    const qsizetype before = writes();
    ASSERT_EQ(RunWriteCommand(common + QStringList{"--verify", "--log", log, in}), 0);
    EXPECT_EQ(writes(), before + 3);   // one backup a radio, as for a single write
    for (int i = 0; i < 0x5CC0; ++i) ASSERT_EQ(sim.Memory()[i], uint8_t(img[i])) << i;
    const QList<QByteArray> rows = ReadFile(log).trimmed().split('\n');
    ASSERT_EQ(rows.size(), 4);
    for (int r = 1; r < 4; ++r) EXPECT_TRUE(rows[r].contains(",Written.,Verified.")) << rows[r].constData();
    EXPECT_EQ(RunWriteCommand(common + QStringList{"--port", "/dev/ttyNoSuchPort", in}), 1);

    // Reading: one file a port, named after it; without {port} nothing starts.
    ASSERT_EQ(RunReadCommand(common + QStringList{install.path("out-{port}.dat")}), 0);
    const QString own = install.path("out-" + dev.section('/', -1) + ".dat");
    EXPECT_EQ(ReadFile(own).size(), kDataFileSize);
    EXPECT_TRUE(QFile::exists(ChannelFileOf(install.path("out-sim2.dat"))));
    EXPECT_EQ(RunReadCommand(common + QStringList{install.path("out.img")}), 2);
}

TEST_F(LinkCommandTest, BadCommandLinesAndInputsFailWithoutTouchingTheRadio)
{
    ASSERT_TRUE(WriteFile(install.path("short.img"), QByteArray(100, '\0')));
    const QList<QStringList> reads = {
        {"--yes", install.path("x.img")},                          // no port
        Args({"--yes"}),                                          // no file
        Args({"--yes", "--bogus", install.path("x.img")}),
    };
    for (const QStringList& a : reads) EXPECT_EQ(RunReadCommand(a), 2) << a.join(' ').toStdString();   // usage
    const QList<QStringList> writes = {
        Args({"--yes", install.path("short.img")}),
        Args({"--yes", install.path("missing.img")}),
        Args({"--yes", install.path("missing.dat")}),
    };
    for (const QStringList& a : writes) EXPECT_EQ(RunWriteCommand(a), 1) << a.join(' ').toStdString();
    EXPECT_EQ(RunWriteCommand(Args({"--yes", "--radios", "0", install.path("short.img")})), 2);   // usage
    EXPECT_TRUE(sim.Received().isEmpty());
}

TEST_F(LinkCommandTest, SilentRadioFailsWithoutATerminalToAsk)
{
    if (isatty(0)) GTEST_SKIP() << "standard input is a terminal";
    sim.Options().silent = true;
    EXPECT_EQ(RunReadCommand(Args({"--yes", install.path("x.img")})), 1);
    EXPECT_EQ(sim.TimesOf("PROGRAM").size(), 2);   // question A answered Cancel
    EXPECT_FALSE(QFile::exists(install.path("x.img")));
}

TEST_F(LinkCommandTest, ConfirmationWithoutATerminalIsCancelled)
{
    if (isatty(0)) GTEST_SKIP() << "standard input is a terminal";
    EXPECT_EQ(RunReadCommand(Args({install.path("x.img")})), 1);
    EXPECT_TRUE(sim.Received().isEmpty());
}

}  // namespace
}  // namespace kt::test
