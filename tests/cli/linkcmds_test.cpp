// kt6383 simulate, read and write as programs: the simulator in one process,
// the tool in another, talking over the simulator's pseudo-terminal.
#include "TestSupport.h"
#include "link/SimRadio.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace kt {
namespace {

const QString kTool = QStringLiteral(KT_BUILD_BIN_DIR "/kt6383");

// userHome: the XDG data and config folders the tool gets (empty: this test run's own).
int RunTool(const QStringList& args, QString* err = nullptr, const QString& userHome = {}, QString* out = nullptr)
{
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    if (!userHome.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", userHome + "/data");
        env.insert("XDG_CONFIG_HOME", userHome + "/config");
        p.setProcessEnvironment(env);
    }
    p.start(kTool, args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (err) *err = QString::fromUtf8(p.readAllStandardError());
    if (out) *out = QString::fromUtf8(p.readAllStandardOutput());
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
        {"read", "--port", "sim", "--dtr", "bogus", "x.img"},
        {"write", "--port", "sim", "--rts", "1", "x.img"},
        {"read", "--port", "sim", "x.img", "--dtr"},
        {"read", "--port", "sim:2", "--trace", "t.txt", "x-{port}.img"},
        {"ports", "extra"},
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

TEST_F(LinkTool, ReadAndWriteKeepBackupsThatTheBackupsCommandLists)
{
    const QString home = install.path("home");
    const QString folder = home + "/data/KT-6383 Pro/backups";
    // One kept by an earlier version, in the folder named twice: moved over.
    const QString older = home + "/data/KT-6383 Pro/KT-6383 Pro/backups";
    ASSERT_TRUE(QDir().mkpath(older));
    ASSERT_TRUE(test::WriteFile(older + "/20200101-000000-RU6383R-V200-read.img", QByteArray(23745, '\x11')));
    auto names = [&] { return QDir(folder).entryList({"*.img"}, QDir::Files, QDir::Name); };
    // Each backup this program makes has the trace of its transfer beside it.
    auto traces = [&] { return QDir(folder).entryList({"*.trace.txt"}, QDir::Files, QDir::Name); };
    const QString root = install.root();
    QString err, out;

    ASSERT_EQ(RunTool({"read", "--port", "sim", "--yes", "--root", root, install.path("a.img")}, &err, home), 0)
        << err.toStdString();
    ASSERT_EQ(names().size(), 2);
    EXPECT_FALSE(QDir(home + "/data/KT-6383 Pro/KT-6383 Pro").exists());
    EXPECT_EQ(names()[0], "20200101-000000-RU6383R-V200-read.img");
    EXPECT_TRUE(names()[1].endsWith("-RU6383R-V200-sim-read.img")) << names()[1].toStdString();
    EXPECT_EQ(test::ReadFile(folder + "/" + names()[1]), test::ReadFile(install.path("a.img")));
    ASSERT_EQ(traces(), QStringList{QString(names()[1]).replace(".img", ".trace.txt")});
    EXPECT_TRUE(test::ReadFile(folder + "/" + traces()[0]).contains("| END"));
    ASSERT_EQ(RunTool({"read", "--port", "sim", "--yes", "--no-backup", "--root", root, install.path("b.img")}, &err,
                      home), 0);
    EXPECT_EQ(names().size(), 2);
    ASSERT_EQ(RunTool({"write", "--port", "sim", "--yes", "--root", root, install.path("a.img")}, &err, home), 0)
        << err.toStdString();
    EXPECT_EQ(names().size(), 3);
    ASSERT_TRUE(test::WriteFile(folder + "/broken.img", "not an image"));

    ASSERT_EQ(RunTool({"backups"}, &err, home, &out), 0) << err.toStdString();
    const QStringList lines = out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 4) << out.toStdString();
    EXPECT_TRUE(lines[3].contains("\tunreadable\t")) << lines[3].toStdString();
    EXPECT_TRUE(lines[3].contains("broken.img"));
    const QStringList newest = lines[0].split('\t');
    ASSERT_EQ(newest.size(), 9);
    EXPECT_TRUE(newest[1] == "write" || newest[1] == "read") << lines[0].toStdString();
    EXPECT_EQ(newest[2], "RU6383R");
    EXPECT_EQ(newest[4], "sim");
    EXPECT_EQ(newest[5], "HAM");
    EXPECT_EQ(lines[2].split('\t')[4], "-");   // the old name says no port

    // The limit is a setting: one kept from now on.
    ASSERT_EQ(RunTool({"backups", "--keep", "1"}, &err, home, &out), 0) << err.toStdString();
    EXPECT_EQ(names().size(), 2);   // the newest backup and the file that is none
    EXPECT_EQ(traces().size(), 1);  // the pruned backups' traces went with them
    ASSERT_EQ(RunTool({"read", "--port", "sim", "--yes", "--root", root, install.path("c.img")}, &err, home), 0);
    EXPECT_EQ(names().size(), 2);
    ASSERT_EQ(traces().size(), 1);
    EXPECT_TRUE(names().contains(QString(traces()[0]).replace(".trace.txt", ".img")));
    EXPECT_EQ(RunTool({"backups", "--keep", "none"}, &err, home), 2);

    // A folder that cannot be made: a warning, and the read still succeeds.
    ASSERT_TRUE(QDir().mkpath(install.path("blocked-home")));
    ASSERT_TRUE(test::WriteFile(install.path("blocked-home/data"), "a file where the data folder would be"));
    EXPECT_EQ(RunTool({"read", "--port", "sim", "--yes", "--root", root, install.path("d.img")}, &err,
                      install.path("blocked-home")), 0);
    EXPECT_TRUE(err.contains("warning: The radio's memory was not backed up")) << err.toStdString();
    EXPECT_TRUE(QFile::exists(install.path("d.img")));
}

// The trace's frames, in order: ">" sent by the program, "<" by the radio
// (a reply taken, or bytes that came outside an exchange and were dropped).
QStringList TraceFrames(const QString& text)
{
    static const QRegularExpression line(QStringLiteral("^\\s*\\d+\\.\\d+\\s+(->|<-|<x)\\s+([0-9A-F ]+) \\| "));
    QStringList frames;
    for (const QString& l : text.split('\n')) {
        const auto m = line.match(l);
        if (m.hasMatch()) frames << (m.captured(1) == "->" ? "> " : "< ") + m.captured(2);
    }
    return frames;
}

// What the simulated radio logged, in the same form ("<" there is what it received).
QStringList SimFrames(const QString& log)
{
    QStringList frames;
    for (const QString& l : log.split('\n', Qt::SkipEmptyParts))
        frames << (l.startsWith('<') ? "> " : "< ") + l.mid(2);
    return frames;
}

// A read (with fragmented replies and one bad checksum, so a time-out and a
// repeat) and a write against a radio of its own process: every frame of the
// trace is one that went over the pseudo-terminal, in order, byte for byte;
// the lines and low latency a pseudo-terminal refuses are in the header and
// fail nothing.
TEST_F(LinkTool, TraceHoldsEveryFrameOnTheWireInOrder)
{
    QByteArray job(23745, '\0');
    for (int i = 0; i < job.size(); ++i) job[i] = char(i * 13);
    ASSERT_TRUE(test::WriteFile(install.path("job.img"), job));
    struct Case { const char* command; QStringList simOptions; QString file; QStringList meanings; };
    const Case cases[] = {
        {"read", {"--chunk", "7", "--corrupt-at", "0x400"}, install.path("read.img"),
         {"| handshake\n", "| handshake reply", "| identification request", "| identification: model RU6383R",
          "| read of 0x1230, 16 bytes\n", "| data 16 bytes of 0x1230\n", "bad checksum", "time-out",
          "| read of 0x0400, 16 bytes, repeat\n", "| END\n", "| ack\n", "end: success"}},
        {"write", {}, install.path("job.img"), {"| data 16 bytes for 0x5CB0\n", "| ack\n", "| END\n", "end: success"}},
    };
    for (const Case& c : cases) {
        const QString log = install.path(QStringLiteral("%1-sim.log").arg(c.command));
        const QString trace = install.path(QStringLiteral("%1-trace.txt").arg(c.command));
        StartSim(QStringList{"--log", log} + c.simOptions);
        QString err;
        ASSERT_EQ(RunTool({c.command, "--port", dev, "--yes", "--no-backup", "--trace", trace, "--root", install.root(),
                           c.file}, &err), 0)
            << err.toStdString();
        sim.terminate();
        ASSERT_TRUE(sim.waitForFinished(5000));
        const QString text = QString::fromUtf8(test::ReadFile(trace));
        const QStringList frames = TraceFrames(text);
        EXPECT_GE(frames.size(), 2 * (1484 + 3)) << c.command;
        EXPECT_EQ(frames, SimFrames(QString::fromUtf8(test::ReadFile(log)))) << c.command;
        for (const char* header : {"DTR: off, refused", "RTS: off, refused", "low latency: refused", "program: KT-6383 Pro",
                                   "platform: ", "settings: 9600,N,8,1"})
            EXPECT_TRUE(text.contains(header)) << c.command << " " << header;
        EXPECT_TRUE(text.contains("port: " + dev)) << c.command;
        for (const QString& m : c.meanings) EXPECT_TRUE(text.contains(m)) << c.command << " " << m.toStdString();
    }
}

TEST_F(LinkTool, TraceThatCannotBeWrittenIsSaidAndTheReadStillSucceeds)
{
    const QString trace = install.path("no-such-folder/trace.txt");
    QString err;
    EXPECT_EQ(RunTool({"read", "--port", "sim", "--yes", "--no-backup", "--dtr", "on", "--trace", trace, "--root",
                       install.root(), install.path("x.img")}, &err), 0)
        << err.toStdString();
    EXPECT_TRUE(QFile::exists(install.path("x.img")));
    EXPECT_TRUE(err.contains("The link trace cannot be written to " + trace + ": ")) << err.toStdString();
    EXPECT_FALSE(err.trimmed().endsWith(':')) << "the reason is named";
}

}  // namespace
}  // namespace kt
