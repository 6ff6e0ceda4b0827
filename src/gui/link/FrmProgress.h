// The modal progress window of a read or a write: caption by kind,
// "Completion percentage:", the percent and a bar 0-100.  The transfer closes
// it; the user cannot.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace kt {

class FrmProgress : public QDialog {
    Q_OBJECT
public:
    // kind 1 read, 2 write; language 1 English, 2 Chinese.
    FrmProgress(int kind, int language, QWidget* parent = nullptr);
    void SetProgressValue(int percent);
    void ChangShowByLanguage(int language);
    // Closes the window at the transfer's end.
    void Finish();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    void reject() override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    int kind_;
    bool finishing_ = false;
};

}  // namespace kt
