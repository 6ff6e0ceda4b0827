#include "link/SimRadio.h"

#include "base/BoundedRead.h"
#include "model/Codec.h"
#include "model/Defaults.h"
#include "model/Workspace.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/timerfd.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace kt {

namespace {
constexpr qint64 kNsPerMs = 1000000;
constexpr qint64 kStaleInputNs = 200 * kNsPerMs;   // a partial frame older than this is noise
const QByteArray kHandshake = "PROGRAM";
const QByteArray kEnd = "END";
}  // namespace

SimRadio::SimRadio(const SimOptions& options, QObject* parent)
    : QObject(parent), opt_(options), mem_(kMemorySize, 0xFF)
{
    // A first read from the simulated radio shows sensible values, not the
    // 0xFF of erased memory (empty groups, "-0.1" V, 2550 Hz tones).
    if (opt_.bandClass >= 0) mem_ = FactoryImage(opt_.bandClass);
}

std::vector<uint8_t> SimRadio::FactoryImage(int bandClass)
{
    Workspace ws;
    BuildTemplateData(ws, bandClass);
    ClearImage(ws);
    EncodeImage(ws);
    std::vector<uint8_t> image = ws.MemImage;
    image.resize(kMemorySize, 0xFF);
    return image;
}

SimRadio::~SimRadio()
{
    delete notifier_;
    delete timerNotifier_;
    if (timerFd_ >= 0) ::close(timerFd_);
    if (masterFd_ >= 0) ::close(masterFd_);
    if (slaveKeepFd_ >= 0) ::close(slaveKeepFd_);
    if (hungSlaveFd_ >= 0) ::close(hungSlaveFd_);
}

bool SimRadio::Start()
{
    if (masterFd_ >= 0) return true;
    int fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0) ::close(fd);
        return false;
    }
    const char* name = ptsname(fd);
    if (!name) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return false;
    }
    termios tio{};
    if (tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    slavePath_ = QString::fromLocal8Bit(name);
    // Holding the slave open ourselves keeps the master readable without a
    // hang-up storm while no program has the port open.
    slaveKeepFd_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    masterFd_ = fd;
    startNs_ = NowNs();
    // Paced replies leave on a timerfd: nanosecond deadlines, so the simulator
    // adds no timer slack of its own to a paced transfer.
    timerFd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timerFd_ >= 0) {
        timerNotifier_ = new QSocketNotifier(timerFd_, QSocketNotifier::Read);
        connect(timerNotifier_, &QSocketNotifier::activated, this, [this] {
            uint64_t expirations;
            while (::read(timerFd_, &expirations, sizeof expirations) > 0) {}
            Flush();
        });
    }
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read);
    connect(notifier_, &QSocketNotifier::activated, this, &SimRadio::OnReadable);
    return true;
}

void SimRadio::HangUp()
{
    delete notifier_;
    notifier_ = nullptr;
    delete timerNotifier_;
    timerNotifier_ = nullptr;
    if (timerFd_ >= 0) ::close(timerFd_);
    if (masterFd_ >= 0) ::close(masterFd_);
    // The slave end stays held until this radio goes: so the pseudo-terminal's
    // number is not handed to another one meanwhile, and a program reopening
    // the device finds it gone, as a pulled cable leaves it.
    if (hungSlaveFd_ >= 0) ::close(hungSlaveFd_);
    hungSlaveFd_ = slaveKeepFd_;
    timerFd_ = masterFd_ = slaveKeepFd_ = -1;
    out_.clear();
    in_.clear();
}

void SimRadio::FillMemory(uint8_t value) { std::fill(mem_.begin(), mem_.end(), value); }

QList<QByteArray> SimRadio::Received() const
{
    QList<QByteArray> r;
    for (const Frame& f : log_)
        if (f.fromProgram) r << f.bytes;
    return r;
}

QList<qint64> SimRadio::TimesOf(const QByteArray& bytes) const
{
    QList<qint64> r;
    for (const Frame& f : log_)
        if (f.fromProgram && f.bytes == bytes) r << f.ms;
    return r;
}

