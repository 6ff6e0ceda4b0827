#include "link/PortControl.h"

#if defined(__linux__)
#include <cerrno>
#include <cstring>
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace kt {

#if defined(__linux__)

PortCallResult RequestLowLatency(qintptr handle)
{
    if (handle < 0) return {false, QStringLiteral("port not open")};
    const int fd = int(handle);
    serial_struct ss {};
    if (::ioctl(fd, TIOCGSERIAL, &ss) != 0)
        return {false, QString::fromLocal8Bit(std::strerror(errno))};
    if (ss.flags & ASYNC_LOW_LATENCY) return {true, QStringLiteral("already on")};
    ss.flags |= ASYNC_LOW_LATENCY;
    if (::ioctl(fd, TIOCSSERIAL, &ss) != 0)
        return {false, QString::fromLocal8Bit(std::strerror(errno))};
    return {true, {}};
}

#else

// Other systems: their drivers are left as they are.
PortCallResult RequestLowLatency(qintptr) { return {false, QStringLiteral("not offered on this system")}; }

#endif

}  // namespace kt
