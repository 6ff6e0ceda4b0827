// Work that survives a crash: a program killed while editing, started again,
// offers the work back; copies that cannot be read are named with their
// reason and never opened.
#include "MainWindowTest.h"
#include "gui/StartUpWork.h"
#include "model/DataFile.h"
#include "model/Recovery.h"
#include "shell/Autosave.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace kt {
namespace {

class RecoveryTest : public MainWindowTest {
protected:
    QString Base() { return inst.path("recovery"); }
    // Band 0, group A: a group that takes typed channels.
    void GroupA()
    {
        In<QComboBox>(Channels(), "cboBand")->setCurrentIndex(0);
        In<QComboBox>(Channels(), "cboGroup")->setCurrentText("A");
    }
    // Folders of runs below the recovery folder.
    QStringList Runs() { return QDir(Base()).entryList(QDir::Dirs | QDir::NoDotAndDotDot); }
};

// The child's part: open the job, type a frequency, wait to be killed.
void EditUntilKilled(frmMain& main, Workspace& ws, const QString& job, const QString& base,
                     const std::function<void(int, const QString&)>& type, const std::function<QString(int)>& cell,
                     const std::function<void()>& groupA)
{
    ASSERT_TRUE(main.OpenFile(job));
    Autosave keeper(ws, base, &main.History());
    groupA();
    type(3, "28.12300");
    keeper.Flush();
    std::printf("EDITED %s %d\n", qPrintable(cell(3)), keeper.Written());
    std::fflush(stdout);
    // Killed long before; the limit only keeps a lost child from staying.
    for (QElapsedTimer t; !t.isValid() || t.elapsed() < 60000;) {
        if (!t.isValid()) t.start();
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    std::_Exit(3);
}

TEST_F(RecoveryTest, ProgramKilledWhileEditingOffersTheWorkBackUnderItsName)
{
    const QString job = qEnvironmentVariable("KT_RECOVERY_JOB");
    if (!job.isEmpty()) {
        EditUntilKilled(*main, *ws, job, qEnvironmentVariable("KT_RECOVERY_BASE"),
                        [this](int row, const QString& text) { Type(row, text); },
                        [this](int row) { return Cell(row); }, [this] { GroupA(); });
        return;
    }

    // A saved job whose row 3 is not what the child types.
    const QString jobPath = inst.path("job.dat");
    GroupA();
    ws->CurrentFile = jobPath;
    ASSERT_EQ(SaveDataFile(*ws).kind, FileResult::Done);
    const QString before = Cell(3);
    ASSERT_NE(before, "28.12300");

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KT_RECOVERY_JOB", jobPath);
    env.insert("KT_RECOVERY_BASE", Base());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=RecoveryTest.ProgramKilledWhileEditingOffersTheWorkBackUnderItsName", "-platform",
                 "offscreen"});
    ASSERT_TRUE(child.waitForStarted(10000));
    QByteArray out;
    QElapsedTimer t;
    t.start();
    const auto edited = [&out] { return out.indexOf('\n', out.indexOf("EDITED")) > 0 && out.contains("EDITED"); };
    while (!edited() && t.elapsed() < 30000 && child.state() == QProcess::Running) {
        child.waitForReadyRead(200);
        out += child.readAllStandardOutput();
    }
    const QByteArray line = out.mid(out.indexOf("EDITED")).split('\n').first();
    ASSERT_TRUE(line.startsWith("EDITED 28.12300 ")) << out.constData();
    EXPECT_GE(line.split(' ').last().toInt(), 1) << "the child kept no copy";
    child.kill();   // SIGKILL: nothing of the program's own ending runs
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    ASSERT_EQ(Runs().size(), 1);
    // The job on disk is as it was saved; the typed frequency lives only in the copy.

    Start();
    GroupA();
    ASSERT_EQ(Cell(3), before);
    Autosave keeper(*ws, Base(), &main->History());
    asker.asked.clear();
    asker.answers = {Answer::Recover};
    EXPECT_TRUE(OfferRecoveryAtStart(*main, keeper));
    ASSERT_EQ(asker.asked.size(), 1);
    const QRegularExpression question("^Recover the unsaved work from \\d\\d:\\d\\d\\?\n(.*)$");
    const auto m = question.match(asker.asked.first());
    ASSERT_TRUE(m.hasMatch()) << asker.asked.first().toStdString();
    EXPECT_EQ(m.captured(1), QDir::toNativeSeparators(jobPath));

