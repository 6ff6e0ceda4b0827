#include "gui/link/FrmRestoreBackup.h"
#include "gui/MainHost.h"
#include "base/Messages.h"
#include "model/EditStep.h"
#include "model/Workspace.h"
#include "shell/FileCommands.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace kt {

namespace {
namespace t {
constexpr Bi Title{"Restore Backup", "恢复备份"};
constexpr Bi Date{"Date", "日期"};
constexpr Bi Kind{"Kind", "类型"};
constexpr Bi Model{"Model", "机型"};
constexpr Bi Firmware{"Firmware", "固件"};
constexpr Bi Port{"Port", "端口"};
constexpr Bi Band{"Band", "频段"};
constexpr Bi Open{"&Open", "打开(&O)"};
constexpr Bi Cancel{"Cancel", "取消"};
constexpr Bi Compare{"Co&mpare", "比较(&M)"};
constexpr Bi Folder{"Folder: %1", "文件夹：%1"};
constexpr Bi None{"No backups yet: every read from a radio and every write to one keeps one here.",
                  "还没有备份：每次从对讲机读取或向对讲机写入都会在此保存一份。"};
}  // namespace t
}  // namespace

FrmRestoreBackup::FrmRestoreBackup(const Workspace& ws, const QString& folder, QWidget* parent)
    : QDialog(parent), ws_(ws), backups_(BackupStore(folder).List(ws.CurrentLanguage))
{
    setObjectName("FrmRestoreBackup");
    setWindowTitle(ws.T(t::Title));
    const int L = ws.CurrentLanguage;
    model_ = new QStandardItemModel(0, 6, this);
    model_->setHorizontalHeaderLabels(
        {ws.T(t::Date), ws.T(t::Kind), ws.T(t::Model), ws.T(t::Firmware), ws.T(t::Port), ws.T(t::Band)});
    for (const BackupInfo& b : backups_) {
        QList<QStandardItem*> row;
        const QString when = b.when.isValid() ? b.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : b.fileName;
        row << new QStandardItem(when);
        row << new QStandardItem(b.readable ? BackupKindText(b.kind, L) : ws.T(bktxt::Unreadable));
        // Older backups do not say which port: left empty.
        row << new QStandardItem(b.model) << new QStandardItem(b.firmware) << new QStandardItem(b.port);
        row << new QStandardItem(b.readable ? BandText(b.bandType, L) : QString());
        for (QStandardItem* i : row) {
            i->setEditable(false);
            i->setToolTip(QDir::toNativeSeparators(b.path));
            if (!b.readable) i->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
        }
        model_->appendRow(row);
    }
    table_ = new QTableView(this);
    table_->setObjectName("BackupTable");
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->resizeColumnsToContents();

    preview_ = new QLabel(this);
    preview_->setObjectName("Preview");
    preview_->setWordWrap(true);
    preview_->setMinimumHeight(preview_->fontMetrics().lineSpacing() * 3 + 8);
    auto* folderLabel = new QLabel(ws.T(t::Folder).arg(QDir::toNativeSeparators(folder)), this);
    folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    open_ = new QPushButton(ws.T(t::Open), this);
    open_->setObjectName("cmdOpen");
    open_->setDefault(true);
    cancel_ = new QPushButton(ws.T(t::Cancel), this);
    cancel_->setObjectName("cmdCancel");
    // Compare: the backup against the document, which stays as it is.
    compare_ = new QPushButton(ws.T(t::Compare), this);
    compare_->setObjectName("cmdCompare");
    compare_->setVisible(bool(BackupCompareHandler()));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(folderLabel, 1);
    buttons->addWidget(compare_);
    buttons->addWidget(open_);
    buttons->addWidget(cancel_);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(table_, 1);
    lay->addWidget(preview_);
    lay->addLayout(buttons);
    resize(640, 420);

    connect(open_, &QPushButton::clicked, this, [this] {
        if (!SelectedPath().isEmpty()) accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(compare_, &QPushButton::clicked, this, [this] {
        if (!SelectedPath().isEmpty()) done(kCompareResult);
    });
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &FrmRestoreBackup::ShowSelected);
    connect(table_, &QTableView::doubleClicked, this, [this] {
        if (!SelectedPath().isEmpty()) accept();
    });
    if (backups_.isEmpty()) preview_->setText(ws.T(t::None));
    else SelectRow(0);
    ShowSelected();
}

void FrmRestoreBackup::SelectRow(int row)
{
    if (row < 0 || row >= model_->rowCount()) return;
    table_->setCurrentIndex(model_->index(row, 0));
    table_->selectRow(row);
}

QString FrmRestoreBackup::SelectedPath() const
{
    const int row = table_->currentIndex().row();
    if (row < 0 || row >= backups_.size() || !backups_[row].readable) return {};
    return backups_[row].path;
}

void FrmRestoreBackup::ShowSelected()
{
    const int row = table_->currentIndex().row();
    open_->setEnabled(!SelectedPath().isEmpty());
    compare_->setEnabled(!SelectedPath().isEmpty());
    if (row < 0 || row >= backups_.size()) return;
    preview_->setText(BackupPreview(backups_[row], ws_.CurrentLanguage));
}

bool OpenBackup(MainHost& host, const QString& path)
{
    Workspace& ws = host.ws();
    std::vector<uint8_t> image;
    QString why;
    // Checked again: the file may have changed since the list was made.
    const BackupInfo info = BackupStore::Inspect(path, ws.CurrentLanguage);
    if (!info.readable) {
        ws.Ask(QDir::toNativeSeparators(path) + "\n" + info.problem, Buttons::Ok, Icon::Warning);
        return false;
    }
    if (!BackupStore::Load(path, image, &why, ws.CurrentLanguage)) {
        ws.Ask(QDir::toNativeSeparators(path) + "\n" + why, Buttons::Ok, Icon::Warning);
        return false;
    }
    emit ws.Events().aboutToEncode();
    // As Open does: modified data get the save question first; Cancel (or a
    // save that did not happen) leaves the document as it is.
    if (!AskSaveModified(ws)) return false;
    // As after a read: the windows close on the old document and come back
    // on the new one.
    host.SetChildrenAside();
    EditStep step(ws, Named(steptxt::RestoreBackup, Plain(info.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))));
    OpenImageAsDocument(ws, image);
    return true;
}

void RestoreBackupCommand(MainHost& host, const QString& folder, const std::function<int(FrmRestoreBackup&)>& exec)
{
    FrmRestoreBackup dlg(host.ws(), folder, host.MainWindow());
    const int result = exec ? exec(dlg) : dlg.exec();
    if (result == FrmRestoreBackup::kCompareResult && BackupCompareHandler() && !dlg.SelectedPath().isEmpty()) {
        BackupCompareHandler()(host, dlg.SelectedPath());
        return;
    }
    if (result != QDialog::Accepted || dlg.SelectedPath().isEmpty()) return;
    OpenBackup(host, dlg.SelectedPath());
}

}  // namespace kt
