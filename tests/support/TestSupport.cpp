#include "TestSupport.h"
#include "model/DataFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace kt::test {

namespace {
// A test run has user data and settings folders of its own: the backups of
// every read and write, and the per-user settings, never land in the home
// folder, also for the programs the tests start (they inherit these).
struct OwnUserFolders {
    QTemporaryDir dir;
    OwnUserFolders()
    {
        qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
    }
};
const OwnUserFolders g_userFolders;
}  // namespace

QString UserDataHome() { return g_userFolders.dir.filePath("data"); }

QString BuildBinDir() { return QStringLiteral(KT_BUILD_BIN_DIR); }

ToolRun RunTool(const TempInstall& install, QStringList args, const ToolOptions& options)
{
    if (options.withRoot) args << "--root" << install.root();
    QProcess p;
    p.setWorkingDirectory(install.root());
    if (!options.environment.isEmpty()) p.setProcessEnvironment(options.environment);
    p.start(BuildBinDir() + "/kt6383", args);
    p.write(options.input);
    p.closeWriteChannel();
    ToolRun r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

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

QByteArray DocumentBytes(const Workspace& ws)
{
    DataRecord r = ws.WorkRecord;
    r.CurGroup[0] = r.CurGroup[1] = 0;
    r.CurRow = BandGroupI16{};
    QByteArray b = SerializeDataRecord(r);
    for (int band = 0; band < kBands; ++band)
        for (int g = 1; g <= kMaxGroups; ++g)
            for (int s = 1; s <= kMaxSlots; ++s)
                b.append(reinterpret_cast<const char*>(&ws.Channels(band, s, g)), sizeof(ChannelRec));
    return b + ws.BandRange.toLatin1();
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
