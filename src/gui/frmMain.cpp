#include "gui/frmMain.h"
#include "shell/DocumentHistory.h"
#include "shell/FileCommands.h"
#include "gui/FrmHistory.h"
#include "gui/link/FrmRestoreBackup.h"
#include "model/EditStep.h"
#include "gui/FrmSetLanguage.h"
#include "gui/MenuPolish.h"
#include "shell/MainTexts.h"
#include "gui/EditorRegistry.h"
#include "gui/frmAbout.h"
#include "gui/FrmModelInfo.h"
#include "gui/ReportCommands.h"
#include "gui/help/FrmHelp.h"
#include "gui/channels/ChannelFileCommands.h"
#include "gui/link/GuiTransfers.h"
#include "model/DataFile.h"
#include "model/Defaults.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>

namespace kt {

// The splitter button at the right edge of the tree pane: dragging it widens
// or narrows the pane, never below 300 twips nor beyond the window's inner width.
class CommandMoveBar : public QWidget {
public:
    CommandMoveBar(QWidget* pane, QWidget* parent) : QWidget(parent), pane_(pane)
    {
        setObjectName("CommandMove");
        setFixedWidth(5);
        setCursor(Qt::SizeHorCursor);
        setMouseTracking(true);
    }
    bool dragging = false;

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton) dragging = true;
    }
    void mouseReleaseEvent(QMouseEvent*) override { dragging = false; }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        setCursor(Qt::SizeHorCursor);
        if (!dragging) return;
        const int x = int(e->position().x());   // offset inside the button
        const int inner = window()->width();
        const int width = pane_->width() + x;
        if (width * kTwipsPerPixel < 300 || width > inner) return;
        pane_->setFixedWidth(width);
    }
    void paintEvent(QPaintEvent*) override {}

private:
    QWidget* pane_;
};

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

QString KeyOf(QTreeWidgetItem* item) { return item ? item->data(0, Qt::UserRole).toString() : QString(); }

}  // namespace

frmMain::frmMain(Workspace& ws, QSettings* store, QWidget* parent, const EditorRegistry& editors)
    : QMainWindow(parent), ws_(ws), store_(store), editors_(editors)
{
    setObjectName("frmMain");
    if (!store_) {
        ownStore_ = std::make_unique<QSettings>(QStringLiteral("KT-6383 Pro"), QStringLiteral("KT-6383 Pro"));
        store_ = ownStore_.get();
    }
    recent_ = std::make_unique<RecentFiles>(*store_);
    history_ = std::make_unique<DocumentHistory>(ws_);
    startProgram = [](const QString& path) { return QProcess::startDetached(path, {}); };
    endProgram = [] {
        // Ends at once, as after a start of another version: no save question,
        // no geometry store.
        std::fflush(nullptr);
        std::_Exit(0);
    };
    ownExecutableName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    qtTexts_.Use(ws_.CurrentLanguage);

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName("MDIArea");
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    BuildMenus();
    BuildToolBar();
    BuildTreePane();

    auto* central = new QWidget(this);
    auto* lay = new QHBoxLayout(central);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    lay->addWidget(picture1_);
    lay->addWidget(commandMove_);
    lay->addWidget(mdi_, 1);
    setCentralWidget(central);

    auto* sb = statusBar();
    sb->setObjectName("sbStatusBar");
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QString("Panel%1").arg(i + 1));
        panels_[i]->setContentsMargins(6, 0, 6, 0);
        sb->addPermanentWidget(panels_[i], i == 0 ? 1 : 0);
    }

    transfers_ = new Transfers(*this, this);
    // Model Information tells of the radio a transfer has just identified;
    // Radio Information opens it.
    connect(transfers_, &Transfers::TransferEnded, this, [this] { FrmModelInfo::RefreshOpen(*this); });
    connect(transfers_, &Transfers::RadioIdentified, this, [this] { FrmModelInfo::ShowFor(*this); });
    transfers_->backupKeep = BackupLimit(*store_);
    DocumentEvents& ev = ws_.Events();
    connect(&ev, &DocumentEvents::titleChanged, this, &frmMain::SetTitle);
    // A new, opened or read document is shown in the channel window.
    connect(&ev, &DocumentEvents::documentReplaced, this, [this] {
        SetTitle();
        if (!Editor(Child::ChannelInfo)) ShowChild(Child::ChannelInfo);
    });
    connect(&ev, &DocumentEvents::documentSaved, this, [this] { NoteFile(ws_.CurrentFile); });
    connect(history_.get(), &DocumentHistory::changed, this, &frmMain::UpdateUndoActions);
    Load();
    // The document the program starts with is where the history starts.
    history_->Reset();
}

