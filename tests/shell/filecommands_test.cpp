// Open, Save, Save As, the save question and the start of another version,
// answered by a script.
#include "shell/FileCommands.h"
#include "shell/Shell.h"
#include "model/DataFile.h"
#include "model/Defaults.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace kt {
namespace {

using test::ReadFile;
using test::TempInstall;
using test::WriteFile;

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ws = inst.workspace();
        ws->Versions = LoadVersionTable(ws->InstallRoot);
        InitDefaults(*ws);
        ws->asker = &asker;
        windows.closeAllChildren = [this] { calls << "close"; };
        windows.showChannelWindow = [this] { calls << "show"; };
        windows.changeLanguage = [this] { calls << "language"; };
        windows.setTitle = [this] { calls << "title"; };
        windows.launchVersion = [this](const QString& v) { calls << "launch " + v; };
    }
    QString Job(const QString& name) const { return inst.path("jobs/" + name); }
    void Modify() { ws->WorkRecord.TxOffset = int32_t(ws->WorkRecord.TxOffset + 7); }
    // A data file of the right length whose first bytes are `version`.
    QString MakeDataFile(const QString& name, const QByteArray& version, int size = kDataFileSize)
    {
        QByteArray bytes = SerializeDataRecord(ws->WorkRecord);
        bytes.replace(0, 4, version.leftJustified(4, ' ').left(4));
        bytes.resize(size, '\0');
        QDir().mkpath(inst.path("jobs"));
        EXPECT_TRUE(WriteFile(Job(name), bytes));
        return Job(name);
    }

    // The channel records the working data's counts ask for.
    QByteArray ChannelFileBytes() const
    {
        QByteArray b;
        for (int band = 0; band < kBands; ++band)
            for (int g = 1; g <= GroupsOfBand(band); ++g)
                for (int s = 1; s <= ws->ChannelCount(band, g); ++s) b += SerializeChannelRecord(ws->Channels(band, s, g));
        return b;
    }

    TempInstall inst;
    std::unique_ptr<Workspace> ws;
    ScriptedAsker asker;
    DocumentWindows windows;
    QStringList calls;
};

TEST_F(FileCommandsTest, SaveOfAnUntitledDocumentGoesToSaveAs)
{
    QDir().mkpath(inst.path("jobs"));
    asker.fileNames = {Job("first.dat")};
    EXPECT_TRUE(SaveCommand(*ws));
    EXPECT_TRUE(asker.asked.isEmpty());   // no overwrite question
    EXPECT_EQ(ReadFile(Job("first.dat")).size(), kDataFileSize);
    EXPECT_TRUE(QFileInfo::exists(Job("first.fre")));
    EXPECT_FALSE(ws->IsUntitled);
    EXPECT_EQ(ws->CurrentFile, Job("first.dat"));
    EXPECT_EQ(FileNameOf(ws->CurrentFile), "first.dat");
}

TEST_F(FileCommandsTest, SaveAsksBeforeOverwriting)
{
    QDir().mkpath(inst.path("jobs"));
    asker.fileNames = {Job("job.dat")};
    ASSERT_TRUE(SaveAsCommand(*ws));
    const QByteArray before = ReadFile(Job("job.dat"));
    Modify();

    asker.answers = {Answer::Cancel};
    EXPECT_FALSE(SaveCommand(*ws));
    ASSERT_EQ(asker.asked.size(), 1);
    EXPECT_EQ(asker.asked[0], "\"job.dat\"file will be Overwrite,Continue?");
    EXPECT_EQ(ReadFile(Job("job.dat")), before);
    EXPECT_TRUE(IsModified(*ws));

    ws->CurrentLanguage = Chinese;
    asker.answers = {Answer::Ok};
    EXPECT_TRUE(SaveCommand(*ws));
    EXPECT_EQ(asker.asked[1], QString::fromUtf8("\"job.dat\"文件将被覆盖，是否继续？"));
    EXPECT_NE(ReadFile(Job("job.dat")), before);
    EXPECT_FALSE(IsModified(*ws));
}

TEST_F(FileCommandsTest, CancelledSaveAsCreatesNothing)
{
    Modify();
    EXPECT_FALSE(SaveAsCommand(*ws));
    EXPECT_EQ(ws->CurrentFile, "new.dat");
    EXPECT_TRUE(ws->IsUntitled);
    EXPECT_TRUE(IsModified(*ws));
    EXPECT_FALSE(QFileInfo::exists(inst.path("jobs")));
}

