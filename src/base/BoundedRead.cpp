#include "base/BoundedRead.h"

#include <QFile>
#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kt {

namespace {

QString SystemError(int e) { return QString::fromLocal8Bit(std::strerror(e ? e : EIO)); }

}  // namespace

QString BoundedRead::why(int language, qint64 maxBytes) const
{
    switch (status) {
    case Ok: return {};
    case Missing: return readtxt::NoSuchFile.in(language);
    case NotAFile: return readtxt::NotAFile.in(language);
    case TooLarge: return readtxt::LargerThan.in(language).arg(Grouped(maxBytes));
    case Failed: break;
    }
    return readtxt::CannotRead.in(language).arg(systemError);
}

BoundedRead ReadBounded(const QString& path, qint64 maxBytes, bool allowStdin)
{
    BoundedRead r;
    const bool fromStdin = allowStdin && path == QLatin1String("-");
    // Non-blocking, so that opening a FIFO without a writer returns at once.
    const int fd = fromStdin ? ::dup(STDIN_FILENO)
                             : ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        r.status = errno == ENOENT || errno == ENOTDIR ? BoundedRead::Missing : BoundedRead::Failed;
        r.systemError = SystemError(errno);
        return r;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        r.status = BoundedRead::Failed;
        r.systemError = SystemError(errno);
    } else if (!fromStdin && !S_ISREG(st.st_mode)) {
        r.status = BoundedRead::NotAFile;
    }
    if (r.status != BoundedRead::Ok) {
        ::close(fd);
        return r;
    }
    if (!fromStdin) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    // A regular file's size is only a hint (it may grow while it is read); the
    // bound holds whatever the source.
    const qint64 limit = maxBytes + 1;
    qint64 expected = S_ISREG(st.st_mode) ? std::min<qint64>(st.st_size, limit) : 0;
    r.bytes.resize(qsizetype(std::max<qint64>(expected, std::min<qint64>(limit, 64 * 1024))));
    qint64 got = 0;
    while (got < limit) {
        if (got == r.bytes.size()) r.bytes.resize(qsizetype(std::min<qint64>(limit, got * 2)));
        const ssize_t n = ::read(fd, r.bytes.data() + got, size_t(r.bytes.size() - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            r.status = BoundedRead::Failed;
            r.systemError = SystemError(errno);
            break;
        }
        if (n == 0) break;
        got += n;
    }
    ::close(fd);
    if (r.status == BoundedRead::Ok && got > maxBytes) r.status = BoundedRead::TooLarge;
    r.bytes.resize(r.status == BoundedRead::Failed ? 0 : qsizetype(got));
    r.bytes.squeeze();
    return r;
}

QString Grouped(qint64 n)
{
    QLocale english(QLocale::English, QLocale::UnitedStates);
    english.setNumberOptions({});
    return english.toString(n);
}

}  // namespace kt