frmMain::~frmMain()
{
    disconnect(&ws_.Events(), nullptr, this, nullptr);
    // Children and the link first: their destructors may still ask the host
    // for things, which must happen while this object is whole.
    delete historyWindow_.data();
    for (auto& s : subs_) delete s.data();
    for (QMdiSubWindow* s : mdi_->subWindowList()) delete s;
    delete transfers_;
    transfers_ = nullptr;
    history_.reset();
}

// ---- building ----------------------------------------------------------------

void frmMain::BuildMenus()
{
    QMenu* current = nullptr;
    for (const MenuEntry& e : MenuTable()) {
        const QString name = QString::fromLatin1(e.name);
        if (!e.parent) {
            current = new QMenu(e.caption.en, this);
            current->setObjectName(name);
            menus_[name] = current;
            actions_[name] = current->menuAction();
            if (name != "MnuListEdit") menuBar()->addMenu(current);
            continue;
        }
        if (e.separatorBefore) current->addSeparator();
        QAction* a = current->addAction(e.caption.en);
        a->setObjectName(name);
        actions_[name] = a;
    }
    ConnectMenuHandlers();
    ApplyStandardShortcuts(actions_);
    DisableUnbuiltCommands(actions_);
    // The recent files stand between Print and Exit, with a separator of their own.
    recentEnd_ = new QAction(this);
    recentEnd_->setSeparator(true);
    menus_["mnuFile"]->insertAction(actions_["mnuFileExit"], recentEnd_);
    for (const char* toggle : {"mnuTreeView", "mnuViewToolbar", "mnuViewStatusBar"}) {
        actions_[toggle]->setCheckable(true);
        actions_[toggle]->setChecked(true);
    }
}

void frmMain::BuildToolBar()
{
    tbToolBar_ = addToolBar(QStringLiteral("tbToolBar"));
    tbToolBar_->setObjectName("tbToolBar");
    tbToolBar_->setMovable(false);
    tbToolBar_->setIconSize(QSize(24, 24));
    QStyle* st = style();
    auto iconFor = [&](const QString& key) -> QIcon {
        if (key == "新建") return st->standardIcon(QStyle::SP_FileIcon);
        if (key == "打开") return st->standardIcon(QStyle::SP_DialogOpenButton);
        if (key == "保存") return st->standardIcon(QStyle::SP_DialogSaveButton);
        if (key == "打印") return st->standardIcon(QStyle::SP_FileDialogDetailedView);
        if (key == "ReadRadio") return st->standardIcon(QStyle::SP_ArrowDown);
        if (key == "CommSet") return st->standardIcon(QStyle::SP_ComputerIcon);
        if (key == "WriteRadio") return st->standardIcon(QStyle::SP_ArrowUp);
        if (key == "MWriteRadio") return st->standardIcon(QStyle::SP_FileDialogListView);
        if (key == "Undo") return QIcon::fromTheme("edit-undo", st->standardIcon(QStyle::SP_ArrowBack));
        if (key == "Redo") return QIcon::fromTheme("edit-redo", st->standardIcon(QStyle::SP_ArrowForward));
        return st->standardIcon(QStyle::SP_MessageBoxInformation);
    };
    int index = 1;
    for (const ToolButtonEntry& b : ToolBarTable()) {
        while (index < b.index) {   // buttons 4, 6, 10 and 12
            tbToolBar_->addSeparator();
            ++index;
        }
        const QString key = QString::fromUtf8(b.key);
        QAction* a = tbToolBar_->addAction(iconFor(key), key);
        a->setObjectName(QString("tbButton%1").arg(b.index));
        a->setData(key);
        toolButtons_[key] = a;
        connect(a, &QAction::triggered, this, [this, key] { ToolBarClick(key); });
        a->setEnabled(actions_[b.menu]->isEnabled());
        ++index;
    }
}

