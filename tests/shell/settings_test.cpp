// Settings file, geometry store, path helpers, title texts and the notice queue.
#include "base/Messages.h"
#include "shell/Settings.h"
#include "shell/Shell.h"
#include "link/Transfer.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kt {
namespace {

using test::TempInstall;

QString IniPath(const TempInstall& inst) { return inst.path("language/mysetup.ini"); }

void WriteIni(const TempInstall& inst, const QByteArray& text)
{
    ASSERT_TRUE(test::WriteFile(IniPath(inst), text));
}

QString Key(const TempInstall& inst, const char* key)
{
    // Read back through plain text so the test does not depend on the reader under test.
    for (const QByteArray& line : test::ReadFile(IniPath(inst)).split('\n')) {
        const QByteArray l = line.trimmed();
        if (l.toLower().startsWith(QByteArray(key).toLower() + "="))
            return QString::fromUtf8(l.mid(l.indexOf('=') + 1)).trimmed();
    }
    return QStringLiteral("<missing>");
}

struct SettingsCase {
    const char* name;
    QByteArray ini;          // empty: no file at all
    int systemLanguage;
    int wantLanguage;
    const char* wantPort;
    const char* wantFirstRunKey;   // value of IsFirstRun afterwards
};
void PrintTo(const SettingsCase& c, std::ostream* os) { *os << c.name; }


class LoadSettingsTest : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(LoadSettingsTest, StartsWithTheRightLanguageAndPort)
{
    const SettingsCase& c = GetParam();
    TempInstall inst(false);
    if (!c.ini.isEmpty()) WriteIni(inst, c.ini);
    auto ws = inst.workspace();
    ws->Messages.QueueMessage("left over");
    ws->BandRange = "nonsense";

    LoadSettings(*ws, c.systemLanguage);

