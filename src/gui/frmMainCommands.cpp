// The main window's commands: the handlers of its menu items and tool bar,
// and the document commands New, Open, Save, Initial Setting and the start of
// another software version.
#include "gui/FrmHistory.h"
#include "gui/FrmSetLanguage.h"
#include "gui/MenuPolish.h"
#include "gui/TreePane.h"
#include "gui/frmAbout.h"
#include "gui/frmMain.h"
#include "model/Defaults.h"
#include "model/EditStep.h"
#include "shell/DocumentHistory.h"
#include "shell/FileCommands.h"
#include "shell/MainTexts.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <utility>

namespace kt {

void frmMain::LoadNewDoc()
{
    CloseAllChildren();
    {
        // Undoable: the document before New is one step back.
        EditStep step(ws_, Named(steptxt::New));
        LoadNewTemplate(ws_);
    }
    ApplyMainCaptions();
    ShowChild(Child::ChannelInfo);
    SetTitle();
    Cascade();
}


// The main window's own menu items with their handlers; the wings bind theirs
// in the constructor.
void frmMain::ConnectMenuHandlers()
{
    const auto onLineEditor = [this](void (LineEditTarget::*command)()) {
        return [this, command] {
            if (LineEditTarget* t = children_->LineEditor()) (t->*command)();
        };
    };
    const std::pair<const char*, std::function<void()>> handlers[] = {
        {"mnuFileNew", [this] { mnuFileNew_Click(); }},
        {"mnuFileOpen", [this] { mnuFileOpen_Click(); }},
        {"mnuFileSave", [this] { mnuFileSave_Click(); }},
        {"mnuFileSaveAs", [this] { mnuFileSaveAs_Click(); }},
        {"mnuFileExit", [this] { close(); }},
        {"mnuEditUndo", [this] { history_->Undo(); }},
        {"mnuEditRedo", [this] { history_->Redo(); }},
        {"mnuEditHistory", [this] { ShowHistoryWindow(); }},
        {"mnuLanguage", [this] { mnuLanguage_Click(); }},
        {"MnuInitial", [this] { MnuInitial_Click(); }},
        {"mnuTreeView", [this] {
             const bool show = !picture1_->isVisible();
             picture1_->setVisible(show);
             commandMove_->setVisible(show);
             actions_["mnuTreeView"]->setChecked(show);
         }},
        {"mnuViewToolbar", [this] { tbToolBar_->setVisible(actions_["mnuViewToolbar"]->isChecked()); }},
        {"mnuViewStatusBar", [this] { statusBar()->setVisible(actions_["mnuViewStatusBar"]->isChecked()); }},
        {"mnuWindowCascade", [this] { Cascade(); }},
        {"mnuWindowTileHorizontal", [this] { mdi_->tileSubWindows(); }},
        {"mnuWindowTileVertical", [this] { mdi_->tileSubWindows(); }},
        {"mnuCloseAll", [this] { CloseAllChildren(); }},
        {"mnuHelpAbout", [this] { mnuHelpAbout_Click(); }},
        {"MnuLECopy", onLineEditor(&LineEditTarget::LECopy)},
        {"MnuLECut", onLineEditor(&LineEditTarget::LECut)},
        {"MnuLEPaste", onLineEditor(&LineEditTarget::LEPaste)},
        {"MnuLEInsert", onLineEditor(&LineEditTarget::LEInsertPaste)},
        {"MnuLEDelete", onLineEditor(&LineEditTarget::LEDelete)},
        {"MnuLESelectAll", onLineEditor(&LineEditTarget::LESelectAll)},
        {"MnuLEFillDown", onLineEditor(&LineEditTarget::LEFillDown)},
        {"mnuViewAllFields", [this] {
             ShowChild(Child::ChannelInfo);
             LineEditTarget* t = children_->LineEditor();
             if (t) t->LEShowAllFields(!t->AllFieldsShown());
             actions_["mnuViewAllFields"]->setChecked(t && t->AllFieldsShown());
         }},
    };
    for (const auto& [name, handler] : handlers) Bind(QString::fromLatin1(name), handler);
    // "Show All Fields" shows the channel window's state, which its own button changes too.
    actions_["mnuViewAllFields"]->setCheckable(true);
    connect(menus_["mnuView"], &QMenu::aboutToShow, this, [this] {
        const LineEditTarget* t = children_->LineEditor();
        actions_["mnuViewAllFields"]->setChecked(t && t->AllFieldsShown());
    });
    for (const EditorEntry& e : editors_.Entries()) {
        const Child id = e.id;
        Bind(QString::fromLatin1(e.menuName), [this, id] { ShowChild(id); });
    }
}

void frmMain::Bind(const QString& name, std::function<void()> handler)
{
    QAction* a = actions_.value(name);
    if (!a) return;
    // A command (menu, tool bar or shortcut) acts on what the editors show:
    // an edit still open there is stored first.  Tool bar buttons take no
    // focus, so the editors would not otherwise know.
    connect(a, &QAction::triggered, this, [this, h = std::move(handler)] {
        emit ws_.Events().aboutToEncode();
        h();
    });
    bound_.insert(name);
}

// Items without a handler (Key Assignment, Scan Information) and commands not
// built yet are shown disabled, so a click never does nothing silently.
void frmMain::DisableUnboundItems()
{
    for (const MenuEntry& e : MenuTable())
        if (e.parent && !bound_.contains(QString::fromLatin1(e.name))) actions_[e.name]->setEnabled(false);
    DisableUnbuiltCommands(actions_);
    for (const ToolButtonEntry& b : ToolBarTable())
        toolButtons_[QString::fromUtf8(b.key)]->setEnabled(actions_[b.menu]->isEnabled());
}

void frmMain::ToolBarClick(const QString& key)
{
    // A failure inside a tool bar command is not allowed to take the program down.
    try {
        emit ws_.Events().aboutToEncode();
        if (key == QStringLiteral("新建")) {
            ToolBarNew();   // the tool bar's New replaces the data without asking
            return;
        }
        for (const ToolButtonEntry& b : ToolBarTable())
            if (key == QString::fromUtf8(b.key)) actions_[b.menu]->trigger();
    } catch (...) {
    }
}

void frmMain::TreeNodeClick(const QString& key)
{
    for (const EditorEntry& e : editors_.Entries())
        if (key == QLatin1String(e.treeKey)) ShowChild(e.id);
}

void frmMain::mnuFileNew_Click()
{
    if (ws_.Ask(ws_.T(msg::ClearAll), Buttons::OkCancel, Icon::Warning) == Answer::Ok) LoadNewDoc();
}

void frmMain::ToolBarNew()
{
    LoadNewDoc();
}

// What Open needs of the main window.
DocumentWindows frmMain::OpenWindows()
{
    DocumentWindows w;
    // The windows open now come back, where they were, whether the file
    // opens or not.
    w.closeAllChildren = [this] { SetChildrenAside(); };
    w.showChannelWindow = [this] {
        children_->Reopen(std::exchange(setAside_, {}));
        ShowChild(Child::ChannelInfo);
    };
    w.changeLanguage = [this] { Change_Language(); };
    w.setTitle = [this] { SetTitle(); };
    w.launchVersion = [this](const QString& v) { LaunchVersion(v); };
    return w;
}

void frmMain::mnuFileOpen_Click() { OpenFile({}); }

bool frmMain::OpenFile(const QString& path)
{
    const bool opened = OpenCommand(ws_, OpenWindows(), path);
    children_->Reopen(std::exchange(setAside_, {}));
    if (!opened) return false;
    // An opened file starts a history of its own.
    history_->Reset();
    NoteFile(ws_.CurrentFile);
    return true;
}

void frmMain::OpenRecent(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        recent_->Remove(path);
        RebuildRecentMenu();
        ws_.Ask(ws_.T(mtxt::RecentMissing).arg(QDir::toNativeSeparators(path)), Buttons::Ok, Icon::Warning);
        return;
    }
    const bool opened = OpenCommand(ws_, OpenWindows(), path);
    children_->Reopen(std::exchange(setAside_, {}));
    if (!opened) return;
    history_->Reset();
    NoteFile(ws_.CurrentFile);
}

