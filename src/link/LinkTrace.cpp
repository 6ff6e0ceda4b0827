#include "link/LinkTrace.h"

#include "base/Versions.h"
#include "link/Protocol.h"

#include <QDateTime>
#include <QSaveFile>
#include <QSysInfo>

namespace kt {

namespace {
QString Hex4(int v) { return QStringLiteral("0x") + QString::number(v & 0xFFFF, 16).toUpper().rightJustified(4, QLatin1Char('0')); }
int AddrOf(const QByteArray& b) { return (uint8_t(b[1]) << 8) | uint8_t(b[2]); }
}  // namespace

void LinkTrace::Begin(const QString& what)
{
    header_.clear();
    entries_.clear();
    lastSent_.clear();
    left_ = 0;
    framesSeen_ = false;
    clock_.start();
    Header(QStringLiteral("transfer"), what);
    Header(QStringLiteral("started"), QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    Header(QStringLiteral("program"), ProgramText());
    Header(QStringLiteral("platform"), PlatformText());
}

void LinkTrace::Header(const QString& name, const QString& value) { header_ << name + QStringLiteral(": ") + value; }

void LinkTrace::Add(Entry e)
{
    if (int(entries_.size()) >= kMaxEntries) {
        entries_.pop_front();
        ++left_;
    }
    entries_.push_back(std::move(e));
}

void LinkTrace::Sent(const QByteArray& frame)
{
    // The times count from the first frame, not from the port's opening: the
    // user's confirmation lies between the two.
    if (!framesSeen_) {
        framesSeen_ = true;
        clock_.restart();
    }
    const bool repeat = !lastSent_.isEmpty() && frame == lastSent_;
    lastSent_ = frame;
    Add({clock_.nsecsElapsed(), Dir::Out, repeat, frame, {}});
}

void LinkTrace::Received(const QByteArray& reply) { Add({clock_.nsecsElapsed(), Dir::In, false, reply, {}}); }

void LinkTrace::Discarded(const QByteArray& bytes)
{
    if (!bytes.isEmpty()) Add({clock_.nsecsElapsed(), Dir::Dropped, false, bytes, {}});
}

void LinkTrace::Event(const QString& text)
{
    Add({clock_.isValid() ? clock_.nsecsElapsed() : 0, Dir::Event, false, {}, text});
}

int LinkTrace::FrameCount() const
{
    int n = 0;
    for (const Entry& e : entries_) n += e.dir == Dir::Out || e.dir == Dir::In;
    return n;
}

QString LinkTrace::Meaning(bool fromProgram, const QByteArray& b)
{
    if (fromProgram) {
        if (b == HandshakeFrame()) return QStringLiteral("handshake");
        if (b == IdentRequestFrame()) return QStringLiteral("identification request");
        if (b == EndFrame()) return QStringLiteral("END");
        if (b.size() == 4 && b[0] == 'R') return QStringLiteral("read of %1, %2 bytes").arg(Hex4(AddrOf(b))).arg(int(uint8_t(b[3])));
        if (b.size() >= 6 && b[0] == 'W')
            return QStringLiteral("data %1 bytes for %2").arg(int(uint8_t(b[3]))).arg(Hex4(AddrOf(b)));
        return QStringLiteral("%1 bytes").arg(b.size());
    }
    switch (ClassifyReply(b)) {
    case ReplyKind::Ack: return QStringLiteral("ack");
    case ReplyKind::Handshake: return QStringLiteral("handshake reply");
    case ReplyKind::Ident: {
        const RadioIdent id = ParseIdent(b);
        return QStringLiteral("identification: model %1, firmware %2%3")
            .arg(QString::fromLatin1(id.model), QString::fromLatin1(id.version),
                 id.extendedHf ? QStringLiteral(", extended HF") : QString());
    }
    case ReplyKind::Data:
        return QStringLiteral("data %1 bytes of %2%3")
            .arg(int(uint8_t(b[3])))
            .arg(Hex4(AddrOf(b)))
            .arg(IsDataReplyFor(b, AddrOf(b), uint8_t(b[3])) ? QString() : QStringLiteral(", bad checksum"));
    case ReplyKind::None: break;
    }
    return QStringLiteral("not a reply (%1 bytes)").arg(b.size());
}

QString LinkTrace::ProgramText()
{
    return QStringLiteral("KT-6383 Pro %1 (software %2)")
        .arg(QStringLiteral(KT_VERSION_TEXT), VersionText(QString::fromLatin1(kDataVersion)));
}

QString LinkTrace::PlatformText()
{
    return QStringLiteral("%1, %2 %3, %4, Qt %5")
        .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
             QSysInfo::currentCpuArchitecture(), QString::fromLatin1(qVersion()));
}

QString LinkTrace::Text() const
{
    QString out = QStringLiteral("KT-6383 Pro link trace\n");
    for (const QString& h : header_) out += h + QLatin1Char('\n');
    out += QStringLiteral("\n        ms  dir bytes | meaning\n");
    if (left_ > 0) out += QStringLiteral("(%1 earlier lines left out)\n").arg(left_);
    for (const Entry& e : entries_) {
        QString line = QStringLiteral("%1").arg(double(e.ns) / 1e6, 10, 'f', 3);
        switch (e.dir) {
        case Dir::Out:
            line += QStringLiteral("  ->  ") + QString::fromLatin1(e.bytes.toHex(' ').toUpper()) + QStringLiteral(" | ")
                    + Meaning(true, e.bytes) + (e.repeat ? QStringLiteral(", repeat") : QString());
            break;
        case Dir::In:
            line += QStringLiteral("  <-  ") + QString::fromLatin1(e.bytes.toHex(' ').toUpper()) + QStringLiteral(" | ")
                    + Meaning(false, e.bytes);
            break;
        case Dir::Dropped:
            line += QStringLiteral("  <x  ") + QString::fromLatin1(e.bytes.toHex(' ').toUpper())
                    + QStringLiteral(" | arrived outside an exchange, dropped");
            break;
        case Dir::Event: line += QStringLiteral("  --  ") + e.text; break;
        }
        out += line + QLatin1Char('\n');
    }
    return out;
}

bool LinkTrace::SaveTo(const QString& path, QString* why) const
{
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Text)) {
        f.write(Text().toUtf8());
        if (f.commit()) return true;
    }
    if (why) *why = f.errorString();
    return false;
}

}  // namespace kt
