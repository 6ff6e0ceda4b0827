// The radio's link protocol in one place: the frames the program sends and
// what counts as a reply of the radio.  The serial port gathers bytes until
// they form a reply; the state machine decides what a reply means.  Both ask
// here, so they cannot disagree about where a reply ends.
#pragma once

#include <QByteArray>
#include <cstdint>

namespace kt {

constexpr int kBlockLen = 16;
constexpr int kEndAddr = 0x5CC0;      // the last image byte (0x5CC0) is never transferred
constexpr uint8_t kAck = 0x06;

// Reply lengths awaited after each frame.
constexpr int kHandshakeReplyLen = 3;
constexpr int kIdentReplyLen = 16;
constexpr int kAckReplyLen = 1;
constexpr int DataReplyLen(int len) { return len + 6; }

// Frames.
QByteArray HandshakeFrame();
QByteArray IdentRequestFrame();
QByteArray EndFrame();
QByteArray ReadRequestFrame(int addr, int len = kBlockLen);
QByteArray DataFrame(int addr, const uint8_t* data, int len = kBlockLen);
uint8_t FrameChecksum(const QByteArray& frame);   // of a data frame: address .. last data byte

// Replies.
enum class ReplyKind { None, Ack, Handshake, Ident, Data };

// What bytes are when taken as one whole reply: None for a part of one, two
// joined, or noise.  A Data reply here is only well formed; its address and
// checksum are IsDataReplyFor's business.
ReplyKind ClassifyReply(const QByteArray& bytes);
inline bool IsCompleteReply(const QByteArray& bytes) { return ClassifyReply(bytes) != ReplyKind::None; }

// A data reply carrying len bytes of addr, with a checksum that adds up.
bool IsDataReplyFor(const QByteArray& bytes, int addr, int len = kBlockLen);

// The identification reply: model (bytes 1-7, trailing blanks and anything
// from a NUL on dropped), the extended-HF flag (byte 8) and the firmware
// version (bytes 9-12).
struct RadioIdent {
    QByteArray model;
    bool extendedHf = false;
    QByteArray version;
};
RadioIdent ParseIdent(const QByteArray& reply);

}  // namespace kt