FrmHistory* frmMain::HistoryWindow() const { return historyWindow_; }

void frmMain::ShowHistoryWindow()
{
    if (!historyWindow_) {
        historyWindow_ = new FrmHistory(ws_, *history_, this);
        // At the right of the work area, where it covers the editors least.
        const QRect area(mdi_->mapToGlobal(QPoint(0, 0)), mdi_->size());
        historyWindow_->move(std::max(area.left(), area.right() - historyWindow_->width() - 16), area.top() + 16);
    }
    historyWindow_->show();
    historyWindow_->raise();
    historyWindow_->activateWindow();
}

void frmMain::mnuFileSave_Click() { SaveCommand(ws_); }
void frmMain::mnuFileSaveAs_Click() { SaveAsCommand(ws_); }

void frmMain::MnuInitial_Click()
{
    CloseAllChildren();
    {
        EditStep step(ws_, Named(steptxt::InitialSetting));
        LoadInitialTemplate(ws_);
    }
    SetTitle();
    ShowChild(Child::ChannelInfo);
    Cascade();
}

void frmMain::mnuLanguage_Click()
{
    FrmSetLanguage dlg(ws_, this);
    dlg.exec();
    // The main window is active again once the dialog has gone.
    ApplyLanguage();
}

void frmMain::mnuHelpAbout_Click()
{
    if (ws_.CurrentLanguage == English) {
        FrmAbout2 box(ws_, this);
        box.exec();
    } else {
        frmAbout box(ws_, this);
        box.exec();
    }
}

void frmMain::LaunchVersion(const QString& v)
{
    const bool started = LaunchVersionFlow(ws_, v, ownExecutableName, [this](const QString& target) {
        for (CommandWing* w : wings_) w->BeforeOtherVersion();
        return startProgram && startProgram(target);
    });
    if (!started) return;
    launching_ = true;
    if (endProgram) endProgram();
}

}  // namespace kt
