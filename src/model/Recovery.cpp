#include "model/Recovery.h"
#include "base/BoundedRead.h"
#include "model/DataFile.h"
#include "model/Workspace.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <cerrno>
#include <cstring>

namespace kt {

namespace {

const QString kIndexName = QStringLiteral("recovery.ini");
constexpr qint64 kMostIndexBytes = 64 * 1024;

QByteArray Sum(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(); }

QString PairName(int generation) { return QStringLiteral("work-%1.dat").arg(generation); }

bool WriteWhole(const QString& path, const QByteArray& bytes, QString* why)
{
    errno = 0;
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit()) return true;
    if (why) *why = path + ": " + (f.errorString().isEmpty() ? QString::fromLocal8Bit(std::strerror(errno ? errno : EIO)) : f.errorString());
    return false;
}

// "key=value" lines; values are percent-encoded where they could hold a line break.
QHash<QByteArray, QByteArray> ParseIndex(const QByteArray& bytes)
{
    QHash<QByteArray, QByteArray> keys;
    for (const QByteArray& line : bytes.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0) keys.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return keys;
}

}  // namespace

RecoveryCopy TakeRecoveryCopy(const Workspace& ws, const QDateTime& at)
{
    RecoveryCopy c;
    c.data = WorkingDataBytes(ws);
    c.channels = WorkingChannelBytes(ws);
    c.originalPath = ws.IsUntitled ? QString() : QFileInfo(ws.CurrentFile).absoluteFilePath();
    c.untitled = ws.IsUntitled;
    c.savedAt = at;
    return c;
}

bool RecoveryFolder::Write(const RecoveryCopy& copy, QString* why)
{
    if (!QDir().mkpath(path_)) {
        if (why) *why = path_ + ": " + QString::fromLocal8Bit(std::strerror(errno ? errno : EACCES));
        return false;
    }
    const QDir dir(path_);
    const int next = generation_ + 1;
    const QString dat = dir.filePath(PairName(next));
    if (!WriteWhole(dat, copy.data, why) || !WriteWhole(ChannelFileOf(dat), copy.channels, why)) {
        QFile::remove(dat);
        return false;
    }
    QByteArray index;
    index += "Format=" + QByteArray::number(kFormat) + "\n";
    index += "Program=" KT_VERSION_TEXT "\n";
    index += "Pair=" + PairName(next).toUtf8() + "\n";
    index += "Untitled=" + QByteArray(copy.untitled ? "1" : "0") + "\n";
    index += "Original=" + QUrl::toPercentEncoding(copy.originalPath, "/") + "\n";
    index += "Saved=" + copy.savedAt.toUTC().toString(Qt::ISODateWithMs).toLatin1() + "\n";
    index += "DataSum=" + Sum(copy.data) + "\n";
    index += "ChannelSum=" + Sum(copy.channels) + "\n";
    if (!WriteWhole(dir.filePath(kIndexName), index, why)) {
        QFile::remove(dat);
        QFile::remove(ChannelFileOf(dat));
        return false;
    }
    // The index names the new pair; the one before it is no longer needed.
    if (generation_ >= 1) {
        QFile::remove(dir.filePath(PairName(generation_)));
        QFile::remove(ChannelFileOf(dir.filePath(PairName(generation_))));
    }
    generation_ = next;
    return true;
}

void RecoveryFolder::Clear()
{
    QDir dir(path_);
    // The index first: a pair without an index is never offered as work.
    QFile::remove(dir.filePath(kIndexName));
    for (const QString& f : dir.entryList({"work-*.dat", "work-*.fre"}, QDir::Files)) QFile::remove(dir.filePath(f));
}