void frmMain::BuildTreePane()
{
    picture1_ = new QWidget(this);
    picture1_->setObjectName("Picture1");
    picture1_->setFixedWidth(220);
    auto* frame = new QVBoxLayout(picture1_);
    frame->setContentsMargins(2, 2, 0, 2);
    frame->setSpacing(0);

    toolbar1_ = new QToolBar(picture1_);
    toolbar1_->setObjectName("Toolbar1");
    toolbar1_->setIconSize(QSize(12, 12));
    auto* spacer = new QWidget(toolbar1_);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar1_->addWidget(spacer);
    QAction* close = toolbar1_->addAction(style()->standardIcon(QStyle::SP_TitleBarCloseButton), "删除");
    close->setObjectName("Toolbar1Close");
    close->setData(QStringLiteral("删除"));
    connect(close, &QAction::triggered, this, [this] {
        picture1_->setVisible(false);
        commandMove_->setVisible(false);
        actions_["mnuTreeView"]->setChecked(false);
    });

    tree_ = new QTreeWidget(picture1_);
    tree_->setObjectName("TreeView1");
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    connect(tree_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int) { TreeNodeClick(KeyOf(item)); });

    frame->addWidget(toolbar1_);
    frame->addWidget(tree_, 1);
    commandMove_ = new CommandMoveBar(picture1_, this);
}

// ---- load and captions -------------------------------------------------------

void frmMain::Load()
{
    commandMove_->dragging = false;

    const Geometry g = LoadGeometry(*store_);
    move(g.left / kTwipsPerPixel, g.top / kTwipsPerPixel);
    resize(std::max(200, g.width / kTwipsPerPixel), std::max(150, g.height / kTwipsPerPixel));

    for (const MenuEntry& e : MenuTable())
        if (e.hidden) actions_[e.name]->setVisible(false);
    toolButtons_["MWriteRadio"]->setVisible(ws_.GroupWriteEnabled);
    actions_["mnuMWriteToRadio"]->setVisible(ws_.GroupWriteEnabled);

    ApplyMainCaptions();
    BuildTree();
    LoadNewDoc();
    // First run: room for the largest editor (stored geometry wins afterwards).
    if (!HasStoredGeometry(*store_) && screen())
        setGeometry(FirstRunFrame(SizeForLargestEditor(*this, *mdi_, editors_, *this), screen()->availableGeometry()));
}

void frmMain::SetTitle()
{
    setWindowTitle(MainTitle(ws_));
    panels_[1]->setText(BandPanelText(ws_));
}

void frmMain::ApplyMainCaptions()
{
    const int L = ws_.CurrentLanguage;
    panels_[2]->setText(PortPanelText(ws_));
    panels_[1]->setText(BandPanelText(ws_));
    LoadBKPic();
    SetTitle();
    for (const MenuEntry& e : MenuTable()) {
        const QString name = QString::fromLatin1(e.name);
        if (!e.parent) menus_[name]->setTitle(e.caption.in(L));
        else actions_[name]->setText(e.caption.in(L));
    }
    for (const ToolButtonEntry& b : ToolBarTable())
        toolButtons_[QString::fromUtf8(b.key)]->setToolTip(actions_[b.menu]->text());
    toolbar1_->actions().last()->setToolTip(ws_.T(mtxt::TreeClose));
    picture1_->setToolTip(QString());
    UpdateUndoActions();
    RebuildRecentMenu();
}

// Undo and Redo name the step they would take, and are offered only when there is one.
void frmMain::UpdateUndoActions()
{
    if (!history_) return;
    const int L = ws_.CurrentLanguage;
    const struct {
        const char* menu;
        const char* key;
        const Bi& withStep;
        bool can;
        QString step;
    } items[] = {
        {"mnuEditUndo", "Undo", mtxt::UndoStep, history_->CanUndo(), history_->UndoName()},
        {"mnuEditRedo", "Redo", mtxt::RedoStep, history_->CanRedo(), history_->RedoName()},
    };
    for (const auto& i : items) {
        QAction* a = actions_.value(i.menu);
        if (!a) continue;
        a->setText(i.step.isEmpty() ? MenuCaption(i.menu, L) : i.withStep.in(L).arg(i.step));
        a->setEnabled(i.can);
        if (QAction* b = toolButtons_.value(i.key)) {
            b->setEnabled(i.can);
            b->setToolTip(a->text());
        }
    }
}

