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

class SerialLink : public QObject {
    Q_OBJECT
public:
    explicit SerialLink(QObject* parent = nullptr);
    ~SerialLink() override;

    // Opens the device (a path or a port name).  On failure reason says why,
    // in words the user can act on.
    bool Open(const QString& port, QString* reason = nullptr, int language = 1);
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

signals:
    void Reply(const QByteArray& bytes);

private:
    void OnReadyRead();
    void OnError();

    QSerialPort* port_q = nullptr;
    QString port_;
    QByteArray gathered_;
    int threshold_ = 1;
    bool armed_ = false;
    bool lost_ = false;
};

}  // namespace kt
