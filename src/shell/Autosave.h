// Keeps the unsaved work for recovery while the program runs, and offers
// what a run that did not end cleanly left behind.
//
// Every running program has a folder of its own below the recovery folder,
// held by a lock file; a folder whose lock is free belongs to a run that has
// ended without removing it, that is, one that crashed or was killed.
#pragma once

#include "model/Recovery.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>

class QLockFile;
class QThread;

namespace kt {

struct Workspace;
class DocumentHistory;

// The recovery folder of this user: <user data folder>/KT-6383 Pro/recovery.
QString DefaultRecoveryBase();

class Autosave : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 60 * 1000;

    // Makes this run's folder below base and locks it.  history: the undo
    // history whose step boundaries may trigger a write (may be null).
    Autosave(Workspace& ws, const QString& base, DocumentHistory* history, QObject* parent = nullptr);
    // A clean end: the copy and the folder are removed.
    ~Autosave() override;

    // Takes the document now (in this thread) and has it written.
    void WriteNow();
    // What the timer does: a modified document is written, a clean one's copy removed.
    void Tick();
    // Removes the copy (a save, a clean exit, a document that is no longer modified).
    void Remove();
    // Waits until everything asked of the writer is done (tests, exit).
    void Flush();
    void SetInterval(int ms);

    const QString& Folder() const { return folder_; }
    const QString& Base() const { return base_; }
    // How long the last WriteNow kept the calling thread, in microseconds.
    qint64 LastTakeMicros() const { return lastTakeUs_; }
    // How many copies were written (by the writer, so far).
    int Written() const;

    // Offers the work left by runs that ended without cleaning up, newest
    // first, through ws.Ask: Recover / Discard / Later, or Discard / Later
    // for a copy that cannot be read.  beforeRestore runs just before a copy
    // replaces the document (the windows let go of it), afterRestore once the
    // copy is in ws.  True when a copy was recovered.
    bool OfferLeftWork(const std::function<void()>& afterRestore, const std::function<void()>& beforeRestore = {});

signals:
    // A copy could not be written (the reason, in the language of the run).
    void writeFailed(const QString& message);

private:
    void StepBoundary();
    void Post(std::function<void()> job);

    Workspace& ws_;
    QString base_, folder_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<RecoveryFolder> copy_;   // used by the writer thread only
    QThread* thread_ = nullptr;
    QObject* writer_ = nullptr;
    QTimer timer_;
    QElapsedTimer sinceWrite_;
    bool kept_ = false;   // a copy was asked for since the last removal
    qint64 lastTakeUs_ = 0;
    std::atomic<int> written_{0};
};

}  // namespace kt
