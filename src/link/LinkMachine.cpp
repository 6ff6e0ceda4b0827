#include "link/LinkMachine.h"
#include "base/ByteText.h"

#include "base/Messages.h"
#include "base/Versions.h"

#include <cstring>

namespace kt {

QByteArray HandshakeFrame() { return QByteArrayLiteral("PROGRAM"); }
QByteArray IdentRequestFrame() { return QByteArray(1, 0x02); }
QByteArray EndFrame() { return QByteArrayLiteral("END"); }

QByteArray ReadRequestFrame(int addr, int len)
{
    QByteArray f(4, '\0');
    f[0] = 'R';
    f[1] = char((addr >> 8) & 0xFF);
    f[2] = char(addr & 0xFF);
    f[3] = char(len);
    return f;
}

QByteArray DataFrame(int addr, const uint8_t* data, int len)
{
    QByteArray f(len + 6, '\0');
    f[0] = 'W';
    f[1] = char((addr >> 8) & 0xFF);
    f[2] = char(addr & 0xFF);
    f[3] = char(len);
    std::memcpy(f.data() + 4, data, size_t(len));
    f[len + 4] = char(FrameChecksum(f));
    f[len + 5] = 0x06;
    return f;
}

uint8_t FrameChecksum(const QByteArray& frame)
{
    if (frame.size() < 4) return 0;
    const int len = uint8_t(frame[3]);
    uint8_t sum = 0;
    for (int i = 1; i < 4 + len && i < frame.size(); ++i) sum = uint8_t(sum + uint8_t(frame[i]));
    return sum;
}

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

int LinkMachine::Step() const { return ws_.TransferKind == kWrite ? WriteStep : ReadStep; }

void LinkMachine::SetStep(int step)
{
    if (ws_.TransferKind == kWrite) WriteStep = step;
    else ReadStep = step;
}

void LinkMachine::InitTransfer()
{
    if (ws_.TransferKind == kRead || ws_.TransferKind == kWrite) {
        EndAddr = kEndAddr;
        BlockLen = kBlockLen;
        BlockAddr = -kBlockLen;
    }
    HandshakeTimeouts = IdentTimeouts = 0;
    BlockRepeatsDone = 0;
    LastPercent = 0;
    RadiosDone = 0;
    SilentTimeouts = SwapConfirm = 0;
    AwaitSwap = false;
    MultiWindowOpen = true;
}

void LinkMachine::BeginMultiWrite(int radioCount)
{
    MultiWrite = true;
    RadioCount = radioCount < 1 ? 1 : radioCount;
    RadiosDone = 0;
    FirstRadio = true;
    AwaitSwap = false;
    SilentTimeouts = SwapConfirm = 0;
}

void LinkMachine::Send(const QByteArray& frame, int replyLen)
{
    SendBuffer = frame;
    ReplyLen = replyLen;
    io_.StartWaitTimer();
    io_.SendFrame(frame, replyLen);
}

void LinkMachine::StartHandshake()
{
    SetStep(kStepHandshake);
    BlockRepeatsDone = 0;
    Send(HandshakeFrame(), 3);
}

void LinkMachine::SendIdentRequest() { Send(IdentRequestFrame(), 16); }

void LinkMachine::SendEnd() { Send(EndFrame(), 1); }

void LinkMachine::RequestNextBlock()
{
    BlockAddr += BlockLen;
    if (BlockAddr >= EndAddr) {
        SetStep(kStepEnd);
        SendEnd();
        return;
    }
    Send(ReadRequestFrame(BlockAddr, BlockLen), BlockLen + 6);
}

void LinkMachine::SendNextBlock()
{
    BlockAddr += BlockLen;
    if (BlockAddr >= EndAddr) {
        SetStep(kStepEnd);
        SendEnd();
        return;
    }
    const QByteArray frame = DataFrame(BlockAddr, ws_.MemImage.data() + BlockAddr, BlockLen);
    ShowProgress();
    Send(frame, 1);
}

void LinkMachine::ShowProgress()
{
    const int percent = ProgressPercent(BlockAddr, EndAddr);
    if (percent - LastPercent < 1) return;
    LastPercent = percent;
    ui_.ShowPercent(percent);
}

void LinkMachine::OnReply(const QByteArray& b)
{
    if (!Active()) return;
    const int kind = ws_.TransferKind;
    const bool readOrWrite = kind == kRead || kind == kWrite;
    const bool ack = b.size() == 1 && uint8_t(b[0]) == 0x06;
    const bool handshakeReply = b == QByteArray("YF\x06", 3);
    const bool ident = b.size() == 16 && b[0] == 'I';
    bool dataFrame = false;
    if (!ack && !handshakeReply && !ident && b.size() == BlockLen + 6 && b[0] == 'W'
        && BlockAddr >= 0 && BlockAddr + BlockLen <= int(ws_.MemImage.size())) {
        const int addr = (uint8_t(b[1]) << 8) | uint8_t(b[2]);
        dataFrame = addr == BlockAddr && uint8_t(b[3]) == BlockLen && uint8_t(b.back()) == 0x06
                    && FrameChecksum(b) == uint8_t(b[BlockLen + 4]);
    }
    if (!ack && !handshakeReply && !ident && !dataFrame) return;   // dropped: the timer decides

    // A data reply is the only thing that completes a read request: anything
    // else there would skip a block and leave it unread without a word.
    if (kind == kRead && ReadStep == kStepReadBlocks && !dataFrame) return;

    if (ident) {
        const QByteArray model = CleanText(b.mid(1, 7));
        ws_.LastRadio = {true, model, b.mid(9, 4), uint8_t(b[8]) == 1, {}};
        if (readOrWrite) RadioModel = model;
    }
    if (ident && readOrWrite) {
        ws_.ExtendedHf = uint8_t(b[8]) == 1;
        RadioVersion = b.mid(9, 4);
        ws_.RadioVersion = RadioVersion;
    }
    if (dataFrame) {
        std::memcpy(ws_.MemImage.data() + BlockAddr, b.constData() + 4, size_t(BlockLen));
        ShowProgress();
    }
    Advance();
}

void LinkMachine::Advance()
{
    io_.StopWaitTimer();
    const int kind = ws_.TransferKind;
    if (kind == kRead) {
        switch (ReadStep) {
        case kStepHandshake: ReadStep = kStepIdent; SendIdentRequest(); return;
        case kStepIdent:
            if (!CheckIdent()) { ReadStep = kStepEndAfterBadIdent; SendEnd(); return; }
            ReadStep = kStepReadBlocks;
            BlockRepeatsDone = 0;
            RequestNextBlock();
            return;
        case kStepReadBlocks: BlockRepeatsDone = 0; RequestNextBlock(); return;
        case kStepEnd: EndTransfer(true); return;
        default: EndTransfer(false); return;
        }
    }
    if (kind == kWrite) {
        switch (WriteStep) {
        case kStepHandshake:
            if (MultiWrite) {
                FirstRadio = false;
                if (AwaitSwap) {
                    if (SilentTimeouts > 1) {
                        if (SwapConfirm <= 0) { ++SwapConfirm; StartHandshake(); return; }
                        AwaitSwap = false;
                    }
                    // A radio that keeps answering (not swapped yet): poll on.
                    SilentTimeouts = 0;
                    SwapConfirm = 0;
                    StartHandshake();
                    return;
                }
            }
            WriteStep = kStepIdent;
            SendIdentRequest();
            return;
        case kStepIdent:
            if (!MultiWrite && !CheckIdent()) { WriteStep = kStepEndAfterBadIdent; SendEnd(); return; }
            WriteStep = kStepWriteBlocks;
            BlockRepeatsDone = 0;
            SendNextBlock();
            return;
        case kStepWriteBlocks: BlockRepeatsDone = 0; SendNextBlock(); return;
        case kStepEnd: EndTransfer(true); return;
        default: EndTransfer(false); return;
        }
    }
    EndTransfer(false);   // information read: the first reply ends it
}

bool LinkMachine::CheckIdent()
{
    io_.StopWaitTimer();
    const bool modelOk = RadioModel == kModelCode;
    const bool versionOk = IsCompatible(ws_.Versions, QString::fromLatin1(kDataVersion),
                                        QString::fromLatin1(RadioVersion));
    if (modelOk && versionOk) return true;
    if (!modelOk) {
        ws_.Messages.QueueMessage(ws_.T(msg::ModelWrong));
        return false;
    }
    // The port stays open: unless another program takes over, End still has
    // to reach the radio so that it leaves programming mode.
    ui_.IncompatibleFirmware(QString::fromLatin1(RadioVersion));
    return false;
}

void LinkMachine::OnTimeout()
{
    io_.StopWaitTimer();
    if (!Active()) return;
    const int kind = ws_.TransferKind;
    if (kind != kRead && kind != kWrite) return;   // information read: nothing further
    switch (Step()) {
    case kStepHandshake:
        if (HandshakeTimeouts > 0) {
            HandshakeTimeouts = 0;
            if (MultiWrite && !FirstRadio) {
                if (AwaitSwap) ++SilentTimeouts;
                StartHandshake();
                return;
            }
            AskRetryA();
            return;
        }
        ++HandshakeTimeouts;
        StartHandshake();
        return;
    case kStepIdent:
        if (IdentTimeouts > 0) {
            IdentTimeouts = 0;
            AskRetryA();
            return;
        }
        ++IdentTimeouts;
        SendIdentRequest();
        return;
    case kStepReadBlocks:
    case kStepWriteBlocks:
        if (BlockRepeatsDone < kBlockRepeats) {
            ++BlockRepeatsDone;
            Send(SendBuffer, ReplyLen);
            return;
        }
        BlockRepeatsDone = 0;
        AskLostBlockB();
        return;
    case kStepEnd: EndTransfer(true); return;       // a missing acknowledge of End still counts
    case kStepEndAfterBadIdent: EndTransfer(false); return;
    default: return;
    }
}

void LinkMachine::AskRetryA()
{
    if (ws_.Ask(ws_.T(msg::Retry), Buttons::RetryCancel, Icon::None) == Answer::Retry) {
        StartHandshake();
        return;
    }
    if (MultiWrite) FirstRadio = false;
    EndTransfer(false);
}

void LinkMachine::AskLostBlockB()
{
    if (ws_.Ask(ws_.T(msg::Retry), Buttons::OkCancel, Icon::Question) == Answer::Ok) {
        HandshakeTimeouts = IdentTimeouts = 0;
        BlockAddr = -BlockLen;
        LastPercent = 0;
        ui_.ShowPercent(0);
        StartHandshake();
        return;
    }
    MultiWrite = false;
    EndTransfer(false);
}

void LinkMachine::OnMultiWindowClosed()
{
    if (!MultiWindowOpen) return;
    MultiWindowOpen = false;
    EndTransfer(false);
}

void LinkMachine::EndTransfer(bool success)
{
    if (!Active()) return;
    if (MultiWrite && success) {
        ++RadiosDone;
        if (RadiosDone < RadioCount) {
            // Next radio: poll with the handshake until it has been swapped.
            AwaitSwap = true;
            SilentTimeouts = SwapConfirm = 0;
            HandshakeTimeouts = IdentTimeouts = 0;
            BlockAddr = -BlockLen;
            LastPercent = 0;
            ui_.ShowPercent(0);
            ui_.ShowRadioNumber(RadiosDone + 1);
            StartHandshake();
            return;
        }
    }
    const int kind = ws_.TransferKind;
    MultiWindowOpen = false;
    ui_.CloseProgress();
    io_.StopWaitTimer();
    io_.ClosePort();
    for (const QString& text : ws_.Messages.TakeAll()) ws_.Ask(text, Buttons::Ok, Icon::None);
    MultiWrite = false;
    AwaitSwap = false;
    FirstRadio = false;
    ws_.TransferKind = kNoTransfer;
    ReadStep = WriteStep = 0;
    ui_.Finished(kind, success);
}

}  // namespace kt
