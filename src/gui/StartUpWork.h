// What the desktop program does once its main window is up: it offers the
// work a crashed run left behind and opens the file named on the command line.
#pragma once

#include <QStringList>

namespace kt {

class Autosave;
class frmMain;

// Ties the keeper to the main window (its failures go to the status bar, an
// end for another version removes the copy) and offers the work left by runs
// that did not end cleanly.  True when a copy was recovered.
bool OfferRecoveryAtStart(frmMain& main, Autosave& keeper);

// Opens what the command line names as Open would: a data file through Open,
// a memory image (a backup) as Restore Backup opens one.  More than one path,
// or a file that cannot be opened: the reason is told and the new job stays.
void OpenFromCommandLine(frmMain& main, const QStringList& paths);

}  // namespace kt
