#include "link/LinkCommands.h"

#include "base/BoundedRead.h"
#include "link/LinkCommandParts.h"

#include "base/Messages.h"
#include "link/Backups.h"
#include "link/LinkTexts.h"
#include "link/LinkTrace.h"
#include "base/Versions.h"
#include "link/SimRadio.h"
#include "link/Transfer.h"
#include "model/Codec.h"
#include "model/DataFile.h"
#include "model/Defaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace kt {

#define PORT_OPTIONS_HELP \
    "  --dtr on|off, --rts on|off   the port's control lines during the transfer (both off\n" \
    "                unless told: a raised RTS keys the transmitter through some interfaces)\n" \
    "  --trace FILE  writes the link trace (every frame with its time and meaning, the port,\n" \
    "                its lines and low-latency result) to FILE ('-': standard output), also\n" \
    "                when the transfer fails; one port only\n"

const char* const kReadUsage =
    "usage: kt6383 read --port DEV [--port DEV ...] [--yes] [--no-backup] [--dtr on|off] [--rts on|off]\n"
    "                   [--trace FILE] [--root DIR] OUT\n"
    "  Reads the radio on DEV (a device such as /dev/ttyUSB0, or 'sim' for the built-in\n"
    "  simulated radio) into OUT: a data file pair (x.dat with x.fre) or a raw image (x.img).\n"
    "  Several --port options read their radios at once; OUT then names each file with\n"
    "  {port}, as in 'out-{port}.img'.  --port sim:N adds N simulated radios.\n"
    "  Every image read is also kept in the backups (kt6383 backups) unless --no-backup.\n"
    "  Ctrl+C ends the block under way and sends End; nothing is saved and the status is 130.\n"
    PORT_OPTIONS_HELP;
const char* const kWriteUsage =
    "usage: kt6383 write --port DEV [--port DEV ...] [--yes] [--radios N] [--verify]\n"
    "                    [--keep-going] [--log JOBS.csv] [--no-backup] [--allow-missing-channels]\n"
    "                    [--dtr on|off] [--rts on|off] [--trace FILE] [--root DIR] IN\n"
    "  Writes IN (a data file pair x.dat, or a raw image x.img) into the radio on DEV;\n"
    "  with --radios N, into N radios one after another (swap the radio after each).\n"
    "  --yes skips the confirmation; questions are asked on a terminal, else answered Cancel.\n"
    "  Several --port options (--port sim:N adds N simulated radios) write their radios at\n"
    "  once, one progress line a port; a port whose radio fails ends with its reason and\n"
    "  the others go on.  --verify reads each radio back and compares; --keep-going writes\n"
    "  every radio plugged into these ports in turn until Ctrl+C (a simulated radio, never\n"
    "  unplugged, is written once); --log appends one CSV row a radio.  Ctrl+C stops a radio\n"
    "  part-way, which then holds part of the old and part of the new data: its line and\n"
    "  its log row say so.  The exit status is 0 only when every port succeeded.\n"
    "  The image written is also kept in the backups (kt6383 backups) unless --no-backup,\n"
    "  once for each port that wrote a radio, and for a radio stopped part-way.\n"
    "  Ctrl+C ends the block under way and sends End, so the radio leaves programming\n"
    "  mode; the status is then 130.  A second Ctrl+C ends at once.\n"
    "  A pair whose channel file is missing, short or not a file is refused unless\n"
    "  --allow-missing-channels says to write it without those channels.\n"
    PORT_OPTIONS_HELP;
const char* const kSimulateUsage =
    "usage: kt6383 simulate [options]\n"
    "  Runs a simulated radio on a pseudo-terminal and prints its device path.\n"
    "  Its memory starts as a radio fresh from the factory: the program's new-document\n"
    "  defaults for the band class (--band-class 0: HF band, 1: HAM band, the default).\n"
    "  --band-class 0|1            the band class of those defaults\n"
    "  --blank                     start with erased memory (all 0xFF) instead\n"
    "  --image IMG (or --load IMG) / --save IMG   memory from / to a 23,745-byte image file\n"
    "  --model TEXT --firmware V --extended    what the identification reports\n"
    "  --baud N                    pace the replies as a line at N baud\n"
    "  --silent                    never answer\n"
    "  --ack-only-handshake        answer the handshake with 0x06 alone\n"
    "  --corrupt-at ADDR           one wrong checksum in the reply for ADDR\n"
    "  --drop-at ADDR [--drop-count N]   leave the block at ADDR unanswered (N times)\n"
    "  --stuck-at ADDR             a memory byte at ADDR that ignores writes (a verify fails)\n"
    "  --no-end-ack                do not acknowledge END\n"
    "  --silent-after-end SEC [--fresh]  go silent after END (then be a fresh radio)\n"
    "  --silent-from ADDR [--for SEC]    go silent at ADDR (for SEC seconds)\n"
    "  --chunk N                   deliver replies in pieces of N bytes\n"
    "  --log FILE                  every frame received ('<' ) and reply sent ('>') in hex, one a line\n";