    // Opened modified, under the original name, with what was typed.
    EXPECT_EQ(ws->CurrentFile, jobPath);
    EXPECT_FALSE(ws->IsUntitled);
    EXPECT_TRUE(IsModified(*ws));
    EXPECT_TRUE(main->windowTitle().contains("job.dat"));
    GroupA();
    EXPECT_EQ(Cell(3), "28.12300");
    // The killed run's copy is gone; this run keeps the work now.
    keeper.Flush();
    EXPECT_EQ(Runs(), QStringList{QFileInfo(keeper.Folder()).fileName()});
    EXPECT_GE(keeper.Written(), 1);

    // A save removes the copy.
    ASSERT_TRUE(SaveCurrentFile(*ws));
    keeper.Flush();
    EXPECT_TRUE(QDir(keeper.Folder()).entryList({"work-*", "recovery.ini"}, QDir::Files).isEmpty());
}

// Copies that cannot be read: offered with their reason, never opened;
// Discard removes them, Later keeps them; a running program's copy is not offered.
TEST_F(RecoveryTest, UnreadableCopiesAreNamedWithTheirReasonAndNeverOpened)
{
    const auto leave = [this](const QString& run) {
        Type(2, "28.5550");
        RecoveryFolder f(QDir(Base()).filePath(run));
        EXPECT_TRUE(f.Write(TakeRecoveryCopy(*ws)));
        return f.path();
    };
    const auto edit = [](const QString& path, const std::function<void(QByteArray&)>& change) {
        QByteArray b = test::ReadFile(path);
        change(b);
        ASSERT_TRUE(test::WriteFile(path, b));
    };
    struct Case {
        const char* name;
        std::function<void(const QString&)> spoil;
        const char* reason;
    } cases[] = {
        {"channel byte flipped", [&](const QString& d) { edit(d + "/work-1.fre", [](QByteArray& b) { b[10] = char(b[10] ^ 1); }); },
         "work-1.fre is damaged"},
        {"data file cut short", [&](const QString& d) { edit(d + "/work-1.dat", [](QByteArray& b) { b.chop(9); }); },
         "work-1.dat is damaged"},
        {"channel file gone", [&](const QString& d) { QFile::remove(d + "/work-1.fre"); }, "work-1.fre is missing"},
        {"other version", [&](const QString& d) { edit(d + "/recovery.ini", [](QByteArray& b) { b.replace("Format=1", "Format=7"); }); },
         "another version of the program (format 7"},
        {"index garbled", [&](const QString& d) { ASSERT_TRUE(test::WriteFile(d + "/recovery.ini", "\x01\x02garbage")); },
         "its index is damaged"},
        {"index gone", [&](const QString& d) { QFile::remove(d + "/recovery.ini"); }, "its index is missing"},
    };
    GroupA();
    main->History().Reset();
    const QByteArray document = test::DocumentBytes(*ws);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UndoAll();
        QDir(Base()).removeRecursively();
        const QString folder = leave("run-crashed");
        c.spoil(folder);
        UndoAll();
        const QByteArray shown = test::DocumentBytes(*ws);

        // Later keeps it for the next start.
        Autosave keeper(*ws, Base(), nullptr);
        asker.asked.clear();
        asker.answers = {Answer::Later};
        EXPECT_FALSE(keeper.OfferLeftWork({}));
        ASSERT_EQ(asker.asked.size(), 1);
        EXPECT_TRUE(asker.asked.first().startsWith("The unsaved work from ")) << asker.asked.first().toStdString();
        EXPECT_TRUE(asker.asked.first().contains(c.reason)) << asker.asked.first().toStdString();
        EXPECT_TRUE(QDir(folder).exists());

        // Discard removes it; the document is never touched.
        asker.answers = {Answer::Discard};
        EXPECT_FALSE(keeper.OfferLeftWork({}));
        EXPECT_FALSE(QDir(folder).exists());
        EXPECT_EQ(test::DocumentBytes(*ws), shown);
    }
    EXPECT_EQ(test::DocumentBytes(*ws), document);

    // The copy of a program still running is not another run's left work.
    Type(2, "28.5550");
    Autosave running(*ws, Base(), nullptr);
    running.WriteNow();
    running.Flush();
    Autosave starting(*ws, Base(), nullptr);
    asker.asked.clear();
    EXPECT_FALSE(starting.OfferLeftWork({}));
    EXPECT_TRUE(asker.asked.isEmpty());
    EXPECT_TRUE(QDir(running.Folder()).exists());
}

}  // namespace
}  // namespace kt
