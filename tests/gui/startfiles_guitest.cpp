// A job named on the command line (or passed by the file manager) opens as
// File > Open opens it; what cannot be opened is told and the new job stays.
#include "MainWindowTest.h"
#include "gui/StartUpWork.h"
#include "link/Backups.h"
#include "model/ChannelRules.h"
#include "model/Codec.h"
#include "model/DataFile.h"

namespace kt {
namespace {

class StartFilesTest : public MainWindowTest {};

TEST_F(StartFilesTest, TheNamedFileOpensAsOpenDoesAndAnythingElseLeavesTheNewJob)
{
    // A job and an image of it, both with a channel the new job lacks.
    InsertChannel(*ws, 5, 0, 1, "27.18500");
    ASSERT_NE(FindSlot(*ws, 0, 1, 5), 0);
    ws->CurrentFile = inst.path("job.dat");
    ASSERT_EQ(SaveDataFile(*ws).kind, FileResult::Done);
    ClearImage(*ws);
    EncodeImage(*ws);
    const QString image = inst.path("plain.img");
    ASSERT_TRUE(test::WriteFile(image, QByteArray(reinterpret_cast<const char*>(ws->MemImage.data()), int(ws->MemImage.size()))));
    ASSERT_TRUE(test::WriteFile(inst.path("short.img"), QByteArray(100, '\0')));
    ASSERT_TRUE(test::WriteFile(inst.path("bad.dat"), QByteArray(12, 'x')));

    const struct {
        const char* name;
        QStringList paths;
        bool opens;
        QString file;          // the document's name afterwards
        const char* message;   // part of what the user is told; empty: nothing
    } cases[] = {
        {"data file", {inst.path("job.dat")}, true, inst.path("job.dat"), ""},
        {"memory image", {image}, true, "new.dat", ""},
        {"missing file", {inst.path("gone.dat")}, false, "new.dat", "file error.\n"},
        {"not a data file", {inst.path("bad.dat")}, false, "new.dat", "Unknown version Of DataFile!"},
        {"image of the wrong size", {inst.path("short.img")}, false, "new.dat", "Not a memory image"},
        {"two files", {inst.path("job.dat"), image}, false, "new.dat", "Only one file can be opened at a time"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The program as it starts: a new job, nothing asked yet.
        Menu("mnuFileNew");
        main->History().Reset();
        asker.asked.clear();
        OpenFromCommandLine(*main, c.paths);
        EXPECT_EQ(ws->CurrentFile, c.file);
        EXPECT_EQ(ws->IsUntitled, c.file == "new.dat");
        EXPECT_EQ(FindSlot(*ws, 0, 1, 5) != 0, c.opens);
        if (*c.message) {
            ASSERT_EQ(asker.asked.size(), 1);
            EXPECT_TRUE(asker.asked.first().contains(c.message)) << asker.asked.first().toStdString();
        } else {
            EXPECT_TRUE(asker.asked.isEmpty()) << asker.asked.join(" | ").toStdString();
        }
        EXPECT_NE(Channels(), nullptr) << "the channel window shows the job";
    }
}

}  // namespace
}  // namespace kt
