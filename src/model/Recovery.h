// Work that survives a crash.  While the document is modified the program
// keeps a copy of the working data as a data file pair in a folder of its own
// (one folder a running program), with an index naming the document, the time
// and a checksum of each file.  A copy is written whole and only then named
// by the index, so whatever moment the program dies at, the index names a
// complete pair or none.
#pragma once

#include "base/Texts.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace kt {

struct Workspace;

namespace rcvtxt {
// %1 the time the work was last kept ("14:32", or the date and time on another day).
inline constexpr Bi RecoverQuestion{"Recover the unsaved work from %1?", "恢复 %1 未保存的工作吗？"};
inline constexpr Bi Untitled{"(not saved yet)", "（尚未保存）"};
// %1 the time, %2 the reason.
inline constexpr Bi Unreadable{"The unsaved work from %1 cannot be recovered:\n%2",
                               "%1 未保存的工作无法恢复：\n%2"};
inline constexpr Bi UnknownTime{"an earlier run", "上次运行"};
inline constexpr Bi IndexMissing{"its index is missing.", "其索引文件丢失。"};
inline constexpr Bi IndexDamaged{"its index is damaged.", "其索引文件已损坏。"};
// %1 the format found, %2 the one this program reads.
inline constexpr Bi OtherFormat{"it was kept by another version of the program (format %1; this version reads format %2).",
                                "它由另一版本的程序保存（格式 %1；本版本读取格式 %2）。"};
// %1 a file name.
inline constexpr Bi FileMissing{"%1 is missing.", "%1 丢失。"};
inline constexpr Bi FileDamaged{"%1 is damaged (its contents do not match the index).",
                                "%1 已损坏（内容与索引不符）。"};
inline constexpr Bi CannotWrite{"The unsaved work could not be kept for recovery:\n%1",
                                "无法保存用于恢复的未保存工作：\n%1"};
}  // namespace rcvtxt

// What one write of the copy holds.  Made in the window's thread (a copy of
// some kilobytes), written in another.
struct RecoveryCopy {
    QByteArray data, channels;   // the pair as Save would write it
    QString originalPath;        // the document's name
    bool untitled = true;
    QDateTime savedAt;
};
RecoveryCopy TakeRecoveryCopy(const Workspace& ws, const QDateTime& at = QDateTime::currentDateTime());

// The copy kept in one folder.  Not thread-safe: one thread writes it.
class RecoveryFolder {
public:
    static constexpr int kFormat = 1;
    explicit RecoveryFolder(QString path) : path_(std::move(path)) {}
    // Writes a new pair, then the index naming it, then removes the pair
    // before it.  False with the system's reason when a file could not be written.
    bool Write(const RecoveryCopy& copy, QString* why = nullptr);
    // Removes the copy and its index; the folder itself stays.
    void Clear();
    const QString& path() const { return path_; }

private:
    QString path_;
    int generation_ = 0;
};

// What a folder holds, as the start of the program offers it.
struct RecoveryEntry {
    QString folder;
    bool empty = true;       // nothing was ever kept there
    bool readable = false;
    QString reason;          // not readable: why, in the language of the check
    QString originalPath;
    bool untitled = true;
    QDateTime savedAt;       // invalid when the index could not tell
    QString pairPath;        // the data file of the copy
};
// Reads the index and checks both files (checksums, then every check Open
// makes).  Never changes ws.
RecoveryEntry InspectRecovery(const QString& folder, const Workspace& ws);
// The time for the question: "14:32" today, with the date on another day.
QString RecoveryTimeText(const RecoveryEntry& e, int language);

// Puts the copy into ws as a modified document named as the original: the
// working data are the copy, the comparison is with the original file as it
// is now (or, for an untitled document or a file that is gone, with the
// document ws held before).  False, ws untouched, and why when the copy fails
// a check.
bool RestoreRecovery(Workspace& ws, const RecoveryEntry& e, QString& why);

}  // namespace kt
