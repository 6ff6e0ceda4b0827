// Bad input to kt6383, one table: each case names what and why on stderr,
// exits 1 at once (no wait on a FIFO, no read without end) and leaves every
// file as it was.
#include "TestSupport.h"
#include "model/DataFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <functional>
#include <sys/stat.h>

namespace kt {
namespace {

const QByteArray kHeader =
    "Band,Group,Channel,Frequency,BUSY,REP,RXCTC,TXCTC,Scan,Public,BOT,EOT,Call,HI-CUT,NB/ANL,ECHO,+10KHz,Roger,Mode\n";
QByteArray Row(const QByteArray& channel, const QByteArray& freq, char sep = ',')
{
    QByteArray r = "HF,A," + channel + "," + freq + ",OFF,OFF,Off,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM\n";
    if (sep != ',') r.replace(',', sep).replace("28" + QByteArray(1, sep) + "015", "28,015");
    return r;
}

struct BadCase {
    const char* what;
    // Makes the files the case needs in dir (which holds job.dat / job.fre)
    // and gives the arguments; stdinBytes is fed to standard input.
    std::function<QStringList(const QString& dir, QByteArray& stdinBytes)> prepare;
    QString message;   // a line of stderr holds it
    int messageLines = 1;   // how many lines of stderr hold it
    QString also = {};      // and one more line holds this
};

QString Dir(const QString& dir, const char* name) { return dir + "/" + name; }

const BadCase kCases[] = {
    {"a device as the CSV", [](const QString& d, QByteArray&) { return QStringList{"import", "/dev/zero", Dir(d, "out.dat")}; },
     "kt6383: /dev/zero: not a file"},
    {"standard input without end",
     [](const QString& d, QByteArray& in) {
         in = QByteArray(16 * 1024 * 1024 + 1, 'x');
         return QStringList{"import", "-", Dir(d, "out.dat")};
     },
     "standard input: the file is larger than 16 MB; a job's channels fit in under 200 kB"},
    {"an image linked to a device",
     [](const QString& d, QByteArray&) {
         QFile::link("/dev/zero", Dir(d, "zero.img"));
         return QStringList{"convert", Dir(d, "zero.img"), Dir(d, "z.dat")};
     },
     "zero.img: not a file"},
    {"a channel file that is a FIFO, shown",
     [](const QString& d, QByteArray&) {
         QFile::copy(Dir(d, "job.dat"), Dir(d, "fifo.dat"));
         ::mkfifo(QFile::encodeName(Dir(d, "fifo.fre")).constData(), 0600);
         return QStringList{"show", Dir(d, "fifo.dat")};
     },
     "fifo.fre: not a file"},
    {"a channel file that is a FIFO, converted",
     [](const QString& d, QByteArray&) {
         QFile::copy(Dir(d, "job.dat"), Dir(d, "fifo.dat"));
         ::mkfifo(QFile::encodeName(Dir(d, "fifo.fre")).constData(), 0600);
         return QStringList{"convert", Dir(d, "fifo.dat"), Dir(d, "fifo.img")};
     },
     "fifo.fre: not a file"},
    {"a data file that is a folder", [](const QString& d, QByteArray&) {
         QDir(d).mkdir("folder.dat");
         return QStringList{"show", Dir(d, "folder.dat")};
     },
     "folder.dat: not a file"},
    {"a data file a byte too long",
     [](const QString& d, QByteArray&) {
         test::WriteFile(Dir(d, "long.dat"), test::ReadFile(Dir(d, "job.dat")) + "x");
         return QStringList{"show", Dir(d, "long.dat")};
     },
     "long.dat: the file has 1,700 bytes; a data file has 1,699 bytes."},
    {"a data file the radio cannot hold",
     [](const QString& d, QByteArray&) {
         QByteArray dat = test::ReadFile(Dir(d, "job.dat"));
         dat[4] = 99;   // BandType
         test::WriteFile(Dir(d, "odd.dat"), dat);
         return QStringList{"show", Dir(d, "odd.dat")};
     },
     "file error. ", 1, "odd.dat: BandType at offset 4 holds a value out of range."},
    {"a UTF-16 CSV",
     [](const QString& d, QByteArray&) {
         const QString text = QString::fromUtf8(kHeader + Row("1", "27.185"));
         QByteArray u16("\xFF\xFE");
         u16 += QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
         test::WriteFile(Dir(d, "u16.csv"), u16);
         return QStringList{"import", Dir(d, "u16.csv"), Dir(d, "out.dat")};
     },
     "u16.csv: the file is UTF-16; save it as UTF-8"},
    {"a header without rows over an existing job",
     [](const QString& d, QByteArray& in) {
         in = kHeader;
         return QStringList{"import", "-", Dir(d, "job.dat")};
     },
     "standard input: the file has no channel rows; nothing was written"},
    {"\";\" with decimal commas",
     [](const QString& d, QByteArray& in) {
         in = QByteArray(kHeader).replace(',', ';');
         for (const char* ch : {"1", "2", "3"}) in += Row(ch, "28,015", ';');
         return QStringList{"import", "-", Dir(d, "out.dat")};
     },
     "the file has \";\" between columns and \",\" as the decimal mark; expected \",\" (or \";\") between columns and "
     "\".\" as the decimal mark"},
    {"tabs between columns",
     [](const QString& d, QByteArray& in) {
         in = QByteArray(kHeader + Row("1", "27.185") + Row("2", "27.195")).replace(',', '\t');
         return QStringList{"import", "-", Dir(d, "out.dat")};
     },
     "the file has tabs between columns and \".\" as the decimal mark"},
    {"a flood of bad channel numbers",
     [](const QString& d, QByteArray& in) {
         in = kHeader;
         for (int i = 0; i < 1000; ++i) in += Row("+5", "27.185");
         return QStringList{"import", "-", Dir(d, "out.dat")};
     },
     "(Channel) \"+5\": not a channel number", 50, "standard input: … and 950 more problems"},
};

class BadInput : public ::testing::TestWithParam<BadCase> {
protected:
    test::TempInstall install;

    test::ToolRun Tool(const QStringList& args, const QByteArray& input = {}) const
    {
        return test::RunTool(install, args, {.input = input});
    }
    // Every regular file of the folder with its bytes.
    QMap<QString, QByteArray> Files(const QString& dir) const
    {
        QMap<QString, QByteArray> m;
        for (const QFileInfo& fi : QDir(dir).entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot))
            m[fi.fileName()] = fi.isFile() && !fi.isSymLink() ? test::ReadFile(fi.absoluteFilePath()) : "(special)";
        return m;
    }
};

TEST_P(BadInput, IsRefusedAndChangesNothing)
{
    const BadCase& c = GetParam();
    const QString dir = install.path("job");
    ASSERT_TRUE(QDir().mkpath(dir));
    ASSERT_EQ(Tool({"new", dir + "/job.dat"}).code, 0);
    QByteArray input;
    const QStringList args = c.prepare(dir, input);
    const QMap<QString, QByteArray> before = Files(dir);

    const test::ToolRun r = Tool(args, input);
    EXPECT_EQ(r.code, 1) << c.what << "\n" << r.err.toStdString();
    const QStringList lines = r.err.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.filter(c.message).size(), c.messageLines) << c.what << "\n" << r.err.toStdString();
    if (!c.also.isEmpty()) EXPECT_EQ(lines.filter(c.also).size(), 1) << c.what << "\n" << r.err.toStdString();
    EXPECT_EQ(Files(dir), before) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Kt6383, BadInput, ::testing::ValuesIn(kCases));

}  // namespace
}  // namespace kt
