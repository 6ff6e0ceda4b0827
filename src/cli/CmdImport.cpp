// kt6383 import IN.csv OUT.dat: channels from a CSV file on top of a job.
#include "cli/CsvIo.h"

#include "model/DataFile.h"
#include "model/Defaults.h"
#include "rules/channels/CsvTable.h"

#include <QFileInfo>

namespace kt::cli {

namespace {

int RunImport(const QStringList& raw)
{
    QStringList args = raw;
    const bool drop = TakeFlag(args, "--drop-unsupported");
    const ParsedArgs p = ParseArgs(args, {"--root", "--format", "--band", "--group", "--into", "--band-class"});
    if (p.help) return ShowHelp(kImport);
    if (!p.error.isEmpty()) return UsageError(kImport, p.error);
    if (p.positional.size() != 2) return UsageError(kImport, QStringLiteral("give the CSV file and the output .dat"));
    bool interchange = false;
    CsvPlace place;
    QString error;
    if (!ParseLayout(p, true, interchange, place, error)) return UsageError(kImport, error);
    const QString in = p.positional[0], out = p.positional[1];
    if (!IsDataPath(out)) return UsageError(kImport, QStringLiteral("the output must be a .dat file (its .fre goes beside it)"));
    const QString cls = p.options.value("--band-class", "0");
    if (cls != QLatin1String("0") && cls != QLatin1String("1"))
        return UsageError(kImport, QStringLiteral("--band-class is 0 or 1, not ") + cls);
    if (p.options.contains("--into") && p.options.contains("--band-class"))
        return UsageError(kImport, QStringLiteral("--into and --band-class exclude each other (the base has its band)"));

    ToolAsker asker;
    auto ws = MakeWorkspace(p.options.value("--root"), asker);
    const QString base = p.options.value("--into");
    if (!base.isEmpty()) {
        if (!LoadInput(*ws, base, error)) return BadInput(base, error);
    } else {
        BuildNewDocument(*ws, cls.toInt());
    }
    QByteArray bytes;
    const QString shown = ShownName(in, true);
    if (!ReadCsvFile(in, ws->CurrentLanguage, bytes, error)) return BadInput(shown, error);

    CsvImportOptions opt;
    opt.forceInterchange = interchange;
    opt.place = place;
    opt.dropUnsupported = drop;
    const CsvImport r = ImportChannelsCsv(*ws, bytes, opt);
    for (const QString& line : DescribeIssues(*ws, r.warnings)) Warn(shown, line);
    if (!r.ok()) {
        for (const QString& line : DescribeIssues(*ws, r.errors)) Warn(shown, line);
        Warn(out, QStringLiteral("not written: %1 problem(s) in the CSV file").arg(r.errors.total()));
        return kExitBadInput;
    }
    ws->CurrentFile = QFileInfo(out).absoluteFilePath();
    const FileResult saved = SaveDataFile(*ws);
    if (saved.kind != FileResult::Done) return BadInput(out, saved.message);
    Out() << "kt6383: " << r.channels << " channels in " << r.groups.size() << " group(s); wrote " << out << " and "
          << ChannelFileOf(out) << "\n";
    const QString note = NotGridGroupsNote(*ws, r);
    if (!note.isEmpty()) Out() << "kt6383: " << note << "\n";
    Out().flush();
    return kExitOk;
}

}  // namespace

const Command kImport{
    "import", "channels from a CSV file on top of a job, as a data file pair",
    "usage: kt6383 import IN.csv OUT.dat [--into BASE.dat|BASE.img | --band-class 0|1]\n"
    "                     [--format interchange] [--band hf|ham] [--group A..O|MEM|VFO]\n"
    "                     [--drop-unsupported] [--root DIR]\n"
    "  IN.csv may be - for standard input.  Writes OUT.dat and OUT.fre: the CSV's channels\n"
    "  on top of BASE, or of the new job of --band-class (default 0; see kt6383 new).  Every\n"
    "  group the CSV names is replaced by its channels; other groups, group settings and\n"
    "  options stay as they are.  The layout comes from the header (see kt6383 export\n"
    "  --help); the interchange layout fills the group of --band and --group (default MEM\n"
    "  of hf) in Location order.  Name, Comment, TStep and Power are not read.\n"
    "  Every row is checked against what the radio can hold; any problem is printed with\n"
    "  its line and column and nothing is written.  A value the radio holds that the\n"
    "  channel grid would not offer (a frequency outside the band, an empty DTMF code,\n"
    "  channel 41 of a lettered group) is kept as it is, with a warning line, so a job's\n"
    "  own export imports back into it unchanged.  Groups the grid does not edit (the\n"
    "  HAM band's lettered groups and VFO) may be replaced; the summary names them.\n"
    "  --drop-unsupported     interchange: keep rows without the values this radio cannot\n"
    "                         hold (a warning per line) instead of refusing the file\n"
    "  Exit status: 0 written, 1 bad input (nothing written), 2 usage.\n",
    &RunImport};

}  // namespace kt::cli
