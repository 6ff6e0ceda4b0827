// kt6383 new OUT.dat [--band-class 0|1]: a new job as a data file pair, the
// same one the desktop program starts with.
#include "cli/Cli.h"

#include "model/DataFile.h"
#include "model/Defaults.h"

#include <QFileInfo>

namespace kt::cli {

namespace {

int RunNew(const QStringList& args)
{
    const ParsedArgs p = ParseArgs(args, {"--root", "--band-class"});
    if (p.help) return ShowHelp(kNew);
    if (!p.error.isEmpty()) return UsageError(kNew, p.error);
    if (p.positional.size() != 1) return UsageError(kNew, QStringLiteral("give exactly one output file"));
    const QString out = p.positional[0];
    if (!IsDataPath(out)) return UsageError(kNew, QStringLiteral("the output must be a .dat file"));
    const QString cls = p.options.value("--band-class", "0");
    if (cls != QLatin1String("0") && cls != QLatin1String("1"))
        return UsageError(kNew, QStringLiteral("--band-class is 0 or 1, not ") + cls);

    ToolAsker asker;
    auto ws = MakeWorkspace(p.options.value("--root"), asker);
    BuildNewDocument(*ws, cls.toInt());
    ws->CurrentFile = QFileInfo(out).absoluteFilePath();
    const FileResult r = SaveDataFile(*ws);
    if (r.kind != FileResult::Done) return BadInput(out, r.message);
    Out() << "kt6383: wrote " << out << " and " << ChannelFileOf(out) << "\n";
    Out().flush();
    return kExitOk;
}

}  // namespace

const Command kNew{
    "new", "write a new job as a data file pair",
    "usage: kt6383 new OUT.dat [--band-class 0|1] [--root DIR]\n"
    "  Writes the job the desktop program starts with to OUT.dat and its channel file\n"
    "  (OUT.fre beside it): the installation's new-document template of the band class\n"
    "  (Init/<class>_YF6383_New.dat beside the program), or the built-in default data\n"
    "  when the installation has none.\n"
    "  --band-class 0   the HF band, 24.7150 - 30.1050 MHz (default)\n"
    "  --band-class 1   the HAM band, 28.0000 - 29.6950 MHz\n"
    "  --root DIR       installation root (default: the parent of the program's folder)\n",
    &RunNew};

}  // namespace kt::cli
