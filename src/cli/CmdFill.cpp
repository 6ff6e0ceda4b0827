// kt6383 fill JOB.dat: a group's frequencies from a band plan.
#include "cli/Cli.h"

#include "base/Messages.h"
#include "model/ChannelRules.h"
#include "model/DataFile.h"
#include "rules/channels/ChannelFill.h"

#include <QFileInfo>

namespace kt::cli {

namespace {

// "-o OUT" is the one short option; the others go through ParseArgs.
bool TakeOutput(QStringList& args, QString& out, QString& error)
{
    const int i = int(args.indexOf(QStringLiteral("-o")));
    if (i < 0) return true;
    if (i + 1 >= args.size()) {
        error = QStringLiteral("-o needs a value");
        return false;
    }
    out = args[i + 1];
    args.remove(i, 2);
    if (args.contains(QStringLiteral("-o"))) {
        error = QStringLiteral("-o is given twice");
        return false;
    }
    return true;
}

int RunFill(const QStringList& raw)
{
    QStringList args = raw;
    QString out, error;
    if (!TakeOutput(args, out, error)) return UsageError(kFill, error);
    const ParsedArgs p = ParseArgs(args, {"--root", "--band", "--group", "--plan", "--segment", "--grid", "--start",
                                          "--step", "--channels"});
    if (p.help) return ShowHelp(kFill);
    if (!p.error.isEmpty()) return UsageError(kFill, p.error);
    if (p.positional.size() != 1) return UsageError(kFill, QStringLiteral("give the job's .dat file"));
    const QString in = p.positional[0];
    if (out.isEmpty()) out = in;
    if (!IsDataPath(in) || !IsDataPath(out))
        return UsageError(kFill, QStringLiteral("the job and the output are .dat files (each with its .fre)"));

    FillRequest req;
    const QString band = p.options.value("--band", "hf").toLower();
    if (band != QLatin1String("hf") && band != QLatin1String("ham"))
        return UsageError(kFill, QStringLiteral("--band is hf or ham, not ") + p.options.value("--band"));
    req.band = band == QLatin1String("hf") ? 0 : 1;
    if (!p.options.contains("--group")) return UsageError(kFill, QStringLiteral("give the group (--group A..O or MEM)"));
    const QString group = p.options.value("--group").toUpper();
    req.group = GroupNumber(req.band, group);
    if (req.group == 0) return UsageError(kFill, QStringLiteral("--group: band %1 has no group %2").arg(band, group));

    const bool cb = p.options.contains("--plan");
    const bool startStep = p.options.contains("--start");
    if (cb == startStep) return UsageError(kFill, QStringLiteral("give either --plan cb40 or --start"));
    if (cb && p.options.value("--plan").toLower() != QLatin1String("cb40"))
        return UsageError(kFill, QStringLiteral("--plan is cb40, not ") + p.options.value("--plan"));
    if (cb && p.options.contains("--step")) return UsageError(kFill, QStringLiteral("--step goes with --start"));
    if (startStep && (p.options.contains("--segment") || p.options.contains("--grid")))
        return UsageError(kFill, QStringLiteral("--segment and --grid go with --plan cb40"));

    ToolAsker asker;
    auto ws = MakeWorkspace(p.options.value("--root"), asker);
    const int L = ws->CurrentLanguage;
    auto mhz = [&](const char* option, long long& hz) {
        const QString text = p.options.value(option);
        if (ParseMhz(text, hz)) return true;
        error = QString::fromLatin1(option) + QStringLiteral(": ") + filltxt::BadNumber.in(L).arg(text);
        return false;
    };
    if (cb) {
        req.plan = FillPlan::Cb40;
        if (p.options.contains("--segment") && !mhz("--segment", req.segmentHz)) return UsageError(kFill, error);
        const QString grid = p.options.value("--grid", "5");
        if (grid != QLatin1String("0") && grid != QLatin1String("5"))
            return UsageError(kFill, QStringLiteral("--grid is 0 or 5, not ") + grid);
        req.grid = grid.toInt();
    } else {
        req.plan = FillPlan::StartStep;
        if (!mhz("--start", req.startHz)) return UsageError(kFill, error);
        if (p.options.contains("--step") && !mhz("--step", req.stepHz)) return UsageError(kFill, error);
    }
    if (p.options.contains("--channels") && !ParseChannelList(p.options.value("--channels"), req.channels))
        return UsageError(kFill, QStringLiteral("--channels takes numbers and ranges such as 1-40 or 1,3,5-7, not ") +
                                     p.options.value("--channels"));

    if (!LoadInput(*ws, in, error)) return BadInput(in, error);
    // Saving a pair whose channel file could not give its channels would write them away.
    if (ws->ChannelsUnread > 0) return BadInput(ChannelFileOf(in), ws->T(msg::ChannelsMissingRefused).arg(ws->ChannelsUnread));
    const FillOutcome r = FillChannels(*ws, req);
    if (!r.ok()) return BadInput(in, FillErrorText(r, req, L));
    ws->CurrentFile = QFileInfo(out).absoluteFilePath();
    const FileResult saved = SaveDataFile(*ws);
    if (saved.kind != FileResult::Done) return BadInput(out, saved.message);
    Out() << "kt6383: filled " << r.planned.size() << " channel(s) of group " << group << " (" << r.added << " new, "
          << r.changed << " changed); wrote " << out << " and " << ChannelFileOf(out) << "\n";
    Out().flush();
    return kExitOk;
}

}  // namespace

const Command kFill{
    "fill", "fill a group's frequencies from a band plan, in a data file pair",
    "usage: kt6383 fill JOB.dat --group A..O|MEM [--band hf|ham]\n"
    "                   (--plan cb40 [--segment MHZ] [--grid 0|5] | --start MHZ [--step MHZ])\n"
    "                   [--channels 1-40] [-o OUT.dat] [--root DIR]\n"
    "  Gives the channels of one group their frequencies and writes the pair back\n"
    "  (JOB.dat and JOB.fre), or to OUT.dat and OUT.fre with -o.  A row without a\n"
    "  channel becomes one with the values a typed frequency gives; a channel there\n"
    "  keeps every value but its frequency.\n"
    "  --plan cb40      the 40-channel CB raster of a 450 kHz segment (channel 23 above\n"
    "                   24 and 25; 3A, 7A, 11A, 15A and 19A are not placed)\n"
    "  --segment MHZ    channel 1 of the segment on the 5 grid; default for HF groups\n"
    "                   A-L: 24.715 + 0.450 per letter (F: 26.965); other groups need it\n"
    "  --grid 0|5       0 puts every channel 5 kHz lower (26.960 instead of 26.965)\n"
    "  --start MHZ      the first channel's frequency; --step MHZ (default 0.010) is\n"
    "                   added for each following channel, in channel order\n"
    "  --channels LIST  the channels to fill (1-40, 1,3,5-7); default every row of the\n"
    "                   group (1-40 with --plan cb40)\n"
    "  Every frequency is checked against the band first: one outside it is named\n"
    "  with its channel and nothing is written.\n"
    "  Exit status: 0 written, 1 bad input (nothing written), 2 usage.\n",
    &RunFill};

}  // namespace kt::cli