void frmMain::RebuildRecentMenu()
{
    if (!recentEnd_) return;
    QMenu* file = menus_["mnuFile"];
    for (QAction* a : recentActions_) {
        file->removeAction(a);
        delete a;
    }
    recentActions_.clear();
    const QStringList files = recent_->Files();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(FileNameOf(path)), this);
        a->setObjectName(QStringLiteral("mnuRecent%1").arg(i + 1));
        a->setToolTip(path);
        a->setStatusTip(path);
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, path] {
            emit ws_.Events().aboutToEncode();
            OpenRecent(path);
        });
        file->insertAction(recentEnd_, a);
        recentActions_ << a;
    }
    recentEnd_->setVisible(!files.isEmpty());
}

void frmMain::NoteFile(const QString& path)
{
    if (ws_.IsUntitled || path.isEmpty()) return;
    recent_->Add(path);
    RebuildRecentMenu();
}

void frmMain::BuildTree()
{
    tree_->clear();
    auto* root = new QTreeWidgetItem(tree_, QStringList(ws_.T(mtxt::AppTitle)));
    root->setData(0, Qt::UserRole, QStringLiteral("N0"));
    root->setIcon(0, QApplication::windowIcon());
    for (const EditorEntry& e : editors_.Entries()) {
        const QString caption = e.treeCaption.en ? ws_.T(e.treeCaption) : actions_[e.menuName]->text();
        auto* item = new QTreeWidgetItem(root, QStringList(PlainCaption(caption)));
        item->setData(0, Qt::UserRole, QString::fromLatin1(e.treeKey));
        item->setIcon(0, style()->standardIcon(e.icon));
    }
    root->setExpanded(true);
}

void frmMain::Change_Language()
{
    qtTexts_.Use(ws_.CurrentLanguage);
    ApplyMainCaptions();
    BuildTree();
    emit ws_.Events().languageChanged();
}

void frmMain::LoadBKPic()
{
    if (bkLanguage_ != ws_.CurrentLanguage) {
        bkLanguage_ = ws_.CurrentLanguage;
        const QImage pic(ws_.ProgramDir + "/PIC/BK_" + QString::number(ws_.CurrentLanguage) + ".jpg");
        // The picture's one-pixel border is left out of the tiling.
        bkTile_ = pic.width() > 2 && pic.height() > 2 ? pic.copy(1, 1, pic.width() - 2, pic.height() - 2)
                                                      : QImage();
    }
    if (bkTile_.isNull()) mdi_->setBackground(palette().brush(QPalette::Dark));
    else mdi_->setBackground(QBrush(bkTile_));
}

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

void frmMain::ApplyLanguage()
{
    if (ws_.CurrentLanguage == ws_.ShownLanguage) return;
    ws_.ShownLanguage = ws_.CurrentLanguage;
    Change_Language();
    CloseAllChildren();
    ShowChild(Child::ChannelInfo);
    Cascade();
}

void frmMain::Cascade()
{
    mdi_->cascadeSubWindows();
    KeepChildrenInside(mdi_);
}

// ---- children ----------------------------------------------------------------

QPointer<QMdiSubWindow>& frmMain::SubOf(Child which)
{
    return subs_[int(which)];
}

QWidget* frmMain::Editor(Child which)
{
    QMdiSubWindow* s = SubOf(which);
    return s ? s->widget() : nullptr;
}

void frmMain::ShowChild(Child which)
{
    QPointer<QMdiSubWindow>& slot = SubOf(which);
    if (slot) {
        mdi_->setActiveSubWindow(slot);
        slot->widget()->setFocus();
        return;
    }
    const EditorEntry* entry = editors_.Find(which);
    if (!entry) return;
    // What a window writes back as it shows the document is part of it, no step.
    const EditStep shown = EditStep::Absorbing(ws_);
    QWidget* w = entry->create(*this);
    auto* frame = new ChildFrame(mdi_);
    // A window never resized still has the default size of an unshown
    // widget, which leaves empty bands; it gets what its layout asks for.
    frame->wanted = w->testAttribute(Qt::WA_Resized) ? w->size().expandedTo(w->sizeHint()) : w->sizeHint();
    frame->setWidget(w);
    frame->setWindowIcon(QApplication::windowIcon());
    const int index = int(which);
    frame->onClosed = [this, index, frame] {
        if (subs_[index] == frame) subs_[index] = nullptr;
    };
    slot = frame;
    mdi_->addSubWindow(frame);
    frame->show();
    Cascade();
    mdi_->setActiveSubWindow(frame);
}

