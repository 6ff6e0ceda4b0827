#include "gui/TreePane.h"
#include "gui/EditorRegistry.h"
#include "shell/Shell.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kt {

CommandMoveBar::CommandMoveBar(QWidget* pane, QWidget* parent) : QWidget(parent), pane_(pane)
{
    setObjectName("CommandMove");
    setFixedWidth(5);
    setCursor(Qt::SizeHorCursor);
    setMouseTracking(true);
}

void CommandMoveBar::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) dragging = true;
}

void CommandMoveBar::mouseMoveEvent(QMouseEvent* e)
{
    setCursor(Qt::SizeHorCursor);
    if (!dragging) return;
    const int x = int(e->position().x());   // offset inside the button
    const int inner = window()->width();
    const int width = pane_->width() + x;
    if (width * kTwipsPerPixel < 300 || width > inner) return;
    pane_->setFixedWidth(width);
}

namespace {

QString KeyOf(QTreeWidgetItem* item) { return item ? item->data(0, Qt::UserRole).toString() : QString(); }

// Enter and Space open the current node's window, as a click does.
class NavigationTree : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    std::function<void(const QString&)> opened;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        const bool open = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Space;
        if (open && e->modifiers() == Qt::NoModifier && currentItem() && opened) {
            opened(KeyOf(currentItem()));
            return;
        }
        QTreeWidget::keyPressEvent(e);
    }
};

}  // namespace

TreePane BuildTreePane(QWidget* owner, std::function<void(const QString& key)> opened)
{
    TreePane p;
    p.picture = new QWidget(owner);
    p.picture->setObjectName("Picture1");
    p.picture->setFixedWidth(220);
    auto* frame = new QVBoxLayout(p.picture);
    frame->setContentsMargins(2, 2, 0, 2);
    frame->setSpacing(0);

    p.toolbar = new QToolBar(p.picture);
    p.toolbar->setObjectName("Toolbar1");
    p.toolbar->setIconSize(QSize(12, 12));
    auto* spacer = new QWidget(p.toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    p.toolbar->addWidget(spacer);
    p.close = p.toolbar->addAction(owner->style()->standardIcon(QStyle::SP_TitleBarCloseButton), "删除");
    p.close->setObjectName("Toolbar1Close");
    p.close->setData(QStringLiteral("删除"));

    auto* tree = new NavigationTree(p.picture);
    tree->setObjectName("TreeView1");
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->opened = opened;
    QObject::connect(tree, &QTreeWidget::itemClicked, tree,
                     [opened](QTreeWidgetItem* item, int) { opened(KeyOf(item)); });
    p.tree = tree;

    frame->addWidget(p.toolbar);
    frame->addWidget(p.tree, 1);
    p.mover = new CommandMoveBar(p.picture, owner);
    return p;
}

void FillTree(QTreeWidget* tree, const QString& rootCaption, const EditorRegistry& editors,
              const std::function<QString(int index)>& caption)
{
    tree->clear();
    auto* root = new QTreeWidgetItem(tree, QStringList(rootCaption));
    root->setData(0, Qt::UserRole, QStringLiteral("N0"));
    root->setIcon(0, QApplication::windowIcon());
    const auto& entries = editors.Entries();
    for (int i = 0; i < int(entries.size()); ++i) {
        auto* item = new QTreeWidgetItem(root, QStringList(caption(i)));
        item->setData(0, Qt::UserRole, QString::fromLatin1(entries[i].treeKey));
        item->setIcon(0, tree->style()->standardIcon(entries[i].icon));
    }
    root->setExpanded(true);
}

}  // namespace kt
