// The radio-link commands of the main window: port dialog, read, write,
// multi-radio write and information read, each behind its progress window.
#pragma once

#include <QObject>

namespace kt {

class MainHost;

class Transfers : public QObject {
    Q_OBJECT
public:
    explicit Transfers(MainHost& host, QObject* parent = nullptr);
    ~Transfers() override;

    void CommunicationPort();   // mnuComm: the port dialog FrmComSet
    void ReadFromRadio();       // mnuReadFromRadio
    void WriteToRadio();        // mnuWriteToRadio
    void WriteToGroup();        // mnuMWriteToRadio (offered with --group-write)
    void RadioInformation();    // mnuRadioInfo / mnuEMG
    bool IsPortOpen() const;
    void ClosePort();
    // The main window's resize stops the link timers.
    void StopTimers();

private:
    MainHost& host_;
};

}  // namespace kt
