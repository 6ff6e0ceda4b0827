// kt6383 convert IN OUT: data file pair <-> raw memory image, by extension.
#include "cli/Cli.h"

#include "base/Messages.h"
#include "model/Codec.h"
#include "model/DataFile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace kt::cli {

namespace {

int WriteImage(Workspace& ws, const QString& out)
{
    ClearImage(ws);
    EncodeImage(ws);
    QSaveFile f(out);
    const QByteArray bytes(reinterpret_cast<const char*>(ws.MemImage.data()), qsizetype(ws.MemImage.size()));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        return BadInput(out, QStringLiteral("cannot be written: ") + f.errorString());
    return kExitOk;
}

int WriteDataFile(Workspace& ws, const QString& out)
{
    ws.CurrentFile = QFileInfo(out).absoluteFilePath();
    const FileResult r = SaveDataFile(ws);
    if (r.kind != FileResult::Done) return BadInput(out, r.message);
    return kExitOk;
}

int RunConvert(const QStringList& args)
{
    QStringList rest = args;
    const bool allowMissing = rest.removeAll(QStringLiteral("--allow-missing-channels")) > 0;
    const ParsedArgs p = ParseArgs(rest, {"--root"});
    if (p.help) return ShowHelp(kConvert);
    if (!p.error.isEmpty()) return UsageError(kConvert, p.error);
    if (p.positional.size() != 2) return UsageError(kConvert, QStringLiteral("give an input and an output file"));
    const QString in = p.positional[0], out = p.positional[1];
    const bool toImage = IsDataPath(in) && IsImagePath(out);
    const bool toData = IsImagePath(in) && IsDataPath(out);
    if (!toImage && !toData)
        return UsageError(kConvert, QStringLiteral("convert a .dat to an .img or an .img to a .dat"));
    if (QFileInfo(in).absoluteFilePath() == QFileInfo(out).absoluteFilePath())
        return UsageError(kConvert, QStringLiteral("input and output are the same file"));

    ToolAsker asker;
    auto ws = MakeWorkspace(p.options.value("--root"), asker);
    QString error;
    if (!LoadInput(*ws, in, error)) return BadInput(in, error);
    // An image made without the channels the channel file should have held
    // would put a radio out with them gone.
    if (ws->ChannelsUnread > 0 && !allowMissing)
        return BadInput(ChannelFileOf(in), ws->T(msg::ChannelsMissingRefused).arg(ws->ChannelsUnread));
    const int rc = toImage ? WriteImage(*ws, out) : WriteDataFile(*ws, out);
    if (rc == kExitOk) {
        Out() << "kt6383: wrote " << out;
        if (toData) Out() << " and " << ChannelFileOf(out);
        Out() << "\n";
        Out().flush();
    }
    return rc;
}

}  // namespace

const Command kConvert{
    "convert", "convert between a data file pair (.dat) and a memory image (.img)",
    "usage: kt6383 convert IN OUT [--allow-missing-channels] [--root DIR]\n"
    "  IN.dat -> OUT.img: opens the data file pair (IN.fre beside it) and writes the\n"
    "                     radio's memory image as a transfer would send it (23745 bytes).\n"
    "  IN.img -> OUT.dat: decodes the image over the built-in defaults, as after a read\n"
    "                     from the radio, and saves it as OUT.dat and OUT.fre.\n"
    "  --allow-missing-channels   convert a pair whose channel file is missing, short or\n"
    "                     not a file (refused otherwise) without those channels\n"
    "  --root DIR         installation root (default: the parent of the program's folder)\n",
    &RunConvert};

}  // namespace kt::cli
