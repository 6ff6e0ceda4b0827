#include "cli/Cli.h"

#include "base/BoundedRead.h"
#include "model/Codec.h"
#include "model/DataFile.h"
#include "model/Defaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kt::cli {

namespace {
// %1 the size of an image, %2 the size of the file.
inline constexpr Bi ImageSizeWrong{"a memory image has %1 bytes, this file has %2", "内存映像有 %1 字节，此文件有 %2"};
}  // namespace

ParsedArgs ParseArgs(const QStringList& args, const QStringList& valueOptions)
{
    ParsedArgs p;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            p.help = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            QString name = a, value;
            const int eq = int(a.indexOf('='));
            if (eq > 0) {
                name = a.left(eq);
                value = a.mid(eq + 1);
            }
            if (!valueOptions.contains(name)) {
                p.error = QStringLiteral("unknown option ") + name;
                return p;
            }
            if (eq < 0) {
                if (i + 1 >= args.size()) {
                    p.error = name + QStringLiteral(" needs a value");
                    return p;
                }
                value = args[++i];
            }
            p.options[name] = value;
        } else {
            p.positional << a;
        }
    }
    return p;
}

QTextStream& Out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream& Err()
{
    static QTextStream s(stderr);
    return s;
}

int UsageError(const Command& cmd, const QString& message)
{
    Err() << "kt6383 " << cmd.name << ": " << message << "\n" << cmd.help;
    Err().flush();
    return kExitUsage;
}

void Warn(const QString& file, const QString& what)
{
    QString line = what;
    line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace('\n', ' ');
    Err() << "kt6383: " << file << ": " << line.trimmed() << "\n";
    Err().flush();
}

int BadInput(const QString& file, const QString& what)
{
    Warn(file, what);
    return kExitBadInput;
}

int ShowHelp(const Command& cmd)
{
    Out() << cmd.help;
    Out().flush();
    return kExitOk;
}

Answer ToolAsker::ask(const QString& text, Buttons buttons, Icon, bool)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace('\n', ' ');
    Err() << "kt6383: " << line << "\n";
    Err().flush();
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    case Buttons::RecoverDiscardLater:
    case Buttons::DiscardLater: return Answer::Later;
    default: return Answer::Cancel;
    }
}

std::unique_ptr<Workspace> MakeWorkspace(const QString& root, Asker& asker)
{
    auto ws = std::make_unique<Workspace>();
    ws->ProgramDir = QCoreApplication::applicationDirPath();
    ws->InstallRoot = root.isEmpty() ? QFileInfo(ws->ProgramDir).absolutePath() : QDir(root).absolutePath();
    ws->Versions = LoadVersionTable(ws->InstallRoot);
    ws->asker = &asker;
    return ws;
}

bool IsImagePath(const QString& path) { return path.endsWith(QLatin1String(".img"), Qt::CaseInsensitive); }
bool IsDataPath(const QString& path) { return path.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive); }

bool LoadInput(Workspace& ws, const QString& path, QString& error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        error = ws.T(readtxt::NoSuchFile);
        return false;
    }
    if (IsImagePath(path)) {
        const BoundedRead r = ReadBounded(path, kImageSize);
        if (!r.ok() && r.status != BoundedRead::TooLarge) {
            error = r.why(ws.CurrentLanguage, kImageSize);
            return false;
        }
        if (r.bytes.size() != kImageSize) {
            error = ws.T(ImageSizeWrong).arg(kImageSize).arg(r.ok() ? qint64(r.bytes.size()) : info.size());
            return false;
        }
        // As after a read from the radio: the built-in defaults, then the image.
        InitDefaults(ws, false);
        ws.MemImage.assign(r.bytes.begin(), r.bytes.end());
        DecodeImage(ws);
        return true;
    }
    if (IsDataPath(path)) {
        ws.CurrentFile = info.absoluteFilePath();
        const FileResult r = OpenDataFile(ws);
        if (r.kind == FileResult::Done) {
            if (!r.notice.isEmpty()) Warn(path, r.notice);
            return true;
        }
        error = r.message;
        if (r.kind == FileResult::AskLaunch) error += QStringLiteral(" (another software version is not started from here)");
        return false;
    }
    error = QStringLiteral("unknown kind of file: expected .dat (with its .fre) or .img");
    return false;
}

}  // namespace kt::cli
