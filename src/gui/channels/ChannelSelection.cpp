// The channel window with several rows selected: the detail panel over all
// of them, and Copy, Cut, Paste, Insert&Paste and Delete on every selected
// row through the system clipboard (the program's own form and
// tab-separated text a spreadsheet reads and writes).
#include "gui/MainHost.h"
#include "gui/channels/ChannelGridView.h"
#include "gui/channels/frmCommChInfoParts.h"
#include "model/EditStep.h"
#include "rules/channels/ChannelGridModel.h"
#include "rules/channels/ChannelRows.h"

#include <QClipboard>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMimeData>

namespace kt {

namespace {

const QString kClipMime = QStringLiteral("application/x-kt6383-channels");

constexpr Bi kRowsDetail{"%1 channels", "%1 个信道"};

// What a step on rows names: the channel itself, or how many.
StepName RowsDetail(int band, int group, int firstRow, int count)
{
    if (count <= 1) return ChannelStepDetail(band, group, firstRow);
    return {QString(kRowsDetail.en).arg(count), QString::fromUtf8(kRowsDetail.zh).arg(count)};
}

const QMimeData* ClipboardData()
{
    const QClipboard* c = QGuiApplication::clipboard();
    return c ? c->mimeData() : nullptr;
}

}  // namespace

QList<int> frmCommChInfo::SelectedRows() const
{
    QList<int> rows;
    if (grid_->selectionModel())
        for (const QModelIndex& i : grid_->selectionModel()->selectedIndexes())
            if (!rows.contains(i.row() + 1)) rows << i.row() + 1;
    const int cur = CurrentRow();
    if (rows.isEmpty() && cur > 0) rows << cur;
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The panel over several channels: a list whose value differs among them
// shows no entry until one is picked.
void frmCommChInfo::FillDetailMany(const QList<int>& held)
{
    Filling f(wandToSave_);
    fraDetail_->setTitle(T(rowtxt::Caption).arg(held.size()));
    for (ChField fld : kAllChFields) {
        QComboBox* c = detail_[fld];
        c->setCurrentIndex(c->findText(CommonFieldText(ws(), band_, group_, held, fld), Qt::MatchExactly));
    }
    auto rowOf = [](ChField fld) { return int(std::find(std::begin(kAllChFields), std::end(kAllChFields), fld) - std::begin(kAllChFields)); };
    const int rx = CommonToneType(ws(), band_, group_, held, true), tx = CommonToneType(ws(), band_, group_, held, false);
    detailForm_->setRowVisible(rowOf(ChField::RxCtcss), rx == 1);
    detailForm_->setRowVisible(rowOf(ChField::RxDcs), rx == 2);
    detailForm_->setRowVisible(rowOf(ChField::TxCtcss), tx == 1);
    detailForm_->setRowVisible(rowOf(ChField::TxDcs), tx == 2);
    const bool locked = AnyPublic(ws(), band_, group_, held);
    for (auto& [fld, c] : detail_)
        if (LockedByPublic(fld)) c->setEnabled(!locked);
}

// A pick in the panel with several channels selected: set on all, one step.
void frmCommChInfo::SetFieldOnSelection(ChField f)
{
    const QList<int> held = HeldRows(ws(), band_, group_, SelectedRows());
    QComboBox* c = detail_[f];
    if (held.isEmpty() || c->currentIndex() < 0) return;
    {
        EditStep step(ws(), RowsStepName(f, int(held.size())));
        SetFieldOnRows(ws(), band_, group_, held, f, c->currentText(), c->currentIndex());
    }
    Filling fill(wandToSave_);
    model_->ReloadRows(held.first(), held.last());
    FillDetailMany(held);
}

void frmCommChInfo::CopySelection()
{
    const RowClip clip = CopyRows(ws(), band_, group_, SelectedRows());
    ws().LineClip = clip.isEmpty() ? ChannelRec{} : clip.recs.first();
    ws().LineClipFilled = true;
    auto* data = new QMimeData;
    data->setData(kClipMime, EncodeRowClip(clip));
    if (!clip.isEmpty()) data->setText(QString::fromUtf8(RowClipText(ws(), clip)));
    if (QClipboard* c = QGuiApplication::clipboard()) c->setMimeData(data);
    else delete data;
}

bool frmCommChInfo::ClipboardFilled() const
{
    if (const QMimeData* d = ClipboardData()) {
        RowClip clip;
        if (d->hasFormat(kClipMime)) return DecodeRowClip(d->data(kClipMime), clip) && !clip.isEmpty();
        if (!d->text().trimmed().isEmpty()) return true;
    }
    return LineClipboardFilled(ws());
}

void frmCommChInfo::RemoveSelection(bool cut)
{
    if (IsVfoGroup(band_, group_)) return;   // the VFO channel is never removed
    const QList<int> held = HeldRows(ws(), band_, group_, SelectedRows());
    if (held.isEmpty()) return;
    if (cut) CopySelection();
    const StepName where = RowsDetail(band_, group_, held.first(), int(held.size()));
    RemoveResult r;
    {
        EditStep step(ws(), Named(cut ? steptxt::Cut : steptxt::DeleteChannel, where));
        r = RemoveRows(ws(), band_, group_, held);
    }
    if (r == RemoveResult::LastChannel) {
        ws().Ask(T(held.size() == 1 ? kLastChannel : rowtxt::LastChannel), Buttons::Ok, Icon::Warning);
        return;
    }
    AfterRowsChanged();
}

// Pastes the clipboard from the first selected row on: the program's own
// rows, else tab-separated text; nothing changes unless every row lands.
void frmCommChInfo::PasteClipboard(bool insert)
{
    RowClip clip;
    bool read = false;
    if (const QMimeData* d = ClipboardData()) {
        if (d->hasFormat(kClipMime)) {
            read = DecodeRowClip(d->data(kClipMime), clip);
        } else if (!d->text().trimmed().isEmpty()) {
            const QStringList problems = ReadRowClipText(ws(), d->text().toUtf8(), clip);
            if (!problems.isEmpty()) {
                ws().Ask(T(rowtxt::BadText) + "\n" + problems.join('\n'), Buttons::Ok, Icon::Warning);
                return;
            }
            read = true;
        }
    }
    if (!read && LineClipboardFilled(ws())) {   // a copy made before the clipboard could hold rows
        clip = RowClip{band_, group_, {0}, {ws().LineClip}, {}};
    }
    const QList<int> rows = SelectedRows();
    const int row = rows.isEmpty() ? CurrentRow() : rows.first();
    if (row <= 0) return;
    const StepName where = RowsDetail(band_, group_, row, int(clip.recs.size()));
    RowsPaste r;
    {
        EditStep step(ws(), Named(insert ? steptxt::InsertPaste : steptxt::Paste, where));
        r = PasteRows(ws(), band_, group_, row, clip, insert);
    }
    if (r.result == PasteResult::PushedOut) {
        ws().Ask(T(kPushedOut).arg(r.problems.value(0)), Buttons::Ok, Icon::Warning);
        return;
    }
    if (r.result == PasteResult::NoRoom) {
        ws().Ask(T(rowtxt::NotPlaced) + "\n" + r.problems.join('\n'), Buttons::Ok, Icon::Warning);
        return;
    }
    if (!PasteDone(r.result)) return;
    AfterRowsChanged();
    // The pasted rows are selected, as a spreadsheet does.
    int last = row;
    for (int o : clip.offsets) last = std::max(last, row + o);
    grid_->selectionModel()->select(QItemSelection(model_->index(row - 1, 1), model_->index(last - 1, 1)),
                                    QItemSelectionModel::ClearAndSelect);
}

void frmCommChInfo::AfterRowsChanged()
{
    Filling f(wandToSave_);
    model_->ReloadRows(1, model_->rowCount());
    InitComboWorkGroup();
    InitValidComboList();
    ShowValidComboText();
    SelectIndex(cboGroupValid_, ws().OptFeat().GroupEnable[band_][group_]);
    ShowChIfoDataOther();
}

void frmCommChInfo::LESelectAll()
{
    grid_->setFocus();
    grid_->selectAll();
}

}  // namespace kt
