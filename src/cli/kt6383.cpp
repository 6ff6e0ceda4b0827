// kt6383: the command-line tool over the core library.  Every command is one
// entry of the table below and lives in its own Cmd*.cpp file.
#include "cli/Cli.h"
#include "report/ReportApp.h"

#include <cstring>

namespace {

using kt::cli::Command;

const Command* const kCommands[] = {
    &kt::cli::kShow,
    &kt::cli::kConvert,
    &kt::cli::kNew,
    &kt::cli::kRead, &kt::cli::kWrite, &kt::cli::kSimulate,
    &kt::cli::kBeep, &kt::cli::kReport,
    &kt::cli::kExport, &kt::cli::kImport, &kt::cli::kCheck,
    &kt::cli::kBackups, &kt::cli::kPorts,
    &kt::cli::kFill,
    &kt::cli::kDiff,
};

void PrintOverview(QTextStream& s)
{
    s << "usage: kt6383 COMMAND [ARGS...]   (kt6383 COMMAND --help for its options)\n\ncommands:\n";
    for (const Command* c : kCommands) s << "  " << QString::fromLatin1(c->name).leftJustified(10) << c->summary << "\n";
    s.flush();
}

}  // namespace

int main(int argc, char** argv)
{
    const bool paints = argc > 1 && std::strcmp(argv[1], "report") == 0;
    const auto app = kt::MakeToolApplication(argc, argv, paints);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        PrintOverview(kt::cli::Err());
        return kt::cli::kExitUsage;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        PrintOverview(kt::cli::Out());
        return kt::cli::kExitOk;
    }
    for (const Command* c : kCommands)
        if (name == QLatin1String(c->name)) return c->run(args);
    kt::cli::Err() << "kt6383: unknown command " << name << "\n";
    PrintOverview(kt::cli::Err());
    return kt::cli::kExitUsage;
}
