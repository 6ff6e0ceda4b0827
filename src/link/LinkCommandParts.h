// What the link commands of the command-line tool share between their
// files: the parsed command line, messages on stderr, and the runs of several
// radios at once (BatchCommands.cpp).
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

namespace kt {

struct Workspace;
class LinkTrace;

namespace linkcmd {

// The options of every command that opens a port to a radio:
// --dtr on|off, --rts on|off and --trace FILE.
struct PortOptions {
    bool dtr = false, rts = false;
    QString trace;   // where the link trace goes ("-": standard output); empty: nowhere
};
// When args[i] is one of those options, takes it (and its value) and returns
// true; a missing or unknown value sets error (a usage error, exit 2).
bool TakePortOption(const QStringList& args, int& i, PortOptions& o, QString& error);
// Writes the trace to o.trace when given.  One that cannot be written is a
// line on stderr naming the file and the reason; the command's result stays
// as it is.  Returns false then.
bool SaveTraceFile(const LinkTrace& trace, const PortOptions& o, const QString& command);

// One line on stderr.
void Err(const QString& s);
// A message box text for a terminal: CR LF becomes a line break.
QString Plain(QString s);
bool IsImagePath(const QString& path);
// While one lives, SIGINT and SIGTERM call onStop from the event loop (the
// handler only writes a byte into a pipe); a second signal ends the process
// at once with status 130.  The handlers before it come back when it goes.
class StopSignals : public QObject {
public:
    explicit StopSignals(std::function<void()> onStop);
    ~StopSignals() override;
    // A signal came since the last StopSignals was made.
    static bool Caught();
};
// The exit status of a command stopped so.
constexpr int kExitStopped = 130;

struct LinkArgs {
    QString port;
    QStringList ports;
    QString root;
    bool help = false;
    QString file;
    bool yes = false;
    bool noBackup = false;
    bool allowMissingChannels = false;
    int radios = 0;
    bool verify = false, keepGoing = false;
    QString log;
    PortOptions portOptions;
    QString error;
    // Several ports, simulated radios by count, or anything only a batch does.
    bool Batch() const
    {
        return ports.size() > 1 || port.startsWith(QLatin1String("sim:")) || verify || keepGoing
               || !log.isEmpty();
    }
};

// kt6383 read / write with several ports, simulated radios by count, or
// anything only a batch does; the exit status.
int RunBatchRead(const LinkArgs& a, Workspace& ws);
int RunBatchWrite(const LinkArgs& a, const std::vector<uint8_t>& image, Workspace& ws);

}  // namespace linkcmd
}  // namespace kt
