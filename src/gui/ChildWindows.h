// The editor windows inside the main window's work area: one instance each,
// created from the editor registry, cascaded, and put back where they were
// after the document or the language was replaced under them.
#pragma once

#include "gui/EditorRegistry.h"

#include <QList>
#include <QPointer>
#include <QRect>

class QMdiArea;
class QMdiSubWindow;

namespace kt {

class ChildWindows {
public:
    ChildWindows(QMdiArea& area, const EditorRegistry& editors, MainHost& host);

    QWidget* Editor(Child which) const;
    // Focuses an open window, else creates it and cascades.
    void Show(Child which);
    void Close(Child which);
    void CloseAll();
    void Cascade();
    // The active editor when it has a channel grid, else any open one that has.
    LineEditTarget* LineEditor() const;

    // An open editor and its frame's place in the work area.
    struct Placed {
        Child id;
        QRect frame;
    };
    // The open editors, the one at the back first.
    QList<Placed> OpenNow() const;
    // Opens the editors of the list that are not open, each at its old place,
    // stacked as they were; the last one becomes the active window.
    void Reopen(const QList<Placed>& windows);

private:
    QMdiSubWindow* Frame(Child which) const;

    QMdiArea& area_;
    const EditorRegistry& editors_;
    MainHost& host_;
    QPointer<QMdiSubWindow> subs_[4];
    bool reopening_ = false;   // windows put back where they were keep their frames
};

}  // namespace kt
