// Names for screen readers.  A control beside its label gets that label as
// its buddy (so the label names it and its access key reaches it); a control
// in a table of controls is named by its column heading and its row label;
// the few controls with no label at all are named from a table.
#pragma once

#include <QString>

class QWidget;

namespace kt {

// Gives every control of window that takes the focus and has no name one.
// Runs once the window is laid out (labels are found by where they stand).
void NameControls(QWidget* window, int language);

// Whether c is part of window as shown, counting the pages of a tab
// widget that are not in front as shown.
bool ShownIn(QWidget* c, QWidget* window);

// What a screen reader says a control is: its own name, the label that
// names it, or a button's caption; empty when it says nothing.
QString SpokenName(QWidget* control);

}  // namespace kt
