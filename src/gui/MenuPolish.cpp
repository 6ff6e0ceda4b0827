#include "gui/MenuPolish.h"

#include <QDialog>
#include "gui/EditorRegistry.h"

#include <QAction>
#include <QKeySequence>
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
};

// Keys a command has on every platform, beside the platform's own: Redo is
// Ctrl+Shift+Z and Ctrl+Y wherever the user comes from.
struct ExtraShortcut {
    const char* menu;
    const char* keys[2];
};
constexpr ExtraShortcut kAlways[] = {
    {"mnuEditRedo", {"Ctrl+Shift+Z", "Ctrl+Y"}},
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

void KeepChildrenInside(QMdiArea* area)
{
    const QSize room = area->viewport()->size();
    if (room.isEmpty()) return;
    for (QMdiSubWindow* s : area->subWindowList()) {
        if (s->isMinimized() || s->isMaximized()) continue;
        QPoint at = s->pos();
        const QSize size = s->size();
        at.setX(size.width() >= room.width() ? 0 : std::min(at.x(), room.width() - size.width()));
        at.setY(size.height() >= room.height() ? 0 : std::min(at.y(), room.height() - size.height()));
        if (at != s->pos()) s->move(at);
    }
}

}  // namespace kt
