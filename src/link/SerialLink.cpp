#include "link/SerialLink.h"

#include "link/LinkTexts.h"
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

SerialLink::~SerialLink() { Close(); }

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

bool SerialLink::Open(const QString& port, QString* reason, int language)
{
    Close();
    port_ = port;
    lost_ = false;
    gathered_.clear();
    if (port.trimmed().isEmpty()) {
        if (reason) *reason = link_txt::NoPort.in(language);
        return false;
    }
    port_q->setPortName(port);
    const QString path = DevicePathOf(port);
    if (!port_q->open(QIODevice::ReadWrite)) {
        if (reason)
            *reason = ExistsButNotSerial(path)
                          ? link_txt::NotSerial.in(language).arg(path)
                          : DescribeOpenError(int(port_q->error()), path, port_q->errorString(), language);
        return false;
    }
    const bool ok = port_q->setBaudRate(QSerialPort::Baud9600) && port_q->setDataBits(QSerialPort::Data8)
                    && port_q->setParity(QSerialPort::NoParity) && port_q->setStopBits(QSerialPort::OneStop)
                    && port_q->setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        if (reason)
            *reason = ExistsButNotSerial(path) ? link_txt::NotSerial.in(language).arg(path) : port_q->errorString();
        port_q->close();
        return false;
    }
    return true;
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
        // The cable was pulled: try the port again; if it is still gone the
        // reply timer runs out as for any lost reply.
        if (port_q->open(QIODevice::ReadWrite)) {
            port_q->setBaudRate(QSerialPort::Baud9600);
            port_q->setDataBits(QSerialPort::Data8);
            port_q->setParity(QSerialPort::NoParity);
            port_q->setStopBits(QSerialPort::OneStop);
            port_q->setFlowControl(QSerialPort::NoFlowControl);
            lost_ = false;
        }
    }
    threshold_ = replyLen < 1 ? 1 : replyLen;
    gathered_.clear();
    if (!port_q->isOpen()) return;
    port_q->clear(QSerialPort::AllDirections);
    port_q->readAll();
    armed_ = true;
    port_q->write(frame);
    port_q->flush();   // out now, not on the next turn of the event loop
}

void SerialLink::OnReadyRead()
{
    gathered_ += port_q->readAll();
    if (!armed_) {
        gathered_.clear();   // late bytes of an exchange that is over
        return;
    }
    if (gathered_.size() >= threshold_ || IsCompleteReply(gathered_)) {
        armed_ = false;
        const QByteArray reply = gathered_;
        gathered_.clear();
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
        port_q->close();
    }
}

}  // namespace kt
