#include "link/RadioBatch.h"

#include "link/LinkTexts.h"
#include "link/SimRadio.h"
#include "model/Workspace.h"
#include "rules/channels/CsvTable.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace kt {

// One port of the batch: its link, its timer, its machine and its row.
class PortJob : public QObject, public TransferUi, private LinkIo {
public:
    PortJob(RadioBatch& batch, const Workspace& ws, const QString& port, const QString& label,
            SimRadio* sim = nullptr)
        : batch_(batch), sim_(sim), machine_(ws, *this, *this)
    {
        row_.port = port;
        row_.label = label;
        timer_.setSingleShot(true);
        timer_.setInterval(kReplyTimeoutMs);
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] { machine_.OnTimeout(); });
        connect(&link_, &SerialLink::Reply, this, [this](const QByteArray& b) { machine_.OnReply(b); });
    }

    PortRow& Row() { return row_; }

    void Start(const BatchOptions& o)
    {
        options_ = &o;
        ended_ = stopping_ = false;
        // A simulated radio keeps answering once written: waiting for it to be
        // swapped would never end, unless it is one set to be unplugged.
        neverSwapped_ = sim_ && sim_->Options().silentAfterEnd <= 0;
        QString reason;
        if (!link_.Open(row_.port, &reason, batch_.Language())) {
            row_.detail = reason;
            ++row_.failed;
            Finish(PortState::Failed);
            return;
        }
        StartRadio(false);
    }

    // A radio is in the middle of its transfer (a question part-way included).
    bool MidRadio() const
    {
        return !ended_ && row_.identified
               && (phase_ == PortState::Writing || phase_ == PortState::Verifying || phase_ == PortState::Reading);
    }

    void Stop()
    {
        if (ended_) return;
        const bool midRadio = MidRadio();
        stopping_ = true;
        if (machine_.Active()) {
            // End follows the frame under way, so the radio leaves programming
            // mode; nobody waits for its acknowledge.
            link_.Send(EndFrame(), kAckReplyLen);
            machine_.EndTransfer(false);
        }
        if (midRadio) RecordStop();
        Finish(PortState::Stopped);
    }

    void Reply(kt::Answer a)
    {
        if (row_.question == LinkQuestion::None) return;
        const LinkQuestion q = row_.question;
        row_.question = LinkQuestion::None;
        row_.state = phase_;
        row_.detail.clear();
        if (a != Answer::Retry) {
            skippedByUser_ = true;
            reason_ = link_txt::SkippedByUser.in(batch_.Language());
        }
        batch_.JobChanged(this);
        machine_.AnswerQuestion(q == LinkQuestion::Retry ? (a == Answer::Retry ? Answer::Retry : Answer::Cancel)
                                                         : (a == Answer::Retry ? Answer::Ok : Answer::Cancel));
    }

