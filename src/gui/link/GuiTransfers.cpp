#include "gui/link/GuiTransfers.h"

#include "gui/MainHost.h"
#include "base/Messages.h"
#include "gui/FrmModelInfo.h"
#include "gui/link/FrmComSet.h"
#include "gui/link/FrmLinkTrace.h"
#include "gui/link/FrmProgress.h"
#include "gui/link/FrmRestoreBackup.h"
#include "gui/link/FrmSeveralRadios.h"
#include "link/Backups.h"
#include "link/LinkTexts.h"
#include "model/EditStep.h"
#include "link/SimRadio.h"
#include "link/Transfer.h"
#include "link/WriteChanges.h"
#include "gui/link/frmMProgress.h"

#include <QInputDialog>
#include <QTimer>

namespace kt {

// The transfer with the desktop program's windows around it.
class GuiTransferDriver : public Transfer {
public:
    GuiTransferDriver(MainHost& host, Transfers& owner) : Transfer(host.ws()), host_(host), owner_(owner) {}

    bool LastOk = false;

protected:
    void RunProgress(int kind, bool multi) override
    {
        const int language = ws_.CurrentLanguage;
        groupRun_ = multi;
        if (multi) {
            frmMProgress w(machine_.RadioCount(), language, host_.MainWindow());
            w.onUserClose = [this] { ProgressClosedByUser(); };
            multi_ = &w;
            Run(w);
            multi_ = nullptr;
        } else {
            FrmProgress w(kind, language, host_.MainWindow());
            single_ = &w;
            Run(w);
            single_ = nullptr;
        }
    }

    void ShowPercent(int percent) override
    {
        if (multi_) multi_->SetProgressValue(percent);
        else if (single_) single_->SetProgressValue(percent);
    }

    void ShowRadioNumber(int n) override
    {
        if (multi_) multi_->SetRadioNumber(n);
    }

    void CloseProgress() override
    {
        if (multi_) multi_->Finish();
        if (single_) single_->Finish();
    }

    void Finished(int kind, bool success) override
    {
        LastOk = success;
        if (!success && (kind == kRead || kind == kWrite)) {
            Transfer::Finished(kind, success);
            FailureMessage(kind);
            noticeGiven_ = false;
            emit owner_.TransferEnded(kind, success);
            return;
        }
        noticeGiven_ = false;
        // The windows close before the image replaces the document, so what
        // they still hold goes into the old one; the document's events then
        // bring the windows back.
        if (success && kind == kRead) {
            host_.SetChildrenAside();
            // Undoable: the document before the read is one step back.
            EditStep step(ws_, Named(steptxt::ReadFromRadio));
            Transfer::Finished(kind, success);
        } else {
            Transfer::Finished(kind, success);
        }
        if (kind == kRead || kind == kWrite) emit owner_.TransferEnded(kind, success);
    }

    void LaunchVersion(const QString& v) override { host_.LaunchVersion(v); }

    // A transfer that failed offers its trace in its message.
    void Notice(const QString& text) override
    {
        noticeGiven_ = true;
        OfferTrace(text, Icon::None);
    }
    void PortLostMessage(const QString& text) override
    {
        noticeGiven_ = true;
        OfferTrace(text, Icon::Warning);
    }
    void OfferTrace(const QString& text, Icon icon)
    {
        if (ws_.Ask(text, Buttons::OkSaveTrace, icon) == Answer::Yes) SaveTraceAs(ws_, Trace());
    }
    void FailureMessage(int kind)
    {
        // A group write ends when the user closes its window: no failure to tell.
        if (noticeGiven_ || groupRun_ || Stopped() || Trace().FrameCount() == 0) return;
        const Bi& what = kind == kRead ? link_txt::TransferFailedRead : link_txt::TransferFailedWrite;
        OfferTrace(ws_.T(what) + QStringLiteral("\r\n") + ws_.T(link_txt::TraceHint), Icon::Warning);
    }
    bool noticeGiven_ = false;
    bool groupRun_ = false;

private:
    void Run(QDialog& w)
    {
        // The window's load starts the handshake; the transfer closes the window.
        QTimer::singleShot(0, &w, [this, &w] {
            if (owner_.onProgressShown) owner_.onProgressShown(w);
            machine_.StartHandshake();
        });
        w.exec();
    }

