#include "base/Versions.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace kt {
namespace {

using test::TempInstall;
using test::WriteFile;

VersionTable TableFrom(const TempInstall& inst, const QByteArray& ini)
{
    EXPECT_TRUE(WriteFile(inst.path("Version.ini"), ini));
    return LoadVersionTable(inst.root());
}

TEST(Versions, ShippedRegistryAcceptsOwnVersion)
{
    TempInstall inst;
    VersionTable t = LoadVersionTable(inst.root());
    EXPECT_EQ(t.CurrentVersion, "V200");
    EXPECT_EQ(t.SoftVersions, QStringList{"V200"});
    EXPECT_TRUE(IsCompatible(t, "V200", "V200"));
    EXPECT_FALSE(IsCompatible(t, "V200", "V100"));
}

TEST(Versions, MissingOrDamagedRegistryHasNoPairs)
{
    TempInstall inst(false, false);
    EXPECT_TRUE(LoadVersionTable(inst.root()).VersionPairs.isEmpty());
    EXPECT_FALSE(IsCompatible(LoadVersionTable(inst.root()), "V200", "V200"));

    const QByteArray bad[] = {
        "[Version]\nFirmVersionCount=abc\n[Firm]\nFirm0=V200V200\n",
        "[Version]\nFirmVersionCount=-3\n[Firm]\nFirm0=V200V200\n",
        "[Version]\n[Firm]\nFirm0=V200V200\n",
    };
    for (const QByteArray& ini : bad) {
        VersionTable t = TableFrom(inst, ini);
        EXPECT_TRUE(t.VersionPairs.isEmpty()) << ini.constData();
        EXPECT_TRUE(t.SoftVersions.isEmpty());
    }
}

TEST(Versions, HugeCountDoesNotHang)
{
    TempInstall inst(false, false);
    VersionTable t = TableFrom(inst, "[Version]\nFirmVersionCount=2000000000\n[Firm]\nFirm0=V200V200\n");
    EXPECT_TRUE(IsCompatible(t, "V200", "V200"));
    EXPECT_LE(t.VersionPairs.size(), 9999);
}

TEST(Versions, PairsMatchExactlyAndInKeyOrder)
{
    TempInstall inst(false, false);
    VersionTable t = TableFrom(inst,
        "[version]\nfirmversioncount=3\n"
        "[FIRM]\nFirm0=V200V200\nFirm1=V100V100\nFirm2=V300V100   \n");
    ASSERT_EQ(t.VersionPairs.size(), 3);
    EXPECT_EQ(t.VersionPairs[2].FirmPart, "V100");   // trailing spaces removed before the split
    struct Case { const char* soft; const char* other; bool ok; } cases[] = {
        {"V200", "V200", true}, {"V100", "V100", true}, {"V300", "V100", true},
        {"V200", "V100", false}, {"v200", "V200", false}, {"V200", "v200", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsCompatible(t, c.soft, c.other), c.ok) << c.soft << c.other;
    EXPECT_EQ(SoftwareFor(t, "V100"), "V100");   // the first pair in key order wins
    EXPECT_EQ(SoftwareFor(t, "V999"), "");
}

TEST(Versions, VersionTextAndMessages)
{
    EXPECT_EQ(VersionText("V123"), "V1.23");
    EXPECT_EQ(VersionText("V200"), "V2.00");

    EXPECT_EQ(IncompatibleMessage("V200", "V100", 1, English),
              "incompatible version. It may cause unknown error.To start the corresponding software version, or not?"
              "\r\nDataFile version is V1.00\r\nprogramming software is V2.00");
    EXPECT_EQ(IncompatibleMessage("V200", "V101", 0, English),
              QString(vtxt::Question.en) + "\r\nFirmware version is V1.01\r\nprogramming software is V2.00");
    EXPECT_EQ(IncompatibleMessage("V200", "V100", 7, English),
              QString(vtxt::Question.en) + "\r\nV1.00\r\nprogramming software is V2.00");
    EXPECT_EQ(IncompatibleMessage("V200", "V100", 1, Chinese),
              QString::fromUtf8("版本不兼容，有可能引起未知错误，是否启动对应版本软件？\r\n数据文件版本为 V1.00\r\n写频软件版本为 V2.00"));
    EXPECT_EQ(IncompatibleMessage("V200", "V100", 0, Chinese),
              QString::fromUtf8("版本不兼容，有可能引起未知错误，是否启动对应版本软件？\r\n固件版本为 V1.00\r\n写频软件版本为 V2.00"));
}

TEST(Versions, LaunchTargetLivesUnderTheInstallRoot)
{
    TempInstall inst(false, false);
    VersionTable t = TableFrom(inst, "[Version]\nFirmVersionCount=2\n[Firm]\nFirm0=V200V200\nFirm1=V100V100\n");
    EXPECT_EQ(LaunchTarget(t, "/opt/kt", "V100", "kt6383pro"), "/opt/kt/V100/RA_418/kt6383pro");
    EXPECT_EQ(LaunchTarget(t, "/opt/kt/", "V100", "kt6383pro.exe"), "/opt/kt/V100/RA_418/kt6383pro");
    EXPECT_EQ(LaunchTarget(t, "/opt/kt", "V150", "kt6383pro"), "");
    EXPECT_EQ(LaunchTarget(VersionTable{}, "/opt/kt", "V200", "kt6383pro"), "");
}

}  // namespace
}  // namespace kt