private:
    // The radio the stop caught part-way: its row and the job log say how far
    // it got.  One stopped in its verify was written whole.
    void RecordStop()
    {
        const int lang = batch_.Language();
        current_.ended = QDateTime::currentDateTime();
        if (verifying_) {
            current_.result = link_txt::Written.in(lang);
            current_.verify = link_txt::VerifyStopped.in(lang).arg(row_.percent);
            ++row_.written;
        } else {
            current_.result = (options_->write ? link_txt::StoppedWriting : link_txt::StoppedReading)
                                  .in(lang).arg(row_.percent);
            ++row_.stopped;
            // The image a half-written radio was getting stays in the backups.
            if (options_->write && machine_.BlocksSent()) batch_.ImageDone(kWrite, options_->image, row_);
        }
        current_.ok = false;
        row_.detail = current_.verify.isEmpty() ? current_.result : current_.verify;
        batch_.JobRadioDone(this, current_);
    }

    // A radio from the handshake on: the first one at once, a later one once
    // the last has been swapped for it.
    void StartRadio(bool afterSwap)
    {
        reason_.clear();
        skippedByUser_ = refused_ = false;
        verifying_ = false;
        current_ = RadioResult{};
        current_.port = row_.label;
        current_.started = QDateTime::currentDateTime();
        row_.identified = false;
        row_.percent = 0;
        if (options_->write) {
            machine_.Begin(kWrite);
            machine_.SetImage(options_->image);
            machine_.SetCheckEveryRadio(true);
            if (afterSwap) machine_.BeginAfterSwap();
            phase_ = afterSwap ? PortState::NextRadio : PortState::Writing;
        } else {
            machine_.Begin(kRead);
            phase_ = PortState::Reading;
        }
        row_.state = phase_;
        batch_.JobChanged(this);
        machine_.StartHandshake();
    }

    void StartVerify()
    {
        verifying_ = true;
        phase_ = row_.state = PortState::Verifying;
        row_.percent = 0;
        batch_.JobChanged(this);
        machine_.Begin(kRead);
        machine_.StartHandshake();
    }

    // LinkIo: the port stays open between the radios of a port.
    void SendFrame(const QByteArray& frame, int replyLen) override { link_.Send(frame, replyLen); }
    void StartWaitTimer() override { timer_.start(); }
    void StopWaitTimer() override { timer_.stop(); }
    void ClosePort() override {}

    // TransferUi
    bool AnswersLater() const override { return true; }

    void QuestionPending(LinkQuestion q) override
    {
        const int lang = batch_.Language();
        row_.question = q;
        row_.state = PortState::Question;
        row_.detail = q == LinkQuestion::Retry
                          ? link_txt::NotAnswering.in(lang)
                          : link_txt::BlockLost.in(lang).arg(machine_.BlockAddr(), 4, 16, QLatin1Char('0'));
        reason_ = row_.detail;
        if (!options_->askQuestions) {
            // Nobody to ask (the command line): the radio fails with the reason.
            row_.question = LinkQuestion::None;
            machine_.AnswerQuestion(Answer::Cancel);
            return;
        }
        batch_.JobChanged(this);
    }

    void Identified(const RadioIdent& id) override
    {
        if (phase_ == PortState::NextRadio) phase_ = row_.state = PortState::Writing;
        row_.model = id.model;
        row_.firmware = id.version;
        row_.extendedHf = id.extendedHf;
        row_.identified = true;
        current_.model = id.model;
        current_.firmware = id.version;
        batch_.JobChanged(this);
    }

    void ShowPercent(int percent) override
    {
        if (phase_ == PortState::NextRadio) phase_ = row_.state = PortState::Writing;
        row_.percent = percent;
        batch_.JobChanged(this);
    }

    // The only notice the machine queues is the wrong model.
    void Notice(const QString& text) override
    {
        reason_ = text;
        refused_ = true;
    }

    void IncompatibleFirmware(const QString& v) override
    {
        reason_ = link_txt::FirmwareUnsuited.in(batch_.Language()).arg(v);
        refused_ = true;
    }

    void Finished(int kind, bool success) override
    {
        if (stopping_) return;
        const int lang = batch_.Language();
        if (success && kind == kWrite && !verifying_) batch_.ImageDone(kWrite, options_->image, row_);
        if (success && kind == kRead && !verifying_) batch_.ImageDone(kRead, machine_.Image(), row_);
        if (success && kind == kWrite && options_->verify) {
            StartVerify();
            return;
        }
        current_.ended = QDateTime::currentDateTime();
        PortState outcome = PortState::Done;
        if (success && verifying_) {
            const std::vector<uint8_t>& back = machine_.Image();
            int diff = -1;
            for (int a = 0; a < kEndAddr && diff < 0; ++a)
                if (back[size_t(a)] != options_->image[size_t(a)]) diff = a;
            current_.verify = diff < 0 ? link_txt::VerifyOk.in(lang)
                                       : link_txt::VerifyDiffers.in(lang).arg(diff, 4, 16, QLatin1Char('0'));
            if (diff >= 0) outcome = PortState::Failed;
            else ++row_.verified;
            current_.result = link_txt::Written.in(lang);
            ++row_.written;
        } else if (success && kind == kWrite) {
            current_.result = link_txt::Written.in(lang);
            ++row_.written;
        } else if (success && kind == kRead) {
            current_.result = link_txt::ReadOk.in(lang);
            row_.image = machine_.Image();
            ++row_.written;
        } else {
            // A radio turned away (model, firmware) or skipped by the user is
            // skipped; one that went wrong on its own is a failure.
            outcome = refused_ || skippedByUser_ ? PortState::Skipped : PortState::Failed;
            current_.result = reason_.isEmpty() ? link_txt::NotAnswering.in(lang) : reason_;
            if (verifying_) current_.verify = link_txt::VerifyFailed.in(lang).arg(current_.result);
        }
        current_.ok = outcome == PortState::Done;
        if (outcome == PortState::Failed) ++row_.failed;
        if (outcome == PortState::Skipped) ++row_.skipped;
        row_.detail = current_.verify.isEmpty() ? current_.result : current_.verify;
        // A radio on a port with no answer at all was never there: nothing to log.
        const bool noRadio = !row_.identified && !current_.ok && options_->keepGoing;
        if (!noRadio) batch_.JobRadioDone(this, current_);
        if (options_->keepGoing && options_->write) {
            if (!neverSwapped_) {
                StartRadio(true);
                return;
            }
            row_.detail += QLatin1Char(' ') + link_txt::SimNotSwapped.in(lang);
        }
        Finish(outcome);
    }

    void Finish(PortState state)
    {
        if (ended_) return;
        timer_.stop();
        link_.Close();
        row_.state = state;
        row_.question = LinkQuestion::None;
        ended_ = true;
        batch_.JobChanged(this);
        batch_.JobEnded(this);
    }

    RadioBatch& batch_;
    SimRadio* sim_;   // the simulated radio on this port, if it is one
    SerialLink link_;
    QTimer timer_;
    LinkMachine machine_;
    PortRow row_;
    const BatchOptions* options_ = nullptr;
    PortState phase_ = PortState::Waiting;
    RadioResult current_;
    QString reason_;
    bool verifying_ = false;
    bool skippedByUser_ = false;
    bool refused_ = false;
    bool stopping_ = false;
    bool ended_ = false;
    bool neverSwapped_ = false;
};

