// The main window's core: paths, the title, the start-up sequence, the
// window geometry store and the queued notices.
#pragma once

#include <QString>
#include <QStringList>

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
// Status bar panel 3: port label and port ("COM1", "通信口1"); "no port"
// when none is chosen, the simulated radio by its name in the language, and
// "(not present)" after a port that is not among the present ones.
QString PortPanelText(const Workspace& ws, const QStringList& presentPorts);
// The same against the ports present now (PresentPorts).
QString PortPanelText(const Workspace& ws);
// The names the port dialog lists: the system's serial ports, then the
// simulated radio's key.
QStringList PresentPorts();
// What the port dialog preselects for a port key: that port when present,
// else the first listed; empty when nothing is listed.
QString PreselectedPort(const QString& key, const QStringList& presentPorts);
// File dialog filter: "Data File (*.dat)" in the current language.
QString DataFileFilter(const Workspace& ws);

struct StartOptions {
    QString root;            // installation root; empty: parent of programDir
    QString programDir;      // folder of the program (Init/, PIC/)
    bool groupWrite = false; // offers the multi-radio write
    int systemLanguage = 1;  // 1 English, 2 Chinese
    // With no port stored, use the port the port dialog would preselect
    // (the desktop program; the command-line tool names its port itself).
    bool resolvePort = false;
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
// False on a first run: none of the four keys is stored yet.
bool HasStoredGeometry(QSettings& store);
void StoreGeometry(QSettings& store, const Geometry& g);

// Shows the notices queued during a transfer, in order, then empties the queue.
void ShowQueuedMessages(Workspace& ws);

}  // namespace kt
