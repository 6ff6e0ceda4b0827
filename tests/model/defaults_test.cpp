#include "model/DataFile.h"
#include "model/Defaults.h"
#include "TestSupport.h"

#include <QDate>
#include <QDir>
#include <gtest/gtest.h>

namespace kt {
namespace {

using test::ReadFile;
using test::TempInstall;

QByteArray FreqDigits(int group)
{
    QByteArray f = DefaultFrequency(group);
    return f.left(2) + f.mid(3);
}

TEST(Defaults, WithoutInitFolderTheBuiltInDefaultsStay)
{
    TempInstall inst(false, true);
    auto ws = inst.workspace();
    ws->CurrentFile = "other.dat";
    ws->IsUntitled = false;
    InitDefaults(*ws);

    EXPECT_TRUE(ws->IsUntitled);
    EXPECT_EQ(ws->CurrentFile, "new.dat");
    EXPECT_EQ(ws->PreviousFile, "new.dat");
    EXPECT_TRUE(IsUnchanged(*ws));
    EXPECT_FALSE(QDir(inst.bin() + "/Init").exists());

    // Channel 1 in the groups that have a default frequency, nothing past a
    // group's rows; a group is valid exactly when it holds a channel.
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= GroupsOfBand(b); ++g) {
            const int expected = g <= 10 ? 1 : 0;
            ASSERT_EQ(ws->ChannelCount(b, g), expected) << b << "/" << g;
            EXPECT_EQ(ws->OptFeat().GroupEnable[b][g], expected) << b << "/" << g;
            if (expected) {
                EXPECT_EQ(ws->Channels(b, 1, g).ChNo, 1);
                EXPECT_EQ(ws->Channels(b, 1, g).Freq.bytes(), FreqDigits(g));
            }
        }
    EXPECT_EQ(ws->OptFeat().GroupName[1][13].bytes(), QByteArray("M\0  ", 4));
    EXPECT_EQ(ws->WorkRecord.ModelInfo.MiDate.bytes(), QDate::currentDate().toString("yyyyMMdd").toLatin1());
    EXPECT_EQ(ws->WorkRecord.ModelInfo.MiVersion.bytes(), "V2.00");
    EXPECT_EQ(ws->WorkRecord.ModelInfo.MiBandClass2, 1);
}

TEST(Defaults, RogerBeepPatterns)
{
    Workspace ws;
    InitDefaults(ws, false);
    struct Tone { int p, i, freq, len; } tones[] = {
        {0, 0, 210, 10}, {0, 1, 0, 10}, {0, 6, 210, 10}, {0, 7, 0, 0}, {1, 12, 80, 4}, {1, 13, 0, 4},
        {2, 1, 90, 3}, {2, 6, 170, 3}, {3, 4, 192, 6}, {3, 5, 0, 0}, {4, 5, 70, 20}, {5, 0, 0, 0}, {7, 13, 0, 0},
    };
    for (const auto& t : tones) {
        EXPECT_EQ(ws.WorkRecord.RbPattern[t.p].RbTone[0][t.i], t.freq) << t.p << "/" << t.i;
        EXPECT_EQ(ws.WorkRecord.RbPattern[t.p].RbTone[1][t.i], t.len) << t.p << "/" << t.i;
    }
    for (int p = 0; p < kRbPatterns; ++p) EXPECT_EQ(ws.WorkRecord.RbPattern[p].RbRecycle, p <= 4 ? 1 : 0);
}

TEST(Defaults, TemplateFollowsTheBandClass)
{
    TempInstall inst(false, true);
    QDir().mkpath(inst.bin() + "/Init");
    // Two marked initial-setting templates, one per class.
    for (int cls : {0, 1}) {
        Workspace ws;
        ws.ProgramDir = inst.bin();
        BuildTemplateData(ws, cls);
        ws.WorkRecord.OptFeat.MicGain = int16_t(70 + cls);
        ws.CurrentFile = InitialTemplatePath(ws);
        ASSERT_TRUE(ws.CurrentFile.endsWith(QString("/Init/%1_YF6383.dat").arg(cls)));
        ASSERT_EQ(SaveDataFile(ws).kind, FileResult::Done);
    }
    struct Case { QString range; int mic; int bandType; } cases[] = {
        {"24.7150 - 30.1050 MHz", 70, 0}, {"28.0000 - 29.6950 MHz", 71, 1}, {"28.0000 - 29.6990 MHz", 71, 1}};
    for (const auto& c : cases) {
        auto ws = inst.workspace();
        InitDefaults(*ws, false);
        ws->BandRange = c.range;
        ws->CurrentFile = "mine.dat";
        LoadInitialTemplate(*ws);
        EXPECT_EQ(ws->OptFeat().MicGain, c.mic) << c.range.toStdString();
        EXPECT_EQ(ws->WorkRecord.BandType, c.bandType);
        EXPECT_TRUE(IsUnchanged(*ws));
        EXPECT_EQ(ws->CurrentFile, "mine.dat");
        // No new-document template here: the data stay and become the snapshot.
        ws->OptFeat().MicGain = 5;
        LoadNewTemplate(*ws);
        EXPECT_EQ(ws->OptFeat().MicGain, 5);
        EXPECT_TRUE(IsUnchanged(*ws));
    }
}

TEST(Defaults, AddDefaultChannel)
{
    Workspace ws;
    InitDefaults(ws, false);
    QList<QPair<int, int>> changed;
    QObject::connect(&ws.Events(), &DocumentEvents::channelsChanged,
                     [&](int band, int group) { changed << qMakePair(band, group); });
    const int before11 = ws.ChannelCount(0, 11);
    AddDefaultChannel(ws, 0, 11);
    EXPECT_EQ(ws.ChannelCount(0, 11), before11);
    EXPECT_TRUE(changed.isEmpty());   // no default channel above group 10

    ws.ChannelCount(1, 3) = 0;
    AddDefaultChannel(ws, 1, 3);
    ASSERT_EQ(ws.ChannelCount(1, 3), 1);
    EXPECT_EQ(ws.Channels(1, 1, 3).ChNo, 1);
    EXPECT_EQ(ws.Channels(1, 1, 3).Freq.bytes(), "28115000");
    ws.ChannelCount(0, 10) = 0;
    AddDefaultChannel(ws, 0, 10);
    EXPECT_EQ(changed, (QList<QPair<int, int>>{{1, 3}, {0, 10}}));
    EXPECT_EQ(ws.Channels(0, 1, 10).Freq.bytes(), "28085000");
}

// The command-line tool's new job is the desktop program's: the installed
// new-document template of the class when there is one, else the defaults.
TEST(Defaults, NewDocumentIsTheInstalledTemplateElseTheBuiltInDefaults)
{
    TempInstall bare(false, true);
    for (int cls : {0, 1}) {
        auto ws = bare.workspace();
        EXPECT_FALSE(BuildNewDocument(*ws, cls));
        Workspace defaults;
        BuildTemplateData(defaults, cls);
        EXPECT_EQ(test::DocumentBytes(*ws), test::DocumentBytes(defaults)) << cls;
        EXPECT_TRUE(IsUnchanged(*ws));

        // A marked template of the class, where the desktop program finds it.
        Workspace mark;
        mark.ProgramDir = bare.bin();
        BuildTemplateData(mark, cls);
        mark.WorkRecord.OptFeat.MicGain = int16_t(60 + cls);
        mark.CurrentFile = NewTemplatePath(mark);
        QDir().mkpath(bare.bin() + "/Init");
        ASSERT_EQ(SaveDataFile(mark).kind, FileResult::Done);

        auto made = bare.workspace();
        EXPECT_TRUE(BuildNewDocument(*made, cls));
        EXPECT_EQ(made->OptFeat().MicGain, 60 + cls);
        EXPECT_EQ(made->WorkRecord.BandType, cls);
        EXPECT_TRUE(IsUnchanged(*made));
        auto desktop = bare.workspace();
        desktop->BandRange = BandTextOf(cls);
        InitDefaults(*desktop);
        EXPECT_EQ(test::DocumentBytes(*made), test::DocumentBytes(*desktop)) << cls;
    }
}

// The shipped templates are the built-in defaults of their band class, apart
// from the day they were made.
TEST(Templates, ShippedTemplatesAreTheBuiltInDefaults)
{
    TempInstall inst;
    TempInstall scratch(false, false);
    for (int cls : {0, 1}) {
        Workspace built;
        BuildTemplateData(built, cls);
        built.CurrentFile = scratch.path("t.dat");
        ASSERT_EQ(SaveDataFile(built).kind, FileResult::Done);
        QByteArray dat = ReadFile(scratch.path("t.dat"));
        const QByteArray fre = ReadFile(scratch.path("t.fre"));
        for (const char* name : {"_YF6383_New.dat", "_YF6383.dat"}) {
            const QString path = inst.bin() + "/Init/" + QString::number(cls) + name;
            QByteArray shipped = ReadFile(path);
            ASSERT_EQ(shipped.size(), kDataFileSize) << path.toStdString();
            shipped.replace(146 + 11, 8, dat.mid(146 + 11, 8));   // MiDate
            EXPECT_EQ(shipped, dat) << path.toStdString();
            EXPECT_EQ(ReadFile(ChannelFileOf(path)), fre) << path.toStdString();

            auto ws = inst.workspace();
            ASSERT_TRUE(LoadTemplate(*ws, path));
            EXPECT_EQ(ws->BandRange, BandTextOf(cls));
            EXPECT_EQ(ws->ChannelCount(1, 13), 0);
            EXPECT_EQ(ws->ChannelCount(0, 10), 1);
            EXPECT_TRUE(IsUnchanged(*ws));
        }
    }
}

// Writes the templates into the source tree:
//   test_model --gtest_also_run_disabled_tests --gtest_filter='*WriteShippedTemplates'
TEST(Templates, DISABLED_WriteShippedTemplates)
{
    for (int cls : {0, 1})
        for (const char* name : {"_YF6383_New.dat", "_YF6383.dat"}) {
            Workspace ws;
            BuildTemplateData(ws, cls);
            ws.CurrentFile = QStringLiteral(KT_SOURCE_DIR) + "/resources/Init/" + QString::number(cls) + name;
            ASSERT_EQ(SaveDataFile(ws).kind, FileResult::Done) << ws.CurrentFile.toStdString();
        }
}

}  // namespace
}  // namespace kt
