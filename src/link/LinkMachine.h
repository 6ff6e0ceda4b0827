// The link's state machine: handshake, identification, the memory blocks one
// by one and End, driven by two events only: a reply arrived, or the reply
// timer ran out.  It knows nothing of ports or windows; the frames go out and
// the timer is started through LinkIo, and what the user sees goes through
// TransferUi and the workspace's Ask.
#pragma once

#include "model/Workspace.h"

#include <QByteArray>
#include <QString>

namespace kt {

// Transfer kinds.
enum TransferKindValue { kNoTransfer = 0, kRead = 1, kWrite = 2, kInfoRead = 3 };

// Steps of a read (ReadStep) or a write (WriteStep).
enum LinkStep {
    kStepIdle = 0,
    kStepHandshake = 1,
    kStepIdent = 3,
    kStepWriteBlocks = 4,
    kStepReadBlocks = 5,
    kStepEnd = 69,
    kStepEndAfterBadIdent = 70,
};

constexpr int kReplyTimeoutMs = 300;     // WaitTimer
constexpr int kBlockLen = 16;
constexpr int kEndAddr = 0x5CC0;
constexpr int kBlockRepeats = 3;         // automatic repeats of a lost block before asking

class LinkIo {
public:
    virtual ~LinkIo() = default;
    // Discard both buffers, write the frame, await replyLen bytes.
    virtual void SendFrame(const QByteArray& frame, int replyLen) = 0;
    virtual void StartWaitTimer() = 0;
    virtual void StopWaitTimer() = 0;
    virtual void ClosePort() = 0;
};

class TransferUi {
public:
    virtual ~TransferUi() = default;
    virtual void ShowPercent(int percent) {}
    // Multi-radio window: the number of the radio being written.
    virtual void ShowRadioNumber(int n) {}
    virtual void CloseProgress() {}
    // The ending of a read or a write, after the port is closed and the
    // queued messages were shown.
    virtual void Finished(int kind, bool success) {}
    // The radio's firmware v does not suit this program.  The desktop program
    // asks whether to start the version that does (closing the port only just
    // before that program starts); returning means no other program started
    // and the link goes on to End.
    virtual void IncompatibleFirmware(const QString& v) {}
};

// Frames.
QByteArray HandshakeFrame();
QByteArray IdentRequestFrame();
QByteArray EndFrame();
QByteArray ReadRequestFrame(int addr, int len = kBlockLen);
QByteArray DataFrame(int addr, const uint8_t* data, int len = kBlockLen);
uint8_t FrameChecksum(const QByteArray& frame);   // of a data frame: address .. last data byte
// BlockAddr * 100 / EndAddr rounded to the nearest integer, halves to even.
int ProgressPercent(int blockAddr, int endAddr = kEndAddr);

class LinkMachine {
public:
    LinkMachine(Workspace& ws, LinkIo& io, TransferUi& ui) : ws_(ws), io_(io), ui_(ui) {}

    // Step O without the port: the transfer variables for ws.TransferKind.
    void InitTransfer();
    // Multi-radio run: set before InitTransfer/StartHandshake.
    void BeginMultiWrite(int radioCount);

    void StartHandshake();
    void SendIdentRequest();
    void SendEnd();
    void RequestNextBlock();
    void SendNextBlock();

    // Events.
    void OnReply(const QByteArray& bytes);
    void OnTimeout();
    // The multi-radio window was closed by the user.
    void OnMultiWindowClosed();

    void EndTransfer(bool success);
    bool CheckIdent();

    bool Active() const { return ws_.TransferKind != kNoTransfer; }

    // Transfer variables (read by tests and the windows).
    int ReadStep = 0, WriteStep = 0;
    int BlockAddr = -kBlockLen;
    int BlockLen = kBlockLen;
    int EndAddr = kEndAddr;
    int HandshakeTimeouts = 0, IdentTimeouts = 0;
    int BlockRepeatsDone = 0;
    int LastPercent = 0;
    QByteArray RadioModel;
    QByteArray RadioVersion;
    QByteArray SendBuffer;
    int ReplyLen = 0;

    // Multi-radio write.
    bool MultiWrite = false;
    int RadioCount = 1, RadiosDone = 0;
    bool FirstRadio = false, AwaitSwap = false, MultiWindowOpen = false;
    int SilentTimeouts = 0, SwapConfirm = 0;

private:
    int Step() const;
    void SetStep(int step);
    void Send(const QByteArray& frame, int replyLen);
    void Advance();
    void ShowProgress();
    void AskRetryA();
    void AskLostBlockB();

    Workspace& ws_;
    LinkIo& io_;
    TransferUi& ui_;
};

}  // namespace kt
