#include "rules/channels/ChannelGridModel.h"
#include "model/EditStep.h"
#include "model/ChannelRules.h"
#include "rules/channels/ChannelTables.h"

#include <algorithm>

namespace kt {

ChannelGridModel::ChannelGridModel(Workspace& ws, QObject* parent) : QAbstractTableModel(parent), ws_(ws) {}

void ChannelGridModel::ShowGroup(int band, int group)
{
    beginResetModel();
    band_ = band;
    group_ = group;
    const int rows = GroupSize(band_, group_);
    freq_ = QStringList();
    for (int r = 0; r < rows; ++r) freq_ << QString();
    // Every used slot, as the data hold them (a slot's number decides its row).
    for (int s = 1; s <= std::min<int>(ws_.ChannelCount(band_, group_), kMaxSlots); ++s) {
        const ChannelRec& rec = ws_.Channels(band_, s, group_);
        if (rec.Used == 1 && rec.ChNo >= 1 && rec.ChNo <= rows && SlotShowsChannel(rec, band_, group_))
            freq_[rec.ChNo - 1] = DigitsToFreqText(ws_, rec.Freq.bytes().trimmed());
    }
    endResetModel();
}

QString ChannelGridModel::ReadRow(int row) const
{
    const int slot = FindSlot(ws_, band_, group_, row);
    if (slot == 0) return QString();
    const ChannelRec& rec = ws_.Channels(band_, slot, group_);
    return rec.Used == 1 && SlotShowsChannel(rec, band_, group_) ? DigitsToFreqText(ws_, rec.Freq.bytes().trimmed())
                                                                  : QString();
}

void ChannelGridModel::ReloadRows(int first, int last)
{
    first = std::max(first, 1);
    last = std::min<int>(last, int(freq_.size()));
    if (first > last) return;
    for (int r = first; r <= last; ++r) freq_[r - 1] = ReadRow(r);
    emit dataChanged(index(first - 1, 1), index(last - 1, 1), {Qt::DisplayRole, Qt::EditRole});
}

void ChannelGridModel::Retranslate() { emit headerDataChanged(Qt::Horizontal, 0, 1); }

bool ChannelGridModel::Editable() const { return GroupEditable(band_, group_); }

QString ChannelGridModel::FreqText(int row) const
{
    return row >= 1 && row <= freq_.size() ? freq_[row - 1] : QString();
}

int ChannelGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(freq_.size());
}

int ChannelGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant ChannelGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= freq_.size()) return {};
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role == Qt::ToolTipRole && index.column() == 1 && !Editable()) return ws_.T(chtxt::ReadOnlyGroup);
    // What a screen reader says of a cell.
    if (role == Qt::AccessibleTextRole && index.column() == 1) {
        static constexpr Bi spoken{"channel %1, frequency %2", "信道 %1，频率 %2"};
        static constexpr Bi empty{"empty", "空"};
        const QString f = freq_[index.row()];
        return ws_.T(spoken).arg(RowHeaderText(band_, group_, index.row() + 1), f.isEmpty() ? ws_.T(empty) : f);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    if (index.column() == 0) return RowHeaderText(band_, group_, index.row() + 1);
    return freq_[index.row()];
}

QVariant ChannelGridModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal) return {};
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    return ws_.T(section == 0 ? chtxt::ChNoHeader : chtxt::FreqHeader);
}

Qt::ItemFlags ChannelGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    if (index.column() == 0) return Qt::ItemIsEnabled;   // the header column is never selected
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (Editable()) f |= Qt::ItemIsEditable;
    return f;
}

bool ChannelGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != 1 || !Editable()) return false;
    const int row = index.row() + 1;
    const StepName where = ChannelStepDetail(band_, group_, row);
    EditStep step(ws_, Named(steptxt::Frequency, where));
    const FreqCellResult r = SaveFreqCell(ws_, band_, group_, row, 1, value.toString().trimmed());
    if (r == FreqCellResult::Inserted) step.Rename(Named(steptxt::NewChannel, where));
    if (r == FreqCellResult::Deleted) step.Rename(Named(steptxt::DeleteChannel, where));
    ReloadRow(row);
    emit cellStored(row, r);
    return r != FreqCellResult::Nothing;
}

}  // namespace kt