void frmMain::CloseChild(Child which)
{
    QPointer<QMdiSubWindow>& slot = SubOf(which);
    if (!slot) return;
    QMdiSubWindow* s = slot;
    slot = nullptr;
    s->close();   // lets the window store what it still holds
    delete s;
}

void frmMain::CloseAllChildren()
{
    for (const EditorEntry& e : editors_.Entries()) CloseChild(e.id);
    for (QMdiSubWindow* s : mdi_->subWindowList()) {
        s->close();
        delete s;
    }
}

LineEditTarget* frmMain::LineEditor()
{
    // The active editor when it has a channel grid, else any open one that has.
    if (QMdiSubWindow* active = mdi_->activeSubWindow())
        if (auto* t = dynamic_cast<LineEditTarget*>(active->widget())) return t;
    for (const EditorEntry& e : editors_.Entries())
        if (auto* t = dynamic_cast<LineEditTarget*>(Editor(e.id))) return t;
    return nullptr;
}

void frmMain::PopupListEditMenu(const QPoint& globalPos)
{
    LineEditTarget* t = LineEditor();
    actions_["MnuLEPaste"]->setEnabled(t && t->ClipboardFilled());
    menus_["MnuListEdit"]->popup(globalPos);
}

// ---- commands ----------------------------------------------------------------

// Every menu item with its handler.  Items without one (Key Assignment, Scan
// Information) are shown disabled.
void frmMain::ConnectMenuHandlers()
{
    const auto onLineEditor = [this](void (LineEditTarget::*command)()) {
        return [this, command] {
            if (LineEditTarget* t = LineEditor()) (t->*command)();
        };
    };
    const std::pair<const char*, std::function<void()>> handlers[] = {
        {"mnuFileNew", [this] { mnuFileNew_Click(); }},
        {"mnuFileOpen", [this] { mnuFileOpen_Click(); }},
        {"mnuFileSave", [this] { mnuFileSave_Click(); }},
        {"mnuFileSaveAs", [this] { mnuFileSaveAs_Click(); }},
        {"mnuFileExit", [this] { close(); }},
        {"mnuFileExportChannels", [this] { ExportChannelsCommand(*this); }},
        {"mnuFileImportChannels", [this] { ImportChannelsCommand(*this); }},
        {"mnuFilePrint", [this] { PrintReportCommand(*this); }},
        {"mnuFileExportPdf", [this] { ExportPdfCommand(*this); }},
        {"mnuModelInfo", [this] { FrmModelInfo::ShowFor(*this); }},
        {"mnuFileRestoreBackup", [this] { RestoreBackupCommand(*this, transfers_->backupFolder, execRestoreDialog); }},
        {"mnuEditUndo", [this] { history_->Undo(); }},
        {"mnuEditRedo", [this] { history_->Redo(); }},
        {"mnuEditHistory", [this] { ShowHistoryWindow(); }},
        {"MnuFrequencyCheck", [this] { CheckAllChannelsCommand(*this); }},
        {"MnuCheckRadioBand", [this] { CheckRadioBandCommand(*this); }},
        {"mnuReadFromRadio", [this] { transfers_->ReadFromRadio(); }},
        {"mnuWriteToRadio", [this] { transfers_->WriteToRadio(); }},
        {"mnuMWriteToRadio", [this] { transfers_->WriteToGroup(); }},
        {"mnuRadioInfo", [this] { transfers_->RadioInformation(); }},
        {"mnuWriteSeveral", [this] { transfers_->WriteToSeveral(); }},
        {"mnuEMG", [this] { transfers_->RadioInformation(); }},
        {"mnuComm", [this] {
             transfers_->CommunicationPort();
             panels_[2]->setText(PortPanelText(ws_));
         }},
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
        {"mnuHelpTopic", [this] { FrmHelp::ShowFor(*this); }},
        {"mnuHelpAbout", [this] { mnuHelpAbout_Click(); }},
        {"MnuLECopy", onLineEditor(&LineEditTarget::LECopy)},
        {"MnuLECut", onLineEditor(&LineEditTarget::LECut)},
        {"MnuLEPaste", onLineEditor(&LineEditTarget::LEPaste)},
        {"MnuLEInsert", onLineEditor(&LineEditTarget::LEInsertPaste)},
        {"MnuLEDelete", onLineEditor(&LineEditTarget::LEDelete)},
    };
    QSet<QString> handled;
    const auto bind = [&](const QString& name, std::function<void()> handler) {
        QAction* a = actions_.value(name);
        if (!a) return;
        // A command (menu, tool bar or shortcut) acts on what the editors show:
        // an edit still open there is stored first.  Tool bar buttons take no
        // focus, so the editors would not otherwise know.
        connect(a, &QAction::triggered, this, [this, h = std::move(handler)] {
            emit ws_.Events().aboutToEncode();
            h();
        });
        handled.insert(name);
    };
    for (const auto& [name, handler] : handlers) bind(QString::fromLatin1(name), handler);
    for (const EditorEntry& e : editors_.Entries()) {
        const Child id = e.id;
        bind(QString::fromLatin1(e.menuName), [this, id] { ShowChild(id); });
    }
    for (const MenuEntry& e : MenuTable())
        if (e.parent && !handled.contains(QString::fromLatin1(e.name))) actions_[e.name]->setEnabled(false);
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
    w.closeAllChildren = [this] { CloseAllChildren(); };
    w.showChannelWindow = [this] { ShowChild(Child::ChannelInfo); };
    w.changeLanguage = [this] { Change_Language(); Cascade(); };
    w.setTitle = [this] { SetTitle(); };
    w.launchVersion = [this](const QString& v) { LaunchVersion(v); };
    return w;
}

