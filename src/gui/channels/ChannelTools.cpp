#include "gui/channels/ChannelTools.h"

#include "gui/MainHost.h"
#include "gui/channels/FrmFillChannels.h"
#include "gui/channels/frmCommChInfo.h"
#include "model/ChannelRules.h"
#include "model/EditStep.h"
#include "model/Workspace.h"
#include "rules/channels/ChannelCheck.h"
#include "rules/channels/ChannelFind.h"
#include "rules/channels/ChannelGridModel.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

namespace kt {

// The find window: what to look for, and the buttons that walk the matches.
class FrmFindChannel : public QDialog {
public:
    FrmFindChannel(ChannelTools& tools, Workspace& ws, QWidget* parent) : QDialog(parent), tools_(tools), ws_(ws)
    {
        setObjectName("FrmFindChannel");
        label_ = new QLabel(this);
        text_ = new QLineEdit(tools.Query(), this);
        text_->setObjectName("txtFind");
        text_->setClearButtonEnabled(true);
        result_ = new QLabel(this);
        result_->setObjectName("lblFindResult");
        next_ = new QPushButton(this);
        next_->setObjectName("cmdFindNext");
        next_->setDefault(true);
        previous_ = new QPushButton(this);
        previous_->setObjectName("cmdFindPrevious");
        close_ = new QPushButton(this);
        close_->setObjectName("cmdFindClose");
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(next_);
        buttons->addWidget(previous_);
        buttons->addStretch();
        buttons->addWidget(close_);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(label_);
        layout->addWidget(text_);
        layout->addWidget(result_);
        layout->addLayout(buttons);
        connect(text_, &QLineEdit::textChanged, this, [this](const QString& t) {
            tools_.SetQuery(t);
            result_->clear();
        });
        connect(next_, &QPushButton::clicked, this, [this] { Walk(true); });
        connect(previous_, &QPushButton::clicked, this, [this] { Walk(false); });
        connect(close_, &QPushButton::clicked, this, &QDialog::close);
        connect(&ws.Events(), &DocumentEvents::languageChanged, this, &FrmFindChannel::Retranslate);
        Retranslate();
    }

    void Retranslate()
    {
        setWindowTitle(ws_.T(tooltxt::FindTitle));
        label_->setText(ws_.T(tooltxt::FindLabel));
        next_->setText(ws_.T(tooltxt::FindNext));
        previous_->setText(ws_.T(tooltxt::FindPrevious));
        close_->setText(ws_.T(tooltxt::Close));
    }
    void Focus()
    {
        text_->setFocus();
        text_->selectAll();
    }
    void ShowResult(const QString& text) { result_->setText(text); }

private:
    void Walk(bool forward)
    {
        if (text_->text().trimmed().isEmpty()) return;
        tools_.FindStep(forward);
    }

