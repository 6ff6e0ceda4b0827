// The report of "Check All Channel Frequency": one line per finding with its
// severity, band, group, channel and reason in the current language.  A
// double-click selects that channel in the channel editor.
#pragma once

#include "gui/MainHost.h"
#include "rules/channels/ChannelCheck.h"

#include <QList>
#include <QWidget>

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace kt {

class FrmCheckReport : public QWidget {
    Q_OBJECT
public:
    FrmCheckReport(MainHost& host, QWidget* parent);
    // Runs the check again and shows its findings.
    void Refresh();
    const QList<Finding>& findings() const { return findings_; }
    QTableView* table() const { return table_; }
    MainHost& host() const { return host_; }
    // What a double-click on row does (also for tests).
    void OpenRow(int row);

private:
    void ApplyLanguage();

    MainHost& host_;
    QList<Finding> findings_;
    QStandardItemModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace kt
