// Reading an input file with a bound that fits its kind.  Only a regular
// file is opened for reading: a FIFO, a device, a socket or a folder is
// refused at once, before anything could wait on it or read without end.
// "-" (when allowed) is standard input, read with the same bound.
#pragma once

#include "base/Texts.h"

#include <QByteArray>
#include <QString>

namespace kt {

namespace readtxt {
inline constexpr Bi NoSuchFile{"no such file", "文件不存在"};
inline constexpr Bi NotAFile{"not a file", "不是文件"};
inline constexpr Bi CannotRead{"cannot be read: %1", "无法读取：%1"};
// %1 the most bytes the kind of file has.
inline constexpr Bi LargerThan{"the file is larger than %1 bytes", "文件大于 %1 字节"};
}  // namespace readtxt

struct BoundedRead {
    enum Status { Ok, Missing, NotAFile, TooLarge, Failed } status = Ok;
    QByteArray bytes;      // Ok: the whole file; TooLarge: its first maxBytes + 1 bytes
    QString systemError;   // Failed: the system's reason
    bool ok() const { return status == Ok; }
    // What is wrong, in the given language (empty when ok); TooLarge names maxBytes.
    QString why(int language, qint64 maxBytes) const;
};

// Reads path whole when it holds at most maxBytes; a longer file is TooLarge
// after maxBytes + 1 bytes were read.  allowStdin: "-" is standard input.
BoundedRead ReadBounded(const QString& path, qint64 maxBytes, bool allowStdin = false);

// 1699 -> "1,699": counts in messages, grouped by thousands.
QString Grouped(qint64 n);

}  // namespace kt
