#include "gui/FitWindow.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QWindow>

namespace kt {

namespace {

class WholeScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    // QScrollArea caps its wish at a few dozen lines; this one asks for all.
    QSize sizeHint() const override
    {
        const QWidget* w = widget();
        if (!w) return QScrollArea::sizeHint();
        const QSize body = widgetResizable() ? w->sizeHint().expandedTo(w->minimumSizeHint()) : w->size();
        // Room for a scroll bar at the side, so that a window short of
        // height scrolls one way only.
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        return body + QSize(2 * frameWidth() + bar, 2 * frameWidth());
    }

protected:
    // What the body asks for changes as its texts and lists fill; the
    // window's layout hears of it only through the area.
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (o == widget() && e->type() == QEvent::LayoutRequest) updateGeometry();
        return QScrollArea::eventFilter(o, e);
    }
};

class OnScreen : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Show && watched->isWidgetType()) Fit(static_cast<QWidget*>(watched));
        return false;
    }

private:
    static void Fit(QWidget* w)
    {
        const Qt::WindowType type = w->windowType();
        if (!w->isWindow() || (type != Qt::Window && type != Qt::Dialog && type != Qt::Tool) || w->isMaximized() || w->isFullScreen())
            return;
        QScreen* screen = w->screen();
        if (!screen) return;
        const QRect free = screen->availableGeometry();
        // Before the window is first shown its frame is not known; leave room for a usual one.
        QMargins frame = w->windowHandle() ? w->windowHandle()->frameMargins() : QMargins();
        if (frame.isNull()) frame = QMargins(8, 32, 8, 8);
        const QSize room = free.size().shrunkBy(frame);
        if (w->width() > room.width() || w->height() > room.height()) w->resize(w->size().boundedTo(room));
        // pos() is where the frame stands.
        QRect outer(w->pos(), w->size().grownBy(frame));
        if (!w->testAttribute(Qt::WA_Moved)) {
            // Nobody placed it: it opens over the window it belongs to.
            const QWidget* over = w->parentWidget() ? w->parentWidget()->window() : nullptr;
            outer.moveCenter(over ? over->frameGeometry().center() : free.center());
        } else if (free.contains(outer)) {
            return;
        }
        outer.moveLeft(std::clamp(outer.left(), free.left(), std::max(free.left(), free.right() + 1 - outer.width())));
        outer.moveTop(std::clamp(outer.top(), free.top(), std::max(free.top(), free.bottom() + 1 - outer.height())));
        // Placed by its inside: before the window is mapped the frame is not
        // known, and a frame position would put the title bar off the screen.
        w->setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), w->size()));
    }
};

class AreaWatch : public QObject {
public:
    explicit AreaWatch(QMdiArea* area) : QObject(area), area_(area) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        // Once the area has laid out its scroll bars and viewport.  Only a
        // window the area cannot hold is changed; one the user moved partly
        // out of view stays where it is.
        if (e->type() == QEvent::Resize || e->type() == QEvent::Show)
            QMetaObject::invokeMethod(this, [this] { KeepChildrenInside(area_, true); }, Qt::QueuedConnection);
        return false;
    }

private:
    QMdiArea* area_;
};

}  // namespace

void KeepChildrenInside(QMdiArea* area, bool tooLargeOnly)
{
    const QSize room = area->viewport()->size();
    if (room.isEmpty() || !area->isVisible()) return;
    for (QMdiSubWindow* s : area->subWindowList()) {
        if (s->isMinimized() || s->isMaximized()) continue;
        if (tooLargeOnly && s->width() <= room.width() && s->height() <= room.height()) continue;
        FitInArea(s, s->size());
    }
}

void AskLayoutsAfresh(QWidget* window)
{
    window->ensurePolished();
    for (QLayout* l : window->findChildren<QLayout*>()) l->invalidate();
    for (QScrollArea* a : window->findChildren<QScrollArea*>()) a->updateGeometry();
    if (window->layout()) window->layout()->invalidate();
}

void FitInArea(QMdiSubWindow* frame, QSize wish)
{
    // Before the main window is first shown its area has no size yet.
    const QMdiArea* area = frame->mdiArea();
    const QSize room = area && area->isVisible() ? area->viewport()->size() : QSize();
    if (!room.isEmpty()) wish = wish.boundedTo(room);
    const QSize size = wish.expandedTo(frame->minimumSizeHint());
    if (size != frame->size()) frame->resize(size);
    if (room.isEmpty()) return;
    const QPoint at(std::clamp(frame->x(), 0, std::max(0, room.width() - size.width())),
                    std::clamp(frame->y(), 0, std::max(0, room.height() - size.height())));
    if (at != frame->pos()) frame->move(at);
}

void KeepChildrenInsideOnResize(QMdiArea* area) { area->installEventFilter(new AreaWatch(area)); }

QScrollArea* ScrollingBody(QWidget* body, bool resizable)
{
    auto* area = new WholeScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(resizable);
    area->setWidget(body);
    area->setFocusPolicy(Qt::NoFocus);   // Tab goes to the controls, not to the area
    return area;
}

void KeepWindowsOnScreen(QObject* owner) { qApp->installEventFilter(new OnScreen(owner)); }

}  // namespace kt
