// The channel window's line-edit commands (the main window's MnuListEdit)
// and the keys and right button of its grid.
#include "gui/MainHost.h"
#include "model/EditStep.h"
#include "gui/channels/ChannelGridView.h"
#include "gui/channels/frmCommChInfoParts.h"
#include "rules/channels/ChannelGridModel.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace kt {

// ---- line-edit commands -------------------------------------------------


// Each acts on every selected row (ChannelSelection.cpp).
void frmCommChInfo::LECopy()
{
    SaveShowGridData();
    if (CurrentRow() > 0) CopySelection();
}

void frmCommChInfo::AfterRemove(int row, int result)
{
    if (static_cast<RemoveResult>(result) == RemoveResult::LastChannel)
        ws().Ask(T(kLastChannel), Buttons::Ok, Icon::Warning);
    if (static_cast<RemoveResult>(result) != RemoveResult::Removed) return;
    reShowGrid(row);
    AfterRowsChanged();
}

void frmCommChInfo::LECut()
{
    SaveShowGridData();
    if (CurrentRow() <= 0 || RefuseReadOnly(true)) return;
    RemoveSelection(true);
}

void frmCommChInfo::LEDelete()
{
    SaveShowGridData();
    if (CurrentRow() <= 0 || RefuseReadOnly(true)) return;
    RemoveSelection(false);
}

bool frmCommChInfo::PasteDone(PasteResult result)
{
    if (result == PasteResult::ClipboardEmpty) ws().Ask(T(kClipboardEmpty), Buttons::Ok, Icon::Information);
    if (result == PasteResult::NoRoom) ws().Ask(T(kNoRoom), Buttons::Ok, Icon::Warning);
    if (result == PasteResult::PushedOut)
        ws().Ask(T(kPushedOut).arg(PushedOutChannel(band_, group_, ws().CurrentLanguage)), Buttons::Ok, Icon::Warning);
    return result == PasteResult::Pasted;
}

void frmCommChInfo::LEPaste()
{
    SaveShowGridData();
    if (CurrentRow() <= 0 || RefuseReadOnly(true)) return;
    PasteClipboard(false);
}

void frmCommChInfo::LEInsertPaste()
{
    SaveShowGridData();
    if (CurrentRow() <= 0 || RefuseReadOnly(true)) return;
    PasteClipboard(true);
}

// ---- keys and mouse -----------------------------------------------------

void frmCommChInfo::GridRightClick(const QPoint& pos, const QPoint& globalPos)
{
    if (RefuseReadOnly(false)) return;
    const int row = grid_->rowAt(pos.y());
    if (row < 0) return;
    SaveShowGridData();
    grid_->setFocus();
    // A click inside the selection keeps it, so the menu acts on every row.
    if (!SelectedRows().contains(row + 1)) grid_->setCurrentIndex(model_->index(row, 1));
    host_.PopupListEditMenu(globalPos);
}

// A new group is shown: the read-only hint may be given again.
void frmCommChInfo::NewGroupVisit()
{
    if (readOnlyHinted_) host_.ShowStatus(QString());
    readOnlyHinted_ = false;
}

bool frmCommChInfo::RefuseReadOnly(bool command)
{
    if (GroupIsEditable()) return false;
    // A command chosen from a menu is answered each time; keys and clicks
    // get a status-bar line once a visit, so typing on does not nag.
    if (command) {
        ws().Ask(T(chtxt::ReadOnlyGroup), Buttons::Ok, Icon::Information);
    } else if (!readOnlyHinted_) {
        host_.ShowStatus(T(chtxt::ReadOnlyGroup));
        readOnlyHinted_ = true;
    }
    return true;
}

bool frmCommChInfo::GridKey(QKeyEvent* e)
{
    const QString t = e->text();
    const bool typed = t.size() == 1 && (t[0].isDigit() || t[0] == '.') && t[0].unicode() < 128 &&
                       !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const bool changes = e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Paste) || typed ||
                         (e->modifiers() == Qt::NoModifier && (e->key() == Qt::Key_Insert || e->key() == Qt::Key_Delete));
    if (changes && RefuseReadOnly(false)) return true;
    // Shift+F10 and the Menu key: the row pop-up at the current row.
    if ((e->key() == Qt::Key_Menu && e->modifiers() == Qt::NoModifier)
        || (e->key() == Qt::Key_F10 && e->modifiers() == Qt::ShiftModifier)) {
        const QRect cell = grid_->visualRect(grid_->currentIndex());
        if (cell.isValid()) GridRightClick(cell.center(), grid_->viewport()->mapToGlobal(cell.center()));
        return true;
    }
    const bool editable = GroupIsEditable() && CurrentRow() > 0;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_F2) {
        EnterGridEdit();
        return true;
    }
    if (e->matches(QKeySequence::Copy)) {
        LECopy();
        return true;
    }
    if (e->matches(QKeySequence::Cut)) {
        if (editable) LECut();
        return true;
    }
    if (e->matches(QKeySequence::Paste)) {
        if (editable) LEPaste();
        return true;
    }
    if (e->modifiers() == Qt::NoModifier && e->key() == Qt::Key_Insert) {
        if (editable) LEInsertPaste();
        return true;
    }
    if (e->modifiers() == Qt::NoModifier && e->key() == Qt::Key_Delete) {
        if (editable) LEDelete();
        return true;
    }
    if (e->modifiers() == Qt::ControlModifier && e->key() == Qt::Key_D) {
        if (editable) LEFillDown();
        return true;
    }
    // Typing a digit starts an edit with that digit, as in a spreadsheet.
    if (editable && typed) {
        EnterGridEdit();
        if (QLineEdit* e = grid_->Delegate()->Editor()) e->setText(t);
        return true;
    }
    return false;
}

}  // namespace kt
