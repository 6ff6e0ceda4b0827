#include "shell/FileCommands.h"
#include "shell/MainTexts.h"
#include "shell/Shell.h"
#include "model/DataFile.h"
#include "model/Workspace.h"

#include <QFileInfo>

namespace kt {

namespace {

QString CaptionWithoutAmpersand(const Workspace& ws, const char* menu)
{
    return MenuCaption(menu, ws.CurrentLanguage).remove('&');
}

}  // namespace

bool SaveCurrentFile(Workspace& ws)
{
    const FileResult r = SaveDataFile(ws);
    if (r.kind != FileResult::Done) {
        ws.Ask(r.message.isEmpty() ? ws.T(msg::FileError) : r.message, Buttons::Ok, Icon::Warning);
        return false;
    }
    ws.IsUntitled = false;
    ws.TitleChanged();
    emit ws.Events().documentSaved();
    return true;
}

bool SaveAsCommand(Workspace& ws)
{
    if (!ws.asker) return false;
    QString name = ws.asker->saveFileName(CaptionWithoutAmpersand(ws, "mnuFileSaveAs"), DataFileFilter(ws),
                                          ws.CurrentFile);
    if (name.isEmpty()) return false;
    // The channel file's name is derived from the last three characters, so
    // a name typed without an extension gets ".dat".
    if (QFileInfo(name).suffix().isEmpty()) name += ".dat";

    const QString previous = ws.CurrentFile;
    ws.CurrentFile = name;
    if (!SaveCurrentFile(ws)) {
        // Nothing was written under the new name: the document keeps its old one.
        ws.CurrentFile = previous;
        ws.TitleChanged();
        return false;
    }
    return true;
}

bool SaveCommand(Workspace& ws)
{
    if (ws.IsUntitled) return SaveAsCommand(ws);
    const QString question = "\"" + FileNameOf(ws.CurrentFile) + "\"" + ws.T(msg::Overwrite);
    if (ws.Ask(question, Buttons::OkCancel, Icon::Question) != Answer::Ok) return false;
    return SaveCurrentFile(ws);
}

bool AskSaveModified(Workspace& ws)
{
    if (!IsModified(ws)) return true;
    switch (ws.Ask(ws.T(msg::SaveModified), Buttons::YesNoCancel, Icon::Warning)) {
    case Answer::No: return true;
    case Answer::Yes: return ws.IsUntitled ? SaveAsCommand(ws) : SaveCurrentFile(ws);
    default: return false;
    }
}

bool OpenCommand(Workspace& ws, const DocumentWindows& windows, const QString& chosen)
{
    if (!AskSaveModified(ws)) return false;
    if (!ws.asker) return false;
    const QString path = chosen.isEmpty()
                             ? ws.asker->openFileName(CaptionWithoutAmpersand(ws, "mnuFileOpen"), DataFileFilter(ws))
                             : chosen;
    if (path.isEmpty()) return false;

    ws.PreviousFile = ws.CurrentFile;
    ws.CurrentFile = path;
    if (windows.closeAllChildren) windows.closeAllChildren();

    const FileResult r = OpenDataFile(ws);
    if (r.kind == FileResult::Done) {
        ws.IsUntitled = false;
        if (windows.showChannelWindow) windows.showChannelWindow();
        if (windows.setTitle) windows.setTitle();
        if (windows.changeLanguage) windows.changeLanguage();
        if (!r.notice.isEmpty()) ws.Ask(r.notice, Buttons::Ok, Icon::Warning);
        return true;
    }

    // The working data were not replaced, so the document keeps its name: a
    // later Save must not write them over the file that was refused.
    ws.CurrentFile = ws.PreviousFile;
    if (windows.setTitle) windows.setTitle();
    if (r.kind == FileResult::AskLaunch) {
        if (ws.Ask(r.message, Buttons::YesNo, Icon::Question) == Answer::Yes && windows.launchVersion)
            windows.launchVersion(r.launchVersion);
        return false;
    }
    ws.Ask(r.message.isEmpty() ? ws.T(msg::FileError) : r.message, Buttons::Ok, Icon::Warning);
    return false;
}

bool LaunchVersionFlow(Workspace& ws, const QString& v, const QString& ownExecutableName,
                       const std::function<bool(const QString&)>& start)
{
    const QString target = LaunchTarget(ws.Versions, ws.InstallRoot, v, ownExecutableName);
    if (target.isEmpty() || !QFileInfo(target).isFile()) {
        ws.Ask(ws.T(vtxt::LaunchFailure), Buttons::Ok, Icon::None);
        return false;
    }
    if (!AskSaveModified(ws)) return false;
    if (!start || !start(target)) {
        ws.Ask(ws.T(vtxt::LaunchFailure), Buttons::Ok, Icon::None);
        return false;
    }
    return true;
}

}  // namespace kt