RecoveryEntry InspectRecovery(const QString& folder, const Workspace& ws)
{
    RecoveryEntry e;
    e.folder = folder;
    const QDir dir(folder);
    const int L = ws.CurrentLanguage;
    const BoundedRead index = ReadBounded(dir.filePath(kIndexName), kMostIndexBytes);
    const bool anyPair = !dir.entryList({"work-*.dat", "work-*.fre"}, QDir::Files).isEmpty();
    if (index.status == BoundedRead::Missing && !anyPair) return e;   // nothing was kept
    e.empty = false;
    if (index.status == BoundedRead::Missing) {
        e.reason = rcvtxt::IndexMissing.in(L);
        return e;
    }
    if (!index.ok()) {
        e.reason = rcvtxt::IndexDamaged.in(L);
        return e;
    }
    const auto keys = ParseIndex(index.bytes);
    // The time and the name come first, so even a refused copy is named.
    e.savedAt = QDateTime::fromString(QString::fromLatin1(keys.value("Saved")), Qt::ISODateWithMs);
    e.untitled = keys.value("Untitled") != "0";
    e.originalPath = QUrl::fromPercentEncoding(keys.value("Original"));
    bool formatOk = false;
    const int format = keys.value("Format").toInt(&formatOk);
    if (!formatOk) {
        e.reason = rcvtxt::IndexDamaged.in(L);
        return e;
    }
    if (format != RecoveryFolder::kFormat) {
        e.reason = rcvtxt::OtherFormat.in(L).arg(format).arg(RecoveryFolder::kFormat);
        return e;
    }
    const QString pair = QString::fromUtf8(keys.value("Pair"));
    if (!e.savedAt.isValid() || pair.isEmpty() || pair.contains('/') || !pair.endsWith(".dat")
        || (!e.untitled && e.originalPath.isEmpty())) {
        e.reason = rcvtxt::IndexDamaged.in(L);
        return e;
    }
    e.pairPath = dir.filePath(pair);
    struct Member { QString path; QByteArray sum; };
    for (const Member& m : {Member{e.pairPath, keys.value("DataSum")}, Member{ChannelFileOf(e.pairPath), keys.value("ChannelSum")}}) {
        const BoundedRead r = ReadBounded(m.path, 1 << 20);
        const QString name = QFileInfo(m.path).fileName();
        if (r.status == BoundedRead::Missing) {
            e.reason = rcvtxt::FileMissing.in(L).arg(name);
            return e;
        }
        if (!r.ok() || Sum(r.bytes) != m.sum) {
            e.reason = rcvtxt::FileDamaged.in(L).arg(name);
            return e;
        }
    }
    // Every check Open makes, on a workspace of its own.
    Workspace trial;
    trial.Versions = ws.Versions;
    trial.CurrentLanguage = L;
    trial.CurrentFile = e.pairPath;
    const FileResult r = OpenDataFile(trial);
    if (r.kind != FileResult::Done || trial.ChannelsUnread > 0) {
        e.reason = r.message.isEmpty() ? rcvtxt::IndexDamaged.in(L) : r.message;
        return e;
    }
    e.readable = true;
    return e;
}

QString RecoveryTimeText(const RecoveryEntry& e, int language)
{
    if (!e.savedAt.isValid()) return rcvtxt::UnknownTime.in(language);
    const QDateTime local = e.savedAt.toLocalTime();
    if (local.date() == QDate::currentDate()) return local.toString(QStringLiteral("HH:mm"));
    return local.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

bool RestoreRecovery(Workspace& ws, const RecoveryEntry& e, QString& why)
{
    Workspace copy;
    copy.Versions = ws.Versions;
    copy.CurrentLanguage = ws.CurrentLanguage;
    copy.CurrentFile = e.pairPath;
    const FileResult r = OpenDataFile(copy);
    if (!e.readable || r.kind != FileResult::Done) {
        why = !e.reason.isEmpty() ? e.reason : r.message;
        return false;
    }
    // What the recovered data are compared with: the original as it is on
    // disk now, else the document held until now.
    DataRecord compareRecord = ws.FileRecord;
    ChannelTable compareChannels = ws.FileChannels;
    if (!e.untitled) {
        Workspace original;
        original.Versions = ws.Versions;
        original.CurrentFile = e.originalPath;
        if (OpenDataFile(original).kind == FileResult::Done && original.ChannelsUnread == 0) {
            compareRecord = original.FileRecord;
            compareChannels = original.FileChannels;
        }
    }
    ws.FileRecord = copy.FileRecord;
    ws.FileChannels = copy.FileChannels;
    ApplySnapshot(ws);
    ws.FileRecord = compareRecord;
    ws.FileChannels = compareChannels;
    ws.PreviousFile = ws.CurrentFile;
    ws.CurrentFile = e.untitled ? QStringLiteral("new.dat") : e.originalPath;
    ws.IsUntitled = e.untitled;
    ws.ChannelsUnread = 0;
    emit ws.Events().documentReplaced();
    ws.TitleChanged();
    return true;
}

}  // namespace kt