TEST_F(FileCommandsTest, SaveAsWithoutExtensionAddsDat)
{
    QDir().mkpath(inst.path("jobs"));
    asker.fileNames = {Job("plain")};
    EXPECT_TRUE(SaveAsCommand(*ws));
    EXPECT_EQ(ws->CurrentFile, Job("plain.dat"));
    EXPECT_TRUE(QFileInfo::exists(Job("plain.dat")));
    EXPECT_TRUE(QFileInfo::exists(Job("plain.fre")));
}

TEST_F(FileCommandsTest, FailedSaveKeepsNameAndModifiedState)
{
    Modify();
    asker.fileNames = {inst.path("no/such/folder/x.dat")};
    EXPECT_FALSE(SaveAsCommand(*ws));
    EXPECT_EQ(asker.asked, QStringList({"file error.\n" + inst.path("no/such/folder/x.dat") + ": No such file or directory"}));
    EXPECT_TRUE(IsModified(*ws));
    EXPECT_TRUE(ws->IsUntitled);
    EXPECT_EQ(ws->CurrentFile, "new.dat");
}

TEST_F(FileCommandsTest, FailedSaveLeavesThePreviousFileIntact)
{
    QDir().mkpath(inst.path("jobs"));
    asker.fileNames = {Job("keep.dat")};
    ASSERT_TRUE(SaveAsCommand(*ws));
    const QByteArray before = ReadFile(Job("keep.dat"));
    // The folder goes away under the program's feet: the write must fail.
    Modify();
    ws->CurrentFile = inst.path("jobs/gone/keep.dat");
    asker.answers = {Answer::Ok};
    EXPECT_FALSE(SaveCommand(*ws));
    EXPECT_EQ(asker.asked.last(), "file error.\n" + inst.path("jobs/gone/keep.dat") + ": No such file or directory");
    EXPECT_EQ(ReadFile(Job("keep.dat")), before);
    EXPECT_TRUE(IsModified(*ws));
}

struct SaveQuestionCase {
    const char* name;
    bool untitled;
    QList<Answer> answers;
    QStringList dialogNames;
    bool wantGoOn;
    bool wantSaved;
};
void PrintTo(const SaveQuestionCase& c, std::ostream* os) { *os << c.name; }


class SaveQuestionTest : public FileCommandsTest, public ::testing::WithParamInterface<SaveQuestionCase> {};

