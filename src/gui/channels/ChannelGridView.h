// The channel grid's view and its frequency editor.  The editor is a line box
// that takes digits and a point only, swallows the right button and the
// clipboard keys, and tells the window when the edit has to be stored: Enter,
// the focus going elsewhere, a main-window shortcut, the grid scrolling or
// moving on.  The window stores it, so every way out goes one path.
#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

#include <QLineEdit>

namespace kt {

class FreqEditDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

    QLineEdit* Editor() const { return editor_; }
    QModelIndex EditedIndex() const { return edited_; }

signals:
    void enterPressed();
    void escapePressed();
    void storeRequested();   // the focus left, or a shortcut elsewhere is about to act

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    bool EditorKey(QKeyEvent* e);

    mutable QPointer<QLineEdit> editor_;
    mutable QPersistentModelIndex edited_;
};

class ChannelGridView : public QTableView {
    Q_OBJECT
public:
    explicit ChannelGridView(QWidget* parent = nullptr);

    FreqEditDelegate* Delegate() const { return delegate_; }
    bool Editing() const { return delegate_->Editor() != nullptr; }
    // Closes the edit box without storing what it holds.
    void CloseEdit();
    // Keys of the grid itself; true when handled.
    std::function<bool(QKeyEvent*)> keyHandler;

signals:
    void storeRequested();   // the open edit must be stored now
    void rightClicked(const QPoint& pos, const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void scrollContentsBy(int dx, int dy) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;

private:
    FreqEditDelegate* delegate_;
};

}  // namespace kt
