// kt6383 diff A B: what differs between two jobs, images or radios.
#include "cli/Cli.h"

#include "link/LinkCommandParts.h"
#include "link/LinkCommands.h"
#include "rules/compare/Compare.h"

#include <QFile>
#include <algorithm>
#include <QTemporaryDir>

namespace kt::cli {

namespace {

constexpr int kExitDiffer = 1;
constexpr int kExitTrouble = 2;   // a usage error or an input that cannot be read

// One side as the command line gives it: a file, or a port to read first.
struct SideArg {
    QString file;
    QString port;
    QString Name() const { return port.isEmpty() ? file : QStringLiteral("radio on %1").arg(port); }
};

// Reads the radio on port into an image in dir as `kt6383 read` does (with
// its backup unless noBackup); the image's path, empty when nothing was read.
// portArgs carries --dtr, --rts and --trace through to that read.
QString ReadRadio(const SideArg& side, const QString& root, bool noBackup, const QStringList& portArgs,
                  const QString& dir, int n)
{
    const QString out = QStringLiteral("%1/radio-%2.img").arg(dir).arg(n);
    QStringList args{QStringLiteral("--port"), side.port, QStringLiteral("--yes")};
    args << portArgs;
    if (!root.isEmpty()) args << QStringLiteral("--root") << root;
    if (noBackup) args << QStringLiteral("--no-backup");
    args << out;
    return RunReadCommand(args) == 0 && QFile::exists(out) ? out : QString();
}

int RunDiff(const QStringList& raw)
{
    // --port may stand for either side, so the sides are taken in order.
    QStringList rest;
    QList<SideArg> ordered;
    bool noBackup = false;
    QStringList portArgs;
    linkcmd::PortOptions portOptions;
    const QStringList valueOptions{"--root", "--format", "--lang"};
    for (int i = 0; i < raw.size(); ++i) {
        const QString& w = raw[i];
        if (w == QLatin1String("--port")) {
            if (i + 1 >= raw.size()) return UsageError(kDiff, QStringLiteral("--port needs a value"));
            ordered << SideArg{{}, raw[++i]};
            continue;
        }
        const int at = i;
        QString error;
        if (linkcmd::TakePortOption(raw, i, portOptions, error)) {
            if (!error.isEmpty()) return UsageError(kDiff, error);
            portArgs << raw.mid(at, i - at + 1);
            continue;
        }
        if (w == QLatin1String("--no-backup")) {
            noBackup = true;
            continue;
        }
        rest << w;
        if (valueOptions.contains(w) && i + 1 < raw.size()) rest << raw[++i];
        else if (!w.startsWith(QLatin1String("-"))) ordered << SideArg{w, {}};
    }
    const ParsedArgs p = ParseArgs(rest, valueOptions);
    if (p.help) return ShowHelp(kDiff);
    if (!p.error.isEmpty()) return UsageError(kDiff, p.error);
    if (ordered.size() != 2) return UsageError(kDiff, QStringLiteral("give exactly two inputs (files or --port)"));
    const int ports = int(std::count_if(ordered.begin(), ordered.end(), [](const SideArg& s) { return !s.port.isEmpty(); }));
    if (!portArgs.isEmpty() && ports == 0)
        return UsageError(kDiff, QStringLiteral("--dtr, --rts and --trace need --port"));
    if (!portOptions.trace.isEmpty() && ports > 1)
        return UsageError(kDiff, QStringLiteral("--trace takes one --port"));
    const QString format = p.options.value("--format", QStringLiteral("table"));
    if (format != QLatin1String("table") && format != QLatin1String("csv") && format != QLatin1String("json"))
        return UsageError(kDiff, QStringLiteral("--format must be table, csv or json"));
    const QString lang = p.options.value("--lang", QStringLiteral("en"));
    if (lang != QLatin1String("en") && lang != QLatin1String("zh"))
        return UsageError(kDiff, QStringLiteral("--lang must be en or zh"));
    const int language = lang == QLatin1String("zh") ? Chinese : English;
    const QString root = p.options.value("--root");

    ToolAsker asker;
    QTemporaryDir temp;
    cmp::Document docs[2];
    for (int i = 0; i < 2; ++i) {
        const SideArg& s = ordered[i];
        QString path = s.file;
        if (!s.port.isEmpty()) {
            path = ReadRadio(s, root, noBackup, portArgs, temp.path(), i);
            if (path.isEmpty()) {
                Warn(s.Name(), QStringLiteral("the radio was not read"));
                return kExitTrouble;
            }
        }
        auto ws = MakeWorkspace(root, asker);
        ws->CurrentLanguage = language;
        QString error;
        if (!LoadInput(*ws, path, error)) {
            Warn(s.Name(), error);
            return kExitTrouble;
        }
        docs[i].isImage = IsImagePath(path);
        docs[i].name = s.Name();
        docs[i].ws = std::move(ws);
    }
    const cmp::Result r = cmp::Compare(docs[0], docs[1]);
    if (format == QLatin1String("csv")) Out() << cmp::CsvText(r, language);
    else if (format == QLatin1String("json")) Out() << cmp::JsonText(r, language, docs[0].name, docs[1].name);
    else Out() << cmp::TableText(r, language, docs[0].name, docs[1].name);
    Out().flush();
    return r.equal() ? kExitOk : kExitDiffer;
}

}  // namespace

const Command kDiff{
    "diff", "show what differs between two jobs, images or radios",
    "usage: kt6383 diff A B [--format table|csv|json] [--lang en|zh] [--no-backup] [--root DIR]\n"
    "                        [--dtr on|off] [--rts on|off] [--trace FILE]\n"
    "  A and B are each a data file pair (x.dat with its x.fre), a memory image (x.img) or\n"
    "  --port DEV: the radio on DEV ('sim' for the simulated radio), read first and kept in\n"
    "  the backups as 'kt6383 read' does (unless --no-backup); --dtr, --rts and --trace act\n"
    "  on that read as they do for 'kt6383 read' (--trace with one --port only).\n"
    "  Prints every difference by place: channels (added, removed, a field changed), group\n"
    "  settings, option features, DTMF codes and settings, roger-beep patterns; between two\n"
    "  images also the bytes no field holds, as address ranges.  A data file's own fields\n"
    "  (model information, group names) are compared only between two data files.\n"
    "  --format csv: kind,band,group,channel,index,address,place,item,field,change,a,b\n"
    "  --format json: an object with the two names and the list of differences\n"
    "  --lang zh: labels and values in Chinese\n"
    "  Exit status: 0 equal, 1 different, 2 usage error or an input that cannot be read.\n",
    &RunDiff};

}  // namespace kt::cli
