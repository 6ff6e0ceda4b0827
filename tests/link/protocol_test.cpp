// The frames on the wire and the recognition of the radio's replies that the
// serial port (where a reply ends) and the state machine (what it means) share.
#include "link/Protocol.h"

#include <QList>
#include <gtest/gtest.h>

namespace kt::test {
namespace {

QByteArray Ident(const QByteArray& model, uint8_t flag, const QByteArray& ver)
{
    QByteArray r(16, '\0');
    r[0] = 'I';
    for (int i = 0; i < 7; ++i) r[1 + i] = i < model.size() ? model[i] : ' ';
    r[8] = char(flag);
    for (int i = 0; i < 4; ++i) r[9 + i] = ver[i];
    return r;
}

QByteArray Data(int addr, uint8_t fill, int len = kBlockLen)
{
    uint8_t d[255];
    std::fill(d, d + len, fill);
    return DataFrame(addr, d, len);
}

TEST(LinkFrames, BytesOnTheWire)
{
    EXPECT_EQ(HandshakeFrame(), QByteArray("PROGRAM"));
    EXPECT_EQ(IdentRequestFrame(), QByteArray(1, 0x02));
    EXPECT_EQ(EndFrame(), QByteArray("END"));
    EXPECT_EQ(ReadRequestFrame(0x0120), QByteArray("\x52\x01\x20\x10", 4));
    EXPECT_EQ(ReadRequestFrame(0x5CB0), QByteArray("\x52\x5C\xB0\x10", 4));
    uint8_t data[16] = {0x27, 0x18, 0x50};
    const QByteArray f = DataFrame(0x0000, data);
    ASSERT_EQ(f.size(), 22);
    EXPECT_EQ(f.left(4), QByteArray("\x57\x00\x00\x10", 4));
    EXPECT_EQ(uint8_t(f[20]), 0x9F);
    EXPECT_EQ(uint8_t(f[21]), 0x06);
    // The checksum wraps modulo 256 and counts the address bytes.
    EXPECT_EQ(uint8_t(Data(0x5CB0, 0xFF)[20]), uint8_t(0x5C + 0xB0 + 0x10 + 16 * 0xFF));
}

// Every reply the radio sends is complete as a whole and at no byte before:
// the port would otherwise hand over half a reply, or wait out the timer on a
// whole one.
TEST(LinkReplies, CompleteExactlyAtTheirLastByte)
{
    const struct { QByteArray bytes; ReplyKind kind; } replies[] = {
        {QByteArray(1, 0x06), ReplyKind::Ack},
        {QByteArray("YF\x06", 3), ReplyKind::Handshake},
        {Ident("RU6383R", 1, "V200"), ReplyKind::Ident},
        {Ident("W\x06YF", 0, "\x06\x06\x06\x06"), ReplyKind::Ident},   // bytes that look like other replies
        {Data(0x0000, 0x06), ReplyKind::Data},
        {Data(0x5CB0, 0xFF), ReplyKind::Data},
        {Data(0x0100, 0x10, 4), ReplyKind::Data},   // the length byte says where it ends
    };
    for (const auto& r : replies) {
        EXPECT_EQ(ClassifyReply(r.bytes), r.kind) << r.bytes.toHex().constData();
        for (int n = 1; n < r.bytes.size(); ++n)
            EXPECT_FALSE(IsCompleteReply(r.bytes.left(n))) << r.bytes.toHex().constData() << " cut at " << n;
        EXPECT_FALSE(IsCompleteReply(r.bytes + r.bytes)) << "two joined";
    }
    for (const QByteArray& noise : {QByteArray(), QByteArray(1, 0x07), QByteArray("YF\x07", 3), QByteArray("YG\x06", 3),
                                    QByteArray(16, 'J'), Data(0, 1).left(21) + QByteArray(1, 0x07)})
        EXPECT_EQ(ClassifyReply(noise), ReplyKind::None) << noise.toHex().constData();
}

TEST(LinkReplies, DataReplyMustMatchAddressLengthAndChecksum)
{
    const QByteArray good = Data(0x0230, 0x5A);
    QByteArray badSum = good;
    badSum[20] = char(badSum[20] ^ 1);
    const struct { QByteArray bytes; int addr, len; bool ok; } cases[] = {
        {good, 0x0230, 16, true},
        {good, 0x0240, 16, false},
        {good, 0x0230, 8, false},
        {badSum, 0x0230, 16, false},
        {Data(0x0230, 0x5A, 8), 0x0230, 8, true},
        {Ident("RU6383R", 0, "V200"), 0x0230, 10, false},   // 16 bytes, but no data reply
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsDataReplyFor(c.bytes, c.addr, c.len), c.ok) << c.bytes.toHex().constData() << " @" << c.addr;
}

TEST(LinkReplies, IdentificationFields)
{
    const struct { QByteArray reply; const char* model; bool ext; const char* version; } cases[] = {
        {Ident("RU6383R", 1, "V200"), "RU6383R", true, "V200"},
        {Ident("RU63", 0, "V100"), "RU63", false, "V100"},            // blanks after the model dropped
        {Ident(QByteArray("RU\0 63", 6), 2, "V201"), "RU", false, "V201"},   // a NUL ends it; only 1 is extended
    };
    for (const auto& c : cases) {
        const RadioIdent id = ParseIdent(c.reply);
        EXPECT_EQ(id.model, QByteArray(c.model));
        EXPECT_EQ(id.extendedHf, c.ext) << c.model;
        EXPECT_EQ(id.version, QByteArray(c.version));
    }
}

}  // namespace
}  // namespace kt::test
