// The backup folder: names, newest first, pruning to the limit, files that
// are no backups, and a folder that cannot be written.
#include "TestSupport.h"
#include "link/Backups.h"
#include "link/LinkMachine.h"
#include "link/SimRadio.h"
#include "model/Codec.h"
#include "model/Defaults.h"

#include <QDir>
#include <QSettings>
#include <gtest/gtest.h>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace kt {
namespace {

std::vector<uint8_t> ImageOf(uint8_t seed)
{
    std::vector<uint8_t> image(kImageSize);
    for (int i = 0; i < kImageSize; ++i) image[i] = uint8_t(i * 31 + seed);
    return image;
}

class BackupFolder : public ::testing::Test {
protected:
    test::TempInstall inst;
    QString folder = inst.path("data/backups");
    BackupStore store{folder};
    const QDateTime t0{QDate(2024, 3, 9), QTime(14, 5, 7)};

    QString Save(const std::vector<uint8_t>& image, int kind, int secondsLater)
    {
        QString why;
        const QString path = store.Save(image, kind, "RU6383R", "V200", t0.addSecs(secondsLater), &why);
        EXPECT_FALSE(path.isEmpty()) << why.toStdString();
        return path;
    }
    QStringList Names() const
    {
        QStringList l;
        for (const BackupInfo& b : store.List(English)) l << b.fileName;
        return l;
    }
};

TEST_F(BackupFolder, NamesBytesAndNewestFirst)
{
    const auto read = ImageOf(1), written = ImageOf(2);
    const QString r = Save(read, kRead, 0);
    Save(written, kWrite, 0);
    Save(written, kWrite, 0);   // the same second: kept beside, with a counter
    Save(read, kRead, 61);
    EXPECT_EQ(QFileInfo(r).fileName(), QString("20240309-140507-RU6383R-V200-read.img"));
    EXPECT_EQ(test::ReadFile(r), QByteArray(reinterpret_cast<const char*>(read.data()), kImageSize));
    EXPECT_EQ(Names(), (QStringList{"20240309-140608-RU6383R-V200-read.img", "20240309-140507-RU6383R-V200-write-2.img",
                                    "20240309-140507-RU6383R-V200-write.img", "20240309-140507-RU6383R-V200-read.img"}));
    // What the radio reported goes into the name only as letters, digits, "_" and ".".
    EXPECT_EQ(BackupStore::FileNameFor(t0, "RU 63/83-R", "", kWrite),
              QString("20240309-140507-RU_63_83_R-unknown-write.img"));

    const BackupInfo b = store.List(English).first();
    EXPECT_TRUE(b.readable);
    EXPECT_EQ(b.kind, kRead);
    EXPECT_EQ(b.model, QString("RU6383R"));
    EXPECT_EQ(b.when, t0.addSecs(61));
}

TEST_F(BackupFolder, PruningKeepsTheNewestAndLeavesOtherFilesAlone)
{
    struct { int keep; int left; } cases[] = {{10, 6}, {5, 5}, {3, 3}, {1, 1}, {0, 1}};
    for (const auto& c : cases) {
        QDir(folder).removeRecursively();
        for (int i = 0; i < 6; ++i) Save(ImageOf(uint8_t(i)), i % 2 ? kWrite : kRead, i * 10);
        ASSERT_TRUE(test::WriteFile(folder + "/notes.txt", "mine"));
        store.Prune(c.keep);
        const QStringList names = Names();
        EXPECT_EQ(names.size(), c.left + 1) << c.keep;
        EXPECT_TRUE(names.contains("notes.txt"));
        // The newest stay: the one of t0 + 50 s always.
        EXPECT_TRUE(names.contains("20240309-140557-RU6383R-V200-write.img")) << c.keep;
        if (c.left < 6) {
            EXPECT_FALSE(names.contains("20240309-140507-RU6383R-V200-read.img")) << c.keep;
        }
    }
}

TEST_F(BackupFolder, WhatIsNoReadableBackupIsListedAsUnreadableWithTheReason)
{
    const std::vector<uint8_t> image = SimRadio::FactoryImage(0);
    Save(image, kRead, 0);
    QByteArray cut(reinterpret_cast<const char*>(image.data()), 1000);
    ASSERT_TRUE(test::WriteFile(folder + "/20240309-150000-RU6383R-V200-read.img", cut));   // cut short
    ASSERT_TRUE(test::WriteFile(folder + "/copy.img", QByteArray(kImageSize, '\x11')));    // not named by us

    const QList<BackupInfo> list = store.List(English);
    ASSERT_EQ(list.size(), 3);
    EXPECT_FALSE(list[0].readable);
    EXPECT_TRUE(list[0].problem.contains("1000 bytes")) << list[0].problem.toStdString();
    EXPECT_TRUE(list[1].readable);
    EXPECT_FALSE(list[2].readable);   // no date: last
    EXPECT_EQ(list[2].fileName, QString("copy.img"));
    EXPECT_TRUE(list[2].problem.contains("name"));

    std::vector<uint8_t> loaded;
    EXPECT_FALSE(BackupStore::Load(list[0].path, loaded, nullptr, English));

    // The preview of the good one: the band and the channels the image holds.
    Workspace decoded;
    decoded.MemImage = image;
    DecodeImage(decoded);
    int hf = 0;
    for (int g = 1; g <= GroupsOfBand(0); ++g) hf += decoded.ChannelCount(0, g);
    EXPECT_EQ(list[1].channels[0], hf);
    EXPECT_GT(hf, 0);
    EXPECT_TRUE(BackupPreview(list[1], English).contains(QString("HF channels: %1").arg(hf)));
    EXPECT_TRUE(BackupPreview(list[1], Chinese).contains(QString::fromUtf8("HF 信道：%1").arg(hf)));
}

TEST_F(BackupFolder, AFolderThatCannotBeMadeIsAWarningNamingIt)
{
    ASSERT_TRUE(test::WriteFile(inst.path("blocked"), "a file where the folder would be"));
    Workspace ws;
    const QString warning = BackUpTransfer(inst.path("blocked/backups"), 200, kRead, ImageOf(3), ws);
    EXPECT_TRUE(warning.startsWith("The radio's memory was not backed up")) << warning.toStdString();
    EXPECT_TRUE(warning.contains("blocked")) << warning.toStdString();
    EXPECT_TRUE(BackUpTransfer(folder, 200, kRead, ImageOf(3), ws).isEmpty());
    EXPECT_EQ(store.List(English).size(), 1);
}

TEST_F(BackupFolder, TheLimitIsASettingOfAtLeastOne)
{
    QSettings settings(inst.path("settings.ini"), QSettings::IniFormat);
    EXPECT_EQ(BackupLimit(settings), 200);
    SetBackupLimit(settings, 12);
    EXPECT_EQ(BackupLimit(settings), 12);
    SetBackupLimit(settings, 0);
    EXPECT_EQ(BackupLimit(settings), 1);
}

// The port goes into the name, as the last part of a device path; a backup
// named before ports were kept still reads, with no port.
TEST_F(BackupFolder, ThePortIsKeptInTheNameAndOlderNamesStillRead)
{
    struct Case { QString port; const char* name; const char* listed; };
    const Case cases[] = {
        {"/dev/ttyUSB0", "20240309-140507-RU6383R-V200-ttyUSB0-write.img", "ttyUSB0"},
        {"COM3", "20240309-140508-RU6383R-V200-COM3-write.img", "COM3"},
        {"sim2", "20240309-140509-RU6383R-V200-sim2-write.img", "sim2"},
        {"/dev/pts/a-b", "20240309-140510-RU6383R-V200-a_b-write.img", "a_b"},
        {"", "20240309-140511-RU6383R-V200-write.img", ""},
    };
    for (int i = 0; i < int(std::size(cases)); ++i) {
        QString why;
        const QString path = store.Save(ImageOf(uint8_t(i)), kWrite, "RU6383R", "V200", t0.addSecs(i), &why,
                                        cases[i].port);
        EXPECT_EQ(QFileInfo(path).fileName(), QString(cases[i].name)) << why.toStdString();
    }
    // Two of one port in one second keep both.
    store.Save(ImageOf(9), kWrite, "RU6383R", "V200", t0, nullptr, "COM3");
    const QList<BackupInfo> list = store.List(English);
    ASSERT_EQ(list.size(), 6);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const BackupInfo& b = list[int(std::size(cases)) - 1 - i];
        EXPECT_EQ(b.fileName, QString(cases[i].name));
        EXPECT_TRUE(b.readable) << b.fileName.toStdString();
        EXPECT_EQ(b.port, QString(cases[i].listed)) << b.fileName.toStdString();
        EXPECT_EQ(b.model, QString("RU6383R"));
        EXPECT_EQ(b.firmware, QString("V200"));
    }
}

