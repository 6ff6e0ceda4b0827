// A read, a write or a multi-radio write as the user starts it: the port is
// opened, the user confirms, the image is prepared and the state machine runs
// behind a progress display until it ends.  The desktop program derives from
// this to show its windows; the command-line tool and the tests use it as is.
#pragma once

#include "link/LinkMachine.h"
#include "link/LinkTrace.h"
#include "link/SerialLink.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

namespace kt {

class SimRadio;

// The port key that stands for the simulated radio inside the program.
inline const QString kSimulatedPortKey = QStringLiteral("Simulated radio");

// The port key of the settings file as a device name: a bare number n means "COMn".
QString PortNameOfKey(const QString& key);

// Asks where to save a link trace (the workspace's file dialog) and writes it
// there; one that cannot be written is said, naming the file and the reason.
// False when cancelled or not written.
bool SaveTraceAs(Workspace& ws, const LinkTrace& trace);

class Transfer : public QObject, public TransferUi, private LinkIo {
    Q_OBJECT
public:
    explicit Transfer(Workspace& ws, QObject* parent = nullptr);
    ~Transfer() override;

    // The simulated radio used for the port key kSimulatedPortKey (not owned).
    void SetSimulator(SimRadio* sim) { sim_ = sim; }
    // When set, used instead of ws.comPort (a device path or port name).
    void SetPortOverride(const QString& port) { portOverride_ = port; }
    // Ask for confirmation before a transfer (the command line's --yes clears it).
    void SetConfirm(bool confirm) { confirm_ = confirm; }
    // Write this image as it is instead of encoding the model (the command line's .img).
    void SetImage(std::vector<uint8_t> image) { givenImage_ = std::move(image); }

    // Each runs to its end and returns true on success.
    bool Read();
    bool Write();
    bool WriteGroup(int radioCount);
    // Handshake, identification and End, no confirmation and no progress;
    // returns at once.  The radio identified lands in ws.LastRadio and
    // infoReadFinished tells whether it answered.
    void InfoRead(bool clearImage);

    // Ctrl+C: a running read or write ends after the exchange under way, with
    // End to the radio so that it leaves programming mode (no success).
    void RequestStop() { machine_.RequestStop(); }
    // The last read or write ended so.
    bool Stopped() const { return stopped_; }

    void ClosePort() override;
    bool IsPortOpen() const { return port_.IsOpen(); }
    // The main window's resize: stops the reply timer unless a read or a write runs.
    void StopTimers();

    // The kind of transfer running (kNoTransfer when none).
    int Kind() const { return machine_.Kind(); }
    // A read or a write runs.  An information read does not count.
    bool Busy() const { return Kind() == kRead || Kind() == kWrite; }

    // The trace of the last transfer (read, write or information read).
    const LinkTrace& Trace() const { return trace_; }
    // The frames go into the trace unless turned off (the benchmark weighs it).
    void SetTracing(bool on) { port_.SetTrace(on ? &trace_ : nullptr); }
    // The last transfer ended because its port went away.
    bool PortLost() const { return portLost_; }

    LinkMachine& Machine() { return machine_; }
    SerialLink& Port() { return port_; }
    bool LastSuccess() const { return lastSuccess_; }
    QString PortName() const;
    // The port as the backups name it: "sim" for the simulated radio, else PortName().
    QString PortLabel() const;

    // Percent callback for simple progress displays (the command line).
    std::function<void(int)> onPercent;
    // When set, an unsuitable firmware is reported through it instead of the
    // question about starting another version (the command line starts none).
    std::function<void(const QString& radioVersion)> onIncompatibleFirmware;
    // A read or a write succeeded: the image read or sent, before anything
    // else is done with it (the backups hang here).
    std::function<void(int kind, const std::vector<uint8_t>& image)> onImageDone;
    // A line added to the write's question (what the write would change),
    // and what its "Show Differences..." button shows (none when not set).
    std::function<QString()> writeNote;
    std::function<void()> showWriteDifferences;

signals:
    // An information read ended: answered tells whether the radio identified
    // itself (ws.LastRadio then holds it).
    void infoReadFinished(bool answered);

protected:
    // Shows the progress display and runs until the transfer ends.  The
    // display's start calls Machine().StartHandshake().  Default: an event loop.
    virtual void RunProgress(int kind, bool multi);
    // Called by the progress display when it ends the transfer itself.
    void ProgressClosedByUser();

    // TransferUi
    // The radio identified is the workspace's: LastRadio, and for a read or
    // a write also the extended-HF flag and the firmware the codec uses.
    void Identified(const RadioIdent& id) override;
    void ShowPercent(int percent) override;
    void CloseProgress() override;
    // Questions A and B and the queued notices, through the workspace's Ask.
    Answer AskRetry() override;
    Answer AskLostBlock() override;
    void Notice(const QString& text) override;
    void Finished(int kind, bool success) override;
    void IncompatibleFirmware(const QString& v) override;
    // Starts the software version for v; returns when that failed.
    virtual void LaunchVersion(const QString& v);
    // The port went away during a transfer: text says so, after the transfer
    // ended.  Default: a warning through the workspace's Ask.
    virtual void PortLostMessage(const QString& text);

    Workspace& ws_;
    LinkMachine machine_;

private:
    // The port opened; shows the port error.
    bool OpenLink();
    bool Confirm(const Bi& question);
    bool Begin(int kind, const Bi& question);
    // A document whose channel file gave too few channels: the user agrees to
    // write it without them.
    bool MissingChannelsAccepted();
    void PrepareImage();
    void SendFrame(const QByteArray& frame, int replyLen) override;
    void StartWaitTimer() override;
    void StopWaitTimer() override;
    void OnPortLost();

    SerialLink port_;
    LinkTrace trace_;
    bool portLost_ = false;
    QTimer waitTimer_;
    SimRadio* sim_ = nullptr;
    QString portOverride_;
    bool confirm_ = true;
    std::vector<uint8_t> givenImage_;
    bool lastSuccess_ = false;
    bool stopped_ = false;
    bool running_ = false;
    std::function<void()> quitLoop_;
};

}  // namespace kt
