// The trace of one transfer: every frame that went over the line in either
// direction with the time since its first frame (monotonic clock), what
// the frame means, the time-outs and repeats, and a header naming the port,
// its control lines, the low-latency result, the program and the platform.
// Frames are kept as bytes and turned into text only when the trace is shown
// or saved, so keeping it costs a transfer next to nothing.  It holds the
// last transfer only, and at most kMaxEntries lines of it.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <deque>

namespace kt {

class LinkTrace {
public:
    static constexpr int kMaxEntries = 3200;

    // A new transfer: what it is ("read", "write"), the trace before it goes.
    void Begin(const QString& what);
    // A header line: "name: value".
    void Header(const QString& name, const QString& value);

    void Sent(const QByteArray& frame);
    void Received(const QByteArray& reply);
    // Bytes that arrived outside an exchange and were dropped.
    void Discarded(const QByteArray& bytes);
    // Something that is no frame: a time-out, the port lost, the end.
    void Event(const QString& text);

    bool IsEmpty() const { return header_.isEmpty() && entries_.empty(); }
    int FrameCount() const;
    QString Text() const;
    // Writes Text() to path (whole or not at all); false with the reason in why.
    bool SaveTo(const QString& path, QString* why) const;

    // What a frame means: the program's frames by their first bytes, the
    // radio's by the reply they form.  "read of 0x1230", "ack", ...
    static QString Meaning(bool fromProgram, const QByteArray& bytes);
    // The program and the platform, for the header.
    static QString ProgramText();
    static QString PlatformText();

private:
    enum class Dir : char { Out, In, Dropped, Event };
    struct Entry {
        qint64 ns;
        Dir dir;
        bool repeat;
        QByteArray bytes;
        QString text;
    };
    void Add(Entry e);

    QElapsedTimer clock_;
    QStringList header_;
    std::deque<Entry> entries_;
    QByteArray lastSent_;
    int left_ = 0;   // early lines left out to keep within kMaxEntries
    bool framesSeen_ = false;
};

}  // namespace kt
