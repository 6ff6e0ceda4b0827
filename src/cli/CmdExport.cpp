// kt6383 export JOB OUT.csv: the channels of a job as a CSV file.
#include "cli/CsvIo.h"

namespace kt::cli {

namespace {

int RunExport(const QStringList& raw)
{
    QStringList args = raw;
    const bool drop = TakeFlag(args, "--drop-unsupported");
    const ParsedArgs p = ParseArgs(args, {"--root", "--format", "--band", "--group"});
    if (p.help) return ShowHelp(kExport);
    if (!p.error.isEmpty()) return UsageError(kExport, p.error);
    if (p.positional.size() != 2) return UsageError(kExport, QStringLiteral("give the job and the CSV file"));
    bool interchange = false;
    CsvPlace place;
    QString error;
    if (!ParseLayout(p, false, interchange, place, error)) return UsageError(kExport, error);
    if (drop && !interchange) return UsageError(kExport, QStringLiteral("--drop-unsupported goes with --format interchange"));
    const QString in = p.positional[0], out = p.positional[1];

    ToolAsker asker;
    auto ws = MakeWorkspace(p.options.value("--root"), asker);
    if (!LoadInput(*ws, in, error)) return BadInput(in, error);
    const CsvExport e = interchange ? ExportInterchangeCsv(*ws, place, drop) : ExportChannelsCsv(*ws);
    for (const CsvIssue& i : e.warnings) Warn(in, DescribeIssue(*ws, i));
    if (!e.errors.isEmpty()) {
        for (const CsvIssue& i : e.errors) Warn(in, DescribeIssue(*ws, i));
        Warn(ShownName(out, false), QStringLiteral("not written (--drop-unsupported leaves such values out)"));
        return kExitBadInput;
    }
    if (!WriteAllTo(out, e.bytes, error)) return BadInput(ShownName(out, false), error);
    if (out != QLatin1String("-")) {
        Out() << "kt6383: wrote " << e.channels << " channels to " << out << "\n";
        Out().flush();
    }
    return kExitOk;
}

}  // namespace

const Command kExport{
    "export", "write the channels of a job as a CSV file",
    "usage: kt6383 export JOB OUT.csv [--format full|interchange] [--band hf|ham]\n"
    "                     [--group A..O|MEM|VFO] [--drop-unsupported] [--root DIR]\n"
    "  JOB is a .dat (with its .fre) or an .img; OUT.csv may be - for standard output.\n"
    "  --format full          (default) every channel of both bands, one row each:\n"
    "                         Band,Group,Channel,Frequency,BUSY,REP,RXCTC,TXCTC,Scan,Public,\n"
    "                         BOT,EOT,Call,HI-CUT,NB/ANL,ECHO,+10KHz,Roger,Mode\n"
    "                         (RXCTC/TXCTC: Off, a CTCSS entry C_008(88.5Hz) or a DCS entry D_012(065N))\n"
    "  --format interchange   one group in the Location,Name,Frequency,Duplex,Offset,Tone,...\n"
    "                         layout; --band and --group name it (default: MEM of hf)\n"
    "  --drop-unsupported     interchange: leave out what the layout cannot hold (PA, cross\n"
    "                         tones), with a warning per line, instead of writing nothing\n"
    "  Exit status: 0 written, 1 bad input or nothing written, 2 usage.\n",
    &RunExport};

}  // namespace kt::cli