TEST_P(SaveQuestionTest, AnswersDecideWhetherTheCommandGoesOn)
{
    const SaveQuestionCase& c = GetParam();
    QDir().mkpath(inst.path("jobs"));
    if (!c.untitled) {
        asker.fileNames = {Job("titled.dat")};
        ASSERT_TRUE(SaveAsCommand(*ws));
        QFile::remove(Job("titled.dat"));
    }
    Modify();
    asker.answers = c.answers;
    for (const QString& n : c.dialogNames) asker.fileNames << (n == "CHOSEN" ? Job("chosen.dat") : n);
    EXPECT_EQ(AskSaveModified(*ws), c.wantGoOn);
    ASSERT_GE(asker.asked.size(), 1);
    EXPECT_EQ(asker.asked[0], "File has been modify,save it now?");
    const QString saved = c.untitled ? Job("chosen.dat") : Job("titled.dat");
    EXPECT_EQ(QFileInfo::exists(saved), c.wantSaved);
    EXPECT_EQ(IsModified(*ws), !c.wantSaved);
    // An untitled document is never written as "new.dat" in the current folder.
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("new.dat")));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SaveQuestionTest,
    ::testing::Values(
        SaveQuestionCase{"CancelStops", false, {Answer::Cancel}, {}, false, false},
        SaveQuestionCase{"NoGoesOn", false, {Answer::No}, {}, true, false},
        SaveQuestionCase{"YesSavesTheCurrentFile", false, {Answer::Yes}, {}, true, true},
        SaveQuestionCase{"UntitledYesOpensSaveAs", true, {Answer::Yes}, {"CHOSEN"}, true, true},
        SaveQuestionCase{"UntitledYesCancelledDialogStops", true, {Answer::Yes}, {}, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileCommandsTest, OpenTellsOfChannelsItCouldNotRead)
{
    const QString path = MakeDataFile("short.dat", "V200");
    ASSERT_TRUE(WriteFile(Job("short.fre"), ChannelFileBytes().left(64 * 3)));
    asker.fileNames = {path};
    OpenCommand(*ws, windows);
    ASSERT_EQ(asker.asked.size(), 1);
    EXPECT_TRUE(asker.asked[0].startsWith("The channel file short.fre is short: ")) << qPrintable(asker.asked[0]);
    EXPECT_EQ(ws->CurrentFile, path);
    EXPECT_TRUE(calls.contains("show"));
}

TEST_F(FileCommandsTest, UnmodifiedDataAreNotQuestioned)
{
    EXPECT_TRUE(AskSaveModified(*ws));
    EXPECT_TRUE(asker.asked.isEmpty());
}

TEST_F(FileCommandsTest, OpenReadsTheFileAndShowsTheChannelWindow)
{
    const QString path = MakeDataFile("good.dat", "V200");
    ASSERT_TRUE(WriteFile(Job("good.fre"), ChannelFileBytes()));
    asker.fileNames = {path};
    OpenCommand(*ws, windows);
    EXPECT_TRUE(asker.asked.isEmpty()) << qPrintable(asker.asked.join("|"));
    EXPECT_EQ(ws->CurrentFile, path);
    EXPECT_EQ(ws->PreviousFile, "new.dat");
    EXPECT_FALSE(ws->IsUntitled);
    EXPECT_EQ(calls.first(), "close");
    EXPECT_TRUE(calls.contains("show"));
    EXPECT_TRUE(calls.contains("language"));
    EXPECT_FALSE(IsModified(*ws));
}

struct OpenFailureCase {
    const char* name;
    QByteArray version;
    int size;           // -1: no file at all
    const char* english;
};
void PrintTo(const OpenFailureCase& c, std::ostream* os) { *os << c.name; }


class OpenFailureTest : public FileCommandsTest, public ::testing::WithParamInterface<OpenFailureCase> {};

TEST_P(OpenFailureTest, RefusedFilesLeaveTheDocumentAsItWas)
{
    const OpenFailureCase& c = GetParam();
    QDir().mkpath(inst.path("jobs"));
    const QString path = c.size < 0 ? Job("missing.dat") : MakeDataFile("bad.dat", c.version, c.size);
    Modify();
    const int32_t before = ws->WorkRecord.TxOffset;
    asker.answers = {Answer::No};   // keep the modified data unsaved
    asker.fileNames = {path};
    OpenCommand(*ws, windows);
    ASSERT_EQ(asker.asked.size(), 2);
    // The text as it stands, then the file and what was wrong with it.
    EXPECT_EQ(asker.asked[1].section('\n', 0, 0), QString(c.english));
    if (asker.asked[1].contains('\n'))
        EXPECT_TRUE(asker.asked[1].section('\n', 1).startsWith(path + ":")) << asker.asked[1].toStdString();
    if (c.size < 0) EXPECT_TRUE(asker.asked[1].endsWith("No such file or directory"));
    EXPECT_EQ(ws->WorkRecord.TxOffset, before);
    EXPECT_TRUE(IsModified(*ws));
    // The refused file is not the document's: a Save must not overwrite it.
    EXPECT_EQ(ws->CurrentFile, "new.dat");
    EXPECT_TRUE(ws->IsUntitled);
    EXPECT_FALSE(calls.contains("show"));
    EXPECT_EQ(QFileInfo::exists(Job("missing.dat")), false);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, OpenFailureTest,
    ::testing::Values(
        OpenFailureCase{"LowerCaseV", "v200", kDataFileSize, "Unknown version Of DataFile!"},
        OpenFailureCase{"Letters", "VABC", kDataFileSize, "Unknown version Of DataFile!"},
        OpenFailureCase{"ShortVersion", "V20", kDataFileSize, "Unknown version Of DataFile!"},
        OpenFailureCase{"OneByteTooMany", "V200", kDataFileSize + 1, "file error."},
        OpenFailureCase{"TooShort", "V200", 100, "file error."},
        OpenFailureCase{"Missing", "", -1, "file error."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileCommandsTest, IncompatibleVersionAsksAndStartsTheOtherVersionOnYes)
{
    const QString path = MakeDataFile("old.dat", "V100");
    asker.fileNames = {path, path};
    asker.answers = {Answer::No};
    OpenCommand(*ws, windows);
    ASSERT_EQ(asker.asked.size(), 1);
    EXPECT_EQ(asker.asked[0], IncompatibleMessage("V200", "V100", 1, English));
    EXPECT_TRUE(asker.asked[0].contains("DataFile version is V1.00\r\nprogramming software is V2.00"));
    EXPECT_FALSE(calls.join(",").contains("launch"));

    asker.answers = {Answer::Yes};
    OpenCommand(*ws, windows);
    EXPECT_TRUE(calls.contains("launch V100"));
    EXPECT_EQ(ws->CurrentFile, "new.dat");
}

TEST_F(FileCommandsTest, CancelledOpenDialogChangesNothing)
{
    OpenCommand(*ws, windows);
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_EQ(ws->CurrentFile, "new.dat");
}

TEST_F(FileCommandsTest, OpenOfModifiedDataAsksFirst)
{
    const QString path = MakeDataFile("good.dat", "V200");
    Modify();
    asker.answers = {Answer::Cancel};
    asker.fileNames = {path};
    OpenCommand(*ws, windows);
    EXPECT_EQ(asker.asked, QStringList({"File has been modify,save it now?"}));
    EXPECT_EQ(asker.fileNames.size(), 1);   // the open dialog was not shown
    EXPECT_TRUE(calls.isEmpty());
}

// ---- another software version -------------------------------------------------

class LaunchTest : public FileCommandsTest {
protected:
    void Registry(const QByteArray& firm)
    {
        ASSERT_TRUE(WriteFile(inst.path("Version.ini"),
                              "[Version]\nCurrentVersion=V200\nSoftVersionCount=2\nFirmVersionCount=2\n"
                              "[Soft]\nVersion0=V200\nVersion1=V100\n[Firm]\nFirm0=V200V200\nFirm1=" + firm + "\n"));
        ws->Versions = LoadVersionTable(ws->InstallRoot);
    }
    QString Target() const { return inst.path("V100/RA_418/kt6383pro"); }
    void InstallTarget()
    {
        QDir().mkpath(inst.path("V100/RA_418"));
        ASSERT_TRUE(WriteFile(Target(), "#!/bin/sh\n"));
    }
    std::function<bool(const QString&)> Starter(bool ok = true)
    {
        return [this, ok](const QString& p) { started << p; return ok; };
    }
    QStringList started;
};

TEST_F(LaunchTest, NoRegistryPairShowsTheFailureText)
{
    EXPECT_FALSE(LaunchVersionFlow(*ws, "V100", "kt6383pro", Starter()));
    EXPECT_EQ(asker.asked, QStringList({"Fail to start the software. This version does not exist."}));
    EXPECT_TRUE(started.isEmpty());
}

TEST_F(LaunchTest, MissingProgramShowsTheFailureText)
{
    Registry("V100V100");
    ws->CurrentLanguage = Chinese;
    EXPECT_FALSE(LaunchVersionFlow(*ws, "V100", "kt6383pro", Starter()));
    EXPECT_EQ(asker.asked, QStringList({QString::fromUtf8("未能启动，不存在此版本软件！")}));
    EXPECT_TRUE(started.isEmpty());
}

TEST_F(LaunchTest, StartsTheMatchingVersionAfterTheSaveQuestion)
{
    Registry("V100V100");
    InstallTarget();
    Modify();
    asker.answers = {Answer::Cancel};
    EXPECT_FALSE(LaunchVersionFlow(*ws, "V100", "kt6383pro", Starter()));
    EXPECT_EQ(asker.asked, QStringList({"File has been modify,save it now?"}));
    EXPECT_TRUE(started.isEmpty());

    asker.answers = {Answer::No};
    EXPECT_TRUE(LaunchVersionFlow(*ws, "V100", "kt6383pro", Starter()));
    EXPECT_EQ(started, QStringList({QDir::cleanPath(Target())}));
}

TEST_F(LaunchTest, AStartThatFailsIsReported)
{
    Registry("V100V100");
    InstallTarget();
    EXPECT_FALSE(LaunchVersionFlow(*ws, "V100", "kt6383pro", Starter(false)));
    EXPECT_EQ(asker.asked, QStringList({"Fail to start the software. This version does not exist."}));
}

}  // namespace
}  // namespace kt
