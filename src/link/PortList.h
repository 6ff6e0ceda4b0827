// The ports a cable may be on, named as the system knows them (description,
// manufacturer, USB vendor:product id, serial number), the simulated radio
// last; and "Find my cable": which port went away and came back while the
// user unplugged the cable and plugged it in again.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kt {

struct PortEntry {
    QString name;           // the port key: "ttyUSB0", or the simulated radio's key
    QString location;       // the device path
    QString description, manufacturer, serialNumber;
    int vendorId = -1, productId = -1;   // USB ids where known
    bool simulated = false;
    // "067b:2303", or empty when not a USB device the system knows.
    QString UsbId() const;
    // What is known of it in one line: "Prolific USB-Serial, 067b:2303, serial 1234".
    QString Details() const;
};

// The serial ports present (QSerialPortInfo), then the simulated radio.
QList<PortEntry> AvailablePorts();
QStringList NamesOf(const QList<PortEntry>& ports);

class CableFinder {
public:
    enum class State { Idle, AwaitUnplug, AwaitReplug, Found };
    // The ports present when the user is asked to unplug the cable.
    void Start(const QStringList& present);
    // The ports present now (polled); the state after them.  A port that
    // went away and came back is the cable; so is a port that appears that
    // was not there at the start (the cable plugged into another socket, or
    // not plugged in at all at the start).
    State Feed(const QStringList& now);
    State Current() const { return state_; }
    QString Found() const { return found_; }
    // The ports that went away since the start.
    const QStringList& Gone() const { return gone_; }
    void Reset() { *this = CableFinder(); }

private:
    State state_ = State::Idle;
    QStringList start_, gone_;
    QString found_;
};

}  // namespace kt
