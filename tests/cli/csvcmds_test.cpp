// kt6383 export, import and check, run as a program in a temporary installation root.
#include "TestSupport.h"
#include "model/DataFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace kt {
namespace {

class CsvCommands : public ::testing::Test {
protected:
    test::TempInstall install;
    QString P(const QString& name) const { return install.path(name); }

    test::ToolRun Tool(const QStringList& args, const QByteArray& input = {}) const
    {
        return test::RunTool(install, args, {.input = input});
    }
    // The data record without its date, which every save renews.
    QByteArray Undated(const QString& dat) const {
        DataRecord rec;
        EXPECT_TRUE(ParseDataRecord(test::ReadFile(dat), rec));
        rec.ModelInfo.MiDate.set("");
        return SerializeDataRecord(rec);
    }
};

TEST_F(CsvCommands, ExportThenImportIntoTheSameTemplateGivesThePairBack)
{
    for (const char* cls : {"0", "1"}) {
        ASSERT_EQ(Tool({"new", P("t.dat"), "--band-class", cls}).code, 0);
        // Change channels through a CSV first, so the job is not the template itself.
        test::ToolRun e = Tool({"export", P("t.dat"), "-"});
        ASSERT_EQ(e.code, 0) << e.err.toStdString();
        QByteArray csv = e.out;
        csv.replace(",28.015000,OFF,OFF,Off,Off,Add", ",28.01510,ON,-,C_003(74.4Hz),D_104(754N),Del");
        test::ToolRun i = Tool({"import", "-", P("job.dat"), "--band-class", cls}, csv);
        ASSERT_EQ(i.code, 0) << i.err.toStdString();

        ASSERT_EQ(Tool({"export", P("job.dat"), P("job.csv")}).code, 0);
        test::ToolRun back = Tool({"import", P("job.csv"), P("back.dat"), "--band-class", cls});
        ASSERT_EQ(back.code, 0) << back.err.toStdString();
        EXPECT_EQ(test::ReadFile(P("back.fre")), test::ReadFile(P("job.fre"))) << cls;
        EXPECT_EQ(Undated(P("back.dat")), Undated(P("job.dat"))) << cls;
        EXPECT_NE(test::ReadFile(P("job.fre")), test::ReadFile(P("t.fre"))) << cls;
    }
}

TEST_F(CsvCommands, BadInputNamesLineAndColumnAndWritesNothing)
{
    const QByteArray csv =
        "Band,Group,Channel,Frequency,BUSY,REP,RXCTC,TXCTC,Scan,Public,BOT,EOT,Call,HI-CUT,NB/ANL,ECHO,+10KHz,Roger,Mode\n"
        "HF,A,1,27.185,OFF,OFF,Off,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM\n"
        "HF,A,2,131.5,OFF,OFF,Off,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM\n";
    ASSERT_TRUE(test::WriteFile(P("bad.csv"), csv));
    test::ToolRun r = Tool({"import", P("bad.csv"), P("out.dat")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("bad.csv: line 3, column 4 (Frequency) \"131.5\": cannot be held")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(P("out.dat")));
    EXPECT_FALSE(QFile::exists(P("out.fre")));

    // An export into a folder that does not exist leaves no file behind.
    ASSERT_EQ(Tool({"new", P("t.dat")}).code, 0);
    r = Tool({"export", P("t.dat"), P("nowhere/c.csv")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("nowhere/c.csv: cannot be written")) << r.err.toStdString();
    EXPECT_EQ(QDir(P("")).entryList({"*.csv"}), QStringList{"bad.csv"});
    EXPECT_FALSE(QDir(P("nowhere")).exists());

    EXPECT_EQ(Tool({"import", P("bad.csv")}).code, 2);
    EXPECT_EQ(Tool({"export", P("t.dat"), "-", "--format", "odd"}).code, 2);
    EXPECT_EQ(Tool({"export", P("t.dat"), "-", "--group", "A"}).code, 2);
}

TEST_F(CsvCommands, ANewJobChecksCleanAndAnErrorExitsOne)
{
    for (const char* cls : {"0", "1"}) {
        ASSERT_EQ(Tool({"new", P("t.dat"), "--band-class", cls}).code, 0);
        const test::ToolRun r = Tool({"check", P("t.dat"), "--strict"});
        EXPECT_EQ(r.code, 0) << r.out.constData();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
        EXPECT_TRUE(r.err.contains("0 error(s), 0 note(s)")) << r.err.toStdString();
    }

    // The first record of the channel file is channel 1 of HF group A.
    QByteArray fre = test::ReadFile(P("t.fre"));
    fre.replace(6, 8, "30200000");
    ASSERT_TRUE(test::WriteFile(P("t.fre"), fre));
    const test::ToolRun r = Tool({"check", P("t.dat")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.contains("error\tHF\tA\t1\tfrequency 30.20000 is outside")) << r.out.constData();
}

// A job as a read leaves it: the VFO channels at frequency 0 (their records
// are cleared before an image is written), a channel naming an empty DTMF
// code.  Its export imports back into it unchanged, with a warning for each.
TEST_F(CsvCommands, AReadJobsExportImportsBackIntoIt)
{
    ASSERT_EQ(Tool({"new", P("t.dat"), "--band-class", "1"}).code, 0);
    ASSERT_EQ(Tool({"convert", P("t.dat"), P("radio.img")}).code, 0);
    ASSERT_EQ(Tool({"convert", P("radio.img"), P("job.dat")}).code, 0);
    QByteArray fre = test::ReadFile(P("job.fre"));
    ChannelRec first = ParseChannelRecord(fre.constData());
    first.BotCode = 11;
    fre.replace(0, kChannelRecordSize, SerializeChannelRecord(first));
    ASSERT_TRUE(test::WriteFile(P("job.fre"), fre));

    test::ToolRun e = Tool({"export", P("job.dat"), P("x.csv")});
    ASSERT_EQ(e.code, 0) << e.err.toStdString();
    const QByteArray csv = test::ReadFile(P("x.csv"));
    // The VFO at frequency 0 is "not set": an empty frequency, read back as the zeros it was.
    EXPECT_TRUE(csv.contains("HF,VFO,1,,")) << csv.constData();
    EXPECT_TRUE(csv.contains("HAM,VFO,1,,")) << csv.constData();
    test::ToolRun i = Tool({"import", P("x.csv"), P("y.dat"), "--into", P("job.dat")});
    ASSERT_EQ(i.code, 0) << i.err.toStdString();
    EXPECT_FALSE(i.err.contains("(Frequency)")) << i.err.toStdString();
    EXPECT_TRUE(i.err.contains("(BOT) \"11\": DTMF code 11 is empty; kept as it is")) << i.err.toStdString();
    EXPECT_TRUE(i.out.contains("Changed group(s) the channel grid does not edit: HAM A")) << i.out.constData();
    EXPECT_EQ(test::ReadFile(P("y.dat")), test::ReadFile(P("job.dat")));
    EXPECT_EQ(test::ReadFile(P("y.fre")), test::ReadFile(P("job.fre")));
}

TEST_F(CsvCommands, InterchangeThroughStandardInputAndOutput)
{
    const QByteArray csv =
        "Location;Name;Frequency;Duplex;Offset;Tone;rToneFreq;cToneFreq;DtcsCode;DtcsPolarity;RxDtcsCode;CrossMode;Mode;TStep;Skip;Power;Comment\n"
        "2;;28.305000;;0.000000;TSQL;88.5;123.0;023;NN;023;Tone->Tone;USB;5.00;S;50W;\n"
        "1;;28.300000;;0.000000;;88.5;88.5;023;NN;023;Tone->Tone;WFM;5.00;;50W;\n";
    test::ToolRun r = Tool({"import", "-", P("i.dat"), "--band-class", "1", "--band", "ham"}, csv);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("line 3, column 13 (Mode) \"WFM\"")) << r.err.toStdString();
    r = Tool({"import", "-", P("i.dat"), "--band-class", "1", "--band", "ham", "--drop-unsupported"}, csv);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("line 3, column 13 (Mode) \"WFM\"")) << r.err.toStdString();
    r = Tool({"export", P("i.dat"), "-", "--format", "interchange", "--band", "ham"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[1], "1,,28.300000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,,\r");
    EXPECT_EQ(lines[2], "2,,28.305000,,0.000000,TSQL,123.0,123.0,023,NN,023,Tone->Tone,USB,5.00,S,,\r");
}

}  // namespace
}  // namespace kt
