// Backups of the radio's memory: every image read from a radio or written to
// one is kept as it went over the line, in the user's data folder, named
// YYYYMMDD-HHMMSS-<model>-<firmware>-<port>-read.img (or -write.img; older
// backups have no port in the name); the newest
// ones are kept (200 unless the settings say otherwise).  A backup that
// cannot be written is a warning, never a failure of the transfer.
#pragma once

#include "base/Texts.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <cstdint>
#include <vector>

class QSettings;

namespace kt {

struct Workspace;

namespace bktxt {
inline constexpr Bi NotSaved{"The radio's memory was not backed up: %1", "未能备份对讲机的存储内容：%1"};
inline constexpr Bi Read{"read", "读取"};
inline constexpr Bi Write{"write", "写入"};
inline constexpr Bi Unreadable{"unreadable", "无法读取"};
inline constexpr Bi BandHf{"HF", "HF"};
inline constexpr Bi BandHam{"HAM", "HAM"};
inline constexpr Bi Preview{"Band in use: %1\nHF channels: %2\nHAM channels: %3",
                            "使用频段：%1\nHF 信道：%2\nHAM 信道：%3"};
inline constexpr Bi NotImage{"Not a memory image of this radio (%1 bytes, an image has %2).",
                             "不是本机的存储映像（%1 字节，映像应为 %2 字节）。"};
inline constexpr Bi NotNamed{"Not a backup of this program (the name says neither when nor what).",
                             "不是本程序的备份（文件名中没有时间和类型）。"};
inline constexpr Bi CannotRead{"Cannot be read: %1", "无法读取：%1"};
inline constexpr Bi TraceNotSaved{"The link trace was not kept beside the backup (%1): %2",
                                  "未能在备份旁保存通信记录（%1）：%2"};
}  // namespace bktxt

struct BackupInfo {
    QString path;
    QString fileName;
    bool readable = false;   // a whole image under a name this program gives
    QString problem;         // why not, in the language asked for
    QDateTime when;          // from the name
    int kind = 0;            // kRead or kWrite
    QString model, firmware;
    QString port;            // the port the image went over; empty when not known
    // From the image itself.
    int bandType = -1;       // 0 HF, 1 HAM
    int channels[2] = {0, 0};
};

class BackupStore {
public:
    static constexpr int kDefaultKeep = 200;
    explicit BackupStore(QString folder) : folder_(std::move(folder)) {}
    // <user data>/KT-6383 Pro/backups, for the desktop program and the
    // command-line tool alike.
    static QString DefaultFolder();
    // Where earlier versions kept them (the program's name twice).
    static QString OlderDefaultFolder();
    const QString& Folder() const { return folder_; }

    // port: a device path or a port's name; empty leaves it out of the name.
    static QString FileNameFor(const QDateTime& when, const QByteArray& model, const QByteArray& firmware, int kind,
                               const QString& port = {});
    // Writes the image whole or not at all; the path written, or empty with
    // the reason (naming the folder) in why.
    QString Save(const std::vector<uint8_t>& image, int kind, const QByteArray& model, const QByteArray& firmware,
                 const QDateTime& when, QString* why, const QString& port = {}) const;
    // Moves the backups of an older folder into this one (a name taken here
    // gets a counter) and removes the older folder when that leaves it
    // empty; files that are no backups stay.  Returns how many moved; why
    // names those that could not be moved.
    int TakeOver(const QString& older, QString* why = nullptr) const;
    // TakeOver of OlderDefaultFolder() into DefaultFolder(); cheap once done.
    static int TakeOverOlderDefault();
    // Removes the oldest of the backups this program named beyond the newest
    // keep; other files in the folder are left alone.  Returns how many went.
    int Prune(int keep) const;
    // Every file in the folder, newest first; what is not a readable backup
    // is listed with the reason.  The default folder's list also holds the
    // backups that could not be moved out of the older default folder.
    QList<BackupInfo> List(int language) const;

    static BackupInfo Inspect(const QString& path, int language);
    static bool Load(const QString& path, std::vector<uint8_t>& image, QString* why, int language);

private:
    QString folder_;
};

// "Backups/Keep" of the per-user settings store; at least 1.
int BackupLimit(QSettings& store);
void SetBackupLimit(QSettings& store, int keep);

// The link trace of a backup lies beside it: x.img has x.trace.txt, and goes
// when the backup is pruned.
inline const QString kTraceSuffix = QStringLiteral(".trace.txt");
QString TracePathOf(const QString& backupPath);

// After a successful transfer: the backup saved (with the trace of its
// transfer beside it, when given) and the folder pruned.  The warning to give
// when it could not be saved, else empty.  port names the port the image
// went over.
QString BackUpTransfer(const QString& folder, int keep, int kind, const std::vector<uint8_t>& image,
                       const Workspace& ws, const QString& port = {}, const QString& trace = {});
// The same for a radio of several at once, named by what it identified as.
QString BackUpImage(const QString& folder, int keep, int kind, const std::vector<uint8_t>& image,
                    const QByteArray& model, const QByteArray& firmware, int language, const QString& port = {},
                    const QString& trace = {});

// The preview line of a backup in the language: band in use and channel counts.
QString BackupPreview(const BackupInfo& b, int language);
QString BackupKindText(int kind, int language);
QString BandText(int bandType, int language);

// Puts an image in as an unnamed document, as a read from the radio does.
void OpenImageAsDocument(Workspace& ws, const std::vector<uint8_t>& image);

}  // namespace kt
