#include "gui/channels/ChannelGridView.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <algorithm>
#include <iterator>

namespace kt {

QWidget* FreqEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    auto* e = new QLineEdit(parent);
    e->setObjectName("Text1");
    e->setMaxLength(8);
    e->setFrame(false);
    e->setContextMenuPolicy(Qt::NoContextMenu);
    e->setDragEnabled(false);
    e->setAcceptDrops(false);
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    e->setAlignment(Qt::AlignCenter);
    editor_ = e;
    edited_ = index;
    return e;
}

void FreqEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* e = qobject_cast<QLineEdit*>(editor)) e->setText(index.data(Qt::EditRole).toString());
}

void FreqEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* e = qobject_cast<QLineEdit*>(editor)) model->setData(index, e->text().trimmed(), Qt::EditRole);
}

void FreqEditDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    // A closed box is gone at once for anyone looking for the open one.
    editor->setObjectName(QString());
    if (editor == editor_) {
        editor_ = nullptr;
        edited_ = QPersistentModelIndex();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

void FreqEditDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() == 0) option->backgroundBrush = option->palette.button();
    // A frequency cell the user cannot edit looks it: greyed like a disabled field.
    else if (!(index.flags() & Qt::ItemIsEditable)) option->backgroundBrush = option->palette.window();
}

// Digits and a point only; the clipboard keys do nothing in the box.
bool FreqEditDelegate::EditorKey(QKeyEvent* e)
{
    if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut))
        return true;
    if ((e->modifiers() & Qt::ControlModifier) &&
        (e->key() == Qt::Key_C || e->key() == Qt::Key_V || e->key() == Qt::Key_X))
        return true;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit enterPressed();
        return true;
    }
    if (e->key() == Qt::Key_Escape) {
        emit escapePressed();
        return true;
    }
    for (QChar ch : e->text()) {
        const ushort code = ch.unicode();
        if (code > 127) return true;
        if (code > 31 && code != 127 && !(ch.isDigit() || ch == '.')) return true;
    }
    return false;
}

bool FreqEditDelegate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != editor_) return false;
    switch (event->type()) {
    case QEvent::KeyPress: return EditorKey(static_cast<QKeyEvent*>(event));
    case QEvent::ShortcutOverride: {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
        // A main-window shortcut (Save, Write, ...) first stores what was typed.
        const bool ctrl = k->modifiers() & Qt::ControlModifier;
        const bool alt = k->modifiers() & Qt::AltModifier;
        static const int editingKeys[] = {Qt::Key_A, Qt::Key_Z, Qt::Key_Y, Qt::Key_C, Qt::Key_V,
                                          Qt::Key_X, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home,
                                          Qt::Key_End, Qt::Key_Backspace, Qt::Key_Delete,
                                          Qt::Key_Insert, Qt::Key_Control, Qt::Key_Shift};
        if (alt || (ctrl && std::find(std::begin(editingKeys), std::end(editingKeys), k->key()) ==
                                std::end(editingKeys)))
            emit storeRequested();
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        auto* m = static_cast<QMouseEvent*>(event);
        return m->button() == Qt::RightButton || m->button() == Qt::MiddleButton;
    }
    case QEvent::ContextMenu:
    case QEvent::Drop:
    case QEvent::DragEnter:
    case QEvent::InputMethod: return true;
    case QEvent::FocusOut:
        // A pop-up (a list opening) does not end the edit; any other focus change does.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) emit storeRequested();
        return false;
    default: return false;
    }
}

ChannelGridView::ChannelGridView(QWidget* parent) : QTableView(parent), delegate_(new FreqEditDelegate(this))
{
    setItemDelegate(delegate_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setContextMenuPolicy(Qt::NoContextMenu);
    setTabKeyNavigation(false);
    connect(delegate_, &FreqEditDelegate::storeRequested, this, &ChannelGridView::storeRequested);
}

void ChannelGridView::CloseEdit()
{
    if (QLineEdit* e = delegate_->Editor()) QTableView::closeEditor(e, QAbstractItemDelegate::NoHint);
}

void ChannelGridView::keyPressEvent(QKeyEvent* e)
{
    if (keyHandler && keyHandler(e)) {
        e->accept();
        return;
    }
    QTableView::keyPressEvent(e);
}

void ChannelGridView::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::RightButton) {
        emit rightClicked(e->position().toPoint(), e->globalPosition().toPoint());
        return;
    }
    QTableView::mousePressEvent(e);
}

void ChannelGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (Editing()) emit storeRequested();
    QTableView::currentChanged(current, previous);
}

// The box sits over its cell: scrolling stores and closes it.
void ChannelGridView::scrollContentsBy(int dx, int dy)
{
    if (Editing()) emit storeRequested();
    QTableView::scrollContentsBy(dx, dy);
}

void ChannelGridView::commitData(QWidget* editor)
{
    if (editor == delegate_->Editor()) emit storeRequested();
    else QTableView::commitData(editor);   // a list of the wide view
}

// A row chosen by the program (a group shown, a move to the next line) is
// the selection alone; keys and clicks extend it as they say.
QItemSelectionModel::SelectionFlags ChannelGridView::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    if (!event) return QItemSelectionModel::ClearAndSelect;
    return QTableView::selectionCommand(index, event);
}

void ChannelGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // The frequency box and the lists of the wide view alike.
    QTableView::closeEditor(editor, hint);
}

}  // namespace kt
