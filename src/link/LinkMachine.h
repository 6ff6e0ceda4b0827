// The link's state machine: handshake, identification, the memory blocks one
// by one and End, driven by two events only: a reply arrived, or the reply
// timer ran out.  It knows nothing of ports or windows; the frames go out and
// the timer is started through LinkIo, and what the user sees or is asked goes
// through TransferUi.  Everything of a running transfer (its kind, its steps,
// the image going out or coming in, the radio identified) lives here, not in
// the workspace, so that several machines can run side by side, one a port.
#pragma once

#include "link/Protocol.h"
#include "model/Workspace.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace kt {

// Transfer kinds.
enum TransferKindValue { kNoTransfer = 0, kRead = 1, kWrite = 2, kInfoRead = 3 };

// Steps of a read or a write.
enum class LinkStep {
    Idle = 0,
    Handshake = 1,
    Ident = 3,
    WriteBlocks = 4,
    ReadBlocks = 5,
    End = 69,
    EndAfterBadIdent = 70,
    EndAfterStop = 71,   // stopped by the user: End sent, the transfer fails
};

constexpr int kReplyTimeoutMs = 300;     // WaitTimer
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

// A question the machine waits on when the ui answers later (AnswersLater()).
enum class LinkQuestion { None, Retry, LostBlock };

class TransferUi {
public:
    virtual ~TransferUi() = default;
    // The radio identified itself (whatever the transfer, even one refused).
    virtual void Identified(const RadioIdent& id) {}
    // True when AskRetry/AskLostBlock cannot answer at once: the machine then
    // announces the question through QuestionPending and waits for
    // LinkMachine::AnswerQuestion (a port of several must not stop the others).
    virtual bool AnswersLater() const { return false; }
    virtual void QuestionPending(LinkQuestion q) {}
    virtual void ShowPercent(int percent) {}
    // Multi-radio window: the number of the radio being written.
    virtual void ShowRadioNumber(int n) {}
    virtual void CloseProgress() {}
    // Question A: the handshake or the identification went unanswered twice.
    // Retry starts again from the handshake; anything else ends the transfer.
    virtual Answer AskRetry() { return Answer::Cancel; }
    // Question B: a block was lost after its automatic repeats.  Ok starts
    // again from the handshake and block 0; anything else ends the transfer.
    virtual Answer AskLostBlock() { return Answer::Cancel; }
    // A notice the machine queued during the transfer (the wrong model),
    // given once the progress display is closed and the port is closed.
    virtual void Notice(const QString& text) = 0;
    // The ending of a read or a write, after the port is closed and the
    // notices were given.
    virtual void Finished(int kind, bool success) {}
    // The radio's firmware v does not suit this program.  The desktop program
    // asks whether to start the version that does (closing the port only just
    // before that program starts); returning means no other program started
    // and the link goes on to End.
    virtual void IncompatibleFirmware(const QString& v) {}
};

// BlockAddr * 100 / EndAddr rounded to the nearest integer, halves to even.
int ProgressPercent(int blockAddr, int endAddr = kEndAddr);

class LinkMachine {
public:
    // The workspace gives the version registry and the language of notices.
    LinkMachine(const Workspace& ws, LinkIo& io, TransferUi& ui) : ws_(ws), io_(io), ui_(ui) {}

    // Step O without the port: a transfer of kind begins with fresh transfer
    // variables.  A read or a write starts from an image of 0xFF.
    void Begin(int kind);
    // A start that did not get past the port or the confirmation.
    void Abandon();
    // The image a write sends (made the image's full size).
    void SetImage(std::vector<uint8_t> image);
    // Multi-radio run: after Begin, before StartHandshake.
    void BeginMultiWrite(int radioCount);
    // A write on a port whose last radio was just finished: the handshake
    // polls until that radio is swapped for another (the multi-radio rules),
    // which is then written as one.  After Begin(kWrite) and SetImage.
    void BeginAfterSwap();
    // Check the model and firmware of every radio of a multi-radio run too.
    void SetCheckEveryRadio(bool check) { checkEveryRadio_ = check; }

    void StartHandshake();

    // Events.
    void OnReply(const QByteArray& bytes);
    void OnTimeout();
    // The multi-radio window was closed by the user.
    void OnMultiWindowClosed();
    // The answer to the question announced by QuestionPending.
    void AnswerQuestion(kt::Answer a);
    LinkQuestion Pending() const { return pending_; }

    // The user stopped the transfer: once the exchange under way has its
    // reply (or its time-out), End goes out so that the radio leaves
    // programming mode, and the transfer ends without success.  A question
    // pending is dropped.  The End of a finished transfer is let through.
    void RequestStop();
    bool StopRequested() const { return stopRequested_; }
    // A block of a write reached the radio (it no longer holds its old data whole).
    bool BlocksSent() const { return blocksSent_; }
    // The progress shown last.
    int Percent() const { return lastPercent_; }

    // Ends the transfer (closing the port); after a successful read Image()
    // holds what was read.
    void EndTransfer(bool success);

    int Kind() const { return kind_; }
    bool Active() const { return kind_ != kNoTransfer; }
    LinkStep ReadStep() const { return readStep_; }
    LinkStep WriteStep() const { return writeStep_; }
    int BlockAddr() const { return blockAddr_; }
    const std::vector<uint8_t>& Image() const { return image_; }
    const QByteArray& RadioModel() const { return radioModel_; }
    const QByteArray& RadioVersion() const { return radioVersion_; }

    bool MultiWrite() const { return multiWrite_; }
    int RadioCount() const { return radioCount_; }
    int RadiosDone() const { return radiosDone_; }
    int SilentTimeouts() const { return silentTimeouts_; }

private:
    LinkStep Step() const;
    void SetStep(LinkStep step);
    void Send(const QByteArray& frame, int replyLen);
    void SendIdentRequest();
    void SendEnd();
    // After a reply or a time-out: true when a stop was requested and End went out.
    bool EndForStop();
    void RequestNextBlock();
    void SendNextBlock();
    void Advance();
    bool CheckIdent();
    void ShowProgress();
    void AskRetryA();
    void AskLostBlockB();
    void RestartFromBlockZero();
    void ResolveRetry(kt::Answer a);
    void ResolveLostBlock(kt::Answer a);

    const Workspace& ws_;
    LinkIo& io_;
    TransferUi& ui_;

    int kind_ = kNoTransfer;
    LinkStep readStep_ = LinkStep::Idle, writeStep_ = LinkStep::Idle;
    std::vector<uint8_t> image_;
    int blockAddr_ = -kBlockLen;
    int blockLen_ = kBlockLen;
    int endAddr_ = kEndAddr;
    int handshakeTimeouts_ = 0, identTimeouts_ = 0;
    int blockRepeatsDone_ = 0;
    int lastPercent_ = 0;
    QByteArray radioModel_;
    QByteArray radioVersion_;
    QByteArray sendBuffer_;
    int replyLen_ = 0;
    QStringList notices_;
    LinkQuestion pending_ = LinkQuestion::None;
    bool checkEveryRadio_ = false;
    bool stopRequested_ = false;
    bool blocksSent_ = false;

    // Multi-radio write.
    bool multiWrite_ = false;
    int radioCount_ = 1, radiosDone_ = 0;
    bool firstRadio_ = false, awaitSwap_ = false, multiWindowOpen_ = false;
    int silentTimeouts_ = 0, swapConfirm_ = 0;
};

}  // namespace kt
