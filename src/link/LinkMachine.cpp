#include "link/LinkMachine.h"

#include "base/Messages.h"
#include "base/Versions.h"

#include <cstring>
#include <utility>

namespace kt {

int ProgressPercent(int blockAddr, int endAddr)
{
    if (endAddr <= 0 || blockAddr <= 0) return 0;
    const long long num = 100LL * blockAddr;
    long long q = num / endAddr;
    const long long twiceRem = 2 * (num % endAddr);
    if (twiceRem > endAddr || (twiceRem == endAddr && (q & 1))) ++q;
    return int(q);
}

// ---------------------------------------------------------------------------

LinkStep LinkMachine::Step() const { return kind_ == kWrite ? writeStep_ : readStep_; }

void LinkMachine::SetStep(LinkStep step)
{
    if (kind_ == kWrite) writeStep_ = step;
    else readStep_ = step;
}

void LinkMachine::Begin(int kind)
{
    kind_ = kind;
    readStep_ = writeStep_ = LinkStep::Idle;
    multiWrite_ = false;
    if (kind == kRead || kind == kWrite) {
        endAddr_ = kEndAddr;
        blockLen_ = kBlockLen;
        blockAddr_ = -kBlockLen;
        // A read overwrites every byte but the last one, which stays 0xFF as
        // in a cleared image.
        image_.assign(kImageSize, 0xFF);
    }
    handshakeTimeouts_ = identTimeouts_ = 0;
    blockRepeatsDone_ = 0;
    lastPercent_ = 0;
    radiosDone_ = 0;
    silentTimeouts_ = swapConfirm_ = 0;
    awaitSwap_ = false;
    multiWindowOpen_ = true;
    notices_.clear();
    pending_ = LinkQuestion::None;
    stopRequested_ = blocksSent_ = false;
}

void LinkMachine::Abandon()
{
    kind_ = kNoTransfer;
    readStep_ = writeStep_ = LinkStep::Idle;
    multiWrite_ = false;
    multiWindowOpen_ = false;
}

void LinkMachine::SetImage(std::vector<uint8_t> image)
{
    image_ = std::move(image);
    image_.resize(kImageSize, 0xFF);   // every block up to EndAddr is sent from it
}

void LinkMachine::BeginMultiWrite(int radioCount)
{
    multiWrite_ = true;
    radioCount_ = radioCount < 1 ? 1 : radioCount;
    radiosDone_ = 0;
    firstRadio_ = true;
    awaitSwap_ = false;
    silentTimeouts_ = swapConfirm_ = 0;
}

void LinkMachine::BeginAfterSwap()
{
    BeginMultiWrite(2);
    radiosDone_ = 1;
    firstRadio_ = false;
    awaitSwap_ = true;
}

void LinkMachine::Send(const QByteArray& frame, int replyLen)
{
    sendBuffer_ = frame;
    replyLen_ = replyLen;
    io_.StartWaitTimer();
    io_.SendFrame(frame, replyLen);
}

void LinkMachine::StartHandshake()
{
    SetStep(LinkStep::Handshake);
    blockRepeatsDone_ = 0;
    Send(HandshakeFrame(), kHandshakeReplyLen);
}

void LinkMachine::SendIdentRequest() { Send(IdentRequestFrame(), kIdentReplyLen); }

void LinkMachine::SendEnd() { Send(EndFrame(), kAckReplyLen); }

void LinkMachine::RequestStop()
{
    if (!Active() || stopRequested_) return;
    stopRequested_ = true;
    if (pending_ == LinkQuestion::None) return;   // the exchange under way ends first
    // Waiting on the user: nothing is under way, End goes out at once.
    pending_ = LinkQuestion::None;
    SetStep(LinkStep::EndAfterStop);
    SendEnd();
}

bool LinkMachine::EndForStop()
{
    if (!stopRequested_) return false;
    const LinkStep s = Step();
    if (s == LinkStep::End || s == LinkStep::EndAfterBadIdent || s == LinkStep::EndAfterStop) return false;
    SetStep(LinkStep::EndAfterStop);
    SendEnd();
    return true;
}

void LinkMachine::RequestNextBlock()
{
    blockAddr_ += blockLen_;
    if (blockAddr_ >= endAddr_) {
        SetStep(LinkStep::End);
        SendEnd();
        return;
    }
    Send(ReadRequestFrame(blockAddr_, blockLen_), DataReplyLen(blockLen_));
}

void LinkMachine::SendNextBlock()
{
    blockAddr_ += blockLen_;
    if (blockAddr_ >= endAddr_) {
        SetStep(LinkStep::End);
        SendEnd();
        return;
    }
    const QByteArray frame = DataFrame(blockAddr_, image_.data() + blockAddr_, blockLen_);
    ShowProgress();
    blocksSent_ = true;
    Send(frame, kAckReplyLen);
}

void LinkMachine::ShowProgress()
{
    const int percent = ProgressPercent(blockAddr_, endAddr_);
    if (percent - lastPercent_ < 1) return;
    lastPercent_ = percent;
    ui_.ShowPercent(percent);
}

void LinkMachine::OnReply(const QByteArray& b)
{
    if (!Active() || pending_ != LinkQuestion::None) return;
    const bool readOrWrite = kind_ == kRead || kind_ == kWrite;
    const ReplyKind reply = ClassifyReply(b);
    const bool dataFrame = reply == ReplyKind::Data && blockAddr_ >= 0
                           && blockAddr_ + blockLen_ <= int(image_.size())
                           && IsDataReplyFor(b, blockAddr_, blockLen_);
    if (reply == ReplyKind::None || (reply == ReplyKind::Data && !dataFrame)) return;   // the timer decides

    // A data reply is the only thing that completes a read request: anything
    // else there would skip a block and leave it unread without a word.
    if (kind_ == kRead && readStep_ == LinkStep::ReadBlocks && !dataFrame) return;

    if (reply == ReplyKind::Ident) {
        // Kept for "Model Information" whatever the transfer, even when refused.
        const RadioIdent id = ParseIdent(b);
        if (readOrWrite) {
            radioModel_ = id.model;
            radioVersion_ = id.version;
        }
        ui_.Identified(id);
    }
    if (dataFrame) {
        std::memcpy(image_.data() + blockAddr_, b.constData() + 4, size_t(blockLen_));
        ShowProgress();
    }
    Advance();
}

void LinkMachine::Advance()
{
    io_.StopWaitTimer();
    if (EndForStop()) return;
    if (kind_ == kRead) {
        switch (readStep_) {
        case LinkStep::Handshake: readStep_ = LinkStep::Ident; SendIdentRequest(); return;
        case LinkStep::Ident:
            if (!CheckIdent()) { readStep_ = LinkStep::EndAfterBadIdent; SendEnd(); return; }
            readStep_ = LinkStep::ReadBlocks;
            blockRepeatsDone_ = 0;
            RequestNextBlock();
            return;
        case LinkStep::ReadBlocks: blockRepeatsDone_ = 0; RequestNextBlock(); return;
        case LinkStep::End: EndTransfer(true); return;
        default: EndTransfer(false); return;
        }
    }
    if (kind_ == kWrite) {
        switch (writeStep_) {
        case LinkStep::Handshake:
            if (multiWrite_) {
                firstRadio_ = false;
                if (awaitSwap_) {
                    if (silentTimeouts_ > 1) {
                        if (swapConfirm_ <= 0) { ++swapConfirm_; StartHandshake(); return; }
                        awaitSwap_ = false;
                    }
                    // A radio that keeps answering (not swapped yet): poll on.
                    silentTimeouts_ = 0;
                    swapConfirm_ = 0;
                    StartHandshake();
                    return;
                }
            }
            writeStep_ = LinkStep::Ident;
            SendIdentRequest();
            return;
        case LinkStep::Ident:
            if ((!multiWrite_ || checkEveryRadio_) && !CheckIdent()) { writeStep_ = LinkStep::EndAfterBadIdent; SendEnd(); return; }
            writeStep_ = LinkStep::WriteBlocks;
            blockRepeatsDone_ = 0;
            SendNextBlock();
            return;
        case LinkStep::WriteBlocks: blockRepeatsDone_ = 0; SendNextBlock(); return;
        case LinkStep::End: EndTransfer(true); return;
        default: EndTransfer(false); return;
        }
    }
    // Information read: the handshake, the identification (which OnReply
    // kept in LastRadio) and End, so the radio leaves programming mode.
    switch (readStep_) {
    case LinkStep::Handshake: readStep_ = LinkStep::Ident; SendIdentRequest(); return;
    case LinkStep::Ident: readStep_ = LinkStep::End; SendEnd(); return;
    default: EndTransfer(readStep_ == LinkStep::End); return;
    }
}

bool LinkMachine::CheckIdent()
{
    io_.StopWaitTimer();
    const bool modelOk = radioModel_ == kModelCode;
    const bool versionOk = IsCompatible(ws_.Versions, QString::fromLatin1(kDataVersion),
                                        QString::fromLatin1(radioVersion_));
    if (modelOk && versionOk) return true;
    if (!modelOk) {
        notices_ << ws_.T(msg::ModelWrong);   // given at the end, after the progress display
        return false;
    }
    // The port stays open: unless another program takes over, End still has
    // to reach the radio so that it leaves programming mode.
    ui_.IncompatibleFirmware(QString::fromLatin1(radioVersion_));
    return false;
}

void LinkMachine::OnTimeout()
{
    io_.StopWaitTimer();
    if (!Active() || pending_ != LinkQuestion::None) return;
    if (kind_ != kRead && kind_ != kWrite) {
        // Information read: no questions, it runs without a window.  A radio
        // that does not answer ends it (the port closed, the caller told);
        // a missing acknowledge of End still counts, as for a read.
        EndTransfer(readStep_ == LinkStep::End);
        return;
    }
    if (EndForStop()) return;
    switch (Step()) {
    case LinkStep::Handshake:
        if (handshakeTimeouts_ > 0) {
            handshakeTimeouts_ = 0;
            if (multiWrite_ && !firstRadio_) {
                if (awaitSwap_) ++silentTimeouts_;
                StartHandshake();
                return;
            }
            AskRetryA();
            return;
        }
        ++handshakeTimeouts_;
        StartHandshake();
        return;
    case LinkStep::Ident:
        if (identTimeouts_ > 0) {
            identTimeouts_ = 0;
            AskRetryA();
            return;
        }
        ++identTimeouts_;
        SendIdentRequest();
        return;
    case LinkStep::ReadBlocks:
    case LinkStep::WriteBlocks:
        if (blockRepeatsDone_ < kBlockRepeats) {
            ++blockRepeatsDone_;
            Send(sendBuffer_, replyLen_);
            return;
        }
        blockRepeatsDone_ = 0;
        AskLostBlockB();
        return;
    case LinkStep::End: EndTransfer(true); return;       // a missing acknowledge of End still counts
    case LinkStep::EndAfterBadIdent:
    case LinkStep::EndAfterStop: EndTransfer(false); return;
    default: return;
    }
}

void LinkMachine::AskRetryA()
{
    if (ui_.AnswersLater()) {
        pending_ = LinkQuestion::Retry;
        ui_.QuestionPending(pending_);
        return;
    }
    ResolveRetry(ui_.AskRetry());
}

void LinkMachine::ResolveRetry(kt::Answer a)
{
    if (a == Answer::Retry) {
        StartHandshake();
        return;
    }
    if (multiWrite_) firstRadio_ = false;
    EndTransfer(false);
}

void LinkMachine::AnswerQuestion(kt::Answer a)
{
    const LinkQuestion q = std::exchange(pending_, LinkQuestion::None);
    if (q == LinkQuestion::Retry) ResolveRetry(a);
    else if (q == LinkQuestion::LostBlock) ResolveLostBlock(a);
}

void LinkMachine::RestartFromBlockZero()
{
    handshakeTimeouts_ = identTimeouts_ = 0;
    blockAddr_ = -blockLen_;
    lastPercent_ = 0;
    ui_.ShowPercent(0);
}

void LinkMachine::AskLostBlockB()
{
    if (ui_.AnswersLater()) {
        pending_ = LinkQuestion::LostBlock;
        ui_.QuestionPending(pending_);
        return;
    }
    ResolveLostBlock(ui_.AskLostBlock());
}

void LinkMachine::ResolveLostBlock(kt::Answer a)
{
    if (a == Answer::Ok) {
        RestartFromBlockZero();
        StartHandshake();
        return;
    }
    multiWrite_ = false;
    EndTransfer(false);
}

void LinkMachine::OnMultiWindowClosed()
{
    if (!multiWindowOpen_) return;
    multiWindowOpen_ = false;
    EndTransfer(false);
}

void LinkMachine::EndTransfer(bool success)
{
    if (!Active()) return;
    pending_ = LinkQuestion::None;
    if (multiWrite_ && success) {
        ++radiosDone_;
        if (radiosDone_ < radioCount_) {
            // Next radio: poll with the handshake until it has been swapped.
            awaitSwap_ = true;
            silentTimeouts_ = swapConfirm_ = 0;
            RestartFromBlockZero();
            ui_.ShowRadioNumber(radiosDone_ + 1);
            StartHandshake();
            return;
        }
    }
    const int kind = kind_;
    multiWindowOpen_ = false;
    ui_.CloseProgress();
    io_.StopWaitTimer();
    io_.ClosePort();
    const QStringList notices = std::exchange(notices_, {});
    for (const QString& text : notices) ui_.Notice(text);
    multiWrite_ = false;
    awaitSwap_ = false;
    firstRadio_ = false;
    kind_ = kNoTransfer;
    readStep_ = writeStep_ = LinkStep::Idle;
    ui_.Finished(kind, success);
}

}  // namespace kt
