// The command-line tool, run as a program in a temporary installation root.
#include "TestSupport.h"
#include "model/Codec.h"

#include <gtest/gtest.h>


namespace kt {
namespace {

// What the tool printed, as text.
struct ToolRun {
    int code = -1;
    QString out, err;
};

class Kt6383 : public ::testing::Test {
protected:
    test::TempInstall install;

    QString P(const QString& name) const { return install.path(name); }

    ToolRun Tool(const QStringList& args, bool withRoot = true) const
    {
        const test::ToolRun r = test::RunTool(install, args, {.withRoot = withRoot});
        return {r.code, QString::fromUtf8(r.out), r.err};
    }

    // An image encoded from a model with something in every part of it.
    QByteArray RichImage() const {
        Workspace ws;
        int n = 0;
        for (int band = 0; band < kBands; ++band)
            for (int g = 1; g <= GroupsOfBand(band); ++g)
                for (int ch : {1, 3, 40, 99}) {
                    if (ch > GroupSize(band, g)) continue;
                    ChannelRec& c = ws.Channels(band, ++ws.ChannelCount(band, g), g);
                    c.ChNo = int16_t(ch);
                    c.Used = 1;
                    c.Scan = int16_t(ch % 2);
                    c.Freq.set(QByteArray::number(27000000 + 1230 * ++n));
                    c.Mode = int16_t(n % 6);
                    c.RxToneType = int16_t(n % 3);
                    c.RxCtcss = int16_t(n % 38);
                    c.TxDcs = int16_t(n % 104);
                    c.NbAnl = int16_t(n % 4);
                    c.RogerBeep = int16_t(n % 9);
                    c.CallCode = int16_t(n % 17);
                    c.PublicCh = int16_t(n % 2);
                }
        OptFeatRec& of = ws.WorkRecord.OptFeat;
        for (int band = 0; band < kBands; ++band)
            for (int g = 1; g <= LetteredGroupsOf(band); ++g) {
                of.GroupEnable[band][g] = int16_t(g % 2);
                of.EmgCh1[band][g] = 3;
                of.EmgCh2[band][g] = 40;
                of.EmgMode1[band][g] = int16_t(g % 4);
                of.GrpByte[band][g] = 1;
            }
        ws.WorkRecord.BandType = 1;
        of.Opt4804H = 2;
        of.HfWorkGroup = 2;
        of.HamWorkGroup = 3;
        of.BattMax = 168;
        of.BattMin = 97;
        of.FmEnabled = of.AmEnabled = of.CwEnabled = 1;
        ws.WorkRecord.ComChanRb = 2;
        ws.WorkRecord.TxOffset = 1000;
        ws.WorkRecord.CwFreq = 70;
        ws.WorkRecord.VfoOn = 1;
        of.DtmfCode[1].set("123*#ABCD");
        of.DtmfCode[16].set("0123456789ABCD*#");
        for (int p = 0; p < kRbPatterns; ++p) {
            ws.WorkRecord.RbPattern[p].RbRecycle = int16_t(p);
            ws.WorkRecord.RbPattern[p].RbTone[0][p] = int16_t(100 + p);
            ws.WorkRecord.RbPattern[p].RbTone[1][p] = 5;
        }
        ClearImage(ws);
        EncodeImage(ws);
        return QByteArray(reinterpret_cast<const char*>(ws.MemImage.data()), kImageSize);
    }
};

TEST_F(Kt6383, ImageToDataFileAndBackIsTheSameImage)
{
    const QByteArray image = RichImage();
    ASSERT_TRUE(test::WriteFile(P("radio.img"), image));
    ToolRun r = Tool({"convert", P("radio.img"), P("job.dat")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(test::ReadFile(P("job.dat")).size(), kDataFileSize);
    EXPECT_TRUE(QFile::exists(P("job.fre")));
    r = Tool({"convert", P("job.dat"), P("back.img")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(test::ReadFile(P("back.img")) == image);
}

TEST_F(Kt6383, BytesTheProgramDoesNotKeepAreTheOnlyDifferences)
{
    QByteArray image = RichImage();
    const int kept = 0x4A10;
    image[0x4807] = char(image[0x4807] | 0x01);   // ChannelMode: read, written 0
    image[0x4A16] = char(0x5A);
    image[0x4A33] = char(0x01);                    // CW frequency high byte
    image[9] = char(image[9] | 0x82);              // channel byte 9, bits 1 and 7
    image[0x4380] = char(0x11);                    // not used by the program
    ASSERT_TRUE(test::WriteFile(P("radio.img"), image));
    ASSERT_EQ(Tool({"convert", P("radio.img"), P("job.dat")}).code, 0);
    ASSERT_EQ(Tool({"convert", P("job.dat"), P("back.img")}).code, 0);
    const QByteArray back = test::ReadFile(P("back.img"));
    ASSERT_EQ(back.size(), kImageSize);
    std::vector<int> differ;
    for (int a = 0; a < kImageSize; ++a)
        if (back[a] != image[a]) differ.push_back(a);
    EXPECT_EQ(differ, (std::vector<int>{9, 0x4380, 0x4807, 0x4A16, 0x4A33}));
    EXPECT_EQ(back[kept], image[kept]);
    EXPECT_EQ(uint8_t(back[9]), uint8_t(image[9]) & 0x7D);
}

TEST_F(Kt6383, WrongSizedImagesAreRefused)
{
    for (int size : {0, 100, kImageSize - 1, kImageSize + 1}) {
        ASSERT_TRUE(test::WriteFile(P("bad.img"), QByteArray(size, char(0xFF))));
        for (const QStringList& cmd : {QStringList{"convert", P("bad.img"), P("out.dat")}, QStringList{"show", P("bad.img")}}) {
            const ToolRun r = Tool(cmd);
            EXPECT_EQ(r.code, 1) << size;
            EXPECT_TRUE(r.err.contains("bad.img")) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains("23745")) << r.err.toStdString();
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        }
        EXPECT_FALSE(QFile::exists(P("out.dat")));
    }
}

TEST_F(Kt6383, BadInputFilesNameTheFileAndTheFault)
{
    ASSERT_TRUE(test::WriteFile(P("garbage.dat"), QByteArray(kDataFileSize, 'x')));
    ASSERT_EQ(Tool({"new", P("good.dat")}).code, 0);
    QByteArray longer = test::ReadFile(P("good.dat"));
    longer.append('\0');
    ASSERT_TRUE(test::WriteFile(P("longer.dat"), longer));
    struct Case { QStringList args; const char* file; const char* says; };
    const Case cases[] = {
        {{"show", P("missing.dat")}, "missing.dat", "no such file"},
        {{"convert", P("missing.img"), P("x.dat")}, "missing.img", "no such file"},
        {{"show", P("garbage.dat")}, "garbage.dat", "Unknown version Of DataFile!"},
        {{"convert", P("longer.dat"), P("x.img")}, "longer.dat", "has 1,700 bytes; a data file has 1,699 bytes."},
        {{"show", P("notes.txt")}, "notes.txt", "no such file"},
    };
    for (const Case& c : cases) {
        const ToolRun r = Tool(c.args);
        EXPECT_EQ(r.code, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("kt6383: ")) && r.err.contains(c.file) && r.err.contains(c.says))
            << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(P("x.img")));
    EXPECT_FALSE(QFile::exists(P("x.dat")));
}

TEST_F(Kt6383, UsageErrorsExitWithTwo)
{
    const QStringList cases[] = {
        {},
        {"frobnicate"},
        {"show"},
        {"show", "a.dat", "b.dat"},
        {"show", "--bogus", "a.dat"},
        {"convert", "a.dat"},
        {"convert", "a.dat", "b.dat"},
        {"convert", "a.img", "b.img"},
        {"convert", "a.dat", "a.txt"},
        {"new"},
        {"new", "x.img"},
        {"new", "x.dat", "--band-class", "2"},
        {"new", "x.dat", "--band-class"},
    };
    for (const QStringList& args : cases) {
        const ToolRun r = Tool(args, false);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage: kt6383")) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(P("x.dat")));
}

TEST_F(Kt6383, HelpForTheToolAndEachCommand)
{
    ToolRun r = Tool({"--help"}, false);
    EXPECT_EQ(r.code, 0);
    for (const char* name : {"show", "convert", "new"}) {
        EXPECT_TRUE(r.out.contains(QStringLiteral("  ") + name)) << name;
        const ToolRun c = Tool({name, "--help"}, false);
        EXPECT_EQ(c.code, 0) << name;
        EXPECT_TRUE(c.out.startsWith(QStringLiteral("usage: kt6383 ") + name)) << c.out.toStdString();
        EXPECT_TRUE(c.out.contains("--root")) << name;
    }
}

TEST_F(Kt6383, NewWritesTheDefaultsOfABandClass)
{
    struct Case { const char* cls; const char* range; };
    for (const Case& c : {Case{"0", "24.7150 - 30.1050 MHz"}, Case{"1", "28.0000 - 29.6950 MHz"}}) {
        const QString dat = P(QStringLiteral("new%1.dat").arg(c.cls));
        ASSERT_EQ(Tool({"new", dat, "--band-class", c.cls}).code, 0);
        EXPECT_EQ(test::ReadFile(dat).size(), kDataFileSize);
        const ToolRun r = Tool({"show", dat});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("band range: ") + c.range)) << r.out.left(300).toStdString();
        EXPECT_TRUE(r.out.contains("28.01500"));   // group A's default channel 1
    }
}

TEST_F(Kt6383, ShowListsChannelsOptionsCodesAndPatterns)
{
    ASSERT_TRUE(test::WriteFile(P("radio.img"), RichImage()));
    const ToolRun r = Tool({"show", P("radio.img")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const QString& s = r.out;
    for (const char* part : {"band range: 28.0000 - 29.6950 MHz", "Band 0 (HF), work group B", "Band 1 (HAM), work group C",
                             "Group MEM", "Group VFO", "27.00123", "M99", "123*#ABCD", "0123456789ABCD*#",
                             "Roger-beep patterns", "  8: recycle 7", "Options"})
        EXPECT_TRUE(s.contains(part)) << part;
    // Channels 1, 3 and 40 in a lettered group, 1, 3, 40 and 99 in MEM, 1 in VFO;
    // the group names come from the built-in defaults.
    for (const char* group : {"Group A    name \"A\"  valid ON  channels 3", "Group B    name \"B\"  valid OFF  channels 3",
                              "Group MEM  name \"\"  valid OFF  channels 4", "Group VFO  name \"\"  valid OFF  channels 1"})
        EXPECT_TRUE(s.contains(group)) << group;
}

TEST_F(Kt6383, AMissingChannelFileIsToldButTheJobStillLoads)
{
    ASSERT_EQ(Tool({"new", P("job.dat"), "--band-class", "0"}).code, 0);
    ASSERT_TRUE(QFile::remove(P("job.fre")));
    // Shown and converted on request; a plain convert would make an image
    // without them and is refused.
    const struct {
        QStringList args;
        int code;
    } cases[] = {
        {{"show", P("job.dat")}, 0},
        {{"convert", P("job.dat"), P("job.img")}, 1},
        {{"convert", "--allow-missing-channels", P("job.dat"), P("job.img")}, 0},
    };
    for (const auto& c : cases) {
        const ToolRun r = Tool(c.args);
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("job.dat: The channel file job.fre is missing:")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("channels could not be read.")) << r.err.toStdString();
        EXPECT_EQ(QFile::exists(P("job.img")), c.code == 0 && c.args[0] == "convert");
    }
    EXPECT_FALSE(QFile::exists(P("job.fre")));
}

TEST_F(Kt6383, DataFilesNeedTheVersionRegistry)
{
    ASSERT_EQ(Tool({"new", P("job.dat")}).code, 0);
    test::TempInstall bare(true, /*withVersionIni*/ false);
    const ToolRun r = Tool({"show", P("job.dat"), "--root", bare.root()}, false);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("job.dat")) << r.err.toStdString();
}

}  // namespace
}  // namespace kt
