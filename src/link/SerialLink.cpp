#include "link/SerialLink.h"

#include "link/LinkTexts.h"
#include "link/LinkTrace.h"
#include "link/PortControl.h"
#include "link/Protocol.h"

#include <QFileInfo>
#include <QSerialPort>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kt {

SerialLink::SerialLink(QObject* parent) : QObject(parent)
{
    port_q = new QSerialPort(this);
    connect(port_q, &QSerialPort::readyRead, this, &SerialLink::OnReadyRead);
    connect(port_q, &QSerialPort::errorOccurred, this, &SerialLink::OnError);
}

SerialLink::~SerialLink()
{
    trace_ = nullptr;
    Close();
}

static QString DevicePathOf(const QString& port)
{
    return port.startsWith('/') ? port : QStringLiteral("/dev/") + port;
}

// Something at path that is no terminal device at all (/dev/null, a file, a
// folder): the system's own words for that ("Inappropriate ioctl for
// device") tell the user nothing.
static bool ExistsButNotSerial(const QString& path)
{
    const QByteArray p = path.toLocal8Bit();
    struct stat st {};
    if (::stat(p.constData(), &st) != 0) return false;
    if (!S_ISCHR(st.st_mode)) return true;
    const int fd = ::open(p.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;   // busy or forbidden: the port class says which
    const bool tty = ::isatty(fd) == 1;
    ::close(fd);
    return !tty;
}

bool SerialLink::Open(const QString& port, QString* reason, int language, LineSettings lines)
{
    Close();
    port_ = port;
    lost_ = false;
    lines_ = lines;
    gathered_.clear();
    if (port.trimmed().isEmpty()) {
        if (reason) *reason = link_txt::NoPort.in(language);
        return false;
    }
    port_q->setPortName(port);
    const QString path = DevicePathOf(port);
    // 1. open
    if (!port_q->open(QIODevice::ReadWrite)) {
        if (reason)
            *reason = ExistsButNotSerial(path)
                          ? link_txt::NotSerial.in(language).arg(path)
                          : DescribeOpenError(int(port_q->error()), path, port_q->errorString(), language);
        if (trace_) trace_->Event(QStringLiteral("cannot open %1: %2").arg(path, port_q->errorString()));
        return false;
    }
    // 2. the control lines as asked (low unless told otherwise); the system
    //    raises both on opening
    SetLines(lines);
    // 3. low latency, where the driver has it
    SetLowLatency();
    // 4. 9600,N,8,1 without flow control
    if (!SetLineFormat()) {
        if (reason)
            *reason = ExistsButNotSerial(path) ? link_txt::NotSerial.in(language).arg(path) : port_q->errorString();
        port_q->close();
        return false;
    }
    if (trace_) trace_->Header(QStringLiteral("settings"), QStringLiteral("9600,N,8,1, no flow control"));
    return true;
}

bool SerialLink::SetLineFormat()
{
    return port_q->setBaudRate(QSerialPort::Baud9600) && port_q->setDataBits(QSerialPort::Data8)
           && port_q->setParity(QSerialPort::NoParity) && port_q->setStopBits(QSerialPort::OneStop)
           && port_q->setFlowControl(QSerialPort::NoFlowControl);
}

void SerialLink::SetLines(LineSettings lines)
{
    // A pseudo-terminal (the simulated radio) has no control lines: it refuses
    // and the link goes on; only the trace tells.
    const auto one = [this](const char* name, bool on, bool done) {
        QString result = done ? QStringLiteral("set") : QStringLiteral("refused (%1)").arg(port_q->errorString());
        if (!done) port_q->clearError();
        if (trace_) trace_->Header(QString::fromLatin1(name), (on ? QStringLiteral("on, ") : QStringLiteral("off, ")) + result);
    };
    const bool dtr = port_q->setDataTerminalReady(lines.dtr);
    one("DTR", lines.dtr, dtr);
    const bool rts = port_q->setRequestToSend(lines.rts);
    one("RTS", lines.rts, rts);
}

void SerialLink::SetLowLatency()
{
    const PortCallResult r = RequestLowLatency(port_q->handle());
    if (!trace_) return;
    QString text = r.ok ? QStringLiteral("on") : QStringLiteral("refused");
    if (!r.detail.isEmpty()) text += QStringLiteral(" (%1)").arg(r.detail);
    trace_->Header(QStringLiteral("low latency"), text);
}

QString SerialLink::DescribeOpenError(int error, const QString& path, const QString& systemText,
                                      int language)
{
    const auto e = QSerialPort::SerialPortError(error);
    if (e == QSerialPort::DeviceNotFoundError) return link_txt::PortMissing.in(language).arg(path);
    if (e == QSerialPort::PermissionError) {
        // Busy and forbidden look alike to the port class; the file's mode tells them apart.
        if (::access(path.toLocal8Bit().constData(), R_OK | W_OK) != 0) {
            QString owner = QStringLiteral("dialout");
            struct stat st {};
            if (::stat(path.toLocal8Bit().constData(), &st) == 0) {
                if (const struct group* g = ::getgrgid(st.st_gid)) owner = QString::fromLocal8Bit(g->gr_name);
            }
            return link_txt::PortDenied.in(language).arg(path, owner);
        }
        return link_txt::PortBusy.in(language).arg(path);
    }
    return systemText;
}

void SerialLink::Close()
{
    if (port_q->isOpen()) port_q->close();
    gathered_.clear();
}

bool SerialLink::IsOpen() const { return port_q->isOpen(); }

void SerialLink::Send(const QByteArray& frame, int replyLen)
{
    if (!port_q->isOpen() && lost_) {
        // The cable was pulled: try the port again (the lines and the format
        // as at the start); if it is still gone the reply timer runs out as
        // for any lost reply.
        if (port_q->open(QIODevice::ReadWrite)) {
            port_q->setDataTerminalReady(lines_.dtr);
            port_q->setRequestToSend(lines_.rts);
            port_q->clearError();
            SetLineFormat();
            lost_ = false;
            if (trace_) trace_->Event(QStringLiteral("port opened again"));
        }
    }
    threshold_ = replyLen < 1 ? 1 : replyLen;
    if (trace_) trace_->Discarded(gathered_);   // part of a reply that never came whole
    gathered_.clear();
    if (!port_q->isOpen()) return;
    port_q->clear(QSerialPort::AllDirections);
    const QByteArray stale = port_q->readAll();
    if (trace_) {
        trace_->Discarded(stale);
        trace_->Sent(frame);
    }
    armed_ = true;
    port_q->write(frame);
    port_q->flush();   // out now, not on the next turn of the event loop
}

void SerialLink::OnReadyRead()
{
    gathered_ += port_q->readAll();
    if (!armed_) {
        if (trace_) trace_->Discarded(gathered_);
        gathered_.clear();   // late bytes of an exchange that is over
        return;
    }
    if (gathered_.size() >= threshold_ || IsCompleteReply(gathered_)) {
        armed_ = false;
        const QByteArray reply = gathered_;
        gathered_.clear();
        if (trace_) trace_->Received(reply);
        emit Reply(reply);
    }
}

void SerialLink::OnError()
{
    const auto e = port_q->error();
    if ((e == QSerialPort::ResourceError || e == QSerialPort::ReadError) && port_q->isOpen()) {
        // Device gone (USB adapter unplugged) or hung up: close it so that the
        // event loop does not spin on it; Send tries to reopen.
        lost_ = true;
        const QString why = port_q->errorString();
        port_q->close();
        if (trace_) trace_->Event(QStringLiteral("port lost: %1").arg(why));
        emit Lost();
    }
}

}  // namespace kt
