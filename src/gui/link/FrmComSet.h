// The communication-port dialog: the ports present with what the system
// knows of them (refreshed every second, so that a USB cable plugged in
// meanwhile shows up) and "Simulated radio" last; the control lines "DTR on"
// and "RTS on"; and "Find my cable", which selects the port that goes away
// and comes back while the user unplugs the cable and plugs it in again.
// OK stores the choice as "comPort" (with the lines) in the settings file.
#pragma once

#include "link/PortList.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QCheckBox;
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
    // lister gives the port names present; by default the system's serial
    // ports with their descriptions.
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
    QCheckBox* CheckDtr = nullptr;
    QCheckBox* CheckRts = nullptr;
    QPushButton* CommandFind = nullptr;
    QLabel* LabelFind = nullptr;
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;
    QTimer* ReShowComPortTimer = nullptr;
    QTimer* FindTimer = nullptr;   // polls the ports while looking for the cable

    void OnOk();
    void OnCancel();
    // Find my cable: starts looking (or stops when looking); one poll.
    void OnFind();
    void FindTick();

protected:
    void done(int r) override;

private:
    QList<PortEntry> Ports() const;
    void SelectOrFirst(const QString& name);
    void StopFinding(const QString& status);
    Workspace& ws_;
    PortLister lister_;
    CableFinder finder_;
    int findTicks_ = 0;
};

}  // namespace kt
