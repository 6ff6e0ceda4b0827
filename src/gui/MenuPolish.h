// What a new user meets first in the main window, kept apart from the window
// itself: the platform's standard shortcuts, the commands not built yet shown
// disabled, a first-run size that holds the largest editor, and child windows
// kept inside the work area.
#pragma once

#include <QHash>
#include <QSize>
#include <QString>

class QAction;
class QDialog;
class QMainWindow;
class QMdiArea;
class QRect;
class QWidget;

namespace kt {

class EditorRegistry;
class MainHost;

// Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+Shift+S, Ctrl+P, Ctrl+Q, F1, Ctrl+Z and Ctrl+Shift+Z
// as the platform names them (Redo also Ctrl+Y), shown beside the menu items.
void ApplyStandardShortcuts(const QHash<QString, QAction*>& menuActions);

// A dialog that cannot be resized gets a title and a close button only; the
// window manager would otherwise add minimise and maximise buttons.
void FixedDialogFrame(QDialog& dialog, bool closeButton = true);

// Menu items and tool bar buttons of commands that have no behaviour yet are
// shown disabled, captions unchanged, so a click never does nothing silently.
void DisableUnbuiltCommands(const QHash<QString, QAction*>& menuActions);
bool IsUnbuiltCommand(const QString& menuName);

// The main window's first-run frame: big enough for `wanted` (the window
// size that shows the largest editor without scroll bars), at most 90% of the
// available screen, centred on it.
QRect FirstRunFrame(QSize wanted, const QRect& available);
// The main window size at which the largest of the editors fits its work
// area (each editor is made once, measured and dropped).
QSize SizeForLargestEditor(QMainWindow& main, QMdiArea& area, const EditorRegistry& editors,
                           MainHost& host);


// A top-level window shown over the main window: centred on it, made no
// larger than the screen's free area and moved wholly onto it.
void PlaceOverMainWindow(QWidget* window, QWidget* main);

// Alt+letter pressed inside a child window of the work area reaches the
// child's button or labelled control with that access key before the main
// menu bar, which otherwise takes every Alt+letter of the window.  Installed
// on the application for one main window.
void RouteAccessKeysToChildren(QMainWindow* main, QMdiArea* area);

}  // namespace kt
