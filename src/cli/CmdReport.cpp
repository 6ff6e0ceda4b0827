// kt6383 report FILE OUT.pdf: the printed report of a job as a PDF file.
#include "cli/Cli.h"

#include "report/JobReport.h"
#include "shell/Settings.h"

#include <QLocale>

namespace kt::cli {

namespace {

int RunReport(const QStringList& args)
{
    const ParsedArgs p = ParseArgs(args, {"--root", "--paper", "--language"});
    if (p.help) return ShowHelp(kReport);
    if (!p.error.isEmpty()) return UsageError(kReport, p.error);
    if (p.positional.size() != 2) return UsageError(kReport, QStringLiteral("give a file and an output file"));
    const QString paperName = p.options.value("--paper", QStringLiteral("a4")).toLower();
    if (paperName != QLatin1String("a4") && paperName != QLatin1String("letter"))
        return UsageError(kReport, QStringLiteral("--paper is a4 or letter"));
    const QString language = p.options.value("--language").toLower();
    if (!language.isEmpty() && language != QLatin1String("en") && language != QLatin1String("zh"))
        return UsageError(kReport, QStringLiteral("--language is en or zh"));
    const QString file = p.positional[0];
    const QString out = p.positional[1];

    ToolAsker asker;
    auto ws = MakeWorkspace(p.options.value("--root"), asker);
    // The installation's language, as the desktop program would print.
    LoadSettings(*ws, SystemLanguageOf(QLocale::system()));
    if (!language.isEmpty()) ws->CurrentLanguage = language == QLatin1String("zh") ? Chinese : English;
    QString error;
    if (!LoadInput(*ws, file, error)) return BadInput(file, error);
    if (!ExportReportPdf(*ws, file, out, paperName == QLatin1String("letter") ? Paper::Letter : Paper::A4, error))
        return BadInput(out, QStringLiteral("cannot be written: ") + error);
    return kExitOk;
}

}  // namespace

const Command kReport{
    "report", "write the printed report of a job as a PDF file",
    "usage: kt6383 report FILE OUT.pdf [--paper a4|letter] [--language en|zh] [--root DIR]\n"
    "  FILE is a data file (.dat, with its .fre beside it) or a memory image (.img).\n"
    "  Writes the report the desktop program prints: the channels of every group,\n"
    "  the group settings, the option features, the DTMF codes and the roger-beep\n"
    "  patterns, with numbered pages.  Needs no display.\n"
    "  --paper        a4 (default) or letter\n"
    "  --language     en or zh (default: the installation's language setting)\n"
    "  --root DIR     installation root (default: the parent of the program's folder)\n",
    &RunReport};

}  // namespace kt::cli
