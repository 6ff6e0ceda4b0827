#include "gui/MenuPolish.h"

#include <QDialog>
#include "gui/EditorRegistry.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QScreen>
#include <QLayout>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRect>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace kt {

namespace {

struct ShortcutEntry {
    const char* menu;
    QKeySequence::StandardKey key;
    const char* fallback;   // where the platform names none (Save As, Quit on some desktops)
};

constexpr ShortcutEntry kShortcuts[] = {
    {"mnuFileNew", QKeySequence::New, "Ctrl+N"},
    {"mnuFileOpen", QKeySequence::Open, "Ctrl+O"},
    {"mnuFileSave", QKeySequence::Save, "Ctrl+S"},
    {"mnuFileSaveAs", QKeySequence::SaveAs, "Ctrl+Shift+S"},
    {"mnuFilePrint", QKeySequence::Print, "Ctrl+P"},
    {"mnuFileExit", QKeySequence::Quit, "Ctrl+Q"},
    {"mnuHelpTopic", QKeySequence::HelpContents, "F1"},
    {"mnuEditUndo", QKeySequence::Undo, "Ctrl+Z"},
    {"mnuEditRedo", QKeySequence::Redo, "Ctrl+Shift+Z"},
    {"mnuViewAllFields", QKeySequence::UnknownKey, "Ctrl+Shift+A"},
    {"mnuChannelFind", QKeySequence::Find, "Ctrl+F"},
    {"mnuChannelFindNext", QKeySequence::FindNext, "F3"},
    {"mnuChannelFindPrev", QKeySequence::FindPrevious, "Shift+F3"},
};

// Keys a command has on every platform, beside the platform's own: Redo is
// Ctrl+Shift+Z and Ctrl+Y wherever the user comes from.
struct ExtraShortcut {
    const char* menu;
    const char* keys[2];
};
constexpr ExtraShortcut kAlways[] = {
    {"mnuEditRedo", {"Ctrl+Shift+Z", "Ctrl+Y"}},
    {"mnuChannelFind", {"Ctrl+F", "Ctrl+F"}},
    {"mnuChannelFindNext", {"F3", "F3"}},
    {"mnuChannelFindPrev", {"Shift+F3", "Shift+F3"}},
};

// Commands whose windows or behaviour are not in the program yet.  An entry
// goes when its command is built.
constexpr const char* kUnbuilt[] = {
    "mnuKeyAssignm",      // Key Assignment
    "mnuScanInfo",        // Scan Information
};

}  // namespace

void ApplyStandardShortcuts(const QHash<QString, QAction*>& menuActions)
{
    for (const ShortcutEntry& s : kShortcuts)
        if (QAction* a = menuActions.value(QString::fromLatin1(s.menu))) {
            const QList<QKeySequence> keys = QKeySequence::keyBindings(s.key);
            if (keys.isEmpty()) a->setShortcut(QKeySequence(QString::fromLatin1(s.fallback)));
            else a->setShortcuts(keys);
        }
    for (const ExtraShortcut& e : kAlways)
        if (QAction* a = menuActions.value(QString::fromLatin1(e.menu))) {
            QList<QKeySequence> keys = a->shortcuts();
            for (const char* k : e.keys)
                if (!keys.contains(QKeySequence(QString::fromLatin1(k)))) keys << QKeySequence(QString::fromLatin1(k));
            a->setShortcuts(keys);
        }
}

bool IsUnbuiltCommand(const QString& menuName)
{
    return std::any_of(std::begin(kUnbuilt), std::end(kUnbuilt),
                       [&](const char* n) { return menuName == QLatin1String(n); });
}

void FixedDialogFrame(QDialog& dialog, bool closeButton)
{
    // Without CustomizeWindowHint the X11 window managers get no say from
    // the hints below and decorate the dialog fully.
    Qt::WindowFlags f = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeButton) f |= Qt::WindowCloseButtonHint;
    dialog.setWindowFlags(f);
}

void DisableUnbuiltCommands(const QHash<QString, QAction*>& menuActions)
{
    // Called before the tool bar is built: its buttons take the state of the
    // menu item whose command they run.
    for (const char* name : kUnbuilt)
        if (QAction* a = menuActions.value(QString::fromLatin1(name))) a->setEnabled(false);
}

