// kt6383 fill, run as a program: the CB plan read back through kt6383 export,
// and refused fills that leave the pair as it was, byte for byte.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace kt {
namespace {

class FillCommand : public ::testing::Test {
protected:
    test::TempInstall install;
    QString P(const QString& name) const { return install.path(name); }

    using Result = test::ToolRun;
    Result Tool(const QStringList& args) const { return test::RunTool(install, args); }
    // (group letter, channel) -> kHz of the HF rows kt6383 export gives.
    std::map<std::pair<QString, int>, long long> Exported(const QString& dat) const
    {
        const Result e = Tool({"export", dat, "-"});
        EXPECT_EQ(e.code, 0) << e.err.toStdString();
        std::map<std::pair<QString, int>, long long> rows;
        for (const QByteArray& line : e.out.split('\n')) {
            const QList<QByteArray> cells = line.trimmed().split(',');
            if (cells.size() < 4 || cells[0] != "HF" || cells[3].isEmpty()) continue;
            rows[{QString::fromLatin1(cells[1]), cells[2].toInt()}] = qRound64(cells[3].toDouble() * 1000.0);
        }
        return rows;
    }
    QByteArray Pair(const QString& stem) const
    {
        return test::ReadFile(P(stem + ".dat")) + "|" + test::ReadFile(P(stem + ".fre"));
    }
};

// 26.965-27.405 MHz as published, in kHz.
constexpr long long kGroupF[40] = {26965, 26975, 26985, 27005, 27015, 27025, 27035, 27055, 27065, 27075,
                                   27085, 27105, 27115, 27125, 27135, 27155, 27165, 27175, 27185, 27205,
                                   27215, 27225, 27255, 27235, 27245, 27265, 27275, 27285, 27295, 27305,
                                   27315, 27325, 27335, 27345, 27355, 27365, 27375, 27385, 27395, 27405};

TEST_F(FillCommand, CbPlansOfSeveralGroupsExportAsTheRaster)
{
    ASSERT_EQ(Tool({"new", P("job.dat"), "--band-class", "0"}).code, 0);
    Result f = Tool({"fill", P("job.dat"), "--group", "F", "--plan", "cb40"});
    ASSERT_EQ(f.code, 0) << f.err.toStdString();
    f = Tool({"fill", P("job.dat"), "--group", "b", "--band", "hf", "--plan", "cb40", "--grid", "0"});
    ASSERT_EQ(f.code, 0) << f.err.toStdString();
    f = Tool({"fill", P("job.dat"), "--group", "C", "--start", "28.000", "--step", "0.010", "--channels", "3-5",
              "-o", P("out.dat")});
    ASSERT_EQ(f.code, 0) << f.err.toStdString();

    const auto job = Exported(P("job.dat"));
    for (int ch = 1; ch <= 40; ++ch) {
        EXPECT_EQ(job.at({"F", ch}), kGroupF[ch - 1]) << "F" << ch;
        // B lies four segments below F, on the 0 grid: 1,800 kHz and 5 kHz lower.
        EXPECT_EQ(job.at({"B", ch}), kGroupF[ch - 1] - 1805) << "B" << ch;
    }
    EXPECT_EQ(job.count({"C", 3}), 0u);   // -o left the job as it was
    const auto out = Exported(P("out.dat"));
    EXPECT_EQ(out.at({"C", 3}), 28000);
    EXPECT_EQ(out.at({"C", 5}), 28020);
    EXPECT_EQ(out.at({"F", 23}), 27255);
}

TEST_F(FillCommand, RefusedFillsLeaveThePairByteIdentical)
{
    ASSERT_EQ(Tool({"new", P("job.dat"), "--band-class", "0"}).code, 0);
    const QByteArray before = Pair("job");
    struct Case { QStringList args; int code; const char* says; };
    const Case cases[] = {
        {{"--group", "A", "--plan", "cb40", "--grid", "0"}, 1, "CH A1"},
        {{"--group", "L", "--plan", "cb40", "--segment", "29.700"}, 1, "CH L37"},
        {{"--group", "D", "--start", "30.050", "--channels", "1-40"}, 1, "CH D7"},
        {{"--group", "M", "--plan", "cb40"}, 1, "channel 1"},
        {{"--group", "F", "--start", "27.1x5"}, 2, "27.1x5"},
        {{"--group", "F", "--plan", "cb40", "--start", "27"}, 2, "either"},
        {{"--group", "F", "--plan", "cb40", "--channels", "1-x"}, 2, "--channels"},
    };
    for (const Case& c : cases) {
        const Result r = Tool(QStringList{"fill", P("job.dat")} + c.args);
        EXPECT_EQ(r.code, c.code) << c.says << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
        EXPECT_EQ(Pair("job"), before) << c.says;
    }
}

}  // namespace
}  // namespace kt