    EXPECT_EQ(ws->CurrentLanguage, c.wantLanguage);
    EXPECT_EQ(ws->SystemLanguage, c.systemLanguage);
    // The shown language stays the system's, so activation re-captions once.
    EXPECT_EQ(ws->ShownLanguage, c.systemLanguage);
    EXPECT_EQ(ws->comPort, QString(c.wantPort));
    EXPECT_EQ(ws->Messages.count(), 0);
    EXPECT_EQ(ws->BandRange, kBandRangeOther);
    EXPECT_EQ(ws->ModelCode, kModelCode);
    // Written back at every start.
    EXPECT_EQ(Key(inst, "CurrentLanguage"), QString::number(c.wantLanguage));
    // A port is written back only when one was stored: the start value 1 is
    // nobody's choice and must not pass for one on the next start.
    const bool stored = c.ini.contains("comPort=") && !c.ini.contains("comPort=\n");
    EXPECT_EQ(Key(inst, "comPort"), stored ? QString(c.wantPort)
                                           : c.ini.contains("comPort=") ? QString() : QString("<missing>"));
    EXPECT_EQ(Key(inst, "IsFirstRun"), QString(c.wantFirstRunKey));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadSettingsTest,
    ::testing::Values(
        SettingsCase{"FirstRunOnChineseSystem", "[language]\nIsFirstRun=1\nCurrentLanguage=1\ncomPort=3\n",
                     Chinese, Chinese, "3", "0"},
        SettingsCase{"FirstRunTrueText", "[Language]\nisfirstrun=True\nCurrentLanguage=2\n", English, English,
                     "1", "0"},
        SettingsCase{"FirstRunMinusOne", "[language]\nIsFirstRun=-1\nCurrentLanguage=2\n", English, English,
                     "1", "0"},
        SettingsCase{"ChineseChosenOnEnglishSystem", "[language]\nIsFirstRun=0\nCurrentLanguage=2\n", English,
                     Chinese, "1", "0"},
        SettingsCase{"EnglishChosenOnChineseSystem", "[language]\nIsFirstRun=False\nCurrentLanguage=1\n",
                     Chinese, English, "1", "False"},
        SettingsCase{"MissingFile", "", English, English, "1", "0"},
        SettingsCase{"MissingFileChineseSystem", "", Chinese, Chinese, "1", "0"},
        SettingsCase{"LanguageNotANumber", "[language]\nIsFirstRun=0\nCurrentLanguage=zwei\ncomPort=2\n", Chinese,
                     Chinese, "2", "0"},
        SettingsCase{"LanguageOutOfRange", "[language]\nIsFirstRun=0\nCurrentLanguage=7\n", English, English,
                     "1", "0"},
        SettingsCase{"PortNameKept", "[language]\nIsFirstRun=0\nCurrentLanguage=1\ncomPort=ttyUSB0\n", English,
                     English, "ttyUSB0", "0"},
        SettingsCase{"EmptyPortKeepsOne", "[language]\nIsFirstRun=0\ncomPort=\n", English, English, "1", "0"},
        SettingsCase{"GarbageMarkerIsNotAFirstRun", "[language]\nIsFirstRun=maybe\nCurrentLanguage=2\n", English,
                     Chinese, "1", "maybe"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadSettings, NonNumericPortOptionsKeepTheirValues)
{
    TempInstall inst(false);
    WriteIni(inst, "[language]\nIsFirstRun=0\nHandshaking=x\nStopBit=2\n");
    auto ws = inst.workspace();
    ws->Handshaking = 5;
    LoadSettings(*ws, English);
    EXPECT_EQ(ws->Handshaking, 5);
    EXPECT_EQ(ws->StopBit, 2);
}

TEST(LoadSettings, OtherLinesOfTheFileSurvive)
{
    TempInstall inst(false);
    WriteIni(inst, "; kept comment\n[other]\nx=1\n[language]\nIsFirstRun=0\nCurrentLanguage=2\n");
    auto ws = inst.workspace();
    LoadSettings(*ws, English);
    const QByteArray after = test::ReadFile(IniPath(inst));
    EXPECT_TRUE(after.contains("; kept comment"));
    EXPECT_TRUE(after.contains("[other]"));
    EXPECT_TRUE(after.contains("x=1"));
}

TEST(Settings, LanguageStoredAndReadBack)
{
    TempInstall inst(false);
    auto ws = inst.workspace();
    LoadSettings(*ws, English);
    ws->CurrentLanguage = Chinese;
    ASSERT_TRUE(StoreLanguageSetting(*ws));
    auto again = inst.workspace();
    LoadSettings(*again, English);
    EXPECT_EQ(again->CurrentLanguage, Chinese);
}

TEST(Settings, UnwritableInstallationUsesTheUserFolder)
{
    TempInstall inst(false);
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    // A plain file where the settings folder should be: nothing can be created there.
    QDir(inst.path("language")).removeRecursively();
    ASSERT_TRUE(test::WriteFile(inst.path("language"), "not a folder"));
    auto ws = inst.workspace();
    const QString path = SettingsPath(*ws);
    EXPECT_TRUE(path.startsWith(home.path())) << qPrintable(path);
    LoadSettings(*ws, English);
    ws->CurrentLanguage = Chinese;
    EXPECT_TRUE(StoreLanguageSetting(*ws));
    auto again = inst.workspace();
    LoadSettings(*again, English);
    EXPECT_EQ(again->CurrentLanguage, Chinese);
    EXPECT_EQ(test::ReadFile(inst.path("language")), QByteArray("not a folder"));
    qunsetenv("XDG_CONFIG_HOME");
}

TEST(Settings, SystemLanguageFromLocale)
{
    EXPECT_EQ(SystemLanguageOf(QLocale(QLocale::Chinese, QLocale::China)), Chinese);
    EXPECT_EQ(SystemLanguageOf(QLocale(QLocale::Chinese, QLocale::Taiwan)), English);
    EXPECT_EQ(SystemLanguageOf(QLocale(QLocale::English, QLocale::UnitedStates)), English);
    EXPECT_EQ(SystemLanguageOf(QLocale(QLocale::German, QLocale::Germany)), English);
}

TEST(Paths, ParentFolderAndFileName)
{
    const struct { const char* path; const char* parent; const char* name; } cases[] = {
        {"D:\\Radio\\Prog", "D:\\Radio", "Prog"},
        {"D:\\", "D:", ""},
        {"C:\\data\\radio.dat", "C:\\data", "radio.dat"},
        {"new.dat", "new.dat", "new.dat"},
        {"/opt/kt6383pro/bin", "/opt/kt6383pro", "bin"},
        {"/bin", "/bin", "bin"},   // separator at the first position: unchanged
        {"a/b\\c.dat", "a/b", "c.dat"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParentFolder(c.path), QString(c.parent)) << c.path;
        EXPECT_EQ(FileNameOf(c.path), QString(c.name)) << c.path;
    }
}

TEST(Titles, BothLanguages)
{
    Workspace ws;
    ws.BandRange = kBandRangeOther;
    EXPECT_EQ(MainTitle(ws), "KT-6383 Pro[28.0000 - 29.6990 MHz][File Name:new.dat]");
    ws.CurrentFile = "/home/u/jobs/radio.dat";
    ws.BandRange = kBandRange0;
    ws.CurrentLanguage = Chinese;
    EXPECT_EQ(MainTitle(ws), QString::fromUtf8("KT-6383 Pro[24.7150 - 30.1050 MHz][文件名:radio.dat]"));
    EXPECT_EQ(BandPanelText(ws), "KT-6383 Pro[24.7150 - 30.1050 MHz]");
    const QStringList present{"COM1", "ttyUSB0", QString(kSimulatedPortKey)};
    EXPECT_EQ(PortPanelText(ws, present), QString::fromUtf8("通信口1"));
    ws.CurrentLanguage = English;
    EXPECT_EQ(PortPanelText(ws, present), "COM1");
    ws.comPort = "ttyUSB0";
    EXPECT_EQ(PortPanelText(ws, present), "COM ttyUSB0");
    EXPECT_EQ(DataFileFilter(ws), "Data File (*.dat)");
}

// The status bar tells the port a transfer will use, never a port that is
// not there without saying so.
TEST(PortPanel, FirstStartMissingAndSimulatedPorts)
{
    Workspace ws;
    const QStringList none;
    const QStringList ports{"ttyUSB0", "ttyS4", QString(kSimulatedPortKey)};
    struct Case { QString key; int language; QStringList present; const char* want; };
    const Case cases[] = {
        {"", English, none, "COM no port"},
        {"0", Chinese, none, "通信口 无端口"},
        {"ttyUSB0", English, ports, "COM ttyUSB0"},
        {"ttyUSB1", English, ports, "COM ttyUSB1 (not present)"},
        {"3", Chinese, ports, "通信口3 (不存在)"},
        {kSimulatedPortKey, Chinese, ports, "通信口 模拟对讲机"},
    };
    for (const Case& c : cases) {
        ws.comPort = c.key;
        ws.CurrentLanguage = c.language;
        EXPECT_EQ(PortPanelText(ws, c.present), QString::fromUtf8(c.want)) << c.key.toStdString();
    }
    // The dialog's preselection: the stored port when present, else the first.
    EXPECT_EQ(PreselectedPort("ttyS4", ports), "ttyS4");
    EXPECT_EQ(PreselectedPort("7", ports), "ttyUSB0");
    EXPECT_EQ(PreselectedPort("", none), QString());
}

TEST(PortPanel, FirstStartShowsThePreselectedPortAndStoresNothing)
{
    TempInstall inst(false);
    Workspace ws;
    StartOptions opt;
    opt.programDir = inst.bin();
    opt.resolvePort = true;
    StartUp(ws, opt);
    EXPECT_EQ(ws.comPort, PreselectedPort(QString(), PresentPorts()));
    EXPECT_NE(PortPanelText(ws), QString("COM1"));
    EXPECT_EQ(Key(inst, "comPort"), QString("<missing>"));
}

TEST(Geometry, DefaultsRoundTripAndBadValues)
{
    QTemporaryDir dir;
    QSettings store(dir.filePath("geo.ini"), QSettings::IniFormat);
    const Geometry d = LoadGeometry(store);
    EXPECT_EQ(d.left, 100);
    EXPECT_EQ(d.top, 100);
    EXPECT_EQ(d.width, 14500);
    EXPECT_EQ(d.height, 10500);

    StoreGeometry(store, Geometry{1500, 3000, 12000, 9000});
    QSettings again(dir.filePath("geo.ini"), QSettings::IniFormat);
    const Geometry g = LoadGeometry(again);
    EXPECT_EQ(g.left, 1500);
    EXPECT_EQ(g.top, 3000);
    EXPECT_EQ(g.width, 12000);
    EXPECT_EQ(g.height, 9000);
    EXPECT_EQ(again.value("Settings/MainWidth").toString(), "12000");   // stored as text

    again.setValue("Settings/MainLeft", "left");
    again.remove("Settings/MainHeight");
    const Geometry bad = LoadGeometry(again);
    EXPECT_EQ(bad.left, 100);
    EXPECT_EQ(bad.height, 10500);
    EXPECT_EQ(bad.top, 3000);
}

TEST(MessageQueueTest, ShowsInOrderOnceAndDropsBeyondCapacity)
{
    Workspace ws;
    ScriptedAsker asker;
    ws.asker = &asker;
    ws.Messages.QueueMessage("first");
    ws.Messages.QueueMessage("second");
    ShowQueuedMessages(ws);
    EXPECT_EQ(asker.asked, QStringList({"first", "second"}));
    ShowQueuedMessages(ws);
    EXPECT_EQ(asker.asked.size(), 2);

    asker.asked.clear();
    for (int i = 0; i < 1005; ++i) ws.Messages.QueueMessage(QString::number(i));
    EXPECT_EQ(ws.Messages.count(), 1001);
    ShowQueuedMessages(ws);
    ASSERT_EQ(asker.asked.size(), 1001);
    EXPECT_EQ(asker.asked.last(), "1000");
    EXPECT_EQ(ws.Messages.count(), 0);
}

TEST(MessageQueueTest, TextFollowsTheLanguageAtTheMomentItIsShown)
{
    Workspace ws;
    ws.CurrentLanguage = Chinese;
    EXPECT_EQ(ws.T(msg::FileError), QString::fromUtf8("文件错误。"));
    ws.CurrentLanguage = English;
    EXPECT_EQ(ws.T(msg::FileError), "file error.");
    EXPECT_EQ(ws.T(msg::ReadConfirm), "Read data from radio.\r\nDo you wish continue?");
}

}  // namespace
}  // namespace kt