// ---------------------------------------------------------------------------

RadioBatch::RadioBatch(int language, QObject* parent) : QObject(parent), ws_(std::make_unique<Workspace>())
{
    ws_->CurrentLanguage = language;
}

RadioBatch::~RadioBatch()
{
    // The jobs go first: their links must close before the simulated radios vanish.
    blockSignals(true);
    for (auto& j : jobs_) j->Stop();
    jobs_.clear();
}

void RadioBatch::SetVersions(const VersionTable& versions) { ws_->Versions = versions; }
void RadioBatch::SetLanguage(int language) { ws_->CurrentLanguage = language; }
int RadioBatch::Language() const { return ws_->CurrentLanguage; }

void RadioBatch::AddPort(const QString& port)
{
    jobs_.push_back(std::make_unique<PortJob>(*this, *ws_, port, port));
}

bool RadioBatch::AddSimulated(int count, QString* why)
{
    for (int i = 0; i < count; ++i) {
        auto sim = std::make_unique<SimRadio>();
        if (!sim->Start()) {
            if (why) *why = sim->ErrorText();
            return false;
        }
        const QString label = QStringLiteral("sim%1").arg(sims_.size() + 1);
        jobs_.push_back(std::make_unique<PortJob>(*this, *ws_, sim->DevicePath(), label, sim.get()));
        sims_.push_back(std::move(sim));
    }
    return true;
}

SimRadio* RadioBatch::Simulator(int index) const
{
    return index >= 0 && index < int(sims_.size()) ? sims_[size_t(index)].get() : nullptr;
}

int RadioBatch::SimulatorCount() const { return int(sims_.size()); }

void RadioBatch::Start(const BatchOptions& options)
{
    if (Running()) return;
    options_ = options;
    if (options_.write) options_.image.resize(kImageSize, 0xFF);
    imageSum_ = options_.write
                    ? QString::fromLatin1(QCryptographicHash::hash(
                          QByteArrayView(reinterpret_cast<const char*>(options_.image.data()),
                                         qsizetype(options_.image.size())),
                          QCryptographicHash::Sha256).toHex())
                    : QString();
    results_.clear();
    logError_.clear();
    backupWarning_.clear();
    running_ = int(jobs_.size());
    if (running_ == 0) {
        emit finished();
        return;
    }
    // Every port is started before any can end, so finished() comes once.
    ++running_;
    for (auto& j : jobs_) j->Start(options_);
    JobEnded(nullptr);
}