bool SimRadio::LoadMemory(const QString& path, QString* error)
{
    const BoundedRead read = ReadBounded(path, kMemorySize);
    if (!read.ok() && read.status != BoundedRead::TooLarge) {
        if (error) *error = read.why(English, kMemorySize);
        return false;
    }
    const QByteArray& b = read.bytes;
    if (!read.ok() || b.size() != kMemorySize) {
        if (error) *error = QStringLiteral("not a memory image of %1 bytes").arg(kMemorySize);
        return false;
    }
    std::memcpy(mem_.data(), b.constData(), kMemorySize);
    return true;
}

bool SimRadio::SaveMemory(const QString& path, QString* error) const
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || f.write(reinterpret_cast<const char*>(mem_.data()), kMemorySize) != kMemorySize) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

qint64 SimRadio::ByteNs() const
{
    return opt_.baud > 0 ? qint64(10) * 1000000000 / opt_.baud : 0;
}

qint64 SimRadio::NowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

qint64 SimRadio::Elapsed() const { return NowNs() - startNs_; }

bool SimRadio::Silent() const
{
    if (opt_.silent) return true;
    return silentUntilNs_ >= 0 && Elapsed() < silentUntilNs_;
}

void SimRadio::OnReadable()
{
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(masterFd_, buf, sizeof buf);
        if (n > 0) {
            const qint64 now = Elapsed();
            if (!in_.isEmpty() && now - lastInNs_ > kStaleInputNs) in_.clear();
            lastInNs_ = now;
            in_.append(buf, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break;
    }
    Parse();
}

void SimRadio::Parse()
{
    const qint64 now = Elapsed();
    if (silentUntilNs_ >= 0 && silentUntilNs_ != LLONG_MAX && now >= silentUntilNs_) {
        silentUntilNs_ = -1;
        if (silenceFresh_) {
            FillMemory(0xFF);
            ++radio_;
            silenceFresh_ = false;
        }
    }
    while (!in_.isEmpty()) {
        const uint8_t c = uint8_t(in_[0]);
        int len = 0;
        if (c == 'P') {
            if (!kHandshake.startsWith(in_.left(kHandshake.size()))) { in_.remove(0, 1); continue; }
            if (in_.size() < kHandshake.size()) return;
            len = kHandshake.size();
        } else if (c == 'E') {
            if (!kEnd.startsWith(in_.left(kEnd.size()))) { in_.remove(0, 1); continue; }
            if (in_.size() < kEnd.size()) return;
            len = kEnd.size();
        } else if (c == 0x02) {
            len = 1;
        } else if (c == 'R') {
            if (in_.size() < 4) return;
            len = 4;
        } else if (c == 'W') {
            if (in_.size() < 4) return;
            len = uint8_t(in_[3]) + 6;
            if (in_.size() < len) return;
        } else {
            in_.remove(0, 1);   // noise between frames
            continue;
        }
        const QByteArray frame = in_.left(len);
        in_.remove(0, len);
        log_ << Frame{now / kNsPerMs, true, frame, now};
        emit FrameReceived(frame);
        if (Silent()) continue;

        if (frame == kHandshake) {
            Reply(opt_.ackOnlyHandshake ? QByteArray(1, 0x06) : QByteArray("YF\x06", 3), len);
        } else if (frame == kEnd) {
            ++ends_;
            if (!opt_.noEndAck) Reply(QByteArray(1, 0x06), len);
            if (opt_.silentAfterEnd > 0) {
                silentUntilNs_ = now + qint64(opt_.silentAfterEnd * 1e9)
                                 + qint64(out_.size() + 1) * ByteNs();
                silenceFresh_ = opt_.freshAfterSilence;
            }
        } else if (c == 0x02) {
            QByteArray r(16, '\0');
            r[0] = 'I';
            for (int i = 0; i < 7; ++i) r[1 + i] = i < opt_.model.size() ? opt_.model[i] : ' ';
            r[8] = char(opt_.extendedFlag);
            for (int i = 0; i < 4; ++i) r[9 + i] = i < opt_.firmware.size() ? opt_.firmware[i] : ' ';
            Reply(r, len);
        } else {
            const int addr = (uint8_t(frame[1]) << 8) | uint8_t(frame[2]);
            const int n = uint8_t(frame[3]);
            if (addr == opt_.hangUpAt) {
                opt_.hangUpAt = -1;
                HangUp();
                return;
            }
            if (opt_.silentFromAddr >= 0 && addr == opt_.silentFromAddr && !silentFromDone_) {
                silentFromDone_ = true;
                silentUntilNs_ = opt_.silentFromSeconds > 0
                                     ? now + qint64(opt_.silentFromSeconds * 1e9) : LLONG_MAX;
                continue;
            }
            if (addr == opt_.dropBlockAt && dropsDone_ < opt_.dropCount) { ++dropsDone_; continue; }
            if (addr + n > kMemorySize) continue;
            if (c == 'R') {
                QByteArray r;
                r.reserve(n + 6);
                r.append('W').append(char(addr >> 8)).append(char(addr & 0xFF)).append(char(n));
                uint8_t sum = uint8_t((addr >> 8) + (addr & 0xFF) + n);
                for (int i = 0; i < n; ++i) {
                    r.append(char(mem_[addr + i]));
                    sum = uint8_t(sum + mem_[addr + i]);
                }
                if (addr == opt_.corruptChecksumAt && !corruptDone_) {
                    corruptDone_ = true;
                    sum = uint8_t(sum ^ 0x01);
                }
                r.append(char(sum)).append(char(0x06));
                Reply(r, len);
            } else {
                uint8_t sum = 0;
                for (int i = 1; i < 4 + n; ++i) sum = uint8_t(sum + uint8_t(frame[i]));
                if (sum != uint8_t(frame[4 + n]) || uint8_t(frame[5 + n]) != 0x06) continue;
                const bool stuck = opt_.stuckByteAt >= addr && opt_.stuckByteAt < addr + n;
                const uint8_t kept = stuck ? mem_[size_t(opt_.stuckByteAt)] : 0;
                std::memcpy(mem_.data() + addr, frame.constData() + 4, n);
                if (stuck) mem_[size_t(opt_.stuckByteAt)] = kept;
                ++blocksWritten_;
                Reply(QByteArray(1, 0x06), len);
            }
        }
    }
}

void SimRadio::Reply(const QByteArray& bytes, int inBytes)
{
    const qint64 now = Elapsed();
    const qint64 byteNs = ByteNs();
    if (byteNs == 0 && opt_.chunk <= 0) {
        log_ << Frame{now / kNsPerMs, false, bytes, now};
        WriteNow(bytes);
        return;
    }
    // The line carries the program's frame, then the reply, one byte every byteNs.
    const qint64 start = std::max(now, wireFreeNs_) + inBytes * byteNs;
    const int piece = opt_.chunk > 0 ? opt_.chunk : int(bytes.size());
    qint64 due = start;
    for (int i = 0; i < bytes.size(); i += piece) {
        const QByteArray p = bytes.mid(i, piece);
        due += byteNs > 0 ? p.size() * byteNs : kNsPerMs / 10;
        out_ << Pending{due, p};
    }
    out_.last().logIndex = int(log_.size());
    wireFreeNs_ = due;
    log_ << Frame{due / kNsPerMs, false, bytes, due};
    Flush();
}

void SimRadio::Flush()
{
    const qint64 now = Elapsed();
    while (!out_.isEmpty() && out_.first().dueNs <= now) {
        const Pending p = out_.takeFirst();
        WriteNow(p.bytes);
        if (p.logIndex >= 0 && p.logIndex < log_.size()) log_[p.logIndex].ns = Elapsed();
    }
    if (!out_.isEmpty() && timerFd_ >= 0) {
        const qint64 due = startNs_ + out_.first().dueNs;
        itimerspec its{};
        its.it_value.tv_sec = due / 1000000000;
        its.it_value.tv_nsec = due % 1000000000;
        timerfd_settime(timerFd_, TFD_TIMER_ABSTIME, &its, nullptr);
    }
}

void SimRadio::WriteNow(const QByteArray& bytes)
{
    if (masterFd_ < 0) return;
    const char* p = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(masterFd_, p, size_t(left));
        if (n > 0) { p += n; left -= n; continue; }
        if (n < 0 && errno == EINTR) continue;
        break;   // no reader and a full buffer: the bytes are lost, as on a real line
    }
}

}  // namespace kt
