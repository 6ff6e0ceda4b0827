// The navigation pane at the left of the main window: a small tool bar with
// its close button, the tree of editors, and the splitter button beside it.
#pragma once

#include <QWidget>
#include <functional>

class QAction;
class QToolBar;
class QTreeWidget;

namespace kt {

class EditorRegistry;

// The splitter button at the right edge of the tree pane: dragging it widens
// or narrows the pane, never below 300 twips nor beyond the window's inner width.
class CommandMoveBar : public QWidget {
public:
    CommandMoveBar(QWidget* pane, QWidget* parent);
    bool dragging = false;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent*) override { dragging = false; }
    void mouseMoveEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent*) override {}

private:
    QWidget* pane_;
};

struct TreePane {
    QWidget* picture = nullptr;        // "Picture1", the pane itself
    QToolBar* toolbar = nullptr;       // "Toolbar1"
    QAction* close = nullptr;          // its close button
    QTreeWidget* tree = nullptr;       // "TreeView1"
    CommandMoveBar* mover = nullptr;   // "CommandMove", a sibling of the pane
};

// Builds the pane in owner; opened(key) runs when a node is clicked or
// chosen with Enter or Space.
TreePane BuildTreePane(QWidget* owner, std::function<void(const QString& key)> opened);

// The root node and one node a registered editor; caption(entry) names each.
void FillTree(QTreeWidget* tree, const QString& rootCaption, const EditorRegistry& editors,
              const std::function<QString(int index)>& caption);

}  // namespace kt
