// The channel grid of one group: one row per channel number, column 0 the
// row header, column 1 the frequency; in the wide view every detail field
// follows as a column of its own (kAllChFields order), shown and stored as
// the detail panel's lists have them.  Reads the workspace; a frequency set
// through setData is stored by SaveFreqCell and the outcome reported, so the
// window decides what to tell the user.
#pragma once

#include "rules/channels/ChannelEdit.h"
#include "rules/channels/ChannelTables.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace kt {

class ChannelGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ChannelGridModel(Workspace& ws, QObject* parent = nullptr);

    // Shows another band and group (or the same one again, read afresh).
    void ShowGroup(int band, int group);
    // Reads rows first..last (1-based channel numbers) from the model again.
    void ReloadRows(int first, int last);
    void ReloadRow(int row) { ReloadRows(row, row); }
    // The header texts follow the language.
    void Retranslate();
    // Every detail field as a column (true) or the frequency alone.
    void SetWide(bool wide);
    bool Wide() const { return wide_; }
    // The field of a column, false for the header and frequency columns.
    static bool FieldOfColumn(int column, ChField& f);
    static int ColumnOfField(ChField f);
    // The list a field column is edited with.
    QStringList FieldList(ChField f) const;

    int Band() const { return band_; }
    int Group() const { return group_; }
    bool Editable() const;
    QString FreqText(int row) const;   // 1-based; empty for a row without a channel

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // A typed frequency went through SaveFreqCell (the row is shown again).
    void cellStored(int row, FreqCellResult result);
    // A field was set in place (the row is shown again).
    void fieldStored(int row);

private:
    QString ReadRow(int row) const;
    QStringList ReadFields(int row) const;
    void ReadLists();
    bool FieldEditable(int row, ChField f) const;

    Workspace& ws_;
    int band_ = 0;
    int group_ = 1;
    // Texts as DigitsToFreqText gave them: it may warn, so it runs once per
    // read, not once per paint.
    QStringList freq_;
    bool wide_ = false;
    QList<QStringList> fields_;          // wide view: each row's field texts
    QList<QStringList> lists_;           // wide view: each field's list for this group
};

}  // namespace kt
