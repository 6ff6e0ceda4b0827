// The document commands of the main window: the save question, Open, Save,
// Save As, and the start of another software version.  Every question and
// file dialog goes through ws.asker.
#pragma once

#include <QString>
#include <functional>

namespace kt {

struct Workspace;

// What the commands need of the main window.
struct DocumentWindows {
    std::function<void()> closeAllChildren;
    std::function<void()> showChannelWindow;   // load, show and cascade
    std::function<void()> changeLanguage;      // captions and tree
    std::function<void()> setTitle;
    std::function<void(const QString&)> launchVersion;
};

// When the data were modified: "File has been modify,save it now?" with
// Yes/No/Cancel.  Yes saves the current file (an untitled document goes to
// Save As).  False when the calling command must stop: Cancel, a cancelled
// Save As, or a save that failed (the data would otherwise be lost).
bool AskSaveModified(Workspace& ws);

// Writes CurrentFile; shows the failure and returns false when it could not.
bool SaveCurrentFile(Workspace& ws);
// Untitled: Save As.  Otherwise the overwrite question, then the save.
bool SaveCommand(Workspace& ws);
// Save dialog preset to CurrentFile; a cancelled dialog changes nothing.
bool SaveAsCommand(Workspace& ws);
// Save question, open dialog (or the given path: a recent file), the checks
// of the data file reader; the channel window is shown for the opened file.
// True when the file was opened.
bool OpenCommand(Workspace& ws, const DocumentWindows& windows, const QString& chosen = {});

// Starts the software version that handles v (looked up in the version
// registry): the save question for modified data first, then start(target).
// Returns true when the program was started and this one must end; false
// (after telling the user when something was missing) otherwise.
bool LaunchVersionFlow(Workspace& ws, const QString& v, const QString& ownExecutableName,
                       const std::function<bool(const QString&)>& start);

}  // namespace kt
