// The radio-link wing of the main window: port dialog, read, write,
// multi-radio write and information read, each behind its progress window,
// and the backups of the images they move.
#pragma once

#include "gui/CommandRegistry.h"

#include <functional>
#include <memory>
#include <vector>

#include <QString>

class QDialog;
class QTimer;

namespace kt {

class FrmComSet;
class FrmLinkTrace;
class FrmRestoreBackup;
class FrmSeveralRadios;

class MainHost;
class SimRadio;
class GuiTransferDriver;

class Transfers : public CommandWing {
    Q_OBJECT
public:
    explicit Transfers(MainHost& host, QObject* parent = nullptr);
    ~Transfers() override;

    // CommandWing: the Program and Setup menus, Restore Backup and Model Information.
    std::vector<Command> Commands() override;
    void MainResized() override { StopTimers(); }
    void BeforeOtherVersion() override;

    void CommunicationPort();   // mnuComm: the port dialog FrmComSet
    void ReadFromRadio();       // mnuReadFromRadio
    void WriteToRadio();        // mnuWriteToRadio
    void WriteToGroup();        // mnuMWriteToRadio (offered with --group-write)
    void RadioInformation();    // mnuRadioInfo / mnuEMG
    void WriteToSeveral();      // mnuWriteSeveral: several ports at once
    void ShowLinkTrace();       // mnuLinkTrace: the last transfer's trace
    // Called with the trace window before it is shown modally; tests replace the showing.
    std::function<int(FrmLinkTrace&)> execTraceWindow;
    // Called with the several-radios window before it is shown modally; tests replace the showing.
    std::function<int(FrmSeveralRadios&)> execSeveralRadios;
    bool IsPortOpen() const;
    void ClosePort();
    // The main window's resize stops the link timers.
    void StopTimers();

    // The simulated radio behind the "Simulated radio" port (started on first use).
    SimRadio& Simulator();
    // Asks the number of radios for a multi-radio write; 0 cancels.  Tests replace it.
    std::function<int()> askRadioCount;
    // Called with the port dialog before it is shown modally; tests replace the showing.
    std::function<int(FrmComSet&)> execPortDialog;
    // Shows the Restore Backup dialog; by default modally (tests answer it).
    std::function<int(FrmRestoreBackup&)> execRestoreDialog;
    // The write question's "Show Differences..." button: shows the radio's
    // image at hand (A) against the document (B).  Without it there is no button.
    std::function<void(const std::vector<uint8_t>& radioImage, const QString& radioName)> showDifferences;
    // Called with each progress window once it is up (tests watch it).
    std::function<void(QDialog&)> onProgressShown;
    // The write starts this long after the command, once pending edits are stored.
    static constexpr int kTimerWriteMs = 20;
    // Where the images read and written are kept, and how many of them.
    QString backupFolder;
    int backupKeep;
    bool LastSuccess() const;
    // The kind of the transfer running (0 none).
    int Kind() const;

signals:
    // A read or a write has ended (after its messages).
    void TransferEnded(int kind, bool success);
    // An information read ended with the radio identified (ws.LastRadio);
    // one that got no answer has already said so.
    void RadioIdentified();

private:
    void StartWrite();
    MainHost& host_;
    std::unique_ptr<SimRadio> sim_;
    std::unique_ptr<GuiTransferDriver> driver_;
    QTimer* TimerWrite = nullptr;
};

}  // namespace kt