    MainHost& host_;
    Transfers& owner_;
    FrmProgress* single_ = nullptr;
    frmMProgress* multi_ = nullptr;
};

Transfers::Transfers(MainHost& host, QObject* parent)
    : CommandWing(parent), backupFolder(BackupStore::DefaultFolder()), backupKeep(BackupStore::kDefaultKeep),
      host_(host), sim_(std::make_unique<SimRadio>()), driver_(std::make_unique<GuiTransferDriver>(host, *this))
{
    driver_->SetSimulator(sim_.get());
    // Backups of earlier versions move to where this one keeps them.
    BackupStore::TakeOverOlderDefault();
    // Every image read or written is kept before anything else is done with
    // it; a backup that cannot be saved is said, the transfer goes on.
    driver_->onImageDone = [this](int kind, const std::vector<uint8_t>& image) {
        Workspace& ws = host_.ws();
        const QString warning =
            BackUpTransfer(backupFolder, backupKeep, kind, image, ws, driver_->PortLabel(), driver_->Trace().Text());
        if (!warning.isEmpty()) ws.Ask(warning, Buttons::Ok, Icon::Warning);
    };
    // The write's question says what the write changes in the radio.
    driver_->writeNote = [this] {
        Workspace& ws = host_.ws();
        const ImageAtHand at = NewestRadioImage(ws, backupFolder);
        driver_->showWriteDifferences = nullptr;
        if (at.found && showDifferences)
            driver_->showWriteDifferences = [this, at] { showDifferences(at.image, RadioImageName(host_.ws(), at)); };
        return WriteChangesLine(ws, at);
    };
    TimerWrite = new QTimer(this);
    TimerWrite->setSingleShot(true);
    TimerWrite->setInterval(kTimerWriteMs);
    connect(TimerWrite, &QTimer::timeout, this, &Transfers::StartWrite);
    connect(driver_.get(), &Transfer::infoReadFinished, this, [this](bool answered) {
        Workspace& ws = host_.ws();
        if (answered) emit RadioIdentified();
        else ws.Ask(ws.T(link_txt::NoAnswer), Buttons::Ok, Icon::Warning);
    });
    // Model Information tells of the radio a transfer has just identified;
    // Radio Information opens it.
    connect(this, &Transfers::TransferEnded, this, [this] { FrmModelInfo::RefreshOpen(host_); });
    connect(this, &Transfers::RadioIdentified, this, [this] { FrmModelInfo::ShowFor(host_); });
}

std::vector<CommandWing::Command> Transfers::Commands()
{
    return {
        {"mnuReadFromRadio", [this] { ReadFromRadio(); }},
        {"mnuWriteToRadio", [this] { WriteToRadio(); }},
        {"mnuMWriteToRadio", [this] { WriteToGroup(); }},
        {"mnuRadioInfo", [this] { RadioInformation(); }},
        {"mnuEMG", [this] { RadioInformation(); }},
        {"mnuWriteSeveral", [this] { WriteToSeveral(); }},
        {"mnuComm", [this] {
             CommunicationPort();
             host_.SetTitle();   // the status bar names the port
         }},
        {"mnuModelInfo", [this] { FrmModelInfo::ShowFor(host_); }},
        {"mnuLinkTrace", [this] { ShowLinkTrace(); }},
        {"mnuFileRestoreBackup", [this] { RestoreBackupCommand(host_, backupFolder, execRestoreDialog); }},
    };
}

void Transfers::BeforeOtherVersion()
{
    if (IsPortOpen()) ClosePort();
}

Transfers::~Transfers() = default;

SimRadio& Transfers::Simulator() { return *sim_; }

bool Transfers::LastSuccess() const { return driver_->LastOk; }

int Transfers::Kind() const { return driver_->Kind(); }

void Transfers::CommunicationPort()
{
    FrmComSet dlg(host_.ws(), {}, host_.MainWindow());
    if (execPortDialog) execPortDialog(dlg);
    else dlg.exec();
}

void Transfers::ShowLinkTrace()
{
    FrmLinkTrace w(host_.ws(), driver_->Trace(), host_.MainWindow());
    if (execTraceWindow) execTraceWindow(w);
    else w.exec();
}

void Transfers::ReadFromRadio()
{
    if (driver_->Busy()) return;
    driver_->LastOk = false;
    driver_->Read();
}

void Transfers::WriteToRadio()
{
    if (driver_->Busy() || TimerWrite->isActive()) return;
    // Edits still open in the editors reach the model before the image is encoded.
    emit host_.ws().Events().aboutToEncode();
    TimerWrite->start();
}

void Transfers::StartWrite()
{
    driver_->LastOk = false;
    driver_->Write();
}

void Transfers::WriteToGroup()
{
    if (driver_->Busy()) return;
    int count = 0;
    if (askRadioCount) {
        count = askRadioCount();
    } else {
        Workspace& ws = host_.ws();
        bool ok = false;
        count = QInputDialog::getInt(host_.MainWindow(), ws.T(link_txt::BatchSet), ws.T(link_txt::RadioCount),
                                     2, 1, 9999, 1, &ok);
        if (!ok) count = 0;
    }
    if (count < 1) return;
    driver_->LastOk = false;
    driver_->WriteGroup(count);
}

void Transfers::RadioInformation() { driver_->InfoRead(false); }

void Transfers::WriteToSeveral()
{
    if (driver_->Busy() || TimerWrite->isActive()) return;
    // The single link lets go of its port, which may be one of those ticked.
    driver_->ClosePort();
    FrmSeveralRadios w(host_.ws(), {}, host_.MainWindow());
    if (execSeveralRadios) execSeveralRadios(w);
    else w.exec();
}

bool Transfers::IsPortOpen() const { return driver_->IsPortOpen(); }

void Transfers::ClosePort() { driver_->ClosePort(); }

void Transfers::StopTimers() { driver_->StopTimers(); }

}  // namespace kt
