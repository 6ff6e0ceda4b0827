// The whole-job check: a new document checks without errors, and each fault
// planted into it is reported once, with its place, and nothing else is added.
#include "rules/channels/ChannelCheck.h"
#include "rules/dtmf/DtmfRules.h"
#include "model/ChannelRules.h"
#include "model/Defaults.h"

#include <gtest/gtest.h>

#include <functional>

namespace kt {
namespace {

QString Key(const Finding& f)
{
    return QStringLiteral("%1 %2 %3 %4").arg(f.severity == Severity::Error ? "E" : "N").arg(f.band).arg(f.group).arg(f.channel);
}

ChannelRec& Ch(Workspace& ws, int band, int group, int ch) { return ws.Channels(band, FindSlot(ws, band, group, ch), group); }

TEST(ChannelCheck, EveryPlantedFaultIsReportedAndNothingElse)
{
    struct Plant {
        const char* what;
        std::function<void(Workspace&)> plant;
        const char* key;       // severity band group channel
        const char* reason;
    };
    const int mem0 = MemoryGroupOf(0);
    const Plant plants[] = {
        {"out of range", [](Workspace& ws) { Ch(ws, 0, 1, 1).Freq.set("30200000"); }, "E 0 1 1", "outside the band's range"},
        {"out of range in HAM", [](Workspace& ws) { Ch(ws, 1, 2, 1).Freq.set("2970000"); }, "E 1 2 1", "outside"},
        {"off raster", [](Workspace& ws) { Ch(ws, 0, 3, 1).Freq.set("28115005"); }, "E 0 3 1", "10 Hz raster"},
        {"not a number", [](Workspace& ws) { Ch(ws, 0, 4, 1).Freq.set("28.1A"); }, "E 0 4 1", "not a number"},
        {"empty DTMF code", [](Workspace& ws) { Ch(ws, 0, 2, 1).EotCode = 7; }, "E 0 2 1", "DTMF code 7"},
        {"undefined pattern", [](Workspace& ws) {
             for (int p = 0; p < kRbPatterns; ++p) ws.WorkRecord.RbPattern[p] = RbPatternRec{};
             Ch(ws, 1, 5, 1).RogerBeep = 3; }, "E 1 5 1", "pattern 3"},
        {"emergency channel empty", [](Workspace& ws) { ws.OptFeat().EmgCh2[0][6] = 12; }, "E 0 6 0", "channel 12"},
        {"channel past the rows", [](Workspace& ws) { InsertChannel(ws, 45, 0, 14, "27.1"); }, "N 0 14 45", "past the group's 40 rows"},
        {"duplicate", [&](Workspace& ws) {
             InsertChannel(ws, 1, 0, mem0, "27.185");
             InsertChannel(ws, 9, 0, mem0, "27.18500"); }, "N 0 16 9", "same frequency 27.18500 as channel M1"},
        {"enabled without a channel", [](Workspace& ws) { ws.OptFeat().GroupEnable[0][15] = 1; }, "N 0 15 0", "holds no channel"},
    };
    Workspace base;
    BuildTemplateData(base, 0);
    const QList<Finding> clean = CheckChannels(base);
    EXPECT_EQ(CountErrors(clean), 0);
    QStringList cleanKeys;
    for (const Finding& f : clean) cleanKeys << Key(f);

    for (const Plant& p : plants) {
        Workspace ws;
        BuildTemplateData(ws, 0);
        p.plant(ws);
        QList<Finding> extra;
        for (const Finding& f : CheckChannels(ws))
            if (!cleanKeys.contains(Key(f))) extra << f;
        ASSERT_EQ(extra.size(), 1) << p.what;
        EXPECT_EQ(Key(extra[0]), p.key) << p.what;
        EXPECT_TRUE(extra[0].reason.contains(p.reason)) << p.what << ": " << extra[0].reason.toStdString();
    }
}

TEST(ChannelCheck, ReasonsFollowTheLanguage)
{
    Workspace ws;
    BuildTemplateData(ws, 1);
    ws.Channels(1, 1, 1).Freq.set("27000000");
    ws.CurrentLanguage = Chinese;
    QList<Finding> f = CheckChannels(ws);
    f.removeIf([](const Finding& x) { return x.severity != Severity::Error; });
    ASSERT_EQ(f.size(), 1);
    EXPECT_TRUE(DescribeFinding(ws, f[0]).startsWith(QString::fromUtf8("错误\tHAM\tA\t1\t频率 27.00000 超出频段范围")))
        << DescribeFinding(ws, f[0]).toStdString();
}

TEST(ChannelCheck, RadioBandIsComparedWithTheRadioLastRead)
{
    Workspace ws;
    BuildTemplateData(ws, 0);
    RadioBandCheck c = CheckRadioBand(ws);
    EXPECT_FALSE(c.radioIdentified);
    EXPECT_EQ(c.text, QString("No radio has been identified yet, so the radio's band is not known.\n"
                              "Document's band: HF (24.7150 - 30.1050 MHz)"));
    ws.LastRadio = {true, "RU6383R", "V200", false, {}};   // identified, but not read: its band is not known
    c = CheckRadioBand(ws);
    EXPECT_TRUE(c.radioIdentified);
    EXPECT_FALSE(c.radioKnown);
    EXPECT_TRUE(c.text.contains("RU6383R V200")) << c.text.toStdString();

    // Both bands named, and whether they match, in either language.
    struct Case { QString radioRange; int language; bool agrees; const char* text; };
    const Case cases[] = {
        {kBandRange1, English, false,
         "Radio's band: HAM (28.0000 - 29.6950 MHz)\nDocument's band: HF (24.7150 - 30.1050 MHz)\n"
         "The bands do not match: the radio cannot use this document's channels."},
        {kBandRange0, English, true,
         "Radio's band: HF (24.7150 - 30.1050 MHz)\nDocument's band: HF (24.7150 - 30.1050 MHz)\nThe bands match."},
        {kBandRange0, Chinese, true,
         "机器频段：HF (24.7150 - 30.1050 MHz)\n文档频段：HF (24.7150 - 30.1050 MHz)\n频段一致。"},
    };
    for (const Case& k : cases) {
        ws.LastRadio.bandRange = k.radioRange;
        ws.CurrentLanguage = k.language;
        c = CheckRadioBand(ws);
        EXPECT_TRUE(c.radioKnown);
        EXPECT_EQ(c.agrees, k.agrees);
        EXPECT_EQ(c.text, QString::fromUtf8(k.text));
    }
}

}  // namespace
}  // namespace kt
