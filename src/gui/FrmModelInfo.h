// Model > Model Information: what the program knows of the last radio it
// identified (model code, firmware, extended-HF flag, band) and its own model
// code and version.  A small fixed-size window; one at a time.
#pragma once

#include <QDialog>

class QFormLayout;
class QPushButton;
class QSpacerItem;

namespace kt {

class MainHost;

class FrmModelInfo : public QDialog {
    Q_OBJECT
public:
    FrmModelInfo(MainHost& host, QWidget* parent);
    // Fills the window from the workspace in the current language.
    void Refresh();
    MainHost& host() const { return host_; }

    // Opens the window of host (or brings the open one to the front) and refreshes it.
    static FrmModelInfo* ShowFor(MainHost& host);
    // Refreshes the window of host if it is open (after a transfer).
    static void RefreshOpen(MainHost& host);

protected:
    void showEvent(QShowEvent* e) override;

private:
    MainHost& host_;
    QFormLayout* form_ = nullptr;   // both sections, so their labels line up
    QPushButton* close_ = nullptr;
    QSpacerItem* titleRoom_ = nullptr;
};

}  // namespace kt
