// The communication-port dialog: the ports present (refreshed every second,
// so that a USB cable plugged in meanwhile shows up) and "Simulated radio".
// OK stores the choice as "comPort" in the settings file.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

namespace kt {

struct Workspace;

class FrmComSet : public QDialog {
    Q_OBJECT
public:
    using PortLister = std::function<QStringList()>;
    // lister gives the port names present; by default the system's serial ports.
    explicit FrmComSet(Workspace& ws, PortLister lister = {}, QWidget* parent = nullptr);
    ~FrmComSet() override;

    // The system's serial ports, then "Simulated radio".
    static QStringList SystemPorts();
    // Fills Combo1; returns the first name, or empty when there is none.
    QString EnumerateComPorts();
    void ReShowComPort();   // one tick of ReShowComPortTimer

    QString PortID;         // the dialog's own choice
    QComboBox* Combo1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;
    QTimer* ReShowComPortTimer = nullptr;

    void OnOk();
    void OnCancel();

protected:
    void done(int r) override;

private:
    void SelectOrFirst(const QString& name);
    Workspace& ws_;
    PortLister lister_;
};

}  // namespace kt
