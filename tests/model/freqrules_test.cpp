#include "model/FreqRules.h"

#include <gtest/gtest.h>

namespace kt {
namespace {

struct FreqFixture : ::testing::Test {
    Workspace ws;
    ScriptedAsker asker;
    void SetUp() override { ws.asker = &asker; }
    void Band(int bandType, const QString& range, bool extended = false) {
        ws.WorkRecord.BandType = int16_t(bandType);
        ws.BandRange = range;
        ws.ExtendedHf = extended;
        ParseBandRange(ws);
    }
};

TEST_F(FreqFixture, BandRangeTexts)
{
    struct Case { QString range; double lo, hi; };
    const Case cases[] = {
        {kBandRange0, 24.715, 30.105},
        {kBandRange1, 28.0, 29.695},
        {kBandRangeOther, 28.0, 29.699},
        {"27.0 - 28.0", 27.0, 28.0},            // no " MHz"
        {"28.0000-29.6950 MHz", 100.0, 500.0},  // no " - "
        {"", 100.0, 500.0},
        {"low - high MHz", 100.0, 500.0},
    };
    for (const Case& c : cases) {
        ws.BandRange = c.range;
        ParseBandRange(ws);
        EXPECT_DOUBLE_EQ(ws.BandMin, c.lo) << c.range.toStdString();
        EXPECT_DOUBLE_EQ(ws.BandMax, c.hi) << c.range.toStdString();
    }
}

TEST_F(FreqFixture, InputIsCheckedSnappedAndFormatted)
{
    struct Case { int bandType; QString range; bool extended; const char* input; const char* shown; };
    const Case cases[] = {
        {0, kBandRange0, false, "27.185", "27.18500"},
        {0, kBandRange0, false, "24.715", "24.71500"},
        {0, kBandRange0, false, "30.105", "30.10500"},
        {0, kBandRange0, false, "30.2", ""},
        {0, kBandRange0, false, "20.0", ""},
        {0, kBandRange0, false, "21.2", ""},
        {0, kBandRange0, true, "21.2", "21.20000"},
        {0, kBandRange0, true, "21.6", ""},
        {1, kBandRange1, true, "21.2", ""},       // the second range is band 0's only
        {1, kBandRange1, false, "29.7", ""},
        {1, kBandRange1, false, "28.000005", "28.00000"},   // 5 Hz: snapped down
        {1, kBandRange1, false, "28.00005", "28.00005"},    // 50 Hz is on the raster
        {1, kBandRange1, false, "28.123456", "28.12345"},
        {1, kBandRange1, false, " 28.5 ", "28.50000"},
        {1, kBandRange1, false, "abc", ""},
        {1, kBandRange1, false, "28,5", ""},
    };
    for (const Case& c : cases) {
        Band(c.bandType, c.range, c.extended);
        asker.asked.clear();
        EXPECT_EQ(FormatFreqInput(ws, c.input, true), c.shown) << c.input;
        const bool rejected = QString(c.shown).isEmpty();
        EXPECT_EQ(asker.asked, rejected ? QStringList{FreqOutText(ws)} : QStringList{}) << c.input;
    }
}

TEST_F(FreqFixture, WarningFollowsLanguageAndTheFlag)
{
    Band(1, kBandRange1);
    EXPECT_EQ(FormatFreqInput(ws, "40", false), "");
    EXPECT_EQ(CheckFreq(ws, 40.0, false), 0.0);
    EXPECT_TRUE(asker.asked.isEmpty());
    ws.CurrentLanguage = Chinese;
    EXPECT_EQ(CheckFreq(ws, 40.0, true), 0.0);
    EXPECT_EQ(asker.asked, QStringList{"频率超出范围。\r\n有效范围：28.00000 - 29.69500 MHz。"});
}

TEST_F(FreqFixture, WarningNamesTheValidRangesOfTheBand)
{
    Band(1, kBandRange1);
    EXPECT_EQ(FreqOutText(ws), "Frequency is out of range.\r\nValid: 28.00000 - 29.69500 MHz.");
    Band(0, kBandRange0, true);   // the extended HF band has a second range
    EXPECT_TRUE(FreqOutText(ws).endsWith(" MHz or 21.00000 - 21.50000 MHz.")) << FreqOutText(ws).toStdString();
}

TEST_F(FreqFixture, SnapMovesDownOntoTheRasterFromTheLowerLimit)
{
    Band(0, kBandRange0, true);
    ws.BandMin = 24.715005;   // a raster of 10 Hz steps ending in 5 Hz
    struct Case { double in, out; };
    const Case cases[] = {
        {27.185015, 27.185015}, {27.185019, 27.185015}, {27.18500, 27.184995},
        {21.200005, 21.200005},
        {21.2, 21.199995},       // below the lower limit: still moved down
    };
    for (const Case& c : cases) EXPECT_NEAR(SnapFreq(ws, c.in), c.out, 1e-9) << c.in;
}

TEST(FreqFormat, FiveDecimalsWithAPoint)
{
    EXPECT_EQ(FormatFreq(27.185), "27.18500");
    EXPECT_EQ(FormatFreq(0.5), "0.50000");
    EXPECT_EQ(FormatFreq(28.000004), "28.00000");
}

}  // namespace
}  // namespace kt
