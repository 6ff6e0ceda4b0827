// The modal progress window of a read or a write: caption by kind,
// "Completion percentage:", the percent and a bar 0-100.  The transfer closes
// it; the user cannot.
#pragma once

#include "gui/link/ProgressDialog.h"

namespace kt {

class FrmProgress : public ProgressDialog {
    Q_OBJECT
public:
    // kind 1 read, 2 write; language 1 English, 2 Chinese.
    FrmProgress(int kind, int language, QWidget* parent = nullptr);
    void ChangShowByLanguage(int language);

    void reject() override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    int kind_;
};

}  // namespace kt
