#include "shell/Settings.h"
#include "base/ProfileFile.h"
#include "model/FreqRules.h"
#include "model/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace kt {

namespace {

const QString kSection = QStringLiteral("language");

bool FolderWritable(const QString& dir)
{
    if (!QDir().mkpath(dir)) return false;
    // Permission bits do not tell the whole story (read-only mounts, ACLs):
    // try to create a file.
    QTemporaryFile probe(dir + "/.probe-XXXXXX");
    return probe.open();
}

// "1", "-1", "True" are true, "0", "False" false; anything else is unknown.
enum class Tri { False, True, Unknown };
Tri ParseBool(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare("true", Qt::CaseInsensitive) == 0) return Tri::True;
    if (t.compare("false", Qt::CaseInsensitive) == 0) return Tri::False;
    bool ok = false;
    const long long n = t.toLongLong(&ok);
    if (!ok) return Tri::Unknown;
    return n != 0 ? Tri::True : Tri::False;
}

bool ParseInt(const QString& text, int& out)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (ok) out = n;
    return ok;
}

}  // namespace

int SystemLanguageOf(const QLocale& locale)
{
    return locale.language() == QLocale::Chinese && locale.territory() == QLocale::China ? Chinese
                                                                                         : English;
}

QString SettingsPath(const Workspace& ws)
{
    const QString dir = ws.InstallRoot + "/language";
    const QString installed = dir + "/mysetup.ini";
    if (FolderWritable(dir)) return installed;

    QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (userDir.isEmpty()) userDir = QDir::homePath() + "/.config/kt6383pro";
    QDir().mkpath(userDir);
    const QString user = userDir + "/mysetup.ini";
    // First use of the user's copy: start from the installation's settings.
    if (!QFileInfo::exists(user) && QFileInfo::exists(installed)) QFile::copy(installed, user);
    return user;
}

bool LoadSettings(Workspace& ws, int systemLanguage)
{
    const QString path = SettingsPath(ws);

    ws.comPort = QStringLiteral("1");
    ws.SystemLanguage = systemLanguage == Chinese ? Chinese : English;
    ws.CurrentLanguage = ws.ShownLanguage = ws.SystemLanguage;
    ws.Messages.clear();

    // A missing marker is a fresh installation.
    const QString firstRunText = ReadProfileString(path, kSection, "IsFirstRun", "1");
    const bool firstRun = ParseBool(firstRunText) == Tri::True;

    ws.ModelCode = kModelCode;
    ws.BandRange = kBandRangeOther;
    ws.RadioVersion = "V200";

    const QString port = ReadProfileString(path, kSection, "comPort").trimmed();
    const bool portStored = !port.isEmpty();
    if (portStored) ws.comPort = port;
    // The control lines go with the port; both low unless stored as on.
    ws.portDtr = ReadProfileString(path, kSection, "comDTR").trimmed() == QLatin1String("1");
    ws.portRts = ReadProfileString(path, kSection, "comRTS").trimmed() == QLatin1String("1");
    ParseInt(ReadProfileString(path, kSection, "Handshaking"), ws.Handshaking);
    ParseInt(ReadProfileString(path, kSection, "StopBit"), ws.StopBit);

    if (firstRun) {
        WriteProfileString(path, kSection, "IsFirstRun", "0");
    } else {
        int lang = 0;
        if (ParseInt(ReadProfileString(path, kSection, "CurrentLanguage"), lang)
            && (lang == English || lang == Chinese))
            ws.CurrentLanguage = lang;
    }

    if (portStored) WriteProfileString(path, kSection, "comPort", ws.comPort);
    WriteProfileString(path, kSection, "CurrentLanguage", QString::number(ws.CurrentLanguage));

    ParseBandRange(ws);
    return portStored;
}

bool StoreLanguageSetting(const Workspace& ws)
{
    return WriteProfileString(SettingsPath(ws), kSection, "CurrentLanguage",
                              QString::number(ws.CurrentLanguage));
}

bool StorePortSetting(const Workspace& ws)
{
    const QString path = SettingsPath(ws);
    const bool port = WriteProfileString(path, kSection, "comPort", ws.comPort);
    const bool dtr = WriteProfileString(path, kSection, "comDTR", ws.portDtr ? QStringLiteral("1") : QStringLiteral("0"));
    const bool rts = WriteProfileString(path, kSection, "comRTS", ws.portRts ? QStringLiteral("1") : QStringLiteral("0"));
    return port && dtr && rts;
}

}  // namespace kt