void RadioBatch::Stop()
{
    for (auto& j : jobs_) j->Stop();
}

void RadioBatch::AnswerRow(int row, Answer a)
{
    if (row >= 0 && row < RowCount()) jobs_[size_t(row)]->Reply(a);
}

int RadioBatch::RowCount() const { return int(jobs_.size()); }

const PortRow& RadioBatch::Row(int row) const { return jobs_[size_t(row)]->Row(); }

bool RadioBatch::Running() const { return running_ > 0; }

bool RadioBatch::Busy() const
{
    return std::any_of(jobs_.begin(), jobs_.end(), [](const auto& j) { return j->MidRadio(); });
}

BatchTotals RadioBatch::Totals() const
{
    BatchTotals t;
    for (const auto& j : jobs_) {
        const PortRow& r = j->Row();
        t.written += r.written;
        t.verified += r.verified;
        t.failed += r.failed;
        t.skipped += r.skipped;
        t.stopped += r.stopped;
    }
    return t;
}

QString RadioBatch::StateText(const PortRow& row) const
{
    const Bi* t = nullptr;
    switch (row.state) {
    case PortState::Waiting: t = &link_txt::StateWaiting; break;
    case PortState::Writing: t = &link_txt::StateWriting; break;
    case PortState::Verifying: t = &link_txt::StateVerifying; break;
    case PortState::Reading: t = &link_txt::StateReading; break;
    case PortState::NextRadio: t = &link_txt::StateNextRadio; break;
    case PortState::Question: t = &link_txt::StateQuestion; break;
    case PortState::Done: t = &link_txt::StateDone; break;
    case PortState::Failed: t = &link_txt::StateFailed; break;
    case PortState::Skipped: t = &link_txt::StateSkipped; break;
    case PortState::Stopped: t = &link_txt::StateStopped; break;
    }
    return t->in(Language());
}

void RadioBatch::JobChanged(PortJob* job)
{
    for (size_t i = 0; i < jobs_.size(); ++i)
        if (jobs_[i].get() == job) emit rowChanged(int(i));
}

void RadioBatch::JobRadioDone(PortJob*, const RadioResult& r)
{
    results_ << r;
    AppendLog(r);
    emit radioFinished(r);
}

void RadioBatch::ImageDone(int kind, const std::vector<uint8_t>& image, const PortRow& row)
{
    if (!onImageDone) return;
    const QString warning = onImageDone(kind, image, row.model, row.firmware, row.label);
    if (!warning.isEmpty()) backupWarning_ = warning;
}

void RadioBatch::JobEnded(PortJob*)
{
    if (running_ > 0 && --running_ == 0) emit finished();
}

void RadioBatch::AppendLog(const RadioResult& r)
{
    if (options_.logPath.isEmpty()) return;
    QFile f(options_.logPath);
    const bool fresh = !f.exists() || f.size() == 0;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) {
        logError_ = link_txt::LogUnwritable.in(Language()).arg(options_.logPath, f.errorString());
        return;
    }
    QByteArray out;
    if (fresh)
        out += CsvLine({"started", "ended", "port", "model", "firmware", "job file", "image sha256",
                        "result", "verify"});
    out += CsvLine({r.started.toString(Qt::ISODate), r.ended.toString(Qt::ISODate), r.port,
                    QString::fromLatin1(r.model), QString::fromLatin1(r.firmware), options_.jobFile,
                    imageSum_, r.result, r.verify});
    if (f.write(out) != out.size() || !f.flush())
        logError_ = link_txt::LogUnwritable.in(Language()).arg(options_.logPath, f.errorString());
}

QString PortFileLabel(const QString& label)
{
    QString s = label.section(QLatin1Char('/'), -1);
    for (QChar& c : s)
        if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('_')) c = QLatin1Char('_');
    return s;
}

}  // namespace kt
