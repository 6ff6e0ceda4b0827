// The multi-radio write window: the current radio's percentage and bar, the
// number of the radio being written and a bar over all radios.  Closing it
// ends the run.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;

namespace kt {

class frmMProgress : public QDialog {
    Q_OBJECT
public:
    frmMProgress(int radioCount, int language, QWidget* parent = nullptr);
    void SetProgressValue(int percent);
    void SetRadioNumber(int n);
    void ChangShowByLanguage(int language);
    void Finish();

    // Called when the user closes the window while the run goes on.
    std::function<void()> onUserClose;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QProgressBar* ProgressBar2 = nullptr;

    void reject() override;

private:
    bool finishing_ = false;
};

}  // namespace kt
