// Windows on small and scaled screens (1366x768, or 1920x1080 at 150 % and
// 200 %): an editor too large for its area scrolls its controls while its
// Close button stays in view, and no window opens larger than the screen.
#pragma once

#include <QSize>

class QMdiArea;
class QMdiSubWindow;
class QObject;
class QScrollArea;
class QWidget;

namespace kt {

// body in a frameless scroll area that asks for room for the whole of body,
// so that it scrolls only where the window cannot be that large.  resizable:
// body grows with the room (a layout); otherwise body keeps its own size.
QScrollArea* ScrollingBody(QWidget* body, bool resizable = true);

// Makes window's size hint what its controls ask for now: a scrolling body
// hides from the window's layout what its controls came to ask for since.
void AskLayoutsAfresh(QWidget* window);

// No child of area extends past it: one larger than the area becomes as
// large as the area (or as small as it can be) at its top-left corner.
// tooLargeOnly: leaves alone the children the area can hold.
void KeepChildrenInside(QMdiArea* area, bool tooLargeOnly = false);
// The same for the children too large whenever the area changes size.
void KeepChildrenInsideOnResize(QMdiArea* area);
// Sizes a child window frame to wish, within the room its area has (never
// below what it needs), and moves it inside the area.
void FitInArea(QMdiSubWindow* frame, QSize wish);

// Keeps every window of the program that opens (dialogs, message boxes, the
// main window with a size stored on a larger screen) on the free part of its
// screen, smaller where it must be.  The filter lives as long as owner.
void KeepWindowsOnScreen(QObject* owner);

}  // namespace kt
