// The main window: menus, tool bar, status bar, the navigation tree and the
// child windows of the editors in a multiple-document area.
#pragma once

#include "gui/ChildWindows.h"
#include "gui/CommandRegistry.h"
#include "gui/EditorRegistry.h"
#include "gui/MainHost.h"
#include "shell/FileCommands.h"
#include "shell/RecentFiles.h"
#include "shell/QtTexts.h"
#include "shell/Shell.h"
#include "model/Workspace.h"

#include <QHash>
#include <QSet>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSettings;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace kt {

class Transfers;
class CommandMoveBar;
class DocumentHistory;
class FrmHistory;

class frmMain : public QMainWindow, public MainHost {
    Q_OBJECT
public:
    // store: the per-user geometry store (section "Settings"); null for the
    // platform's default store.  editors: the editor windows offered.
    explicit frmMain(Workspace& ws, QSettings* store = nullptr, QWidget* parent = nullptr,
                     const EditorRegistry& editors = StandardEditors());
    ~frmMain() override;

    // MainHost
    Workspace& ws() override { return ws_; }
    QWidget* Editor(Child which) override;
    void ShowChild(Child which) override;
    void CloseChild(Child which) override;
    void CloseAllChildren() override;
    void SetChildrenAside() override;
    void ShowStatus(const QString& text) override;
    void SetTitle() override;
    void PopupListEditMenu(const QPoint& globalPos) override;
    void LaunchVersion(const QString& v) override;
    QWidget* MainWindow() override { return this; }
    QSettings* Settings() override { return store_; }

    void ApplyMainCaptions();
    void BuildTree();
    void Change_Language();
    void LoadBKPic();
    void LoadNewDoc();
    // Applies a language changed in the language dialog: captions, tree, and
    // every open editor window built again in the new language at its place
    // (the channel window when none was open).  Runs on activation; does
    // nothing when the shown language is already the current one.
    void ApplyLanguage();
    void Cascade();

    // Menu and tool bar commands.
    void mnuFileNew_Click();
    void ToolBarNew();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void MnuInitial_Click();
    void mnuLanguage_Click();
    void mnuHelpAbout_Click();
    void TreeNodeClick(const QString& key);
    void ToolBarClick(const QString& key);
    // Opens a file of the recent-files list; one that is gone leaves the list.
    void OpenRecent(const QString& path);
    // Open with the file already chosen (empty: the open dialog); true when opened.
    bool OpenFile(const QString& path);
    void ShowHistoryWindow();

    DocumentHistory& History() { return *history_; }
    RecentFiles& Recent() { return *recent_; }
    FrmHistory* HistoryWindow() const;
    // The recent-files entries of the File menu, newest first.
    QList<QAction*> RecentActions() const { return recentActions_; }

    // Parts of the window, by their names.
    QAction* menuAction(const QString& name) const;   // items and top-level menus
    QMenu* menu(const QString& name) const;
    QAction* toolButton(const QString& key) const;
    QMdiArea* mdiArea() const { return mdi_; }
    QToolBar* tbToolBar() const { return tbToolBar_; }
    QStatusBar* sbStatusBar() const;
    QLabel* statusPanel(int n) const;                  // 1-3
    QWidget* Picture1() const { return picture1_; }
    QTreeWidget* TreeView1() const { return tree_; }
    QToolBar* Toolbar1() const { return toolbar1_; }
    QWidget* CommandMove() const;
    // The radio-link wing (defined with the registrations in Commands.cpp).
    Transfers* transfers() const;
    // The tile the background is painted with (the picture without its border).
    QImage BackgroundTile() const { return bkTile_; }
    Geometry CurrentGeometry() const;

    // Seams for starting another version: how it is started, how this
    // program ends, and the name of the own executable.
    std::function<bool(const QString&)> startProgram;
    std::function<void()> endProgram;
    QString ownExecutableName;

protected:
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildTreePane();
    void Load();
    void ConnectMenuHandlers();
    void UpdateUndoActions();
    DocumentWindows OpenWindows();
    void RebuildRecentMenu();
    // Remembers a file opened or saved (the recent list and its folder).
    void NoteFile(const QString& path);
    // Binds a menu item; every command first stores what the editors still hold.
    void Bind(const QString& name, std::function<void()> handler);
    void DisableUnboundItems();

    Workspace& ws_;
    QSettings* store_;
    const EditorRegistry& editors_;
    std::unique_ptr<QSettings> ownStore_;
    std::unique_ptr<DocumentHistory> history_;
    std::unique_ptr<RecentFiles> recent_;
    QPointer<FrmHistory> historyWindow_;
    QList<QAction*> recentActions_;
    QAction* recentEnd_ = nullptr;   // the separator after the recent files
    QtTexts qtTexts_;
    QMdiArea* mdi_ = nullptr;
    QToolBar* tbToolBar_ = nullptr;
    QToolBar* toolbar1_ = nullptr;
    QWidget* picture1_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    CommandMoveBar* commandMove_ = nullptr;
    QLabel* panels_[3] = {};
    QHash<QString, QAction*> actions_;
    QHash<QString, QMenu*> menus_;
    QHash<QString, QAction*> toolButtons_;
    std::unique_ptr<ChildWindows> children_;
    // The editors closed for a document being replaced, shown again with it.
    QList<ChildWindows::Placed> setAside_;
    std::vector<CommandWing*> wings_;
    QSet<QString> bound_;
    QImage bkTile_;
    int bkLanguage_ = 0;
    bool launching_ = false;
};

}  // namespace kt