namespace linkcmd {

void Err(const QString& s) { std::fprintf(stderr, "%s\n", s.toLocal8Bit().constData()); }

QString Plain(QString s) { return s.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

bool IsImagePath(const QString& path) { return path.endsWith(QStringLiteral(".img"), Qt::CaseInsensitive); }

namespace {
// The self-pipe: the handler writes a byte, the event loop reads it.
int g_stopPipe[2] = {-1, -1};
volatile std::sig_atomic_t g_stops = 0;
struct sigaction g_oldInt {}, g_oldTerm {};

void OnStopSignal(int)
{
    if (g_stops > 0) _exit(kExitStopped);   // the second Ctrl+C: at once
    g_stops = 1;
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_stopPipe[1], &byte, 1);
    errno = saved;
}
}  // namespace

StopSignals::StopSignals(std::function<void()> onStop)
{
    if (g_stopPipe[0] < 0 && ::pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    char buf[16];
    while (::read(g_stopPipe[0], buf, sizeof buf) > 0) {}
    g_stops = 0;
    auto* notifier = new QSocketNotifier(g_stopPipe[0], QSocketNotifier::Read, this);
    QObject::connect(notifier, &QSocketNotifier::activated, this, [onStop = std::move(onStop)] {
        char drained[16];
        while (::read(g_stopPipe[0], drained, sizeof drained) > 0) {}
        if (onStop) onStop();
    });
    // No SA_RESTART: a question waiting on the terminal is answered Cancel.
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, &g_oldInt);
    ::sigaction(SIGTERM, &sa, &g_oldTerm);
}

StopSignals::~StopSignals()
{
    ::sigaction(SIGINT, &g_oldInt, nullptr);
    ::sigaction(SIGTERM, &g_oldTerm, nullptr);
}

bool StopSignals::Caught() { return g_stops > 0; }

bool TakePortOption(const QStringList& args, int& i, PortOptions& o, QString& error)
{
    const QString& w = args[i];
    if (w != QLatin1String("--dtr") && w != QLatin1String("--rts") && w != QLatin1String("--trace")) return false;
    if (i + 1 >= args.size()) {
        error = w + QStringLiteral(" needs a value");
        return true;
    }
    const QString v = args[++i];
    if (w == QLatin1String("--trace")) {
        if (v.isEmpty()) error = QStringLiteral("--trace needs a file");
        o.trace = v;
        return true;
    }
    if (v != QLatin1String("on") && v != QLatin1String("off")) {
        error = QStringLiteral("%1 takes on or off, not '%2'").arg(w, v);
        return true;
    }
    (w == QLatin1String("--dtr") ? o.dtr : o.rts) = v == QLatin1String("on");
    return true;
}

bool SaveTraceFile(const LinkTrace& trace, const PortOptions& o, const QString& command)
{
    if (o.trace.isEmpty()) return true;
    if (o.trace == QLatin1String("-")) {
        const QByteArray text = trace.Text().toUtf8();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        std::fflush(stdout);
        return true;
    }
    QString why;
    if (trace.SaveTo(o.trace, &why)) return true;
    Err(QStringLiteral("kt6383 %1: %2").arg(command, link_txt::TraceUnwritable.in(English).arg(o.trace, why)));
    return false;
}

}  // namespace linkcmd

using namespace linkcmd;

