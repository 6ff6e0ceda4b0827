// Names for screen readers.  A control beside its label gets that label as
// its buddy (so the label names it and its access key reaches it); a control
// in a table of controls is named by its column heading and its row label;
// the few controls with no label at all are named from a table.
#pragma once

#include <QList>
#include <QString>
#include <functional>

class QObject;
class QWidget;

namespace kt {

// Gives every control of window that takes the focus and has no name one.
// Runs once the window is laid out (labels are found by where they stand).
void NameControls(QWidget* window, int language);

// Names the controls of every window of the program (dialogs, message
// boxes, the windows of their own) as each first shows.  The filter lives
// as long as owner.
void NameControlsOfEveryWindow(QObject* owner, std::function<int()> language);

// Tab goes through widgets in the order given.
void TabInOrder(const QList<QWidget*>& widgets);

// Whether c is part of window as shown, counting the pages of a tab
// widget that are not in front as shown.
bool ShownIn(QWidget* c, QWidget* window);

// What a screen reader says a control is: its own name, the label that
// names it, or a button's caption; empty when it says nothing.
QString SpokenName(QWidget* control);

}  // namespace kt
