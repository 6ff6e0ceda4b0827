// The one place where the link asks the operating system for something Qt
// SerialPort does not offer.  Everything else of the link stays portable.
#pragma once

#include <QString>
#include <QtGlobal>

namespace kt {

// What a request to the port's driver came to: done, or refused and why.
struct PortCallResult {
    bool ok = false;
    QString detail;   // the system's reason when refused
};

// Asks the driver of an open serial port (its native handle) to pass short
// replies on at once instead of holding them for a while, as many USB serial
// chips do.  A driver without that mode refuses; the link goes on without it.
PortCallResult RequestLowLatency(qintptr handle);

}  // namespace kt