namespace {

// Questions on the terminal; without one every question is answered Cancel (or No).
class TerminalAsker : public Asker {
public:
    Answer ask(const QString& text, Buttons buttons, Icon, bool) override
    {
        std::fprintf(stderr, "%s%s\n", progressShown ? "\n" : "", Plain(text).toLocal8Bit().constData());
        progressShown = false;
        if (buttons == Buttons::Ok) return Answer::Ok;
        struct Choice { const char* prompt; Answer first; Answer second; };
        Choice c{"[o]k/[c]ancel", Answer::Ok, Answer::Cancel};
        if (buttons == Buttons::RetryCancel) c = {"[r]etry/[c]ancel", Answer::Retry, Answer::Cancel};
        if (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) c = {"[y]es/[n]o", Answer::Yes, Answer::No};
        if (!isatty(0)) {
            std::fprintf(stderr, "(no terminal: %s)\n", c.second == Answer::No ? "no" : "cancel");
            return c.second;
        }
        for (;;) {
            std::fprintf(stderr, "%s? ", c.prompt);
            char line[64];
            if (!std::fgets(line, sizeof line, stdin)) return c.second;
            const char k = char(std::tolower(static_cast<unsigned char>(line[0])));
            if (k == 'o' || k == 'r' || k == 'y') return c.first;
            if (k == 'c' || k == 'n') return c.second;
        }
    }
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    bool progressShown = false;
};

LinkArgs ParseLinkArgs(const QStringList& args, bool allowRadios)
{
    LinkArgs a;
    for (int i = 0; i < args.size(); ++i) {
        const QString& w = args[i];
        if (w == "--help" || w == "-h") a.help = true;
        else if (TakePortOption(args, i, a.portOptions, a.error)) continue;
        else if (w == "--port" && i + 1 < args.size()) {
            a.port = args[++i];
            a.ports << a.port;
        } else if (allowRadios && w == "--verify") a.verify = true;
        else if (allowRadios && w == "--keep-going") a.keepGoing = true;
        else if (allowRadios && w == "--log" && i + 1 < args.size()) a.log = args[++i];
        else if (w == "--root" && i + 1 < args.size()) a.root = args[++i];
        else if (w == "--yes" || w == "-y") a.yes = true;
        else if (w == "--no-backup") a.noBackup = true;
        else if (allowRadios && w == "--allow-missing-channels") a.allowMissingChannels = true;
        else if (allowRadios && w == "--radios" && i + 1 < args.size()) {
            bool ok = false;
            a.radios = args[++i].toInt(&ok);
            if (!ok || a.radios < 1) a.error = QStringLiteral("--radios needs a number of at least 1");
        } else if (w.startsWith("--")) a.error = QStringLiteral("unknown option ") + w;
        else if (a.file.isEmpty()) a.file = w;
        else a.error = QStringLiteral("more than one file given");
    }
    for (const QString& p : a.ports) {
        if (!p.startsWith(QLatin1String("sim:")) || !a.error.isEmpty()) continue;
        bool ok = false;
        if (p.mid(4).toInt(&ok) < 1 || !ok)
            a.error = QStringLiteral("--port %1: sim:N needs a number of at least 1").arg(p);
    }
    if (a.help) a.error.clear();
    else if (a.error.isEmpty() && a.port.isEmpty()) a.error = QStringLiteral("--port is missing");
    if (a.error.isEmpty() && a.file.isEmpty()) a.error = QStringLiteral("no file given");
    if (a.error.isEmpty() && a.Batch() && a.radios > 0)
        a.error = QStringLiteral("--radios is for one port; with several use --keep-going");
    if (a.error.isEmpty() && a.Batch() && !a.portOptions.trace.isEmpty())
        a.error = QStringLiteral("--trace is for one port");
    return a;
}


void EnsureApp()
{
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "kt6383";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// The workspace of the tool: the installation around its executable.
std::unique_ptr<Workspace> ToolWorkspace(Asker& asker, const QString& root)
{
    auto ws = std::make_unique<Workspace>();
    ws->ProgramDir = QCoreApplication::applicationDirPath();
    ws->InstallRoot = root.isEmpty() ? QFileInfo(ws->ProgramDir).absolutePath() : root;
    ws->Versions = LoadVersionTable(ws->InstallRoot);
    ws->asker = &asker;
    return ws;
}

// The transfer with a progress bar on a terminal.
struct LinkRun {
    TerminalAsker asker;
    std::unique_ptr<Workspace> ws;
    std::unique_ptr<SimRadio> sim;
    std::unique_ptr<Transfer> transfer;
    // Keeps an image read or written in the backups (none with --no-backup).
    std::function<void(int kind, const std::vector<uint8_t>& image)> backUp;

    LinkRun(const LinkArgs& a, const char* command)
    {
        EnsureApp();
        ws = ToolWorkspace(asker, a.root);
        ws->portDtr = a.portOptions.dtr;
        ws->portRts = a.portOptions.rts;
        transfer = std::make_unique<Transfer>(*ws);
        transfer->SetConfirm(!a.yes);
        // The image read or written goes to the backups first; one that
        // cannot be saved is a warning, the transfer goes on.
        if (!a.noBackup) {
            BackupStore::TakeOverOlderDefault();
            backUp = [this, command](int kind, const std::vector<uint8_t>& image) {
                QSettings settings(QStringLiteral("KT-6383 Pro"), QStringLiteral("KT-6383 Pro"));
                const QString warning = BackUpTransfer(BackupStore::DefaultFolder(), BackupLimit(settings), kind,
                                                       image, *ws, transfer->PortLabel(), transfer->Trace().Text());
                if (!warning.isEmpty()) Err(QStringLiteral("kt6383 %1: warning: %2").arg(command, warning));
            };
            transfer->onImageDone = backUp;
        }
        // The tool starts no other program, so there is nothing to ask: say
        // what the question would have said; the transfer then ends with End.
        transfer->onIncompatibleFirmware = [this](const QString& v) {
            const QString soft = SoftwareFor(ws->Versions, v);
            Err(QStringLiteral("kt6383: the radio's firmware %1 does not suit this program (software %2); %3")
                    .arg(VersionText(v), VersionText(QString::fromLatin1(kDataVersion)),
                         soft.isEmpty() ? QStringLiteral("the version registry names no software version for it")
                                        : QStringLiteral("the version registry names software %1 for it")
                                              .arg(VersionText(soft))));
        };
        if (a.port == QLatin1String("sim")) {
            sim = std::make_unique<SimRadio>();
            transfer->SetSimulator(sim.get());
            transfer->SetPortOverride(kSimulatedPortKey);
        } else {
            transfer->SetPortOverride(a.port);
        }
        if (isatty(2)) {
            transfer->onPercent = [this](int p) {
                const int filled = p * 40 / 100;
                std::fprintf(stderr, "\r[%s%s] %3d%%", QByteArray(filled, '#').constData(),
                             QByteArray(40 - filled, '.').constData(), p);
                std::fflush(stderr);
                asker.progressShown = true;
            };
        }
    }

    // Ctrl+C ended the transfer of this kind: what the radio holds now, on
    // stderr; a write's image stays in the backups.  The exit status.
    int Stopped(int kind)
    {
        if (asker.progressShown) std::fputc('\n', stderr);
        const LinkMachine& m = transfer->Machine();
        QString text;
        if (kind == kRead) {
            text = ws->T(link_txt::StoppedReadNothingSaved).arg(m.Percent());
        } else if (!m.BlocksSent()) {
            text = ws->T(link_txt::StoppedUnchanged);
        } else {
            text = ws->T(link_txt::StoppedWriting).arg(m.Percent()) + ws->T(link_txt::FullStop);
            if (backUp) backUp(kWrite, m.Image());
        }
        Err(text);
        return kExitStopped;
    }
};

}  // namespace

int RunReadCommand(const QStringList& args)
{
    const LinkArgs a = ParseLinkArgs(args, false);
    if (a.help) {
        std::fputs(kReadUsage, stdout);
        return 0;
    }
    if (!a.error.isEmpty()) {
        Err(QStringLiteral("kt6383 read: ") + a.error);
        std::fputs(kReadUsage, stderr);
        return 2;
    }
    LinkRun run(a, "read");
    Workspace& ws = *run.ws;
    if (a.Batch()) return RunBatchRead(a, ws);
    const bool image = IsImagePath(a.file);
    if (!image) InitDefaults(ws);   // what the image does not hold comes from the new-document template
    StopSignals stops([&run] { run.transfer->RequestStop(); });
    const bool read = run.transfer->Read();
    SaveTraceFile(run.transfer->Trace(), a.portOptions, QStringLiteral("read"));
    if (!read) {
        if (run.transfer->Stopped() || StopSignals::Caught()) return run.Stopped(kRead);
        Err(QStringLiteral("kt6383 read: the radio was not read"));
        return 1;
    }
    if (image) {
        QFile f(a.file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || f.write(reinterpret_cast<const char*>(ws.MemImage.data()), qint64(ws.MemImage.size()))
                   != qint64(ws.MemImage.size())) {
            Err(QStringLiteral("kt6383 read: cannot write %1: %2").arg(a.file, f.errorString()));
            return 1;
        }
        return 0;
    }
    ws.CurrentFile = a.file;
    const FileResult r = SaveDataFile(ws);
    if (r.kind != FileResult::Done) {
        Err(QStringLiteral("kt6383 read: cannot save %1: %2").arg(a.file, Plain(r.message)));
        return 1;
    }
    return 0;
}

int RunWriteCommand(const QStringList& args)
{
    const LinkArgs a = ParseLinkArgs(args, true);
    if (a.help) {
        std::fputs(kWriteUsage, stdout);
        return 0;
    }
    if (!a.error.isEmpty()) {
        Err(QStringLiteral("kt6383 write: ") + a.error);
        std::fputs(kWriteUsage, stderr);
        return 2;
    }
    LinkRun run(a, "write");
    Workspace& ws = *run.ws;
    std::vector<uint8_t> givenImage;
    if (IsImagePath(a.file)) {
        const BoundedRead read = ReadBounded(a.file, kImageSize);
        if (!read.ok() && read.status != BoundedRead::TooLarge) {
            Err(QStringLiteral("kt6383 write: %1: %2").arg(a.file, read.why(ws.CurrentLanguage, kImageSize)));
            return 1;
        }
        const QByteArray& b = read.bytes;
        if (!read.ok() || b.size() != kImageSize) {
            Err(QStringLiteral("kt6383 write: %1 is not a memory image of %2 bytes").arg(a.file).arg(kImageSize));
            return 1;
        }
        givenImage.assign(b.begin(), b.end());
        run.transfer->SetImage(givenImage);
    } else {
        InitDefaults(ws);
        ws.CurrentFile = a.file;
        const FileResult r = OpenDataFile(ws);
        if (r.kind != FileResult::Done) {
            Err(QStringLiteral("kt6383 write: %1: %2").arg(a.file, Plain(r.message)));
            return 1;
        }
        if (!r.notice.isEmpty()) Err(QStringLiteral("kt6383 write: %1: %2").arg(a.file, Plain(r.notice)));
        if (ws.ChannelsUnread > 0) {
            if (!a.allowMissingChannels) {
                Err(QStringLiteral("kt6383 write: %1: %2")
                        .arg(ChannelFileOf(a.file), ws.T(msg::ChannelsMissingRefused).arg(ws.ChannelsUnread)));
                return 1;
            }
            ws.ChannelsUnread = 0;   // written without them, as the command line says
        }
    }
    if (a.Batch()) {
        if (!IsImagePath(a.file)) {
            ClearImage(ws);
            EncodeImage(ws);
        } else {
            ws.MemImage = givenImage;
        }
        return RunBatchWrite(a, ws.MemImage, ws);
    }
    StopSignals stops([&run] { run.transfer->RequestStop(); });
    const bool ok = a.radios > 0 ? run.transfer->WriteGroup(a.radios) : run.transfer->Write();
    SaveTraceFile(run.transfer->Trace(), a.portOptions, QStringLiteral("write"));
    if (!ok) {
        if (run.transfer->Stopped() || StopSignals::Caught()) return run.Stopped(kWrite);
        Err(QStringLiteral("kt6383 write: the radio was not written"));
        return 1;
    }
    return 0;
}

namespace {
bool NumberArg(const QStringList& args, int& i, double& out)
{
    if (i + 1 >= args.size()) return false;
    bool ok = false;
    const QString w = args[++i];
    out = w.startsWith("0x", Qt::CaseInsensitive) ? double(w.mid(2).toInt(&ok, 16)) : w.toDouble(&ok);
    return ok;
}
}  // namespace

int RunSimulateCommand(const QStringList& args)
{
    EnsureApp();
    SimOptions opt;
    QString load, save, logPath;
    for (int i = 0; i < args.size(); ++i) {
        const QString& w = args[i];
        double v = 0;
        bool ok = true;
        if (w == "--help" || w == "-h") {
            std::fputs(kSimulateUsage, stdout);
            return 0;
        }
        if ((w == "--load" || w == "--image") && i + 1 < args.size()) load = args[++i];
        else if (w == "--band-class" && i + 1 < args.size()) {
            const QString c = args[++i];
            ok = c == "0" || c == "1";
            opt.bandClass = c.toInt();
        }
        else if (w == "--blank") opt.bandClass = -1;
        else if (w == "--save" && i + 1 < args.size()) save = args[++i];
        else if (w == "--log" && i + 1 < args.size()) logPath = args[++i];
        else if (w == "--model" && i + 1 < args.size()) opt.model = args[++i].toLatin1();
        else if (w == "--firmware" && i + 1 < args.size()) opt.firmware = args[++i].toLatin1();
        else if (w == "--extended") opt.extendedFlag = 1;
        else if (w == "--silent") opt.silent = true;
        else if (w == "--ack-only-handshake") opt.ackOnlyHandshake = true;
        else if (w == "--no-end-ack") opt.noEndAck = true;
        else if (w == "--fresh") opt.freshAfterSilence = true;
        else if (w == "--baud") { ok = NumberArg(args, i, v); opt.baud = int(v); }
        else if (w == "--corrupt-at") { ok = NumberArg(args, i, v); opt.corruptChecksumAt = int(v); }
        else if (w == "--drop-at") { ok = NumberArg(args, i, v); opt.dropBlockAt = int(v); }
        else if (w == "--stuck-at") { ok = NumberArg(args, i, v); opt.stuckByteAt = int(v); }
        else if (w == "--drop-count") { ok = NumberArg(args, i, v); opt.dropCount = int(v); }
        else if (w == "--silent-after-end") { ok = NumberArg(args, i, v); opt.silentAfterEnd = v; }
        else if (w == "--silent-from") { ok = NumberArg(args, i, v); opt.silentFromAddr = int(v); }
        else if (w == "--for") { ok = NumberArg(args, i, v); opt.silentFromSeconds = v; }
        else if (w == "--chunk") { ok = NumberArg(args, i, v); opt.chunk = int(v); }
        else ok = false;
        if (!ok) {
            Err(QStringLiteral("kt6383 simulate: bad option ") + w);
            std::fputs(kSimulateUsage, stderr);
            return 2;
        }
    }
    SimRadio sim(opt);
    if (!load.isEmpty()) {
        QString why;
        if (!sim.LoadMemory(load, &why)) {
            Err(QStringLiteral("kt6383 simulate: cannot load %1: %2").arg(load, why));
            return 1;
        }
    }
    if (!sim.Start()) {
        Err(QStringLiteral("kt6383 simulate: no pseudo-terminal: ") + sim.ErrorText());
        return 1;
    }
    // The frames as the radio saw them, written out as they come (what a
    // trace of the program's side can be held against).
    QFile logFile(logPath);
    if (!logPath.isEmpty() && !logFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        Err(QStringLiteral("kt6383 simulate: cannot write %1: %2").arg(logPath, logFile.errorString()));
        return 1;
    }
    int logged = 0;
    auto writeLog = [&] {
        if (!logFile.isOpen()) return;
        const auto& log = sim.Log();
        for (; logged < log.size(); ++logged)
            logFile.write((log[logged].fromProgram ? "< " : "> ") + log[logged].bytes.toHex(' ').toUpper() + '\n');
        logFile.flush();
    };
    std::printf("%s\n", sim.DevicePath().toLocal8Bit().constData());
    std::fflush(stdout);

    bool saveFailed = false;
    auto saveNow = [&] {
        QString why;
        if (!save.isEmpty() && !sim.SaveMemory(save, &why)) {
            Err(QStringLiteral("kt6383 simulate: cannot save %1: %2").arg(save, why));
            saveFailed = true;
        }
    };
    // The memory is saved after every END, so a stopped simulator loses nothing.
    QObject::connect(&sim, &SimRadio::FrameReceived, [&](const QByteArray& f) {
        writeLog();
        if (f == QByteArray("END")) saveNow();
    });
    StopSignals stops([] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    writeLog();
    saveNow();
    return saveFailed ? 1 : 0;
}

}  // namespace kt
