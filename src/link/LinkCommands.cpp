#include "link/LinkCommands.h"

#include "base/Messages.h"
#include "link/Backups.h"
#include "base/Versions.h"
#include "link/RadioBatch.h"
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
#include <QTimer>

#include <csignal>
#include <functional>
#include <cstdio>
#include <unistd.h>

namespace kt {

const char* const kReadUsage =
    "usage: kt6383 read --port DEV [--port DEV ...] [--yes] [--no-backup] [--root DIR] OUT\n"
    "  Reads the radio on DEV (a device such as /dev/ttyUSB0, or 'sim' for the built-in\n"
    "  simulated radio) into OUT: a data file pair (x.dat with x.fre) or a raw image (x.img).\n"
    "  Several --port options read their radios at once; OUT then names each file with\n"
    "  {port}, as in 'out-{port}.img'.  --port sim:N adds N simulated radios.\n"
    "  Every image read is also kept in the backups (kt6383 backups) unless --no-backup.\n";
const char* const kWriteUsage =
    "usage: kt6383 write --port DEV [--port DEV ...] [--yes] [--radios N] [--verify]\n"
    "                    [--keep-going] [--log JOBS.csv] [--no-backup] [--root DIR] IN\n"
    "  Writes IN (a data file pair x.dat, or a raw image x.img) into the radio on DEV;\n"
    "  with --radios N, into N radios one after another (swap the radio after each).\n"
    "  --yes skips the confirmation; questions are asked on a terminal, else answered Cancel.\n"
    "  Several --port options (--port sim:N adds N simulated radios) write their radios at\n"
    "  once, one progress line a port; a port whose radio fails ends with its reason and\n"
    "  the others go on.  --verify reads each radio back and compares; --keep-going writes\n"
    "  every radio plugged into these ports in turn until Ctrl+C; --log appends one CSV\n"
    "  row a radio.  The exit status is 0 only when every port succeeded.\n"
    "  The image written is also kept in the backups (kt6383 backups) unless --no-backup,\n"
    "  once for each port that wrote a radio.\n";
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
    "  --chunk N                   deliver replies in pieces of N bytes\n";

namespace {

void Err(const QString& s) { std::fprintf(stderr, "%s\n", s.toLocal8Bit().constData()); }

QString Plain(QString s) { return s.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

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

struct LinkArgs {
    QString port;
    QStringList ports;
    QString root;
    bool help = false;
    QString file;
    bool yes = false;
    bool noBackup = false;
    int radios = 0;
    bool verify = false, keepGoing = false;
    QString log;
    QString error;
    // Several ports, simulated radios by count, or anything only a batch does.
    bool Batch() const
    {
        return ports.size() > 1 || port.startsWith(QLatin1String("sim:")) || verify || keepGoing
               || !log.isEmpty();
    }
};

LinkArgs ParseLinkArgs(const QStringList& args, bool allowRadios)
{
    LinkArgs a;
    for (int i = 0; i < args.size(); ++i) {
        const QString& w = args[i];
        if (w == "--help" || w == "-h") a.help = true;
        else if (w == "--port" && i + 1 < args.size()) {
            a.port = args[++i];
            a.ports << a.port;
        } else if (allowRadios && w == "--verify") a.verify = true;
        else if (allowRadios && w == "--keep-going") a.keepGoing = true;
        else if (allowRadios && w == "--log" && i + 1 < args.size()) a.log = args[++i];
        else if (w == "--root" && i + 1 < args.size()) a.root = args[++i];
        else if (w == "--yes" || w == "-y") a.yes = true;
        else if (w == "--no-backup") a.noBackup = true;
        else if (allowRadios && w == "--radios" && i + 1 < args.size()) {
            bool ok = false;
            a.radios = args[++i].toInt(&ok);
            if (!ok || a.radios < 1) a.error = QStringLiteral("--radios needs a number of at least 1");
        } else if (w.startsWith("--")) a.error = QStringLiteral("unknown option ") + w;
        else if (a.file.isEmpty()) a.file = w;
        else a.error = QStringLiteral("more than one file given");
    }
    if (a.help) a.error.clear();
    else if (a.error.isEmpty() && a.port.isEmpty()) a.error = QStringLiteral("--port is missing");
    if (a.error.isEmpty() && a.file.isEmpty()) a.error = QStringLiteral("no file given");
    if (a.error.isEmpty() && a.Batch() && a.radios > 0)
        a.error = QStringLiteral("--radios is for one port; with several use --keep-going");
    return a;
}

bool IsImagePath(const QString& path) { return path.endsWith(QStringLiteral(".img"), Qt::CaseInsensitive); }

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

    LinkRun(const LinkArgs& a, const char* command)
    {
        EnsureApp();
        ws = ToolWorkspace(asker, a.root);
        transfer = std::make_unique<Transfer>(*ws);
        transfer->SetConfirm(!a.yes);
        // The image read or written goes to the backups first; one that
        // cannot be saved is a warning, the transfer goes on.
        if (!a.noBackup)
            transfer->onImageDone = [this, command](int kind, const std::vector<uint8_t>& image) {
                QSettings settings(QStringLiteral("KT-6383 Pro"), QStringLiteral("KT-6383 Pro"));
                const QString warning =
                    BackUpTransfer(BackupStore::DefaultFolder(), BackupLimit(settings), kind, image, *ws);
                if (!warning.isEmpty()) Err(QStringLiteral("kt6383 %1: warning: %2").arg(command, warning));
            };
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
};

volatile std::sig_atomic_t g_stop = 0;
void OnStopSignal(int) { g_stop = 1; }

// Stops the event loop (or calls onStop) once SIGINT or SIGTERM came.
void WatchStopSignals(QTimer& poll, const std::function<void()>& onStop)
{
    g_stop = 0;
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    QObject::connect(&poll, &QTimer::timeout, [onStop] {
        if (g_stop) onStop();
    });
    poll.start(100);
}

// The output file of a port: {port} replaced by the port's name.
QString PortFile(const QString& pattern, const PortRow& row)
{
    QString f = pattern;
    return f.replace(QStringLiteral("{port}"), PortFileLabel(row.label));
}

// The ports of a batch run, with the progress of each on a terminal: one
// line a port, redrawn in place; elsewhere a line each time a port's state changes.
class BatchRun {
public:
    BatchRun(const LinkArgs& a, const Workspace& ws) : a_(a), batch_(ws.CurrentLanguage)
    {
        batch_.SetVersions(ws.Versions);
        tty_ = isatty(2);
    }

    bool AddPorts()
    {
        for (const QString& p : a_.ports) {
            if (p.startsWith(QLatin1String("sim:")) || p == QLatin1String("sim")) {
                bool ok = true;
                const int n = p == QLatin1String("sim") ? 1 : p.mid(4).toInt(&ok);
                QString why;
                if (!ok || n < 1) {
                    Err(QStringLiteral("kt6383: --port sim:N needs a number of at least 1"));
                    return false;
                }
                if (!batch_.AddSimulated(n, &why)) {
                    Err(QStringLiteral("kt6383: no pseudo-terminal for a simulated radio: ") + why);
                    return false;
                }
            } else {
                batch_.AddPort(p);
            }
        }
        return true;
    }

    RadioBatch& Batch() { return batch_; }

    // Every image read or written goes to the backups, as for one radio.
    void BackUpImages()
    {
        batch_.onImageDone = [this](int kind, const std::vector<uint8_t>& image, const QByteArray& model,
                                    const QByteArray& firmware) {
            QSettings settings(QStringLiteral("KT-6383 Pro"), QStringLiteral("KT-6383 Pro"));
            return BackUpImage(BackupStore::DefaultFolder(), BackupLimit(settings), kind, image, model, firmware,
                               batch_.Language());
        };
    }

    // Runs until every port has ended (Ctrl+C stops them); the exit status.
    int Run(const BatchOptions& o)
    {
        QObject::connect(&batch_, &RadioBatch::rowChanged, [this](int row) { Changed(row); });
        QTimer redraw;
        QObject::connect(&redraw, &QTimer::timeout, [this] { Draw(); });
        if (tty_) redraw.start(200);
        QTimer poll;
        WatchStopSignals(poll, [this] { batch_.Stop(); });
        bool done = false;
        QObject::connect(&batch_, &RadioBatch::finished, [&] { done = true; });
        last_.assign(size_t(batch_.RowCount()), PortState(-1));
        if (tty_) for (int i = 0; i < batch_.RowCount(); ++i) std::fputc('\n', stderr);
        batch_.Start(o);
        while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (tty_) Draw();
        const BatchTotals t = batch_.Totals();
        if (o.write)
            std::fprintf(stderr, "%d written, %d verified, %d failed, %d skipped\n", t.written, t.verified,
                         t.failed, t.skipped);
        else
            std::fprintf(stderr, "%d read, %d failed, %d skipped\n", t.written, t.failed, t.skipped);
        if (!batch_.LogError().isEmpty()) Err(QStringLiteral("kt6383: ") + batch_.LogError());
        if (!batch_.BackupWarning().isEmpty()) Err(QStringLiteral("kt6383: warning: ") + batch_.BackupWarning());
        bool allOk = true;
        for (int i = 0; i < batch_.RowCount(); ++i) {
            const PortRow& r = batch_.Row(i);
            const bool ok = r.state == PortState::Done
                            || (o.keepGoing && r.state == PortState::Stopped && r.failed + r.skipped == 0);
            if (!ok) {
                allOk = false;
                if (!tty_) continue;   // already printed with its state
                Err(QStringLiteral("%1: %2").arg(r.label, r.detail.isEmpty() ? batch_.StateText(r) : r.detail));
            }
        }
        return allOk && batch_.LogError().isEmpty() ? 0 : 1;
    }

private:
    QString Line(const PortRow& r) const
    {
        QString text = QStringLiteral("%1  %2 %3  %4%  %5")
                           .arg(r.label, -14)
                           .arg(QString::fromLatin1(r.model), -7)
                           .arg(QString::fromLatin1(r.firmware), -4)
                           .arg(r.percent, 3)
                           .arg(batch_.StateText(r));
        if (!r.detail.isEmpty() && r.state != PortState::Writing && r.state != PortState::Reading
            && r.state != PortState::Verifying)
            text += QStringLiteral(": ") + Plain(r.detail);
        if (a_.keepGoing) text += QStringLiteral("  (%1 written)").arg(r.written);
        return text;
    }

    void Changed(int row)
    {
        if (tty_) return;   // the redraw shows it
        const PortRow& r = batch_.Row(row);
        if (last_[size_t(row)] == r.state) return;
        last_[size_t(row)] = r.state;
        Err(Line(r));
    }

    void Draw()
    {
        const int n = batch_.RowCount();
        std::fprintf(stderr, "\x1b[%dA", n);
        for (int i = 0; i < n; ++i)
            std::fprintf(stderr, "\r\x1b[2K%s\n", Line(batch_.Row(i)).toLocal8Bit().constData());
        std::fflush(stderr);
    }

    const LinkArgs& a_;
    RadioBatch batch_;
    bool tty_ = false;
    std::vector<PortState> last_;
};

int RunBatchRead(const LinkArgs& a, Workspace& ws)
{
    if (a.ports.size() + (a.port.startsWith(QLatin1String("sim:")) ? 1 : 0) > 1
        && !a.file.contains(QStringLiteral("{port}"))) {
        Err(QStringLiteral("kt6383 read: with several radios OUT must hold {port}, as in 'out-{port}.img'"));
        return 2;
    }
    if (!a.yes && ws.Ask(ws.T(msg::ReadConfirm), Buttons::OkCancel, Icon::Question) != Answer::Ok) return 1;
    BatchRun run(a, ws);
    if (!run.AddPorts()) return 1;
    if (!a.noBackup) run.BackUpImages();
    BatchOptions o;
    o.write = false;
    o.askQuestions = false;
    int status = run.Run(o);
    RadioBatch& batch = run.Batch();
    for (int i = 0; i < batch.RowCount(); ++i) {
        const PortRow& r = batch.Row(i);
        if (r.state != PortState::Done) continue;
        const QString path = PortFile(a.file, r);
        QString why;
        if (IsImagePath(path)) {
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)
                || f.write(reinterpret_cast<const char*>(r.image.data()), qint64(r.image.size()))
                       != qint64(r.image.size()))
                why = f.errorString();
        } else {
            auto job = std::make_unique<Workspace>();
            job->InstallRoot = ws.InstallRoot;
            job->ProgramDir = ws.ProgramDir;
            job->Versions = ws.Versions;
            job->asker = ws.asker;
            InitDefaults(*job);
            job->ExtendedHf = r.extendedHf;
            job->RadioVersion = r.firmware;
            job->MemImage = r.image;
            DecodeImage(*job);
            job->CurrentFile = path;
            const FileResult fr = SaveDataFile(*job);
            if (fr.kind != FileResult::Done) why = Plain(fr.message);
        }
        if (!why.isEmpty()) {
            Err(QStringLiteral("kt6383 read: cannot save %1: %2").arg(path, why));
            status = 1;
        }
    }
    return status;
}

int RunBatchWrite(const LinkArgs& a, const std::vector<uint8_t>& image, Workspace& ws)
{
    if (!a.yes && ws.Ask(ws.T(msg::WriteConfirm), Buttons::OkCancel, Icon::Question) != Answer::Ok) return 1;
    BatchRun run(a, ws);
    if (!run.AddPorts()) return 1;
    if (!a.noBackup) run.BackUpImages();
    BatchOptions o;
    o.image = image;
    o.verify = a.verify;
    o.keepGoing = a.keepGoing;
    o.jobFile = QFileInfo(a.file).absoluteFilePath();
    o.logPath = a.log;
    o.askQuestions = false;
    return run.Run(o);
}

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
    if (!run.transfer->Read()) {
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
        QFile f(a.file);
        if (!f.open(QIODevice::ReadOnly)) {
            Err(QStringLiteral("kt6383 write: cannot read %1: %2").arg(a.file, f.errorString()));
            return 1;
        }
        const QByteArray b = f.readAll();
        if (b.size() != kImageSize) {
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
    const bool ok = a.radios > 0 ? run.transfer->WriteGroup(a.radios) : run.transfer->Write();
    if (!ok) {
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
    QString load, save;
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
        if (f == QByteArray("END")) saveNow();
    });
    QTimer poll;
    WatchStopSignals(poll, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    saveNow();
    return saveFailed ? 1 : 0;
}

}  // namespace kt
