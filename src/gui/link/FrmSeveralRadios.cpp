#include "gui/link/FrmSeveralRadios.h"
#include "shell/MainTexts.h"

#include "link/Backups.h"
#include "link/LinkTexts.h"
#include "link/RadioBatch.h"
#include "model/Codec.h"
#include "model/Workspace.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSettings>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kt {

namespace {
enum Column { ColPort, ColModel, ColFirmware, ColProgress, ColState, ColResult, ColAction, ColumnCount };

QStringList SystemSerialPorts()
{
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) names << info.systemLocation();
    return names;
}
}  // namespace

FrmSeveralRadios::FrmSeveralRadios(Workspace& ws, PortLister lister, QWidget* parent)
    : QDialog(parent), ws_(ws), lister_(lister ? std::move(lister) : PortLister(&SystemSerialPorts))
{
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    portsLabel_ = new QLabel(this);
    Ports = new QListWidget(this);
    Ports->setMaximumHeight(110);
    simLabel_ = new QLabel(this);
    Simulated = new QSpinBox(this);
    Simulated->setRange(0, 16);
    Verify = new QCheckBox(this);
    KeepGoing = new QCheckBox(this);
    logLabel_ = new QLabel(this);
    LogPath = new QLineEdit(this);
    browse_ = new QPushButton(this);
    Rows = new QTableWidget(0, ColumnCount, this);
    Rows->verticalHeader()->hide();
    Rows->setSelectionMode(QAbstractItemView::NoSelection);
    Rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Rows->horizontalHeader()->setSectionResizeMode(ColResult, QHeaderView::Stretch);
    Summary = new QLabel(this);
    Start = new QPushButton(this);
    Stop = new QPushButton(this);
    close_ = new QPushButton(this);
    Start->setDefault(true);
    simLabel_->setBuddy(Simulated);
    logLabel_->setBuddy(LogPath);

    auto* options = new QGridLayout;
    options->addWidget(simLabel_, 0, 0);
    options->addWidget(Simulated, 0, 1, Qt::AlignLeft);
    options->addWidget(Verify, 1, 0, 1, 3);
    options->addWidget(KeepGoing, 2, 0, 1, 3);
    options->addWidget(logLabel_, 3, 0);
    options->addWidget(LogPath, 3, 1);
    options->addWidget(browse_, 3, 2);
    options->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Summary, 1);
    buttons->addWidget(Start);
    buttons->addWidget(Stop);
    buttons->addWidget(close_);
    auto* box = new QVBoxLayout(this);
    box->addWidget(portsLabel_);
    box->addWidget(Ports);
    box->addLayout(options);
    box->addWidget(Rows, 1);
    box->addLayout(buttons);

    connect(Start, &QPushButton::clicked, this, [this] { StartWriting(); });
    connect(Stop, &QPushButton::clicked, this, &FrmSeveralRadios::StopWriting);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(browse_, &QPushButton::clicked, this, [this] {
        const QString f = QFileDialog::getSaveFileName(this, PlainCaption(ws_.T(link_txt::SeveralLog)), LogPath->text(),
                                                       QStringLiteral("CSV (*.csv)"), nullptr,
                                                       QFileDialog::DontConfirmOverwrite);
        if (!f.isEmpty()) LogPath->setText(f);
    });

    ApplyLanguage();
    RefreshPorts();
    portTimer_ = new QTimer(this);
    portTimer_->setInterval(1000);
    connect(portTimer_, &QTimer::timeout, this, &FrmSeveralRadios::RefreshPorts);
    portTimer_->start();
    SetRunning(false);
    resize(760, 520);
}

FrmSeveralRadios::~FrmSeveralRadios() = default;

void FrmSeveralRadios::ApplyLanguage()
{
    setWindowTitle(ws_.T(link_txt::SeveralTitle));
    portsLabel_->setText(ws_.T(link_txt::SeveralPorts));
    simLabel_->setText(ws_.T(link_txt::SeveralSimulated));
    Verify->setText(ws_.T(link_txt::SeveralVerify));
    KeepGoing->setText(ws_.T(link_txt::SeveralKeep));
    logLabel_->setText(ws_.T(link_txt::SeveralLog));
    browse_->setText(ws_.T(link_txt::SeveralBrowse));
    Start->setText(ws_.T(link_txt::SeveralStart));
    Stop->setText(ws_.T(link_txt::SeveralStop));
    close_->setText(ws_.T(link_txt::SeveralClose));
    Rows->setHorizontalHeaderLabels({ws_.T(link_txt::ColPort), ws_.T(link_txt::ColModel),
                                     ws_.T(link_txt::ColFirmware), ws_.T(link_txt::ColProgress),
                                     ws_.T(link_txt::ColState), ws_.T(link_txt::ColResult), QString()});
}

// Ports that came keep their tick; ports that went are dropped.
void FrmSeveralRadios::RefreshPorts()
{
    const QStringList present = lister_();
    QStringList ticked;
    for (int i = 0; i < Ports->count(); ++i)
        if (Ports->item(i)->checkState() == Qt::Checked) ticked << Ports->item(i)->text();
    QStringList shown;
    for (int i = 0; i < Ports->count(); ++i) shown << Ports->item(i)->text();
    if (shown == present) return;
    Ports->clear();
    for (const QString& p : present) {
        auto* item = new QListWidgetItem(p, Ports);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(ticked.contains(p) ? Qt::Checked : Qt::Unchecked);
    }
}

