// File > Restore Backup: the images kept of every read and write, newest
// first, with the band and channel counts of the one selected; Open puts it
// in as an unnamed document (an undoable step, as a read from the radio).
#pragma once

#include "link/Backups.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace kt {

class MainHost;
struct Workspace;

class FrmRestoreBackup : public QDialog {
    Q_OBJECT
public:
    FrmRestoreBackup(const Workspace& ws, const QString& folder, QWidget* parent = nullptr);

    const QList<BackupInfo>& Backups() const { return backups_; }
    // Selects a row (0-based) as a click would.
    void SelectRow(int row);
    // The backup chosen; empty when none or an unreadable one is selected.
    QString SelectedPath() const;
    QTableView* Table() const { return table_; }
    QLabel* Preview() const { return preview_; }
    QPushButton* OpenButton() const { return open_; }
    QPushButton* CompareButton() const { return compare_; }
    // The dialog's result when Compare was chosen.
    static constexpr int kCompareResult = 2;

private:
    void ShowSelected();

    const Workspace& ws_;
    QList<BackupInfo> backups_;
    QStandardItemModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* preview_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* compare_ = nullptr;
};

// What Compare does with the backup chosen (set by the compare commands);
// without it the dialog offers no Compare button.
inline std::function<void(MainHost&, const QString& path)>& BackupCompareHandler()
{
    static std::function<void(MainHost&, const QString&)> handler;
    return handler;
}

// The dialog, then the backup chosen opened as an unnamed document.  exec
// shows the dialog (tests answer it); by default it is shown modally.
void RestoreBackupCommand(MainHost& host, const QString& folder,
                          const std::function<int(FrmRestoreBackup&)>& exec = {});
// Opens one backup as an unnamed document, after the save question when the
// data were modified; false when it cannot be (after saying why) or the
// question was cancelled.
bool OpenBackup(MainHost& host, const QString& path);

}  // namespace kt
