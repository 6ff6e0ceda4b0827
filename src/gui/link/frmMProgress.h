// The multi-radio write window: the current radio's percentage and bar, the
// number of the radio being written and a bar over all radios.  Closing it
// ends the run.
#pragma once

#include "gui/link/ProgressDialog.h"

#include <functional>

namespace kt {

class frmMProgress : public ProgressDialog {
    Q_OBJECT
public:
    frmMProgress(int radioCount, int language, QWidget* parent = nullptr);
    void SetRadioNumber(int n);
    void ChangShowByLanguage(int language);

    // Called when the user closes the window while the run goes on.
    std::function<void()> onUserClose;

    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QProgressBar* ProgressBar2 = nullptr;

    void reject() override;
};

}  // namespace kt