    ChannelTools& tools_;
    Workspace& ws_;
    QLabel* label_;
    QLineEdit* text_;
    QLabel* result_;
    QPushButton* next_;
    QPushButton* previous_;
    QPushButton* close_;
};

namespace {

QTableView* GridOf(frmCommChInfo* w) { return w ? w->findChild<QTableView*>("MSFlexGrid1") : nullptr; }

}  // namespace

std::vector<int> SelectedGridRows(QTableView* grid)
{
    std::vector<int> rows;
    if (!grid || !grid->selectionModel()) return rows;
    std::set<int> seen;
    for (const QModelIndex& i : grid->selectionModel()->selectedIndexes())
        if (!grid->isRowHidden(i.row())) seen.insert(i.row() + 1);
    if (seen.size() > 1) rows.assign(seen.begin(), seen.end());
    return rows;
}

ChannelTools::ChannelTools(MainHost& host, QObject* parent) : CommandWing(parent), host_(host) {}

std::vector<CommandWing::Command> ChannelTools::Commands()
{
    return {{"mnuChannelFill", [this] { Fill(); }},
            {"mnuChannelSort", [this] { Sort(); }},
            {"mnuChannelFind", [this] { Find(); }},
            {"mnuChannelFindNext", [this] { FindStep(true); }},
            {"mnuChannelFindPrev", [this] { FindStep(false); }}};
}

namespace {

// The channel window, opened when it is not.
frmCommChInfo* ChannelWindowOf(MainHost& host)
{
    if (!host.ChannelWindow()) host.ShowChild(Child::ChannelInfo);
    frmCommChInfo* w = host.ChannelWindow();
    if (w) w->StorePendingEdits();
    return w;
}

}  // namespace

void ChannelTools::Fill()
{
    frmCommChInfo* w = ChannelWindowOf(host_);
    if (!w) return;
    auto* dlg = new FrmFillChannels(host_.ws(), w->ShownBand(), w->ShownGroup(), SelectedGridRows(GridOf(w)),
                                    host_.MainWindow());
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setModal(true);
    const int band = w->ShownBand(), group = w->ShownGroup();
    connect(dlg, &QDialog::accepted, this, [this, dlg, band, group] {
        const FillOutcome& o = dlg->Outcome();
        host_.ShowStatus(host_.ws().T(tooltxt::Filled)
                             .arg(o.planned.size())
                             .arg(GroupStepDetail(band, group).en)
                             .arg(o.added)
                             .arg(o.changed));
    });
    dlg->show();
}

void ChannelTools::Sort()
{
    frmCommChInfo* w = ChannelWindowOf(host_);
    if (!w) return;
    const int band = w->ShownBand(), group = w->ShownGroup();
    const int moved = SortChannelsByFrequency(host_.ws(), band, group, SelectedGridRows(GridOf(w)));
    host_.ShowStatus(moved > 0 ? host_.ws().T(tooltxt::Sorted).arg(moved).arg(GroupStepDetail(band, group).en)
                               : host_.ws().T(tooltxt::AlreadySorted));
}

void ChannelTools::Find()
{
    if (!find_) {
        find_ = new FrmFindChannel(*this, host_.ws(), host_.MainWindow());
        find_->setAttribute(Qt::WA_DeleteOnClose);
    }
    find_->show();
    find_->raise();
    find_->activateWindow();
    find_->Focus();
}

bool ChannelTools::FindStep(bool forward)
{
    if (query_.trimmed().isEmpty()) {
        Find();
        return false;
    }
    frmCommChInfo* w = ChannelWindowOf(host_);
    if (!w) return false;
    Workspace& ws = host_.ws();
    const auto matches = FindChannels(ws, ChannelQuery(query_));
    const int i = NextMatch(matches, {w->ShownBand(), w->ShownGroup(), w->CurrentRow()}, forward);
    QString text;
    if (i < 0) {
        text = ws.T(findtxt::NotFound).arg(query_.trimmed());
    } else {
        const ChannelPlace& p = matches[size_t(i)];
        emit ws.Events().channelSelected(p.band, p.group, p.channel);
        text = ws.T(findtxt::Found).arg(i + 1).arg(matches.size()).arg(query_.trimmed());
    }
    host_.ShowStatus(text);
    if (find_) find_->ShowResult(text);
    return i >= 0;
}

// ---- the filter box -------------------------------------------------------------

ChannelFilterBar::ChannelFilterBar(Workspace& ws, QTableView* grid, ChannelGridModel* model, QWidget* parent)
    : QWidget(parent), ws_(ws), grid_(grid), model_(model)
{
    setObjectName("fraFilter");
    label_ = new QLabel(this);
    text_ = new QLineEdit(this);
    text_->setObjectName("txtFilter");
    text_->setClearButtonEnabled(true);
    label_->setBuddy(text_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_);
    layout->addWidget(text_, 1);
    connect(text_, &QLineEdit::textChanged, this, &ChannelFilterBar::Apply);
    // The rows are read again when the group or its channels change.
    connect(model_, &QAbstractItemModel::modelReset, this, &ChannelFilterBar::Apply);
    connect(model_, &QAbstractItemModel::dataChanged, this, &ChannelFilterBar::Apply);
    connect(&ws.Events(), &DocumentEvents::languageChanged, this, &ChannelFilterBar::Retranslate);
    // A header click sorts the view instead of selecting the column.
    QHeaderView* header = grid_->horizontalHeader();
    header->setSectionsClickable(true);
    QObject::disconnect(header, SIGNAL(sectionPressed(int)), grid_, SLOT(selectColumn(int)));
    connect(header, &QHeaderView::sectionClicked, this, &ChannelFilterBar::HeaderClicked);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        if (sortColumn_ >= 0) SortView(sortColumn_, sortOrder_);
    });
    // A channel shown on request (a find) that the filter hides: the filter goes.
    connect(&ws.Events(), &DocumentEvents::channelSelected, this, [this](int band, int group, int channel) {
        if (!RowMatches(ws_, band, group, channel, ChannelQuery(text_->text()))) text_->clear();
    });
    Retranslate();
}

void ChannelFilterBar::HeaderClicked(int column)
{
    const Qt::SortOrder order =
        column == sortColumn_ && sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    SortView(column, order);
}

void ChannelFilterBar::SortView(int column, Qt::SortOrder order)
{
    sortColumn_ = column;
    sortOrder_ = order;
    const std::vector<int> rows = SortedRows(ws_, model_->Band(), model_->Group(), model_->rowCount(), column == 1,
                                             order == Qt::DescendingOrder);
    QHeaderView* v = grid_->verticalHeader();
    for (int visual = 0; visual < int(rows.size()); ++visual) v->moveSection(v->visualIndex(rows[size_t(visual)]), visual);
    grid_->horizontalHeader()->setSortIndicatorShown(true);
    grid_->horizontalHeader()->setSortIndicator(column, order);
    if (grid_->currentIndex().isValid()) grid_->scrollTo(grid_->currentIndex());
}

void ChannelFilterBar::Retranslate()
{
    label_->setText(ws_.T(tooltxt::FilterLabel));
    text_->setPlaceholderText(ws_.T(tooltxt::FilterHint));
}

void ChannelFilterBar::Apply()
{
    const ChannelQuery query(text_->text());
    const int band = model_->Band(), group = model_->Group();
    int firstShown = -1;
    for (int row = 0; row < model_->rowCount(); ++row) {
        const bool show = RowMatches(ws_, band, group, row + 1, query);
        if (grid_->isRowHidden(row) == show) grid_->setRowHidden(row, !show);
        if (show && firstShown < 0) firstShown = row;
    }
    // The current row stays a shown one, so the detail panel shows a channel that matches.
    const QModelIndex cur = grid_->currentIndex();
    if (firstShown >= 0 && (!cur.isValid() || grid_->isRowHidden(cur.row())))
        grid_->setCurrentIndex(model_->index(firstShown, 1));
}

}  // namespace kt