QRect FirstRunFrame(QSize wanted, const QRect& available)
{
    const QSize limit(available.width() * 9 / 10, available.height() * 9 / 10);
    const QSize size = wanted.boundedTo(limit);
    QRect frame(QPoint(0, 0), size);
    frame.moveCenter(available.center());
    return frame;
}

QSize SizeForLargestEditor(QMainWindow& main, QMdiArea& area, const EditorRegistry& editors,
                           MainHost& host)
{
    QSize largest;
    for (const EditorEntry& e : editors.Entries()) {
        QWidget* w = e.create(host);
        largest = largest.expandedTo(w->size().expandedTo(w->sizeHint()));
        delete w;
    }
    QStyle* st = area.style();
    const int frame = st->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &area);
    const int title = st->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &area);
    const QSize child = largest + QSize(2 * frame, title + 2 * frame);
    // What the menus, tool bar, tree pane and status bar take around the area.
    main.layout()->activate();
    if (QLayout* inner = main.centralWidget() ? main.centralWidget()->layout() : nullptr) inner->activate();
    const QSize chrome = main.size() - area.viewport()->size();
    return child + chrome.expandedTo(QSize(0, 0)) + QSize(4, 4);
}

void PlaceOverMainWindow(QWidget* window, QWidget* main)
{
    QScreen* screen = main && main->screen() ? main->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect free = screen->availableGeometry();
    // The frame around the window is not known before it is shown; leave room for it.
    const QSize frame(16, 48);
    const QSize size = window->size().boundedTo(free.size() - frame);
    window->resize(size);
    QRect r(QPoint(0, 0), size + frame);
    r.moveCenter(main ? main->frameGeometry().center() : free.center());
    r.moveLeft(std::clamp(r.left(), free.left(), free.right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), free.top(), free.bottom() + 1 - r.height()));
    window->move(r.topLeft());
}

namespace {

// The control in child that the access key reaches: a button with it, or
// the control a label with it names; null when there is none.
QWidget* AccessKeyTarget(QWidget* child, const QKeySequence& key)
{
    for (QAbstractButton* b : child->findChildren<QAbstractButton*>())
        if (b->isVisibleTo(child) && b->isEnabled() && QKeySequence::mnemonic(b->text()) == key) return b;
    for (QLabel* l : child->findChildren<QLabel*>()) {
        QWidget* buddy = l->buddy();
        if (buddy && buddy->isVisibleTo(child) && buddy->isEnabled() && QKeySequence::mnemonic(l->text()) == key)
            return buddy;
    }
    return nullptr;
}

class AccessKeyRouter : public QObject {
public:
    AccessKeyRouter(QMainWindow* main, QMdiArea* area) : QObject(main), main_(main), area_(area) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::ShortcutOverride && e->type() != QEvent::KeyPress) return false;
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->modifiers() != Qt::AltModifier || k->key() < Qt::Key_0 || k->key() > Qt::Key_Z) return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != main_ || !area_->isAncestorOf(w)) return false;
        QMdiSubWindow* sub = area_->activeSubWindow();
        if (!sub || !sub->widget() || !sub->widget()->isAncestorOf(w)) return false;
        const QKeySequence key(QKeyCombination(Qt::AltModifier, Qt::Key(k->key())));
        QWidget* target = AccessKeyTarget(sub->widget(), key);
        if (!target) return false;
        // Accepting the override keeps the menu bar from taking the key; the
        // key press that follows then does the child's work.
        e->accept();
        if (e->type() == QEvent::KeyPress) {
            target->setFocus(Qt::ShortcutFocusReason);
            if (auto* b = qobject_cast<QAbstractButton*>(target)) b->animateClick();
        }
        return true;
    }

private:
    QMainWindow* main_;
    QMdiArea* area_;
};

}  // namespace

void RouteAccessKeysToChildren(QMainWindow* main, QMdiArea* area)
{
    qApp->installEventFilter(new AccessKeyRouter(main, area));
}

}  // namespace kt
