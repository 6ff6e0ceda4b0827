#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kt::test {

QString BuildBinDir() { return QStringLiteral(KT_BUILD_BIN_DIR); }

static void CopyDir(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDir src(from);
    for (const QFileInfo& fi : src.entryInfoList(QDir::Files | QDir::NoDotAndDotDot))
        QFile::copy(fi.filePath(), to + "/" + fi.fileName());
}

TempInstall::TempInstall(bool withTemplates, bool withVersionIni)
{
    QDir().mkpath(bin());
    QDir().mkpath(path("language"));
    if (withTemplates) {
        CopyDir(BuildBinDir() + "/Init", bin() + "/Init");
        CopyDir(BuildBinDir() + "/PIC", bin() + "/PIC");
    }
    if (withVersionIni)
        QFile::copy(QStringLiteral(KT_SOURCE_DIR) + "/resources/Version.ini", path("Version.ini"));
}

std::unique_ptr<Workspace> TempInstall::workspace() const
{
    auto ws = std::make_unique<Workspace>();
    ws->InstallRoot = root();
    ws->ProgramDir = bin();
    return ws;
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(bytes) == bytes.size();
}

}  // namespace kt::test
