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
    fields_.clear();
    if (wide_) {
        ReadLists();
        for (int r = 1; r <= rows; ++r) fields_ << ReadFields(r);
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
    if (wide_)
        for (int r = first; r <= last; ++r) fields_[r - 1] = ReadFields(r);
    emit dataChanged(index(first - 1, 1), index(last - 1, columnCount() - 1), {Qt::DisplayRole, Qt::EditRole});
}

void ChannelGridModel::Retranslate()
{
    if (wide_) ShowGroup(band_, group_);   // the lists follow the language too
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void ChannelGridModel::SetWide(bool wide)
{
    if (wide == wide_) return;
    wide_ = wide;
    ShowGroup(band_, group_);
}

bool ChannelGridModel::FieldOfColumn(int column, ChField& f)
{
    const int i = column - 2;
    if (i < 0 || i >= int(std::size(kAllChFields))) return false;
    f = kAllChFields[i];
    return true;
}

int ChannelGridModel::ColumnOfField(ChField f)
{
    for (int i = 0; i < int(std::size(kAllChFields)); ++i)
        if (kAllChFields[i] == f) return i + 2;
    return -1;
}

void ChannelGridModel::ReadLists()
{
    lists_.clear();
    for (ChField f : kAllChFields) lists_ << ChFieldList(ws_, f, IsMemoryGroup(band_, group_));
}

QStringList ChannelGridModel::FieldList(ChField f) const
{
    const int c = ColumnOfField(f) - 2;
    return c >= 0 && c < lists_.size() ? lists_[c] : ChFieldList(ws_, f, IsMemoryGroup(band_, group_));
}

// The texts of a row's fields as the panel shows them; a tone column is
// empty unless the tone type is the one it holds.
QStringList ChannelGridModel::ReadFields(int row) const
{
    QStringList out;
    const int slot = FindSlot(ws_, band_, group_, row);
    const ChannelRec* rec = slot > 0 ? &ws_.Channels(band_, slot, group_) : nullptr;
    if (!rec || rec->Used != 1 || !SlotShowsChannel(*rec, band_, group_)) {
        for (int i = 0; i < int(std::size(kAllChFields)); ++i) out << QString();
        return out;
    }
    const bool mem = IsMemoryGroup(band_, group_);
    for (ChField f : kAllChFields) {
        const bool toneShown = (f != ChField::RxCtcss || rec->RxToneType == 1) &&
                               (f != ChField::RxDcs || rec->RxToneType == 2) &&
                               (f != ChField::TxCtcss || rec->TxToneType == 1) &&
                               (f != ChField::TxDcs || rec->TxToneType == 2);
        out << (toneShown ? ChFieldText(ws_, *rec, f, mem) : QString());
    }
    return out;
}

bool ChannelGridModel::FieldEditable(int row, ChField f) const
{
    if (!Editable() || row < 1 || row > fields_.size()) return false;
    const int slot = FindSlot(ws_, band_, group_, row);
    if (slot == 0 || fields_[row - 1].value(ColumnOfField(f) - 2).isEmpty()) return false;
    return !(LockedByPublic(f) && ws_.Channels(band_, slot, group_).PublicCh == 1);
}

bool ChannelGridModel::Editable() const { return GroupEditable(band_, group_); }

QString ChannelGridModel::FreqText(int row) const
{
    return row >= 1 && row <= freq_.size() ? freq_[row - 1] : QString();
}

int ChannelGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(freq_.size());
}

int ChannelGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : (wide_ ? 2 + int(std::size(kAllChFields)) : 2);
}

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
    if (index.column() >= 2) return wide_ ? fields_.value(index.row()).value(index.column() - 2) : QVariant();
    return freq_[index.row()];
}

QVariant ChannelGridModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal) return {};
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    ChField f;
    if (FieldOfColumn(section, f)) {
        // The tone columns name their direction: "RXCTC CTCSS", "TXCTC DCS".
        const int lang = ws_.CurrentLanguage;
        if (f == ChField::RxCtcss || f == ChField::RxDcs)
            return ChFieldLabel(ChField::RxType, lang) + (f == ChField::RxDcs ? " DCS" : " CTCSS");
        if (f == ChField::TxCtcss || f == ChField::TxDcs)
            return ChFieldLabel(ChField::TxType, lang) + (f == ChField::TxDcs ? " DCS" : " CTCSS");
        return ChFieldLabel(f, lang);
    }
    return ws_.T(section == 0 ? chtxt::ChNoHeader : chtxt::FreqHeader);
}

Qt::ItemFlags ChannelGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    if (index.column() == 0) return Qt::ItemIsEnabled;   // the header column is never selected
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    ChField field;
    const bool isField = FieldOfColumn(index.column(), field);
    if (isField ? FieldEditable(index.row() + 1, field) : Editable()) f |= Qt::ItemIsEditable;
    return f;
}

bool ChannelGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !Editable()) return false;
    const int row = index.row() + 1;
    ChField field;
    if (FieldOfColumn(index.column(), field)) {
        if (!FieldEditable(row, field)) return false;
        const QString text = value.toString();
        const int i = FieldList(field).indexOf(text);
        if (i < 0) return false;
        ChannelRec& rec = ws_.Channels(band_, FindSlot(ws_, band_, group_, row), group_);
        {
            EditStep step(ws_, Joined({ChFieldLabel(field, English), ChFieldLabel(field, Chinese)},
                                      ChannelStepDetail(band_, group_, row)));
            StoreChField(rec, field, text, i);
        }
        ReloadRow(row);
        emit fieldStored(row);
        return true;
    }
    if (index.column() != 1) return false;
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
