// Several radios from the command line: kt6383 read and write with more than
// one port, simulated radios by count, --verify, --keep-going or --log.
#include "link/LinkCommandParts.h"

#include "base/Messages.h"
#include "link/Backups.h"
#include "link/RadioBatch.h"
#include "model/Codec.h"
#include "model/DataFile.h"
#include "model/Defaults.h"
#include "model/Workspace.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace kt::linkcmd {

namespace {

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
        BackupStore::TakeOverOlderDefault();
        batch_.onImageDone = [this](int kind, const std::vector<uint8_t>& image, const QByteArray& model,
                                    const QByteArray& firmware, const QString& port) {
            QSettings settings(QStringLiteral("KT-6383 Pro"), QStringLiteral("KT-6383 Pro"));
            return BackUpImage(BackupStore::DefaultFolder(), BackupLimit(settings), kind, image, model, firmware,
                               batch_.Language(), port);
        };
    }

    // Runs until every port has ended (Ctrl+C stops them); the exit status.
    int Run(const BatchOptions& o)
    {
        QObject::connect(&batch_, &RadioBatch::rowChanged, [this](int row) { Changed(row); });
        QTimer redraw;
        QObject::connect(&redraw, &QTimer::timeout, [this] { Draw(); });
        if (tty_) redraw.start(200);
        StopSignals stops([this] { batch_.Stop(); });
        bool done = false;
        QObject::connect(&batch_, &RadioBatch::finished, [&] { done = true; });
        last_.assign(size_t(batch_.RowCount()), PortState(-1));
        if (tty_) for (int i = 0; i < batch_.RowCount(); ++i) std::fputc('\n', stderr);
        batch_.Start(o);
        while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (tty_) Draw();
        const BatchTotals t = batch_.Totals();
        if (o.write)
            std::fprintf(stderr, "%d written, %d verified, %d failed, %d skipped, %d stopped\n", t.written,
                         t.verified, t.failed, t.skipped, t.stopped);
        else
            std::fprintf(stderr, "%d read, %d failed, %d skipped, %d stopped\n", t.written, t.failed, t.skipped,
                         t.stopped);
        if (!batch_.LogError().isEmpty()) Err(QStringLiteral("kt6383: ") + batch_.LogError());
        if (!batch_.BackupWarning().isEmpty()) Err(QStringLiteral("kt6383: warning: ") + batch_.BackupWarning());
        bool allOk = true;
        for (int i = 0; i < batch_.RowCount(); ++i) {
            const PortRow& r = batch_.Row(i);
            const bool ok = r.state == PortState::Done
                            || (o.keepGoing && r.state == PortState::Stopped && r.failed + r.skipped + r.stopped == 0);
            if (!ok) {
                allOk = false;
                if (!tty_) continue;   // already printed with its state
                Err(QStringLiteral("%1: %2").arg(r.label, r.detail.isEmpty() ? batch_.StateText(r) : r.detail));
            }
        }
        // Ctrl+C that caught a radio part-way (or ended a run that was not
        // meant to go on until then) is a stop, not a failure.
        if (StopSignals::Caught() && (t.stopped > 0 || !o.keepGoing)) return kExitStopped;
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

}  // namespace

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

}  // namespace kt::linkcmd