bool FrmSeveralRadios::StartWriting()
{
    if (batch_ && batch_->Running()) return false;
    QStringList ports;
    for (int i = 0; i < Ports->count(); ++i)
        if (Ports->item(i)->checkState() == Qt::Checked) ports << Ports->item(i)->text();
    if (ports.isEmpty() && Simulated->value() == 0) {
        ws_.Ask(ws_.T(link_txt::SeveralNothing), Buttons::Ok, Icon::Information);
        return false;
    }
    // Edits still open in the editors reach the model before it is encoded.
    emit ws_.Events().aboutToEncode();
    ClearImage(ws_);
    EncodeImage(ws_);

    batch_ = std::make_unique<RadioBatch>(ws_.CurrentLanguage);
    batch_->SetVersions(ws_.Versions);
    for (const QString& p : ports) batch_->AddPort(p);
    QString why;
    if (!batch_->AddSimulated(Simulated->value(), &why)) {
        ws_.Ask(why, Buttons::Ok, Icon::Critical);
        batch_.reset();
        return false;
    }
    Rows->setRowCount(batch_->RowCount());
    for (int r = 0; r < batch_->RowCount(); ++r) {
        for (int c : {ColPort, ColModel, ColFirmware, ColState, ColResult}) Rows->setItem(r, c, new QTableWidgetItem);
        auto* bar = new QProgressBar(Rows);
        bar->setRange(0, 100);
        Rows->setCellWidget(r, ColProgress, bar);
        auto* actions = new QWidget(Rows);
        auto* line = new QHBoxLayout(actions);
        line->setContentsMargins(2, 0, 2, 0);
        auto* retry = new QPushButton(ws_.T(link_txt::SeveralRetry), actions);
        auto* skip = new QPushButton(ws_.T(link_txt::SeveralSkip), actions);
        line->addWidget(retry);
        line->addWidget(skip);
        actions->setVisible(false);
        Rows->setCellWidget(r, ColAction, actions);
        connect(retry, &QPushButton::clicked, this, [this, r] { batch_->AnswerRow(r, Answer::Retry); });
        connect(skip, &QPushButton::clicked, this, [this, r] { batch_->AnswerRow(r, Answer::Cancel); });
    }
    batch_->onImageDone = [this](int kind, const std::vector<uint8_t>& image, const QByteArray& model,
                                 const QByteArray& firmware, const QString& port) {
        QSettings settings(QStringLiteral("KT-6383 Pro"), QStringLiteral("KT-6383 Pro"));
        return BackUpImage(BackupStore::DefaultFolder(), BackupLimit(settings), kind, image, model, firmware,
                           ws_.CurrentLanguage, port);
    };
    connect(batch_.get(), &RadioBatch::rowChanged, this, &FrmSeveralRadios::ShowRow);
    connect(batch_.get(), &RadioBatch::finished, this, [this] {
        SetRunning(false);
        ShowSummary();
    });
    BatchOptions o;
    o.image = ws_.MemImage;
    o.verify = Verify->isChecked();
    o.keepGoing = KeepGoing->isChecked();
    o.jobFile = ws_.CurrentFile;
    o.logPath = LogPath->text().trimmed();
    SetRunning(true);
    for (int r = 0; r < batch_->RowCount(); ++r) ShowRow(r);
    batch_->Start(o);
    return true;
}

void FrmSeveralRadios::StopWriting()
{
    if (batch_) batch_->Stop();
}

void FrmSeveralRadios::SetRunning(bool running)
{
    Start->setEnabled(!running);
    Stop->setEnabled(running);
    for (QWidget* w : std::initializer_list<QWidget*>{Ports, Simulated, Verify, KeepGoing, LogPath, browse_})
        w->setEnabled(!running);
}

void FrmSeveralRadios::ShowRow(int row)
{
    const PortRow& r = batch_->Row(row);
    Rows->item(row, ColPort)->setText(r.label);
    Rows->item(row, ColModel)->setText(QString::fromLatin1(r.model));
    Rows->item(row, ColFirmware)->setText(QString::fromLatin1(r.firmware));
    static_cast<QProgressBar*>(Rows->cellWidget(row, ColProgress))->setValue(r.percent);
    QString state = batch_->StateText(r);
    if (KeepGoing->isChecked() && r.written > 0) state += QStringLiteral(" (%1)").arg(r.written);
    Rows->item(row, ColState)->setText(state);
    Rows->item(row, ColResult)->setText(QString(r.detail).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    Rows->item(row, ColResult)->setToolTip(r.detail);
    Rows->cellWidget(row, ColAction)->setVisible(r.question != LinkQuestion::None);
    ShowSummary();
}

void FrmSeveralRadios::ShowSummary()
{
    if (!batch_) return;
    const BatchTotals t = batch_->Totals();
    QString text =
        ws_.T(link_txt::SeveralSummary).arg(t.written).arg(t.verified).arg(t.failed).arg(t.skipped).arg(t.stopped);
    if (!batch_->LogError().isEmpty()) text += QStringLiteral("\n") + batch_->LogError();
    if (!batch_->BackupWarning().isEmpty()) text += QStringLiteral("\n") + batch_->BackupWarning();
    Summary->setText(text);
}

void FrmSeveralRadios::done(int r)
{
    // Only a radio caught part-way is worth a question; ports that wait for
    // their next radio just end.
    if (batch_ && batch_->Busy()) {
        const bool stop = askStop ? askStop()
                                  : ws_.Ask(ws_.T(link_txt::SeveralStopAsk), Buttons::YesNo, Icon::Question)
                                        == Answer::Yes;
        if (!stop) return;
    }
    if (batch_) batch_->Stop();
    QDialog::done(r);
}

}  // namespace kt
