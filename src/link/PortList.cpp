#include "link/PortList.h"

#include "link/Transfer.h"

#include <QSerialPortInfo>

namespace kt {

QString PortEntry::UsbId() const
{
    if (vendorId < 0 || productId < 0) return {};
    return QStringLiteral("%1:%2").arg(vendorId, 4, 16, QLatin1Char('0')).arg(productId, 4, 16, QLatin1Char('0'));
}

QString PortEntry::Details() const
{
    QStringList parts;
    QString who = manufacturer.trimmed();
    const QString what = description.trimmed();
    if (!what.isEmpty() && !who.contains(what, Qt::CaseInsensitive)) who = who.isEmpty() ? what : who + QLatin1Char(' ') + what;
    if (!who.isEmpty()) parts << who;
    if (!UsbId().isEmpty()) parts << UsbId();
    if (!serialNumber.trimmed().isEmpty()) parts << QStringLiteral("serial ") + serialNumber.trimmed();
    return parts.join(QStringLiteral(", "));
}

QList<PortEntry> AvailablePorts()
{
    QList<PortEntry> list;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PortEntry e;
        e.name = info.portName();
        e.location = info.systemLocation();
        e.description = info.description();
        e.manufacturer = info.manufacturer();
        e.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier()) e.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier()) e.productId = info.productIdentifier();
        list << e;
    }
    PortEntry sim;
    sim.name = kSimulatedPortKey;
    sim.simulated = true;
    list << sim;
    return list;
}

QStringList NamesOf(const QList<PortEntry>& ports)
{
    QStringList names;
    for (const PortEntry& p : ports) names << p.name;
    return names;
}

void CableFinder::Start(const QStringList& present)
{
    start_ = present;
    start_.removeAll(kSimulatedPortKey);
    gone_.clear();
    found_.clear();
    state_ = State::AwaitUnplug;
}

CableFinder::State CableFinder::Feed(const QStringList& now)
{
    if (state_ != State::AwaitUnplug && state_ != State::AwaitReplug) return state_;
    for (const QString& n : now) {
        if (n == kSimulatedPortKey) continue;
        // Back after going away, or new since the start.
        if (gone_.contains(n) || !start_.contains(n)) {
            found_ = n;
            state_ = State::Found;
            return state_;
        }
    }
    for (const QString& n : start_)
        if (!now.contains(n) && !gone_.contains(n)) gone_ << n;
    if (!gone_.isEmpty()) state_ = State::AwaitReplug;
    return state_;
}

}  // namespace kt
