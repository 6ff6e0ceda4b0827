#include "link/Protocol.h"

#include "base/ByteText.h"

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
    QByteArray f(DataReplyLen(len), '\0');
    f[0] = 'W';
    f[1] = char((addr >> 8) & 0xFF);
    f[2] = char(addr & 0xFF);
    f[3] = char(len);
    std::memcpy(f.data() + 4, data, size_t(len));
    f[len + 4] = char(FrameChecksum(f));
    f[len + 5] = char(kAck);
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

ReplyKind ClassifyReply(const QByteArray& b)
{
    if (b.size() == kAckReplyLen) return uint8_t(b[0]) == kAck ? ReplyKind::Ack : ReplyKind::None;
    if (b.size() == kHandshakeReplyLen) return b == QByteArray("YF\x06", 3) ? ReplyKind::Handshake : ReplyKind::None;
    if (b.size() == kIdentReplyLen && b[0] == 'I') return ReplyKind::Ident;
    if (b.size() >= DataReplyLen(0) && b[0] == 'W' && b.size() == DataReplyLen(uint8_t(b[3]))
        && uint8_t(b.back()) == kAck)
        return ReplyKind::Data;
    return ReplyKind::None;
}

bool IsDataReplyFor(const QByteArray& b, int addr, int len)
{
    if (ClassifyReply(b) != ReplyKind::Data || b.size() != DataReplyLen(len)) return false;
    const int replyAddr = (uint8_t(b[1]) << 8) | uint8_t(b[2]);
    return replyAddr == addr && FrameChecksum(b) == uint8_t(b[len + 4]);
}

RadioIdent ParseIdent(const QByteArray& b)
{
    RadioIdent id;
    id.model = CleanText(b.mid(1, 7));
    id.extendedHf = b.size() > 8 && uint8_t(b[8]) == 1;
    id.version = b.mid(9, 4);
    return id;
}

}  // namespace kt
