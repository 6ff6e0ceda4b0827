#include "shell/Autosave.h"
#include "shell/DocumentHistory.h"
#include "model/DataFile.h"
#include "model/Workspace.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

namespace kt {

namespace {

const QString kLockName = QStringLiteral("lock");

}  // namespace

QString DefaultRecoveryBase()
{
    // Beside the backups: <user data>/KT-6383 Pro/recovery.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/KT-6383 Pro/recovery");
}

Autosave::Autosave(Workspace& ws, const QString& base, DocumentHistory* history, QObject* parent)
    : QObject(parent), ws_(ws), base_(base)
{
    folder_ = QDir(base_).filePath(QStringLiteral("run-%1-%2")
                                       .arg(QCoreApplication::applicationPid())
                                       .arg(QDateTime::currentMSecsSinceEpoch()));
    QDir().mkpath(folder_);
    lock_ = std::make_unique<QLockFile>(QDir(folder_).filePath(kLockName));
    // Only a run that is gone frees its lock, however long it has been running.
    lock_->setStaleLockTime(0);
    lock_->tryLock(0);
    copy_ = std::make_unique<RecoveryFolder>(folder_);

    thread_ = new QThread(this);
    thread_->setObjectName(QStringLiteral("recovery writer"));
    writer_ = new QObject;
    writer_->moveToThread(thread_);
    connect(thread_, &QThread::finished, writer_, &QObject::deleteLater);
    thread_->start(QThread::LowPriority);

    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &Autosave::Tick);
    timer_.start();
    if (history) connect(history, &DocumentHistory::changed, this, &Autosave::StepBoundary);
    DocumentEvents& ev = ws_.Events();
    connect(&ev, &DocumentEvents::documentSaved, this, &Autosave::Remove);
    // An opened or new document replaces the work: the copy follows it at
    // once (once the history has been reset).
    connect(&ev, &DocumentEvents::documentReplaced, this, [this] { QTimer::singleShot(0, this, &Autosave::Tick); });
}

Autosave::~Autosave()
{
    timer_.stop();
    thread_->quit();
    thread_->wait();
    lock_->unlock();
    QDir(folder_).removeRecursively();
}

void Autosave::Post(std::function<void()> job)
{
    QMetaObject::invokeMethod(writer_, std::move(job), Qt::QueuedConnection);
}

void Autosave::Flush()
{
    QMetaObject::invokeMethod(writer_, [] {}, Qt::BlockingQueuedConnection);
}

void Autosave::SetInterval(int ms) { timer_.setInterval(ms); }

int Autosave::Written() const { return written_.load(); }

void Autosave::WriteNow()
{
    QElapsedTimer t;
    t.start();
    RecoveryCopy c = TakeRecoveryCopy(ws_);
    RecoveryFolder* copy = copy_.get();
    const int L = ws_.CurrentLanguage;
    Post([this, copy, c = std::move(c), L] {
        QString why;
        if (copy->Write(c, &why)) {
            ++written_;
            return;
        }
        const QString message = rcvtxt::CannotWrite.in(L).arg(why);
        QMetaObject::invokeMethod(this, [this, message] { emit writeFailed(message); }, Qt::QueuedConnection);
    });
    kept_ = true;
    sinceWrite_.start();
    lastTakeUs_ = t.nsecsElapsed() / 1000;
}

void Autosave::Remove()
{
    if (!kept_) return;
    kept_ = false;
    sinceWrite_.invalidate();
    RecoveryFolder* copy = copy_.get();
    Post([copy] { copy->Clear(); });
}

void Autosave::Tick()
{
    if (IsModified(ws_)) WriteNow();
    else Remove();
}

// A step ended (or was undone): the copy is renewed when the last one is
// older than the interval, or when none was kept since the document changed.
void Autosave::StepBoundary()
{
    if (!IsModified(ws_)) {
        Remove();
        return;
    }
    if (!kept_ || !sinceWrite_.isValid() || sinceWrite_.elapsed() >= timer_.interval()) WriteNow();
}

bool Autosave::OfferLeftWork(const std::function<void()>& afterRestore, const std::function<void()>& beforeRestore)
{
    struct Left {
        RecoveryEntry entry;
        std::unique_ptr<QLockFile> lock;
    };
    std::vector<Left> left;
    const QDir base(base_);
    for (const QString& name : base.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = base.filePath(name);
        if (QDir(folder) == QDir(folder_)) continue;
        auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(kLockName));
        lock->setStaleLockTime(0);
        // A folder still locked belongs to a program that is running.
        if (!lock->tryLock(0)) continue;
        RecoveryEntry e = InspectRecovery(folder, ws_);
        if (e.empty) {
            lock->unlock();
            QDir(folder).removeRecursively();
            continue;
        }
        left.push_back({std::move(e), std::move(lock)});
    }
    std::sort(left.begin(), left.end(),
              [](const Left& a, const Left& b) { return a.entry.savedAt > b.entry.savedAt; });

    bool recovered = false;
    for (Left& l : left) {
        const RecoveryEntry& e = l.entry;
        const QString when = RecoveryTimeText(e, ws_.CurrentLanguage);
        const QString name = e.untitled ? ws_.T(rcvtxt::Untitled) : QDir::toNativeSeparators(e.originalPath);
        Answer a;
        if (e.readable && !recovered) {
            a = ws_.Ask(ws_.T(rcvtxt::RecoverQuestion).arg(when) + "\n" + name, Buttons::RecoverDiscardLater,
                        Icon::Question);
        } else if (!e.readable) {
            a = ws_.Ask(ws_.T(rcvtxt::Unreadable).arg(when, e.reason) + "\n" + name, Buttons::DiscardLater,
                        Icon::Warning);
        } else {
            continue;   // one document at a time: the others wait for the next start
        }
        if (a == Answer::Recover) {
            QString why;
            if (beforeRestore) beforeRestore();
            if (!RestoreRecovery(ws_, e, why)) {
                ws_.Ask(ws_.T(rcvtxt::Unreadable).arg(when, why), Buttons::Ok, Icon::Warning);
                continue;
            }
            recovered = true;
            if (afterRestore) afterRestore();
            // This run keeps the work from now on; the old copy goes once the new one is written.
            WriteNow();
            Flush();
            a = Answer::Discard;
        }
        if (a == Answer::Discard) {
            l.lock->unlock();
            QDir(e.folder).removeRecursively();
        }
    }
    return recovered;
}

}  // namespace kt
