#include "gui/ChildWindows.h"
#include "gui/AccessibleNames.h"
#include "gui/FitWindow.h"
#include "gui/MenuPolish.h"
#include "model/EditStep.h"
#include "model/Workspace.h"

#include <QApplication>
#include <QTimer>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <functional>

namespace kt {

namespace {

// A child window frame that forgets itself when closed.
class ChildFrame : public QMdiSubWindow {
public:
    explicit ChildFrame(QWidget* parent) : QMdiSubWindow(parent) { setAttribute(Qt::WA_DeleteOnClose); }
    std::function<void()> onClosed;
    // The size the window asked for when it was created; cascading keeps it.
    QSize wanted;

    QSize sizeHint() const override
    {
        const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
        const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        return QMdiSubWindow::sizeHint().expandedTo(wanted + QSize(2 * frame, title + 2 * frame));
    }

protected:
    void closeEvent(QCloseEvent* e) override
    {
        QMdiSubWindow::closeEvent(e);
        if (e->isAccepted() && onClosed) onClosed();
    }
};

}  // namespace

ChildWindows::ChildWindows(QMdiArea& area, const EditorRegistry& editors, MainHost& host)
    : area_(area), editors_(editors), host_(host)
{
    KeepChildrenInsideOnResize(&area_);
}

QMdiSubWindow* ChildWindows::Frame(Child which) const { return subs_[int(which)]; }

QWidget* ChildWindows::Editor(Child which) const
{
    QMdiSubWindow* s = Frame(which);
    return s ? s->widget() : nullptr;
}

void ChildWindows::Show(Child which)
{
    QPointer<QMdiSubWindow>& slot = subs_[int(which)];
    if (slot) {
        area_.setActiveSubWindow(slot);
        slot->widget()->setFocus();
        return;
    }
    const EditorEntry* entry = editors_.Find(which);
    if (!entry) return;
    // What a window writes back as it shows the document is part of it, no step.
    const EditStep shown = EditStep::Absorbing(host_.ws());
    QWidget* w = entry->create(host_);
    auto* frame = new ChildFrame(&area_);
    // A window never resized still has the default size of an unshown
    // widget, which leaves empty bands; it gets what its layout asks for,
    // in the style it is shown in, once its texts and lists are in.
    AskLayoutsAfresh(w);
    frame->wanted = w->testAttribute(Qt::WA_Resized) ? w->size().expandedTo(w->sizeHint()) : w->sizeHint();
    frame->setWidget(w);
    frame->setWindowIcon(QApplication::windowIcon());
    const int index = int(which);
    frame->onClosed = [this, index, frame] {
        if (subs_[index] == frame) subs_[index] = nullptr;
    };
    slot = frame;
    area_.addSubWindow(frame);
    frame->show();
    Cascade();
    area_.setActiveSubWindow(frame);
    // What the window fills in as it first shows can ask for more room than
    // it was given; once that is in, it grows to it (within the area),
    // unless it was placed or sized meanwhile.
    if (!reopening_)
        QTimer::singleShot(0, frame, [frame, given = frame->geometry()] {
            if (frame->geometry() != given || frame->isMaximized() || frame->isMinimized()) return;
            FitInArea(frame, frame->sizeHint());
        });
    // Every control gets the name a screen reader says, once the window
    // is laid out and its texts are in.
    QTimer::singleShot(0, w, [w, L = host_.ws().CurrentLanguage] { NameControls(w, L); });
}

void ChildWindows::Close(Child which)
{
    QPointer<QMdiSubWindow>& slot = subs_[int(which)];
    if (!slot) return;
    QMdiSubWindow* s = slot;
    slot = nullptr;
    s->close();   // lets the window store what it still holds
    delete s;
}

void ChildWindows::CloseAll()
{
    for (const EditorEntry& e : editors_.Entries()) Close(e.id);
    for (QMdiSubWindow* s : area_.subWindowList()) {
        s->close();
        delete s;
    }
}

void ChildWindows::Cascade()
{
    area_.cascadeSubWindows();
    KeepChildrenInside(&area_);
}

LineEditTarget* ChildWindows::LineEditor() const
{
    if (QMdiSubWindow* active = area_.activeSubWindow())
        if (auto* t = dynamic_cast<LineEditTarget*>(active->widget())) return t;
    for (const EditorEntry& e : editors_.Entries())
        if (auto* t = dynamic_cast<LineEditTarget*>(Editor(e.id))) return t;
    return nullptr;
}

QList<ChildWindows::Placed> ChildWindows::OpenNow() const
{
    QList<Placed> open;
    for (QMdiSubWindow* s : area_.subWindowList(QMdiArea::StackingOrder))
        for (const EditorEntry& e : editors_.Entries())
            if (Frame(e.id) == s) open.push_back({e.id, s->geometry()});
    // The active window goes last, so that it is active again afterwards.
    if (QMdiSubWindow* active = area_.activeSubWindow())
        for (int i = 0; i < open.size(); ++i)
            if (Frame(open[i].id) == active) open.move(i, open.size() - 1);
    return open;
}

void ChildWindows::Reopen(const QList<Placed>& windows)
{
    reopening_ = true;
    for (const Placed& p : windows) Show(p.id);
    reopening_ = false;
    // Show cascades; the old places are put back once every window is there.
    for (const Placed& p : windows)
        if (QMdiSubWindow* s = Frame(p.id)) s->setGeometry(p.frame);
    for (const Placed& p : windows)
        if (QMdiSubWindow* s = Frame(p.id)) s->raise();
    if (!windows.isEmpty())
        if (QMdiSubWindow* s = Frame(windows.back().id)) area_.setActiveSubWindow(s);
}

}  // namespace kt
