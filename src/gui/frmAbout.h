// The About boxes: frmAbout in Chinese, FrmAbout2 in English.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QPushButton;

namespace kt {

struct Workspace;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(Workspace& ws, int language, const char* name, QWidget* parent);

    // "Version 2.0.0" / "版本 2.0.0".
    static QString VersionLabel(int language);
    // Starts a system information program; says so when none is installed.
    void cmdSysInfo_Click();

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;

    // Finds and starts the system information program (replaceable in tests).
    std::function<bool()> startSystemInfo;

private:
    Workspace& ws_;
    int language_;
};

class frmAbout : public AboutBox {
    Q_OBJECT
public:
    frmAbout(Workspace& ws, QWidget* parent = nullptr);
};

class FrmAbout2 : public AboutBox {
    Q_OBJECT
public:
    FrmAbout2(Workspace& ws, QWidget* parent = nullptr);
};

}  // namespace kt