void frmMain::mnuFileOpen_Click()
{
    if (!OpenCommand(ws_, OpenWindows())) return;
    // An opened file starts a history of its own.
    history_->Reset();
    NoteFile(ws_.CurrentFile);
}

void frmMain::OpenRecent(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        recent_->Remove(path);
        RebuildRecentMenu();
        ws_.Ask(ws_.T(mtxt::RecentMissing).arg(QDir::toNativeSeparators(path)), Buttons::Ok, Icon::Warning);
        return;
    }
    if (!OpenCommand(ws_, OpenWindows(), path)) return;
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
        if (transfers_->IsPortOpen()) transfers_->ClosePort();
        return startProgram && startProgram(target);
    });
    if (!started) return;
    launching_ = true;
    if (endProgram) endProgram();
}

// ---- window events -----------------------------------------------------------

void frmMain::changeEvent(QEvent* e)
{
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) ApplyLanguage();
}

Geometry frmMain::CurrentGeometry() const
{
    Geometry g;
    g.left = pos().x() * kTwipsPerPixel;
    g.top = pos().y() * kTwipsPerPixel;
    g.width = width() * kTwipsPerPixel;
    g.height = height() * kTwipsPerPixel;
    return g;
}

void frmMain::closeEvent(QCloseEvent* e)
{
    if (launching_) {
        e->accept();
        return;
    }
    if (!AskSaveModified(ws_)) {
        e->ignore();
        return;
    }
    if (!isMinimized()) StoreGeometry(*store_, CurrentGeometry());
    e->accept();
}

void frmMain::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    if (transfers_) transfers_->StopTimers();
    LoadBKPic();
}

QAction* frmMain::menuAction(const QString& name) const { return actions_.value(name); }
QMenu* frmMain::menu(const QString& name) const { return menus_.value(name); }
QAction* frmMain::toolButton(const QString& key) const { return toolButtons_.value(key); }
QStatusBar* frmMain::sbStatusBar() const { return const_cast<frmMain*>(this)->statusBar(); }
QLabel* frmMain::statusPanel(int n) const { return n >= 1 && n <= 3 ? panels_[n - 1] : nullptr; }
QWidget* frmMain::CommandMove() const { return commandMove_; }

}  // namespace kt
