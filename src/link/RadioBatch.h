// Several radios at once, one a port: each port has its own serial link,
// reply timer and state machine, and they all run on the one event loop (at
// 9600 baud a port needs a few microseconds of work between frames).  A
// port's question (a radio stopped answering, a block lost) waits in its row
// for Retry or Skip while the other ports go on.  The desktop window and the
// command line both drive this.
#pragma once

#include "link/LinkMachine.h"
#include "link/SerialLink.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

namespace kt {

class SimRadio;

enum class PortState {
    Waiting,       // not started yet
    Writing,
    Verifying,     // reading the radio back after writing it
    Reading,
    NextRadio,     // done with one radio, polling for the next one
    Question,      // waiting for Retry or Skip
    Done,
    Failed,
    Skipped,       // another model or firmware, or the user chose Skip
    Stopped,       // the batch was stopped while this port ran
};

struct BatchOptions {
    bool write = true;              // false: read each radio
    std::vector<uint8_t> image;     // what a write sends
    bool verify = false;            // read back after writing and compare
    // After a radio, wait for the next one on the same port.  A simulated
    // radio that is never unplugged takes no part: its port ends after it.
    bool keepGoing = false;
    QString jobFile;                // named in the job log
    QString logPath;                // the job log (CSV, appended); empty: none
    // A port's question waits in its row for AnswerRow; false: the radio
    // fails at once with the reason (nobody to ask).
    bool askQuestions = true;
};

// What a port did with one radio, as the job log keeps it.
struct RadioResult {
    QDateTime started, ended;
    QString port;
    QByteArray model, firmware;
    bool ok = false;
    QString result;                 // in words
    QString verify;                 // "" when not verified
};

struct PortRow {
    QString port;                   // the device path or port name given
    QString label;                  // as shown ("sim2" for a simulated radio)
    QByteArray model, firmware;
    bool extendedHf = false;
    bool identified = false;
    PortState state = PortState::Waiting;
    int percent = 0;
    QString detail;                 // the reason of a failure, the question, the last result
    LinkQuestion question = LinkQuestion::None;
    int written = 0, verified = 0, failed = 0, skipped = 0;
    int stopped = 0;                // radios stopped part-way through (a write leaves them half-written)
    std::vector<uint8_t> image;     // the last image read (reads)
};

struct BatchTotals {
    int written = 0, verified = 0, failed = 0, skipped = 0, stopped = 0;
};

class PortJob;

class RadioBatch : public QObject {
    Q_OBJECT
public:
    explicit RadioBatch(int language = 1, QObject* parent = nullptr);
    ~RadioBatch() override;

    void SetVersions(const VersionTable& versions);
    void SetLanguage(int language);
    int Language() const;

    // Ports are added before Start; a simulated radio is made for each sim.
    void AddPort(const QString& port);
    // count simulated radios, named sim1, sim2 ...; returns false (with why)
    // when no pseudo-terminal could be made.
    bool AddSimulated(int count, QString* why = nullptr);
    SimRadio* Simulator(int index) const;   // in the order added
    int SimulatorCount() const;

    // Opens every port and starts its radio; a port that cannot be opened
    // fails with the reason and the others start.  Returns at once.
    void Start(const BatchOptions& options);
    // Ends every port still running.  A radio stopped part-way says so in
    // its row (how far it got) and in the job log, and counts as stopped.
    void Stop();
    // The answer for a row's question: Retry (again from the handshake) or
    // anything else to skip the radio.
    void AnswerRow(int row, Answer a);

    int RowCount() const;
    const PortRow& Row(int row) const;
    bool Running() const;
    // A radio is being written, verified or read (or waits for Retry or Skip
    // part-way); false while every port waits for its next radio.
    bool Busy() const;
    BatchTotals Totals() const;
    // Every radio finished so far, in order of finishing.
    const QList<RadioResult>& Results() const { return results_; }
    // Set when the job log could not be written.
    QString LogError() const { return logError_; }

    // Called with every image a radio took or gave whole (a write before its
    // verify, a read), for the backups; what it returns, if not empty, is a
    // warning kept in BackupWarning().
    // port is the row's label (a device path, or "sim2").
    std::function<QString(int kind, const std::vector<uint8_t>& image, const QByteArray& model,
                          const QByteArray& firmware, const QString& port)>
        onImageDone;
    QString BackupWarning() const { return backupWarning_; }

    // State of a row in words, in the batch's language.
    QString StateText(const PortRow& row) const;

signals:
    void rowChanged(int row);
    void radioFinished(const RadioResult& result);
    void finished();   // every port has ended

private:
    friend class PortJob;
    void JobChanged(PortJob* job);
    void JobRadioDone(PortJob* job, const RadioResult& r);
    void JobEnded(PortJob* job);
    void AppendLog(const RadioResult& r);
    void ImageDone(int kind, const std::vector<uint8_t>& image, const PortRow& row);

    std::vector<std::unique_ptr<SimRadio>> sims_;
    std::vector<std::unique_ptr<PortJob>> jobs_;
    std::unique_ptr<Workspace> ws_;   // versions and language for the machines
    BatchOptions options_;
    QString imageSum_;
    QList<RadioResult> results_;
    QString logError_;
    QString backupWarning_;
    int running_ = 0;
};

// The command line's name of a port for file names: the last part of the
// device path ("ttyUSB0"), or the simulated radio's label.
QString PortFileLabel(const QString& label);

}  // namespace kt
