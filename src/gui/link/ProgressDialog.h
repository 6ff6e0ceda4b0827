// What both progress windows share: modal, "Completion percentage:" right
// beside the percent, the bar 0-100 below them, and closing only when the
// transfer says so (Finish).  The windows add their own rows under it.
#pragma once

#include <QDialog>

class QGridLayout;
class QLabel;
class QProgressBar;

namespace kt {

class ProgressDialog : public QDialog {
    Q_OBJECT
public:
    void SetProgressValue(int percent);
    // Closes the window at the transfer's end.
    void Finish();

    QLabel* Label1 = nullptr;          // "Completion percentage:"
    QLabel* Label2 = nullptr;          // the percent
    QProgressBar* ProgressBar1 = nullptr;

protected:
    explicit ProgressDialog(QWidget* parent);
    QGridLayout* Grid() const { return grid_; }
    bool Finishing() const { return finishing_; }

private:
    QGridLayout* grid_ = nullptr;
    bool finishing_ = false;
};

}  // namespace kt
