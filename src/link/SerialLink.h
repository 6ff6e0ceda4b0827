// The serial port as the link uses it: 9600 baud, 8 data bits, no parity,
// 1 stop bit, no flow control; both buffers discarded before each frame; one
// notification per reply.  Serial data arrive in fragments, so the bytes are
// gathered until the awaited count has arrived, or until what has arrived is
// already a complete reply the radio sends (IsCompleteReply of Protocol.h: a
// lone acknowledge answering the handshake arrives short of the three bytes
// awaited).
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSerialPort;

namespace kt {

class LinkTrace;

// The control lines as the user wants them: both low unless told otherwise
// (a raised RTS keys the transmitter through some interfaces).
struct LineSettings {
    bool dtr = false;
    bool rts = false;
};

class SerialLink : public QObject {
    Q_OBJECT
public:
    explicit SerialLink(QObject* parent = nullptr);
    ~SerialLink() override;

    // Opens the device (a path or a port name), sets the control lines, asks
    // for low latency and sets 9600,N,8,1.  On failure reason says why, in
    // words the user can act on.  A port that cannot set its lines or refuses
    // low latency is still opened; the trace says so.
    bool Open(const QString& port, QString* reason = nullptr, int language = 1, LineSettings lines = {});
    void Close();
    bool IsOpen() const;
    QString PortName() const { return port_; }

    // Discards both buffers and what has been gathered, then writes the frame;
    // Reply is emitted once replyLen bytes have arrived (or a complete reply).
    // A port that was lost (cable pulled) is reopened here first, quietly.
    void Send(const QByteArray& frame, int replyLen);

    // The reason text for an open failure of path (permission, busy, missing).
    static QString DescribeOpenError(int error, const QString& path, const QString& systemText,
                                     int language = 1);

    // Frames, replies and what the port was set to go here (not owned; none when null).
    void SetTrace(LinkTrace* trace) { trace_ = trace; }
    // The port went away while open (cable unplugged, device taken).
    bool WasLost() const { return lost_; }

signals:
    void Reply(const QByteArray& bytes);
    // The port went away while open: a USB cable unplugged or the device
    // taken by another program.
    void Lost();

private:
    void OnReadyRead();
    void OnError();
    bool SetLineFormat();
    void SetLines(LineSettings lines);
    void SetLowLatency();

    QSerialPort* port_q = nullptr;
    QString port_;
    QByteArray gathered_;
    int threshold_ = 1;
    bool armed_ = false;
    bool lost_ = false;
    LineSettings lines_;
    LinkTrace* trace_ = nullptr;
};

}  // namespace kt
