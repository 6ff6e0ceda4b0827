// kt6383 as a program stopped by Ctrl+C part-way, refusing a pair whose
// channels are missing, and naming a port that is not one.  The radios are
// simulated in this process, paced as a 9600 baud line so that a signal
// lands in the middle of a transfer.
#include "TestSupport.h"
#include "link/SimRadio.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <csignal>
#include <functional>

namespace kt {
namespace {

const QString kTool = QStringLiteral(KT_BUILD_BIN_DIR "/kt6383");

void EnsureApp()
{
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "test_cli";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

bool SpinUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class ToolRun : public ::testing::Test {
protected:
    test::TempInstall install;
    QProcess tool;
    QString err;

    void SetUp() override { EnsureApp(); }
    void TearDown() override
    {
        if (tool.state() != QProcess::NotRunning) {
            tool.kill();
            tool.waitForFinished();
        }
    }
    QString Backups() const { return install.path("home/data/KT-6383 Pro/backups"); }

    // Starts the tool with its user folders in the installation; the event
    // loop keeps running (the simulated radios live in it).
    void Start(const QStringList& args)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", install.path("home/data"));
        env.insert("XDG_CONFIG_HOME", install.path("home/config"));
        tool.setProcessEnvironment(env);
        tool.setStandardInputFile(QProcess::nullDevice());
        tool.start(kTool, args + QStringList{"--root", install.root()});
        ASSERT_TRUE(tool.waitForStarted(10000));
    }
    // The exit status once the tool ended (-1: it did not end, or crashed).
    int Finish(int ms = 60000)
    {
        SpinUntil([&] { return tool.state() == QProcess::NotRunning; }, ms);
        if (tool.state() != QProcess::NotRunning) return -1;
        err = QString::fromUtf8(tool.readAllStandardError());
        return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    }
    int Run(const QStringList& args)
    {
        Start(args);
        return Finish();
    }
    void Signal(int sig) { ::kill(pid_t(tool.processId()), sig); }
};

std::unique_ptr<SimRadio> PacedRadio()
{
    SimOptions o;
    o.baud = 9600;
    auto sim = std::make_unique<SimRadio>(o);
    EXPECT_TRUE(sim->Start());
    return sim;
}

QByteArray JobImage()
{
    QByteArray job(SimRadio::kMemorySize, '\0');
    for (int i = 0; i < job.size(); ++i) job[i] = char((i * 5 + 3) % 251);
    return job;
}

bool EndIsLast(const SimRadio& sim)
{
    const QList<QByteArray> got = sim.Received();
    return !got.isEmpty() && got.last() == QByteArray("END") && sim.EndsReceived() == 1;
}

// Ctrl+C part-way through a read and a write on one port: the block under
// way ends, End reaches the radio (the last thing it hears), the tool says
// what the radio now holds and ends with 130; a write's image stays in the
// backups, a read saves nothing.
TEST_F(ToolRun, CtrlCStopsAReadOrAWriteAfterTheBlockUnderWay)
{
    const QByteArray job = JobImage();
    ASSERT_TRUE(test::WriteFile(install.path("job.img"), job));
    struct Case {
        const char* command;
        QString file;
        QString said;   // %1 the percentage reached
    } cases[] = {
        {"write", install.path("job.img"),
         "Stopped at %1 %: the radio holds part of the old and part of the new data; write it again."},
        {"read", install.path("out.img"), "Stopped at %1 %: the radio was not read and nothing was written."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        auto sim = PacedRadio();
        const std::vector<uint8_t> before = sim->Memory();
        Start({c.command, "--yes", "--port", sim->DevicePath(), c.file});
        ASSERT_TRUE(SpinUntil([&] { return sim->Received().size() > 60; }, 30000));
        Signal(SIGINT);
        ASSERT_EQ(Finish(), 130) << err.toStdString();
        EXPECT_TRUE(EndIsLast(*sim));
        const int blocks = sim->BlocksWritten();
        const int percent = err.section("Stopped at ", 1).section(' ', 0, 0).toInt();
        EXPECT_GT(percent, 0) << err.toStdString();
        EXPECT_LT(percent, 100);
        EXPECT_TRUE(err.contains(c.said.arg(percent))) << err.toStdString();
        if (QString(c.command) == "write") {
            // The radio holds the new data up to where it stopped, the old after.
            ASSERT_GT(blocks, 0);
            const int upTo = blocks * 16;
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(sim->Memory().data()), upTo), job.left(upTo));
            EXPECT_EQ(sim->Memory()[size_t(upTo + 16)], before[size_t(upTo + 16)]);
            const QStringList kept = QDir(Backups()).entryList({"*-write.img"}, QDir::Files);
            ASSERT_EQ(kept.size(), 1);
            EXPECT_EQ(test::ReadFile(Backups() + "/" + kept[0]), job);
        } else {
            EXPECT_EQ(blocks, 0);
            EXPECT_FALSE(QFile::exists(c.file));
            EXPECT_TRUE(QDir(Backups()).entryList({"*-read.img"}, QDir::Files).isEmpty());
        }
    }
}

// A second signal ends the tool at once: it does not wait for End.
TEST_F(ToolRun, ASecondSignalEndsAtOnce)
{
    ASSERT_TRUE(test::WriteFile(install.path("job.img"), JobImage()));
    auto sim = PacedRadio();
    Start({"write", "--yes", "--port", sim->DevicePath(), install.path("job.img")});
    ASSERT_TRUE(SpinUntil([&] { return sim->Received().size() > 20; }, 30000));
    Signal(SIGINT);
    Signal(SIGTERM);   // a signal of another kind is not merged with the first
    ASSERT_EQ(Finish(), 130);
    EXPECT_FALSE(err.contains("Stopped at")) << err.toStdString();
    EXPECT_EQ(sim->EndsReceived(), 0);
}

// Several ports: Ctrl+C sends End to each radio, the summary counts them
// stopped and the job log holds a row for each.
TEST_F(ToolRun, CtrlCStopsSeveralPortsAndLogsTheStoppedRadios)
{
    ASSERT_TRUE(test::WriteFile(install.path("job.img"), JobImage()));
    auto a = PacedRadio();
    auto b = PacedRadio();
    const QString log = install.path("jobs.csv");
    Start({"write", "--yes", "--port", a->DevicePath(), "--port", b->DevicePath(), "--log", log,
           install.path("job.img")});
    ASSERT_TRUE(SpinUntil([&] { return a->BlocksWritten() > 20 && b->BlocksWritten() > 20; }, 30000));
    Signal(SIGINT);
    ASSERT_EQ(Finish(), 130) << err.toStdString();
    EXPECT_TRUE(SpinUntil([&] { return a->EndsReceived() == 1 && b->EndsReceived() == 1; }, 3000));
    EXPECT_TRUE(err.contains("0 written, 0 verified, 0 failed, 0 skipped, 2 stopped")) << err.toStdString();
    const QStringList rows = QString::fromUtf8(test::ReadFile(log)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3);   // the head and one row a radio
    for (int i = 1; i < 3; ++i)
        EXPECT_TRUE(rows[i].contains("the radio holds part of the old and part of the new data")) << rows[i].toStdString();
    EXPECT_EQ(QDir(Backups()).entryList({"*-write.img"}, QDir::Files).size(), 2);
}

// A pair whose channel file is missing, empty, short or a folder is neither
// written nor converted: the line names the channel file and the real number
// of channels missing, and nothing is touched.  --allow-missing-channels goes on.
TEST_F(ToolRun, APairWithoutItsChannelsIsNotWrittenOrConverted)
{
    ASSERT_EQ(Run({"new", install.path("job.dat")}), 0) << err.toStdString();
    const QString fre = install.path("job.fre");
    const QByteArray channels = test::ReadFile(fre);
    const int total = int(channels.size() / 64);
    ASSERT_GT(total, 3);
    auto sim = PacedRadio();
    struct Case {
        const char* name;
        std::function<void()> make;
        int missing;
        const char* notice;
    } cases[] = {
        {"missing", [&] { QFile::remove(fre); }, total, "is missing"},
        {"empty", [&] { test::WriteFile(fre, {}); }, total, "is short"},
        {"short", [&] { test::WriteFile(fre, channels.left(3 * 64 + 10)); }, total - 3, "is short"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(fre).removeRecursively();
        QFile::remove(fre);
        c.make();
        const QString line = QString("job.fre: %1 channels are missing, so nothing was written").arg(c.missing);
        EXPECT_EQ(Run({"write", "--yes", "--port", sim->DevicePath(), install.path("job.dat")}), 1);
        EXPECT_TRUE(err.contains(line)) << err.toStdString();
        EXPECT_TRUE(err.contains(QString("The channel file job.fre ") + c.notice)) << err.toStdString();
        EXPECT_EQ(Run({"convert", install.path("job.dat"), install.path("x.img")}), 1);
        EXPECT_TRUE(err.contains(line)) << err.toStdString();
        EXPECT_FALSE(QFile::exists(install.path("x.img")));
    }
    // A folder in the channel file's place is no pair at all: refused at once.
    QFile::remove(fre);
    QDir().mkdir(fre);
    const QString job = install.path("job.dat"), img = install.path("x.img");
    const QList<QStringList> commands = {
        {"write", "--yes", "--port", sim->DevicePath(), job},
        {"write", "--yes", "--allow-missing-channels", "--port", sim->DevicePath(), job},
        {"convert", job, img},
        {"convert", "--allow-missing-channels", job, img},
    };
    for (const QStringList& args : commands) {
        EXPECT_EQ(Run(args), 1) << args.join(' ').toStdString();
        EXPECT_TRUE(err.contains("job.fre: not a file")) << err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(img));
    QDir(fre).removeRecursively();
    QFile::remove(fre);
    EXPECT_TRUE(sim->Received().isEmpty());
    EXPECT_TRUE(QDir(Backups()).entryList(QDir::Files).isEmpty());

    EXPECT_EQ(Run({"convert", "--allow-missing-channels", install.path("job.dat"), install.path("x.img")}), 0)
        << err.toStdString();
    EXPECT_EQ(test::ReadFile(install.path("x.img")).size(), SimRadio::kMemorySize);
    EXPECT_EQ(Run({"write", "--yes", "--allow-missing-channels", "--port", "sim", install.path("job.dat")}), 0)
        << err.toStdString();
}

// A device that is not a serial port is named so; a count of no simulated
// radios is a mistake of the command line.
TEST_F(ToolRun, PortsThatAreNoPorts)
{
    ASSERT_TRUE(test::WriteFile(install.path("job.img"), JobImage()));
    QDir().mkdir(install.path("folder"));
    for (const QString& port : {QStringLiteral("/dev/null"), install.path("job.img"), install.path("folder")}) {
        EXPECT_EQ(Run({"write", "--yes", "--port", port, install.path("job.img")}), 1);
        EXPECT_TRUE(err.contains(port + " is not a serial port")) << err.toStdString();
        EXPECT_FALSE(err.contains("Inappropriate ioctl")) << err.toStdString();
    }
    for (const char* port : {"sim:0", "sim:x", "sim:"}) {
        EXPECT_EQ(Run({"read", "--yes", "--port", port, install.path("out-{port}.img")}), 2) << port;
        EXPECT_TRUE(err.contains("usage:")) << err.toStdString();
    }
    EXPECT_EQ(test::ReadFile(install.path("job.img")), JobImage());
}

}  // namespace
}  // namespace kt
