// A radio on a pseudo-terminal: it answers the radio's side of the link so
// that a read or a write can be tried without hardware, and so that the link
// tests run the real serial code.  It is event-driven (QSocketNotifier) and
// lives in the thread that creates it; the program opens DevicePath() with its
// ordinary serial port code.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class QSocketNotifier;

namespace kt {

struct SimOptions {
    QByteArray model = "RU6383R";     // identification bytes 1-7
    uint8_t extendedFlag = 0;         // identification byte 8
    QByteArray firmware = "V200";     // identification bytes 9-12

    bool silent = false;              // never answer
    bool ackOnlyHandshake = false;    // answer "PROGRAM" with 0x06 alone
    int corruptChecksumAt = -1;       // the first read reply for this address carries a wrong checksum
    int dropBlockAt = -1;             // requests / blocks for this address go unanswered ...
    int dropCount = 1;                // ... this many times
    bool noEndAck = false;            // "END" is not acknowledged
    double silentAfterEnd = 0;        // seconds without any answer after "END" (a radio being swapped)
    bool freshAfterSilence = false;   // after that silence: another radio, memory all 0xFF
    int silentFromAddr = -1;          // from the first frame for this address on ...
    double silentFromSeconds = 0;     // ... silent this long (a cable pulled mid-transfer); <= 0: for good
    int hangUpAt = -1;                // the cable pulled for good at the first frame for this address
    int stuckByteAt = -1;             // a memory cell that keeps its value whatever is written
    int baud = 0;                     // pace replies as a line at this rate (10 bits a byte); 0: at once
    int chunk = 0;                    // deliver replies in pieces of this many bytes (0: whole)
    // The memory it starts with: the program's own new-document defaults for
    // this band class (0: HF band, 1: HAM band), as a radio fresh from the
    // factory holds them; -1: all 0xFF, a radio never programmed.
    int bandClass = 1;
};

class SimRadio : public QObject {
    Q_OBJECT
public:
    static constexpr int kMemorySize = 23745;

    explicit SimRadio(const SimOptions& options = {}, QObject* parent = nullptr);
    ~SimRadio() override;

    // Opens the pseudo-terminal; false (and ErrorText()) when that fails.
    bool Start();
    bool IsRunning() const { return masterFd_ >= 0; }
    // The cable pulled: the pseudo-terminal goes away (Start() makes a new one).
    void HangUp();
    QString DevicePath() const { return slavePath_; }
    QString ErrorText() const { return error_; }

    SimOptions& Options() { return opt_; }
    std::vector<uint8_t>& Memory() { return mem_; }
    const std::vector<uint8_t>& Memory() const { return mem_; }
    void FillMemory(uint8_t value);
    // The image of the new-document defaults of a band class (0 or 1).
    static std::vector<uint8_t> FactoryImage(int bandClass);

    // Every frame received and every reply sent, with the time since Start():
    // a frame when it was complete, a reply when its last byte was written
    // (ms: when the line would have carried it).
    struct Frame {
        qint64 ms;
        bool fromProgram;
        QByteArray bytes;
        qint64 ns = 0;
    };
    const QList<Frame>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    // Frames received from the program, in order.
    QList<QByteArray> Received() const;
    // The times (ms) at which frames equal to bytes were received.
    QList<qint64> TimesOf(const QByteArray& bytes) const;
    int EndsReceived() const { return ends_; }
    int BlocksWritten() const { return blocksWritten_; }
    int RadiosSeen() const { return radio_; }

    // Image file helpers for `kt6383 simulate`: the whole memory, 23,745 bytes.
    bool LoadMemory(const QString& path, QString* error = nullptr);
    bool SaveMemory(const QString& path, QString* error = nullptr) const;

signals:
    void FrameReceived(const QByteArray& frame);

private:
    void OnReadable();
    void Parse();
    void Reply(const QByteArray& bytes, int inBytes);
    void Flush();
    void WriteNow(const QByteArray& bytes);
    bool Silent() const;
    qint64 ByteNs() const;
    static qint64 NowNs();
    qint64 Elapsed() const;   // ns since Start()

    SimOptions opt_;
    std::vector<uint8_t> mem_;
    int masterFd_ = -1;
    int slaveKeepFd_ = -1;
    int hungSlaveFd_ = -1;   // the slave of a hung-up pseudo-terminal
    QString slavePath_;
    QString error_;
    QSocketNotifier* notifier_ = nullptr;
    int timerFd_ = -1;
    QSocketNotifier* timerNotifier_ = nullptr;
    qint64 startNs_ = 0;
    QByteArray in_;
    qint64 lastInNs_ = 0;

    struct Pending { qint64 dueNs; QByteArray bytes; int logIndex = -1; };   // logIndex: on a reply's last piece
    QList<Pending> out_;
    qint64 wireFreeNs_ = 0;

    QList<Frame> log_;
    bool corruptDone_ = false;
    int dropsDone_ = 0;
    qint64 silentUntilNs_ = -1;   // -1: not silent; > 0: until then; INT64_MAX: for good
    bool silenceFresh_ = false;
    bool silentFromDone_ = false;
    int ends_ = 0;
    int blocksWritten_ = 0;
    int radio_ = 1;
};

}  // namespace kt
