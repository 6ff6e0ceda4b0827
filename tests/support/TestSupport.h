// Helpers shared by the tests: temporary installation roots and file helpers.
#pragma once

#include "model/Workspace.h"

#include <QByteArray>
#include <QStringList>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace kt::test {

// The build tree's program folder (templates, pictures, programs).
QString BuildBinDir();
// The user data folder (XDG_DATA_HOME) of this test run, a temporary one.
QString UserDataHome();

// A throw-away installation root: <root>/bin with Init/ and PIC/ copied from
// the build, <root>/Version.ini, <root>/language/.  Removed when destroyed.
class TempInstall {
public:
    explicit TempInstall(bool withTemplates = true, bool withVersionIni = true);
    QString root() const { return dir_.path(); }
    QString bin() const { return dir_.path() + "/bin"; }
    QString path(const QString& rel) const { return dir_.path() + "/" + rel; }
    // A workspace whose InstallRoot and ProgramDir point here.
    std::unique_ptr<Workspace> workspace() const;
private:
    QTemporaryDir dir_;
};

// What the document holds, for comparing states: the working record without
// where the channel window stood, every slot of every group, the band range.
QByteArray DocumentBytes(const Workspace& ws);

// kt6383 from the build, run in install's root with "--root <root>" added
// (unless withRoot is false), input on its standard input, in environment
// (empty: the test's own); code is -1 when it did not end normally within 30 s.
struct ToolRun {
    int code = -1;
    QByteArray out;
    QString err;
};
struct ToolOptions {
    QByteArray input{};
    bool withRoot = true;
    QProcessEnvironment environment{};
};
ToolRun RunTool(const TempInstall& install, QStringList args, const ToolOptions& options = {});

QByteArray ReadFile(const QString& path);
bool WriteFile(const QString& path, const QByteArray& bytes);

}  // namespace kt::test
