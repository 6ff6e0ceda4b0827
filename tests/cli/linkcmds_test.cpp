// kt6383 simulate, read and write as programs: the simulator in one process,
// the tool in another, talking over the simulator's pseudo-terminal.
#include "TestSupport.h"
#include "link/SimRadio.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace kt {
namespace {

const QString kTool = QStringLiteral(KT_BUILD_BIN_DIR "/kt6383");

int RunTool(const QStringList& args, QString* err = nullptr)
{
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(kTool, args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (err) *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

class LinkTool : public ::testing::Test {
protected:
    test::TempInstall install;
    QProcess sim;
    QString dev;

    void StartSim(const QStringList& extra)
    {
        sim.start(kTool, QStringList{"simulate"} + extra);
        ASSERT_TRUE(sim.waitForReadyRead(10000));
        dev = QString::fromUtf8(sim.readLine()).trimmed();
        ASSERT_TRUE(dev.startsWith("/dev/")) << dev.toStdString();
    }
    void TearDown() override
    {
        if (sim.state() != QProcess::NotRunning) {
            sim.terminate();
            if (!sim.waitForFinished(5000)) sim.kill();
        }
    }
};

TEST_F(LinkTool, ReadAndWriteAgainstTheSimulatorWithItsMemoryFiles)
{
    QByteArray radio(23745, '\0');
    for (int i = 0; i < radio.size(); ++i) radio[i] = char((i * 7) ^ (i >> 9));
    ASSERT_TRUE(test::WriteFile(install.path("radio.img"), radio));
    StartSim({"--load", install.path("radio.img"), "--save", install.path("after.img")});

    QString err;
    ASSERT_EQ(RunTool({"read", "--port", dev, "--yes", "--root", install.root(), install.path("read.img")}, &err), 0)
        << err.toStdString();
    const QByteArray read = test::ReadFile(install.path("read.img"));
    ASSERT_EQ(read.size(), radio.size());
    EXPECT_EQ(read.left(0x5CC0), radio.left(0x5CC0));
    EXPECT_EQ(uint8_t(read[0x5CC0]), 0xFF);

    QByteArray job(23745, '\0');
    for (int i = 0; i < job.size(); ++i) job[i] = char(i % 253);
    ASSERT_TRUE(test::WriteFile(install.path("job.img"), job));
    ASSERT_EQ(RunTool({"write", "--port", dev, "--yes", "--root", install.root(), install.path("job.img")}, &err), 0)
        << err.toStdString();

    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitCode(), 0);
    const QByteArray after = test::ReadFile(install.path("after.img"));
    ASSERT_EQ(after.size(), job.size());
    EXPECT_EQ(after.left(0x5CC0), job.left(0x5CC0));
    EXPECT_EQ(after[0x5CC0], radio[0x5CC0]);   // the last byte is never sent
}

TEST_F(LinkTool, FailuresExitWithOneAndSayWhy)
{
    StartSim({"--model", "AB1234C"});
    QString err;
    EXPECT_EQ(RunTool({"read", "--port", dev, "--yes", "--root", install.root(), install.path("x.img")}, &err), 1);
    EXPECT_TRUE(err.contains("Model type is wrong.")) << err.toStdString();
    EXPECT_EQ(RunTool({"read", "--port", install.path("nothing"), "--yes", install.path("x.img")}, &err), 1);
    EXPECT_TRUE(err.contains("Cannot Open Communication Port.")) << err.toStdString();
    EXPECT_EQ(RunTool({"simulate", "--load", install.path("missing.img")}, &err), 1);
    EXPECT_FALSE(QFile::exists(install.path("x.img")));
}

TEST_F(LinkTool, UnsuitableFirmwareIsReportedNotAsked)
{
    StartSim({"--firmware", "V100"});
    QString err;
    EXPECT_EQ(RunTool({"read", "--port", dev, "--yes", "--root", install.root(), install.path("x.img")}, &err), 1);
    EXPECT_TRUE(err.contains("firmware V1.00 does not suit this program (software V2.00)")) << err.toStdString();
    EXPECT_TRUE(err.contains("names no software version")) << err.toStdString();
    EXPECT_FALSE(err.contains("[y]es")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(install.path("x.img")));
}

TEST(LinkToolUsage, CommandLineMistakesExitWithTwo)
{
    const QStringList cases[] = {
        {"read", "x.img"},                      // no --port
        {"write", "--port", "sim"},             // no input file
        {"write", "--port", "sim", "--radios", "none", "x.img"},
        {"simulate", "--no-such-option"},
    };
    for (const QStringList& args : cases) {
        QString err;
        EXPECT_EQ(RunTool(args, &err), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(err.contains("usage:")) << err.toStdString();
    }
}

TEST_F(LinkTool, BuiltInSimulatedRadio)
{
    QString err;
    EXPECT_EQ(RunTool({"read", "--port", "sim", "--yes", "--root", install.root(), install.path("blank.img")}, &err), 0)
        << err.toStdString();
    // The built-in radio holds the HAM band's new-document defaults; the last
    // byte is never transferred.
    const std::vector<uint8_t> factory = SimRadio::FactoryImage(1);
    const QByteArray want(reinterpret_cast<const char*>(factory.data()), 0x5CC0);
    EXPECT_EQ(test::ReadFile(install.path("blank.img")).left(0x5CC0), want);
}

}  // namespace
}  // namespace kt