// Earlier versions kept the backups under the program's name twice; they
// are moved to the one folder, a name taken there gets a counter, and what
// is no backup stays where it was.
TEST_F(BackupFolder, BackupsOfTheDoubledFolderAreTakenOver)
{
    const QString data = test::UserDataHome();
    EXPECT_EQ(BackupStore::DefaultFolder(), data + "/KT-6383 Pro/backups");
    const QString older = BackupStore::OlderDefaultFolder();
    EXPECT_EQ(older, data + "/KT-6383 Pro/KT-6383 Pro/backups");

    const BackupStore olderStore(older);
    const BackupStore current(BackupStore::DefaultFolder());
    const QString a = olderStore.Save(ImageOf(1), kRead, "RU6383R", "V200", t0, nullptr);
    const QString b = olderStore.Save(ImageOf(2), kWrite, "RU6383R", "V200", t0, nullptr);
    current.Save(ImageOf(3), kRead, "RU6383R", "V200", t0, nullptr);   // the same name as a
    auto listed = [&] {
        QStringList l;
        for (const BackupInfo& i : current.List(English)) l << i.path;
        return l;
    };
    // Not yet moved: listed all the same.
    EXPECT_TRUE(listed().contains(QFileInfo(a).absoluteFilePath()));

    ASSERT_TRUE(test::WriteFile(older + "/notes.txt", "mine"));
    EXPECT_EQ(BackupStore::TakeOverOlderDefault(), 2);
    EXPECT_FALSE(QFile::exists(a));
    EXPECT_FALSE(QFile::exists(b));
    EXPECT_TRUE(QFile::exists(older + "/notes.txt"));
    const QString moved = current.Folder() + "/20240309-140507-RU6383R-V200-read-2.img";
    std::vector<uint8_t> image;
    ASSERT_TRUE(BackupStore::Load(moved, image, nullptr, English));
    EXPECT_EQ(image, ImageOf(1));
    ASSERT_TRUE(BackupStore::Load(current.Folder() + "/20240309-140507-RU6383R-V200-read.img", image, nullptr, English));
    EXPECT_EQ(image, ImageOf(3));
    EXPECT_TRUE(listed().contains(current.Folder() + "/20240309-140507-RU6383R-V200-write.img"));

    // Once empty, the doubled folders go.
    ASSERT_TRUE(QFile::remove(older + "/notes.txt"));
    EXPECT_EQ(BackupStore::TakeOverOlderDefault(), 0);
    EXPECT_FALSE(QDir(older).exists());
    EXPECT_FALSE(QDir(data + "/KT-6383 Pro/KT-6383 Pro").exists());
    QDir(current.Folder()).removeRecursively();
}

}  // namespace
}  // namespace kt
