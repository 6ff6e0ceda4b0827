#include "base/Versions.h"

#include "base/ProfileFile.h"

#include <QDir>

namespace kt {

namespace {

// Counts beyond this are taken as damage, not as entries to look for.
constexpr int kMaxEntries = 9999;

int CountValue(const QString& text)
{
    bool ok = false;
    int n = text.trimmed().toInt(&ok);
    if (!ok || n < 0) return 0;
    return n > kMaxEntries ? kMaxEntries : n;
}

}  // namespace

VersionTable LoadVersionTable(const QString& installRoot)
{
    VersionTable t;
    const QString path = installRoot + "/Version.ini";
    t.CurrentVersion = ReadProfileString(path, "Version", "CurrentVersion");
    const int soft = CountValue(ReadProfileString(path, "Version", "SoftVersionCount"));
    const int firm = CountValue(ReadProfileString(path, "Version", "FirmVersionCount"));
    for (int i = 0; i < soft; ++i)
        t.SoftVersions << ReadProfileString(path, "Soft", "Version" + QString::number(i));
    for (int i = 0; i < firm; ++i) {
        const QString entry = ReadProfileString(path, "Firm", "Firm" + QString::number(i));
        t.VersionPairs << VersionPair{entry.left(4), entry.right(4)};
    }
    return t;
}

bool IsCompatible(const VersionTable& t, const QString& soft, const QString& other)
{
    for (const VersionPair& p : t.VersionPairs)
        if (p.SoftPart == soft && p.FirmPart == other) return true;
    return false;
}

QString SoftwareFor(const VersionTable& t, const QString& other)
{
    for (const VersionPair& p : t.VersionPairs)
        if (p.FirmPart == other) return p.SoftPart;
    return {};
}

QString VersionText(const QString& v)
{
    return v.left(2) + "." + v.right(2);
}

QString IncompatibleMessage(const QString& soft, const QString& other, int kind, int language)
{
    const QString crlf = QStringLiteral("\r\n");
    QString middle;
    switch (kind) {
    case 0: middle = vtxt::FirmwareLabel.in(language) + " " + VersionText(other); break;
    case 1: middle = vtxt::DataFileLabel.in(language) + " " + VersionText(other); break;
    default: middle = VersionText(other); break;
    }
    return vtxt::Question.in(language) + crlf + middle + crlf + vtxt::SoftwareLabel.in(language) + " " +
           VersionText(soft);
}

QString LaunchTarget(const VersionTable& t, const QString& installRoot, const QString& v,
                     const QString& ownExecutableName)
{
    const QString soft = SoftwareFor(t, v);
    if (soft.isEmpty()) return {};
    QString exe = ownExecutableName;
    if (exe.endsWith(".exe", Qt::CaseInsensitive)) exe.chop(4);
    return QDir::cleanPath(installRoot + "/" + soft + "/RA_418/" + exe);
}

}  // namespace kt
