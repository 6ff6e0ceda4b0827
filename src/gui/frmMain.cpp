#include "gui/frmMain.h"
#include "gui/AccessibleNames.h"
#include "gui/FitWindow.h"
#include "gui/EditorRegistry.h"
#include "gui/FrmHistory.h"
#include "gui/FrmSetLanguage.h"
#include "gui/Theme.h"
#include "gui/MenuPolish.h"
#include "gui/TreePane.h"
#include "gui/frmAbout.h"
#include "model/DataFile.h"
#include "model/Defaults.h"
#include "model/EditStep.h"
#include "shell/DocumentHistory.h"
#include "shell/FileCommands.h"
#include "shell/MainTexts.h"

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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace kt {


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

    children_ = std::make_unique<ChildWindows>(*mdi_, editors_, *this);
    RouteAccessKeysToChildren(this, mdi_);
    KeepWindowsOnScreen(this);
    NameControlsOfEveryWindow(this, [this] { return ws_.CurrentLanguage; });

    auto* sb = statusBar();
    sb->setObjectName("sbStatusBar");
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QString("Panel%1").arg(i + 1));
        panels_[i]->setContentsMargins(6, 0, 6, 0);
        sb->addPermanentWidget(panels_[i], i == 0 ? 1 : 0);
    }

    for (const WingFactory& make : StandardCommandWings()) {
        CommandWing* wing = make(*this, *store_, this);
        wings_.push_back(wing);
        for (CommandWing::Command& c : wing->Commands()) Bind(QString::fromLatin1(c.menuName), std::move(c.run));
    }
    DisableUnboundItems();
    DocumentEvents& ev = ws_.Events();
    connect(&ev, &DocumentEvents::titleChanged, this, &frmMain::SetTitle);
    // A new, opened or read document is shown in the channel window and in
    // every window that was open before it came, each where it was.
    connect(&ev, &DocumentEvents::documentReplaced, this, [this] {
        SetTitle();
        const QList<ChildWindows::Placed> back = std::exchange(setAside_, {});
        const bool channelsBack =
            std::any_of(back.begin(), back.end(), [](const auto& p) { return p.id == Child::ChannelInfo; });
        if (!Editor(Child::ChannelInfo) && !channelsBack) ShowChild(Child::ChannelInfo);
        children_->Reopen(back);
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
    children_->CloseAll();
    for (CommandWing* w : wings_) delete w;
    wings_.clear();
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
        if (key == "Find") return QIcon::fromTheme("edit-find", st->standardIcon(QStyle::SP_FileDialogContentsView));
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
    const TreePane p = kt::BuildTreePane(this, [this](const QString& key) { TreeNodeClick(key); });
    picture1_ = p.picture;
    toolbar1_ = p.toolbar;
    tree_ = p.tree;
    commandMove_ = p.mover;
    connect(p.close, &QAction::triggered, this, [this] {
        picture1_->setVisible(false);
        commandMove_->setVisible(false);
        actions_["mnuTreeView"]->setChecked(false);
    });
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
    panels_[2]->setText(PortPanelText(ws_));
}

void frmMain::ShowStatus(const QString& text) { panels_[0]->setText(text); }

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
        toolButtons_[QString::fromUtf8(b.key)]->setToolTip(PlainCaption(actions_[b.menu]->text()));
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
        // A step's name is shown as it reads: its "&" marks no access key.
        QString step = i.step;
        a->setText(step.isEmpty() ? MenuCaption(i.menu, L) : i.withStep.in(L).arg(step.replace('&', "&&")));
        a->setEnabled(i.can);
        if (QAction* b = toolButtons_.value(i.key)) {
            b->setEnabled(i.can);
            b->setToolTip(PlainCaption(a->text()));
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
    FillTree(tree_, ws_.T(mtxt::AppTitle), editors_, [this](int i) {
        const EditorEntry& e = editors_.Entries()[i];
        return PlainCaption(e.treeCaption.en ? ws_.T(e.treeCaption) : actions_[e.menuName]->text());
    });
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
    else mdi_->setBackground(QBrush(TileForColours(bkTile_)));
}

void frmMain::ApplyLanguage()
{
    if (ws_.CurrentLanguage == ws_.ShownLanguage) return;
    ws_.ShownLanguage = ws_.CurrentLanguage;
    Change_Language();
    // The windows are built again in the new language, each where it was.
    const QList<ChildWindows::Placed> open = children_->OpenNow();
    CloseAllChildren();
    children_->Reopen(open);
    if (open.isEmpty()) {
        ShowChild(Child::ChannelInfo);
        Cascade();
    }
}

void frmMain::Cascade() { children_->Cascade(); }

// ---- children ----------------------------------------------------------------

QWidget* frmMain::Editor(Child which) { return children_->Editor(which); }
void frmMain::ShowChild(Child which) { children_->Show(which); }
void frmMain::CloseChild(Child which) { children_->Close(which); }

void frmMain::CloseAllChildren()
{
    setAside_.clear();
    children_->CloseAll();
}

void frmMain::SetChildrenAside()
{
    setAside_ = children_->OpenNow();
    children_->CloseAll();
}

void frmMain::PopupListEditMenu(const QPoint& globalPos)
{
    LineEditTarget* t = children_->LineEditor();
    actions_["MnuLEPaste"]->setEnabled(t && t->ClipboardFilled());
    menus_["MnuListEdit"]->popup(globalPos);
}

// ---- window events -----------------------------------------------------------

void frmMain::changeEvent(QEvent* e)
{
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) ApplyLanguage();
    // Another theme: the background follows its colours.
    if (e->type() == QEvent::PaletteChange && mdi_) LoadBKPic();
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
    for (CommandWing* w : wings_) w->MainResized();
    LoadBKPic();
}

QAction* frmMain::menuAction(const QString& name) const { return actions_.value(name); }
QMenu* frmMain::menu(const QString& name) const { return menus_.value(name); }
QAction* frmMain::toolButton(const QString& key) const { return toolButtons_.value(key); }
QStatusBar* frmMain::sbStatusBar() const { return const_cast<frmMain*>(this)->statusBar(); }
QLabel* frmMain::statusPanel(int n) const { return n >= 1 && n <= 3 ? panels_[n - 1] : nullptr; }
QWidget* frmMain::CommandMove() const { return commandMove_; }

}  // namespace kt
