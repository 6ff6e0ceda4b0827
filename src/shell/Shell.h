// The main window's core: paths, the title, the start-up sequence, the
// window geometry store and the queued notices.
#pragma once

#include <QString>

class QSettings;

namespace kt {

struct Workspace;

// Path helpers; both "/" and "\" separate folders.
// ParentFolder: the text before the last separator when that separator is not
// the first character, else the path unchanged ("D:\" gives "D:").
QString ParentFolder(const QString& path);
QString FileNameOf(const QString& path);

// "KT-6383 Pro[<BandRange>][File Name:<file>]" in the current language.
QString MainTitle(const Workspace& ws);
// Status bar panel 2: "KT-6383 Pro[<BandRange>]".
QString BandPanelText(const Workspace& ws);
// Status bar panel 3: port label and port ("COM1", "通信口1").
QString PortPanelText(const Workspace& ws);
// File dialog filter: "Data File (*.dat)" in the current language.
QString DataFileFilter(const Workspace& ws);

struct StartOptions {
    QString root;            // installation root; empty: parent of programDir
    QString programDir;      // folder of the program (Init/, PIC/)
    bool groupWrite = false; // offers the multi-radio write
    int systemLanguage = 1;  // 1 English, 2 Chinese
};
// Everything before the main window is created: version registry, group-write
// flag, settings, default data.
void StartUp(Workspace& ws, const StartOptions& opt);

// Main window position and size in twips (15 twips a pixel).
struct Geometry {
    int left = 100, top = 100, width = 14500, height = 10500;
};
constexpr int kTwipsPerPixel = 15;
// Section "Settings", keys "MainLeft", "MainTop", "MainWidth", "MainHeight";
// a missing or non-numeric key keeps its default.
Geometry LoadGeometry(QSettings& store);
void StoreGeometry(QSettings& store, const Geometry& g);

// Shows the notices queued during a transfer, in order, then empties the queue.
void ShowQueuedMessages(Workspace& ws);

}  // namespace kt
