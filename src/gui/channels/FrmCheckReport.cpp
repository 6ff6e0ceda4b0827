#include "gui/channels/FrmCheckReport.h"

#include "model/ChannelRules.h"
#include "rules/channels/ChannelTables.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace kt {

namespace rtxt {
inline constexpr Bi Title{"Check All Channel Frequency", "有效频率检测"};
inline constexpr Bi Severity{"Severity", "级别"};
inline constexpr Bi Band{"Band", "频段"};
inline constexpr Bi Group{"Group", "组"};
inline constexpr Bi Channel{"Channel", "信道"};
inline constexpr Bi Reason{"Reason", "原因"};
inline constexpr Bi Clean{"Every channel is in order.", "所有信道都正常。"};
inline constexpr Bi Summary{"%1 error(s), %2 note(s). Double-click a line to open its channel.",
                            "%1 个错误，%2 个提示。双击一行打开该信道。"};
inline constexpr Bi Refresh{"Check &Again", "重新检测(&A)"};
}  // namespace rtxt

FrmCheckReport::FrmCheckReport(MainHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), host_(host)
{
    setObjectName("FrmCheckReport");
    setAttribute(Qt::WA_DeleteOnClose);
    model_ = new QStandardItemModel(this);
    table_ = new QTableView(this);
    table_->setModel(model_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    summary_ = new QLabel(this);
    refresh_ = new QPushButton(this);
    close_ = new QPushButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(summary_, 1);
    buttons->addWidget(refresh_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    resize(760, 420);

    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& i) { OpenRow(i.row()); });
    connect(refresh_, &QPushButton::clicked, this, &FrmCheckReport::Refresh);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    DocumentEvents& ev = host_.ws().Events();
    connect(&ev, &DocumentEvents::languageChanged, this, &FrmCheckReport::Refresh);
    connect(&ev, &DocumentEvents::documentReplaced, this, &FrmCheckReport::Refresh);
    connect(&ev, &DocumentEvents::documentRestored, this, &FrmCheckReport::Refresh);
    Refresh();
}

void FrmCheckReport::ApplyLanguage()
{
    const Workspace& ws = host_.ws();
    setWindowTitle(ws.T(rtxt::Title));
    model_->setHorizontalHeaderLabels(
        {ws.T(rtxt::Severity), ws.T(rtxt::Band), ws.T(rtxt::Group), ws.T(rtxt::Channel), ws.T(rtxt::Reason)});
    refresh_->setText(ws.T(rtxt::Refresh));
    close_->setText(ws.T(txt::Close));
    const int errors = CountErrors(findings_);
    summary_->setText(findings_.isEmpty() ? ws.T(rtxt::Clean)
                                          : ws.T(rtxt::Summary).arg(errors).arg(findings_.size() - errors));
}

void FrmCheckReport::Refresh()
{
    const Workspace& ws = host_.ws();
    findings_ = CheckChannels(ws);
    model_->clear();
    for (const Finding& f : findings_) {
        QList<QStandardItem*> row{
            new QStandardItem(SeverityText(ws, f.severity)), new QStandardItem(BandName(f.band)),
            new QStandardItem(GroupLetter(f.band, f.group)),
            new QStandardItem(f.channel == 0 ? QStringLiteral("-") : RowHeaderText(f.band, f.group, f.channel)),
            new QStandardItem(f.reason)};
        if (f.severity == Severity::Error) row[0]->setForeground(Qt::red);
        model_->appendRow(row);
    }
    ApplyLanguage();
    table_->resizeColumnsToContents();
}

void FrmCheckReport::OpenRow(int row)
{
    if (row < 0 || row >= findings_.size()) return;
    const Finding& f = findings_[row];
    host_.ShowChild(Child::ChannelInfo);
    emit host_.ws().Events().channelSelected(f.band, f.group, f.channel == 0 ? 1 : f.channel);
}

}  // namespace kt
