// The channel grid's wide view: every detail field a column of its own,
// edited in place with the panel's lists, Ctrl+D filling the first selected
// row's value down the selection.  The toggle and the column widths are kept
// in the per-user settings.
#include "gui/FitWindow.h"
#include "gui/MainHost.h"
#include "gui/channels/ChannelGridView.h"
#include "gui/channels/frmCommChInfoParts.h"
#include "model/EditStep.h"
#include "rules/channels/ChannelGridModel.h"
#include "rules/channels/ChannelRows.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStyledItemDelegate>

namespace kt {

namespace {

const QString kWideKey = QStringLiteral("ChannelGrid/AllFields");
const QString kWidthsKey = QStringLiteral("ChannelGrid/Widths");

// A field cell is edited with the list the detail panel offers for it; a
// pick is stored at once.
class FieldDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        const auto* model = qobject_cast<const ChannelGridModel*>(index.model());
        ChField f;
        if (!model || !ChannelGridModel::FieldOfColumn(index.column(), f)) return nullptr;
        auto* c = new QComboBox(parent);
        c->setObjectName("cboCell");
        c->addItems(model->FieldList(f));
        connect(c, &QComboBox::activated, this, [this, c](int) {
            auto* self = const_cast<FieldDelegate*>(this);
            emit self->commitData(c);
            emit self->closeEditor(c, QAbstractItemDelegate::NoHint);
        });
        return c;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* c = qobject_cast<QComboBox*>(editor)) c->setCurrentIndex(c->findText(index.data().toString()));
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        auto* c = qobject_cast<QComboBox*>(editor);
        if (c && c->currentIndex() >= 0 && c->currentText() != index.data().toString())
            model->setData(index, c->currentText());
    }
};

}  // namespace

void frmCommChInfo::BuildWideView(QBoxLayout* above)
{
    cmdAllFields_ = new QPushButton(this);
    cmdAllFields_->setObjectName("cmdAllFields");
    cmdAllFields_->setCheckable(true);
    above->addWidget(cmdAllFields_);
    fieldDelegate_ = new FieldDelegate(grid_);
    connect(cmdAllFields_, &QPushButton::toggled, this, [this](bool on) { LEShowAllFields(on); });
    connect(model_, &ChannelGridModel::fieldStored, this, [this](int row) { reShowGrid(row); });
    connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (wide_ && !applyingWide_) StoreColumnWidths();
    });
    QSettings* s = host_.Settings();
    wide_ = s && s->value(kWideKey, false).toBool();
}

bool frmCommChInfo::AllFieldsShown() const { return wide_; }

void frmCommChInfo::LEShowAllFields(bool on)
{
    SaveShowGridData();
    if (on == wide_ && model_->Wide() == on) return;
    wide_ = on;
    if (QSettings* s = host_.Settings()) s->setValue(kWideKey, on);
    ApplyWideView();
}

// The grid's columns and size for the view chosen.
void frmCommChInfo::ApplyWideView()
{
    applyingWide_ = true;
    {
        const QSignalBlocker block(cmdAllFields_);
        cmdAllFields_->setChecked(wide_);
    }
    cmdAllFields_->setText(T(kAllFields));
    const int row = CurrentRow();
    const QList<int> selected = SelectedRows();
    model_->SetWide(wide_);
    QHeaderView* h = grid_->horizontalHeader();
    for (int c = 2; c < model_->columnCount(); ++c) grid_->setItemDelegateForColumn(c, fieldDelegate_);
    if (wide_) {
        h->setSectionResizeMode(QHeaderView::Interactive);
        h->setSectionResizeMode(0, QHeaderView::Fixed);
        const QStringList widths =
            host_.Settings() ? host_.Settings()->value(kWidthsKey).toStringList() : QStringList();
        int total = grid_->columnWidth(0);
        for (int c = 1; c < model_->columnCount(); ++c) {
            const int w = widths.value(c).toInt();
            if (w >= 20 && w <= 600) {
                grid_->setColumnWidth(c, w);
            } else {
                grid_->resizeColumnToContents(c);
                grid_->setColumnWidth(c, std::max(grid_->columnWidth(c), Px(1100)));
            }
            total += grid_->columnWidth(c);
        }
        // As wide as its columns, within what the main window's area leaves
        // beside the window's other parts; the grid scrolls sideways past that.
        const int narrow = Px(500) + Px(1520) + 20;
        int room = 1200;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && sub->mdiArea())
            room = sub->mdiArea()->viewport()->width() - (sub->width() - grid_->width()) - 8;
        grid_->setFixedWidth(std::max(narrow, std::min(total + 2 * grid_->frameWidth() +
                                                           grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4,
                                                       room)));
        grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    } else {
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setSectionResizeMode(1, QHeaderView::Stretch);
        grid_->setColumnWidth(0, Px(500) + 10);
        grid_->setFixedWidth(NarrowGridWidth());
    }
    if (row > 0) SelectRow(row);
    QItemSelection sel;
    for (int r : selected) sel.select(model_->index(r - 1, 1), model_->index(r - 1, 1));
    if (selected.size() > 1) grid_->selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        AskLayoutsAfresh(this);
        FitInArea(sub, sub->sizeHint());
    }
    grid_->setFocus();   // the keys go on acting on the rows
    applyingWide_ = false;
}

void frmCommChInfo::StoreColumnWidths()
{
    QSettings* s = host_.Settings();
    if (!s) return;
    QStringList widths;
    for (int c = 0; c < model_->columnCount(); ++c) widths << QString::number(grid_->columnWidth(c));
    s->setValue(kWidthsKey, widths);
}

// Ctrl+D: the first selected row's value of the current column down the
// selection, one step.  A tone column fills the rows that show that tone.
void frmCommChInfo::LEFillDown()
{
    SaveShowGridData();
    if (RefuseReadOnly(true)) return;
    const int col = grid_->currentIndex().column();
    ChField f;
    if (!wide_ || !ChannelGridModel::FieldOfColumn(col, f)) {
        host_.ShowStatus(T(kFillDownWhere));
        return;
    }
    QList<int> rows;
    for (int r : HeldRows(ws(), band_, group_, SelectedRows()))
        if (!model_->index(r - 1, col).data().toString().isEmpty()) rows << r;
    if (rows.size() < 2) return;
    const QString text = model_->index(rows.first() - 1, col).data().toString();
    const int index = model_->FieldList(f).indexOf(text);
    if (index < 0) return;
    rows.removeFirst();
    {
        EditStep step(ws(), RowsStepName(f, int(rows.size()) + 1));
        SetFieldOnRows(ws(), band_, group_, rows, f, text, index);
    }
    Filling fill(wandToSave_);
    model_->ReloadRows(rows.first() - 1, rows.last());
    ShowChIfoDataOther();
}

}  // namespace kt
