#include "gui/StartUpWork.h"
#include "gui/frmMain.h"
#include "gui/link/FrmRestoreBackup.h"
#include "link/Backups.h"
#include "model/EditStep.h"
#include "shell/Autosave.h"
#include "shell/DocumentHistory.h"
#include "shell/FileCommands.h"

#include <QDir>
#include <QFileInfo>

namespace kt {

namespace {
constexpr Bi kOneFileOnly{"Only one file can be opened at a time; these were not opened:\n%1",
                          "一次只能打开一个文件；以下文件未打开：\n%1"};

bool IsImagePath(const QString& path) { return path.endsWith(QLatin1String(".img"), Qt::CaseInsensitive); }

// A memory image that is no backup of this program (a copy renamed, one made
// by the command-line tool): opened as a backup is, without its date.
bool OpenPlainImage(frmMain& main, const QString& path)
{
    Workspace& ws = main.ws();
    std::vector<uint8_t> image;
    QString why;
    if (!BackupStore::Load(path, image, &why, ws.CurrentLanguage)) {
        ws.Ask(QDir::toNativeSeparators(path) + "\n" + why, Buttons::Ok, Icon::Warning);
        return false;
    }
    if (!AskSaveModified(ws)) return false;
    main.SetChildrenAside();
    EditStep step(ws, Named(steptxt::RestoreBackup, Plain(QFileInfo(path).fileName())));
    OpenImageAsDocument(ws, image);
    return true;
}
}  // namespace

bool OfferRecoveryAtStart(frmMain& main, Autosave& keeper)
{
    QObject::connect(&keeper, &Autosave::writeFailed, &main, [&main](const QString& m) { main.ShowStatus(m); });
    // Another version takes over without the shut-down steps: the copy goes
    // first, as at any other end the user chose.
    auto end = main.endProgram;
    main.endProgram = [&keeper, end] {
        keeper.Remove();
        keeper.Flush();
        if (end) end();
    };
    return keeper.OfferLeftWork(
        [&main] {
            // The recovered document starts a history of its own.
            main.History().Reset();
        },
        // As for an opened file: the windows close on the old document and
        // come back on the recovered one.
        [&main] { main.SetChildrenAside(); });
}

void OpenFromCommandLine(frmMain& main, const QStringList& paths)
{
    Workspace& ws = main.ws();
    if (paths.isEmpty()) return;
    if (paths.size() > 1) {
        QStringList shown;
        for (const QString& p : paths) shown << QDir::toNativeSeparators(p);
        ws.Ask(ws.T(kOneFileOnly).arg(shown.join('\n')), Buttons::Ok, Icon::Warning);
        return;
    }
    const QString path = QFileInfo(paths.first()).absoluteFilePath();
    if (!IsImagePath(path)) {
        main.OpenFile(path);
        return;
    }
    if (BackupStore::Inspect(path, ws.CurrentLanguage).readable) OpenBackup(main, path);
    else OpenPlainImage(main, path);
}

}  // namespace kt
