#include "link/Transfer.h"
#include "base/AskExtra.h"

#include "base/Messages.h"
#include "base/Versions.h"
#include "link/LinkTexts.h"
#include "link/PortList.h"
#include "link/SimRadio.h"
#include "model/Codec.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>

namespace kt {

QString PortNameOfKey(const QString& key)
{
    const QString k = key.trimmed();
    bool numeric = false;
    const int n = k.toInt(&numeric);
    if (numeric) return n > 0 ? QStringLiteral("COM%1").arg(n) : QString();
    return k;
}

bool SaveTraceAs(Workspace& ws, const LinkTrace& trace)
{
    if (!ws.asker) return false;
    const QString preset =
        QStringLiteral("kt6383-trace-%1.txt").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString path = ws.asker->saveFileName(ws.T(link_txt::SaveTraceTitle), ws.T(link_txt::TraceFilter), preset);
    if (path.isEmpty()) return false;
    QString why;
    if (trace.SaveTo(path, &why)) return true;
    ws.Ask(ws.T(link_txt::TraceUnwritable).arg(QDir::toNativeSeparators(path), why), Buttons::Ok, Icon::Warning);
    return false;
}

Transfer::Transfer(Workspace& ws, QObject* parent)
    : QObject(parent), ws_(ws), machine_(ws, *this, *this)
{
    waitTimer_.setSingleShot(true);
    waitTimer_.setInterval(kReplyTimeoutMs);
    waitTimer_.setTimerType(Qt::PreciseTimer);
    connect(&waitTimer_, &QTimer::timeout, this, [this] {
        trace_.Event(QStringLiteral("time-out: no reply within %1 ms").arg(kReplyTimeoutMs));
        machine_.OnTimeout();
    });
    connect(&port_, &SerialLink::Reply, this, [this](const QByteArray& b) { machine_.OnReply(b); });
    // Queued: the port reports its loss from inside its own calls.
    connect(&port_, &SerialLink::Lost, this, &Transfer::OnPortLost, Qt::QueuedConnection);
    port_.SetTrace(&trace_);
}

void Transfer::OnPortLost()
{
    if (!machine_.Active() || port_.IsOpen()) return;
    portLost_ = true;
    machine_.EndTransfer(false);
}

void Transfer::PortLostMessage(const QString& text) { ws_.Ask(text, Buttons::Ok, Icon::Warning); }

Transfer::~Transfer()
{
    // The trace goes before the port does: the port lets go of it first.
    port_.SetTrace(nullptr);
}

QString Transfer::PortName() const
{
    if (!portOverride_.isEmpty()) {
        if (portOverride_ == kSimulatedPortKey) return sim_ ? sim_->DevicePath() : QString();
        return portOverride_;
    }
    if (ws_.comPort.trimmed() == kSimulatedPortKey) return sim_ ? sim_->DevicePath() : QString();
    return PortNameOfKey(ws_.comPort);
}

bool Transfer::OpenLink()
{
    if (port_.IsOpen()) port_.Close();
    const bool simulated = (portOverride_.isEmpty() ? ws_.comPort.trimmed() : portOverride_) == kSimulatedPortKey;
    if (simulated && sim_ && !sim_->IsRunning()) sim_->Start();
    static const char* const kinds[] = {"none", "read", "write", "radio information"};
    const int kind = machine_.Kind();
    trace_.Begin(QString::fromLatin1(kinds[kind >= 0 && kind <= 3 ? kind : 0]));
    const QString name = PortName();
    QString port = PortLabel() == QLatin1String("sim") ? QStringLiteral("%1 (simulated radio)").arg(name) : name;
    for (const PortEntry& e : AvailablePorts())
        if (!e.simulated && (e.name == name || e.location == name) && !e.Details().isEmpty()) port += QStringLiteral(" - ") + e.Details();
    trace_.Header(QStringLiteral("port"), port);
    portLost_ = false;
    QString reason;
    if (simulated && sim_ && !sim_->IsRunning()) reason = sim_->ErrorText();
    else if (port_.Open(name, &reason, ws_.CurrentLanguage, LineSettings{ws_.portDtr, ws_.portRts})) return true;
    trace_.Event(QStringLiteral("not started: ") + reason);
    QString text = ws_.T(msg::PortError);
    if (!reason.isEmpty()) text += QStringLiteral("\r\n") + reason;
    ws_.Ask(text, Buttons::Ok, Icon::Critical);
    return false;
}

QString Transfer::PortLabel() const
{
    const bool simulated = portOverride_.isEmpty() ? ws_.comPort.trimmed() == kSimulatedPortKey
                                                   : portOverride_ == kSimulatedPortKey;
    return simulated ? QStringLiteral("sim") : PortName();
}

void Transfer::ClosePort() { port_.Close(); }

void Transfer::StopTimers()
{
    // A read or a write in progress keeps its reply timer: without it one lost
    // reply would leave the transfer waiting for ever.
    if (Busy()) return;
    waitTimer_.stop();
}

void Transfer::SendFrame(const QByteArray& frame, int replyLen) { port_.Send(frame, replyLen); }
void Transfer::StartWaitTimer() { waitTimer_.start(); }
void Transfer::StopWaitTimer() { waitTimer_.stop(); }

bool Transfer::Confirm(const Bi& question)
{
    if (!confirm_) return true;
    QString text = ws_.T(question);
    if (&question == &msg::WriteConfirm && writeNote) {
        const QString note = writeNote();
        if (!note.isEmpty()) text += QStringLiteral("\r\n\r\n") + note;
        if (showWriteDifferences) {
            static constexpr Bi kShow{"Show Differences…", "显示差异…"};
            return AskWithExtra(ws_.asker, text, Buttons::OkCancel, Icon::Question,
                                {ws_.T(kShow), showWriteDifferences})
                   == Answer::Ok;
        }
    }
    return ws_.Ask(text, Buttons::OkCancel, Icon::Question) == Answer::Ok;
}

// The codec encodes in the workspace (where the image stays for whoever looks
// after the write); the transfer sends its own copy.
void Transfer::PrepareImage()
{
    ClearImage(ws_);
    if (givenImage_.size() == ws_.MemImage.size()) ws_.MemImage = givenImage_;
    else EncodeImage(ws_);
    machine_.SetImage(ws_.MemImage);
}

// The common start of a read or write: the port opened and the user's
// confirmation; on either failing the transfer kind is back to none.
bool Transfer::Begin(int kind, const Bi& question)
{
    if (running_) return false;
    lastSuccess_ = stopped_ = false;
    machine_.Begin(kind);
    if (!OpenLink()) { machine_.Abandon(); return false; }
    if (!Confirm(question)) {
        port_.Close();
        machine_.Abandon();
        return false;
    }
    return true;
}

bool Transfer::Read()
{
    // The image read stays the transfer's until the read succeeds.
    if (!Begin(kRead, msg::ReadConfirm)) return false;
    RunProgress(kRead, false);
    return lastSuccess_;
}

bool Transfer::MissingChannelsAccepted()
{
    if (!givenImage_.empty() || ws_.ChannelsUnread <= 0) return true;
    return ws_.Ask(ws_.T(msg::ChannelsNotWritten).arg(ws_.ChannelsUnread), Buttons::YesNo, Icon::Question)
           == Answer::Yes;
}

bool Transfer::Write()
{
    if (!MissingChannelsAccepted()) return false;
    if (!Begin(kWrite, msg::WriteConfirm)) return false;
    PrepareImage();
    RunProgress(kWrite, false);
    return lastSuccess_;
}

bool Transfer::WriteGroup(int radioCount)
{
    if (!MissingChannelsAccepted()) return false;
    if (!Begin(kWrite, msg::WriteConfirm)) return false;
    PrepareImage();
    machine_.BeginMultiWrite(radioCount);
    RunProgress(kWrite, true);
    return lastSuccess_;
}

void Transfer::InfoRead(bool clearImage)
{
    if (running_) return;
    machine_.Begin(kInfoRead);
    if (!OpenLink()) { machine_.Abandon(); return; }
    if (clearImage) ClearImage(ws_);
    machine_.StartHandshake();
}

void Transfer::RunProgress(int kind, bool multi)
{
    QEventLoop loop;
    running_ = true;
    quitLoop_ = [&loop] { loop.quit(); };
    machine_.StartHandshake();
    if (machine_.Active()) loop.exec();
    quitLoop_ = nullptr;
    running_ = false;
}

void Transfer::ProgressClosedByUser()
{
    if (machine_.MultiWrite()) machine_.OnMultiWindowClosed();
}

void Transfer::Identified(const RadioIdent& id)
{
    ws_.LastRadio = {true, id.model, id.version, id.extendedHf, {}};
    if (machine_.Kind() != kRead && machine_.Kind() != kWrite) return;
    ws_.ExtendedHf = id.extendedHf;
    ws_.RadioVersion = id.version;
}

void Transfer::ShowPercent(int percent)
{
    if (onPercent) onPercent(percent);
}

void Transfer::CloseProgress() {}

Answer Transfer::AskRetry() { return ws_.Ask(ws_.T(msg::Retry), Buttons::RetryCancel, Icon::None); }

Answer Transfer::AskLostBlock() { return ws_.Ask(ws_.T(msg::Retry), Buttons::OkCancel, Icon::Question); }

void Transfer::Notice(const QString& text) { ws_.Ask(text, Buttons::Ok, Icon::None); }

void Transfer::Finished(int kind, bool success)
{
    lastSuccess_ = success;
    stopped_ = !success && machine_.StopRequested();
    trace_.Event(success ? QStringLiteral("end: success")
                         : stopped_ ? QStringLiteral("end: stopped by the user")
                                    : portLost_ ? QStringLiteral("end: the port went away") : QStringLiteral("end: failed"));
    if (quitLoop_) quitLoop_();
    if (portLost_) PortLostMessage(ws_.T(link_txt::PortLost).arg(PortName()));
    if (kind == kInfoRead) { emit infoReadFinished(success); return; }
    if (!success) return;
    if (onImageDone) onImageDone(kind, machine_.Image());
    if (kind == kRead) {
        ws_.MemImage = machine_.Image();
        DecodeImage(ws_);
        ws_.LastRadio.bandRange = ws_.BandRange;
        ws_.CurrentFile = QStringLiteral("new.dat");
        ws_.IsUntitled = true;
        ws_.TitleChanged();
        emit ws_.Events().documentReplaced();
        ws_.Ask(ws_.T(msg::ReadDone), Buttons::Ok, Icon::None);
    } else if (kind == kWrite) {
        ws_.Ask(ws_.T(msg::WriteDone), Buttons::Ok, Icon::None);
    }
}

void Transfer::IncompatibleFirmware(const QString& v)
{
    if (onIncompatibleFirmware) { onIncompatibleFirmware(v); return; }
    const QString text = IncompatibleMessage(QString::fromLatin1(kDataVersion), v, 0, ws_.CurrentLanguage);
    if (ws_.Ask(text, Buttons::YesNo, Icon::Question) == Answer::Yes) LaunchVersion(v);
}

void Transfer::LaunchVersion(const QString& v) {}

}  // namespace kt
