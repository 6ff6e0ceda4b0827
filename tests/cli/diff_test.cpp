// kt6383 diff, run as a program: exit status 0 equal, 1 different, 2 for a
// usage error or an input it cannot read; the CSV names each difference's place.
#include "TestSupport.h"

#include <gtest/gtest.h>


namespace kt {
namespace {

using DiffRun = test::ToolRun;

DiffRun Diff(const test::TempInstall& install, QStringList args)
{
    args.prepend("diff");
    return test::RunTool(install, args);
}

int Tool(const test::TempInstall& install, const QStringList& args) { return test::RunTool(install, args).code; }

TEST(DiffCommand, ExitStatusAndCsvRows)
{
    test::TempInstall install;
    const QString dat = install.path("job.dat"), img = install.path("job.img"), ham = install.path("ham.dat");
    ASSERT_EQ(Tool(install, {"new", dat, "--band-class", "0"}), 0);
    ASSERT_EQ(Tool(install, {"new", ham, "--band-class", "1"}), 0);
    ASSERT_EQ(Tool(install, {"convert", dat, img}), 0);

    // Equal: a job and its image, and the simulated radio against the job it starts with.
    EXPECT_EQ(Diff(install, {dat, img}).code, 0);
    const QString trace = install.path("diff.trace.txt");
    const DiffRun radio = Diff(install, {"--port", "sim", "--no-backup", "--rts", "off", "--trace", trace, ham});
    EXPECT_EQ(radio.code, 0) << radio.err.toStdString() << radio.out.toStdString();
    // The read behind --port keeps its link trace where --trace says.
    EXPECT_TRUE(QString::fromUtf8(test::ReadFile(trace)).contains("RTS")) << trace.toStdString();

    // Two changes planted in the image: channel 1 of group A (the job has it)
    // gets the mode byte 201, and a byte no field holds (0x4A16) gets noise.
    QByteArray bytes = test::ReadFile(img);
    ASSERT_EQ(bytes.size(), kImageSize);
    const int record = 0;   // group A, channel 1
    bytes[record + 6] = char(201);
    bytes[0x4A16] = char(bytes[0x4A16] ^ 0x24);
    const QString changed = install.path("changed.img");
    ASSERT_TRUE(test::WriteFile(changed, bytes));
    const DiffRun csv = Diff(install, {img, changed, "--format", "csv"});
    EXPECT_EQ(csv.code, 1) << csv.err.toStdString();
    const QStringList lines = QString::fromUtf8(csv.out).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3) << csv.out.toStdString();
    EXPECT_EQ(lines[0], "kind,band,group,channel,index,address,place,item,field,change,a,b");
    EXPECT_TRUE(lines[1].startsWith("channel,HF,A,1,,,HF group A,CH 1,Mode,changed,FM,201")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("bytes,,,,,0x4A16,")) << lines[2].toStdString();
    // The data file against the changed image: the unheld byte is not the job's.
    EXPECT_EQ(Diff(install, {dat, changed, "--format", "csv"}).out.trimmed().split('\n').size(), 2);

    // Usage errors and unreadable inputs.
    ASSERT_TRUE(test::WriteFile(install.path("short.img"), bytes.left(1000)));
    const DiffRun truncated = Diff(install, {dat, install.path("short.img")});
    EXPECT_EQ(truncated.code, 2);
    EXPECT_TRUE(truncated.err.contains("23745")) << truncated.err.toStdString();
    EXPECT_EQ(Diff(install, {dat}).code, 2);
    EXPECT_EQ(Diff(install, {dat, img, "--format", "xml"}).code, 2);
    EXPECT_EQ(Diff(install, {dat, img, "--trace", trace}).code, 2);   // no port to trace
    EXPECT_EQ(Diff(install, {"--port", "sim", dat, "--dtr", "high"}).code, 2);
    EXPECT_EQ(Diff(install, {dat, install.path("missing.dat")}).code, 2);
    EXPECT_EQ(Diff(install, {dat, install.path("notes.txt")}).code, 2);
}

}  // namespace
}  // namespace kt
