// The differences between the document and another (a file, a backup, the
// radio), listed by place with a count per place.  A double-click opens the
// place in its editor; Copy puts the list on the clipboard.
#pragma once

#include "rules/compare/Compare.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kt {

class MainHost;

class FrmDifferences : public QWidget {
    Q_OBJECT
public:
    FrmDifferences(MainHost& host, cmp::Result result, QString nameA, QString nameB, QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }
    QPushButton* CopyButton() const { return copy_; }
    const cmp::Result& Differences() const { return result_; }
    // The place of a difference opened in its editor.
    void OpenPlace(const cmp::Place& place);
    // The list as text, in the current language.
    QString Text() const;

private:
    void Fill();
    void ApplyLanguage();
    void OnActivated(QTreeWidgetItem* item);

    MainHost& host_;
    cmp::Result result_;
    QString nameA_, nameB_;
    QLabel* heading_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* close_ = nullptr;
};

// Shows the differences in a window of their own (kept until closed).
FrmDifferences* ShowDifferences(MainHost& host, cmp::Result result, const QString& nameA, const QString& nameB);
// The same, in front of everything else, returning once it is closed (from a question).
void ShowDifferencesAndWait(MainHost& host, cmp::Result result, const QString& nameA, const QString& nameB);

}  // namespace kt
