// kt6383 check JOB: the channel check of "Check All Channel Frequency".
#include "cli/CsvIo.h"

#include "rules/channels/ChannelCheck.h"

namespace kt::cli {

namespace {

int RunCheck(const QStringList& raw)
{
    QStringList args = raw;
    const bool strict = TakeFlag(args, "--strict");
    const ParsedArgs p = ParseArgs(args, {"--root"});
    if (p.help) return ShowHelp(kCheck);
    if (!p.error.isEmpty()) return UsageError(kCheck, p.error);
    if (p.positional.size() != 1) return UsageError(kCheck, QStringLiteral("give exactly one job"));
    const QString in = p.positional[0];
    ToolAsker asker;
    auto ws = MakeWorkspace(p.options.value("--root"), asker);
    QString error;
    if (!LoadInput(*ws, in, error)) return BadInput(in, error);
    const QList<Finding> findings = CheckChannels(*ws);
    for (const Finding& f : findings) Out() << DescribeFinding(*ws, f) << "\n";
    Out().flush();
    const int errors = CountErrors(findings);
    const int notes = int(findings.size()) - errors;
    Warn(in, QStringLiteral("%1 error(s), %2 note(s)").arg(errors).arg(notes));
    return errors > 0 || (strict && notes > 0) ? kExitBadInput : kExitOk;
}

}  // namespace

const Command kCheck{
    "check", "check every channel of a job (range, raster, references, groups)",
    "usage: kt6383 check JOB [--strict] [--root DIR]\n"
    "  JOB is a .dat (with its .fre) or an .img.  Prints one line per finding on standard\n"
    "  output, tab-separated: severity, band, group, channel (- for the group), reason.\n"
    "  Errors are what the radio would get wrong: a frequency outside the band or off the\n"
    "  10 Hz raster, BOT/EOT/Call naming an empty DTMF code, Roger naming a pattern without\n"
    "  tones, an emergency channel naming an empty channel.  Notes: channels past a group's\n"
    "  rows (41-46 of lettered groups), equal frequencies within a group, valid groups\n"
    "  without a channel.\n"
    "  --strict   exit 1 for notes too\n"
    "  Exit status: 0 clean, 1 an error (or a note with --strict) or bad input, 2 usage.\n",
    &RunCheck};

}  // namespace kt::cli
