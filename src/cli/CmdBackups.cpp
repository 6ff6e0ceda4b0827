// kt6383 backups: the images that read and write kept, newest first.
#include "cli/Cli.h"

#include "link/Backups.h"
#include "link/LinkMachine.h"

#include <QDir>
#include <QSettings>

namespace kt::cli {

namespace {

int RunBackups(const QStringList& args)
{
    const ParsedArgs p = ParseArgs(args, {"--keep"});
    if (p.help) return ShowHelp(kBackups);
    if (!p.error.isEmpty()) return UsageError(kBackups, p.error);
    if (!p.positional.isEmpty()) return UsageError(kBackups, QStringLiteral("no files are given to this command"));
    BackupStore::TakeOverOlderDefault();
    const BackupStore store(BackupStore::DefaultFolder());
    if (p.options.contains("--keep")) {
        bool ok = false;
        const int keep = p.options.value("--keep").toInt(&ok);
        if (!ok || keep < 1) return UsageError(kBackups, QStringLiteral("--keep needs a number of at least 1"));
        QSettings settings(QStringLiteral("KT-6383 Pro"), QStringLiteral("KT-6383 Pro"));
        SetBackupLimit(settings, keep);
        store.Prune(keep);
    }
    const QList<BackupInfo> list = store.List(English);
    if (list.isEmpty()) Warn(QDir::toNativeSeparators(store.Folder()), QStringLiteral("no backups"));
    for (const BackupInfo& b : list) {
        const QString when = b.when.isValid() ? b.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : "-";
        QStringList cols{when};
        if (b.readable) {
            cols << BackupKindText(b.kind, English) << b.model << b.firmware << (b.port.isEmpty() ? "-" : b.port)
                 << BandText(b.bandType, English)
                 << QString::number(b.channels[0]) << QString::number(b.channels[1]) << b.path;
        } else {
            cols << bktxt::Unreadable.in(English) << (b.model.isEmpty() ? "-" : b.model)
                 << (b.firmware.isEmpty() ? "-" : b.firmware) << (b.port.isEmpty() ? "-" : b.port) << "-" << "-"
                 << "-" << b.path << b.problem;
        }
        Out() << cols.join('\t') << "\n";
    }
    Out().flush();
    return kExitOk;
}

}  // namespace

const Command kBackups{
    "backups", "list the backups of the images read from and written to radios",
    "usage: kt6383 backups [--keep N]\n"
    "  Lists the backups that read and write keep of every image they read from or write to\n"
    "  a radio (the desktop program keeps its own in the same folder), newest first, one per\n"
    "  line, tab-separated: date and time, kind (read or write), model, firmware, port (\"-\"\n"
    "  when the backup does not say), band in use, HF channels, HAM channels, file.  A file\n"
    "  of the folder that is no readable backup is listed as unreadable, with the reason\n"
    "  after the file.\n"
    "  --keep N   keep the newest N backups from now on (a setting the desktop program shares;\n"
    "             200 unless set) and remove the older ones now\n"
    "  Exit status: 0, or 2 for a usage error.\n",
    &RunBackups};

}  // namespace kt::cli
