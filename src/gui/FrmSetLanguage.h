// The language dialog: English, or English and Chinese on a Chinese system.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace kt {

struct Workspace;

class FrmSetLanguage : public QDialog {
    Q_OBJECT
public:
    explicit FrmSetLanguage(Workspace& ws, QWidget* parent = nullptr);

    // OK: takes the chosen language and stores it; Cancel: closes.
    void Command1_Click();
    void Command2_Click();

    QComboBox* Combo1;
    QLabel* Label1;
    QPushButton* Command1;
    QPushButton* Command2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Workspace& ws_;
};

// SetOkCancelCaptions / SetOkCancelCaptions1: OK and Cancel captions for the
// buttons named "CommandOK"/"CommandCancel" or "Command1"/"Command2".
// SetCloseHelpCaptions: "CommandClose" and "CommandHelp".
void SetOkCancelCaptions(QWidget* form, int language);
void SetOkCancelCaptions1(QWidget* form, int language);
void SetCloseHelpCaptions(QWidget* form, int language);

}  // namespace kt
