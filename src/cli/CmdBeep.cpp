// kt6383 beep FILE N OUT.wav: roger-beep pattern N of a job as a WAV file,
// the same samples the desktop program's player plays.
#include "cli/Cli.h"

#include "rules/rogerbeep/RbRules.h"
#include "rules/rogerbeep/RbWav.h"

#include <QFile>

namespace kt::cli {

namespace {

int RunBeep(const QStringList& args)
{
    const ParsedArgs p = ParseArgs(args, {"--root", "--runs"});
    if (p.help) return ShowHelp(kBeep);
    if (!p.error.isEmpty()) return UsageError(kBeep, p.error);
    if (p.positional.size() != 3) return UsageError(kBeep, QStringLiteral("give a file, a pattern number and an output file"));
    const QString file = p.positional[0];
    const QString out = p.positional[2];
    bool ok = false;
    const int n = p.positional[1].toInt(&ok);
    if (!ok) return UsageError(kBeep, QStringLiteral("the pattern number must be a number from 1 to %1").arg(kRbPatterns));
    int runs = 0;
    if (p.options.contains("--runs")) {
        runs = p.options.value("--runs").toInt(&ok);
        if (!ok || runs < 1 || runs > 255) return UsageError(kBeep, QStringLiteral("--runs takes a number from 1 to 255"));
    }

    ToolAsker asker;
    auto ws = MakeWorkspace(p.options.value("--root"), asker);
    QString error;
    if (!LoadInput(*ws, file, error)) return BadInput(file, error);
    if (n < 1 || n > kRbPatterns)
        return BadInput(file, QStringLiteral("there is no roger-beep pattern %1 (patterns are 1 to %2)").arg(n).arg(kRbPatterns));
    if (!PatternIsDefined(*ws, n))
        return BadInput(file, QStringLiteral("roger-beep pattern %1 is not defined").arg(n));
    const RbPatternRec& rb = Pattern(*ws, n);

    if (out == QLatin1String("-")) {
        QFile f;
        if (!f.open(stdout, QIODevice::WriteOnly)) return BadInput(out, f.errorString());
        const QByteArray wav = PatternWav(rb, runs);
        if (f.write(wav) != wav.size() || !f.flush()) return BadInput(QStringLiteral("(standard output)"), f.errorString());
        return kExitOk;
    }
    if (!SavePatternWav(out, rb, runs, error)) return BadInput(out, QStringLiteral("cannot be written: ") + error);
    return kExitOk;
}

}  // namespace

const Command kBeep{
    "beep", "write a roger-beep pattern as a WAV file",
    "usage: kt6383 beep FILE N OUT.wav [--runs K] [--root DIR]\n"
    "  FILE is a data file (.dat, with its .fre beside it) or a memory image (.img).\n"
    "  Writes roger-beep pattern N (1-8) as it plays: every tone, rest and pause\n"
    "  of every run, 16-bit mono PCM at 48000 Hz.  OUT.wav \"-\" writes to stdout.\n"
    "  --runs K     play the pattern K times (1-255) instead of its recycle count\n"
    "  --root DIR   installation root (default: the parent of the program's folder)\n",
    &RunBeep};

}  // namespace kt::cli
