// A document to compare from a file, with the checks of Open.
#include "rules/compare/Compare.h"

#include "base/BoundedRead.h"
#include "model/DataFile.h"
#include "model/Defaults.h"

#include <QFileInfo>

namespace kt::cmp {

namespace {
constexpr Bi ImageSizeWrong{"a memory image has %1 bytes, this file has %2", "内存映像有 %1 字节，此文件有 %2"};
constexpr Bi UnknownKind{"unknown kind of file: expected .dat (with its .fre) or .img",
                         "未知的文件类型：应为 .dat（及其 .fre）或 .img"};
}  // namespace

bool LoadDocument(const Workspace& base, const QString& path, Document& out, QString& error)
{
    const int lang = base.CurrentLanguage;
    const QFileInfo info(path);
    if (!info.exists()) {
        error = readtxt::NoSuchFile.in(lang);
        return false;
    }
    if (path.endsWith(QLatin1String(".img"), Qt::CaseInsensitive)) {
        const BoundedRead r = ReadBounded(path, kImageSize);
        if (!r.ok() && r.status != BoundedRead::TooLarge) {
            error = r.why(lang, kImageSize);
            return false;
        }
        if (r.bytes.size() != kImageSize) {
            error = ImageSizeWrong.in(lang).arg(kImageSize).arg(r.ok() ? qint64(r.bytes.size()) : info.size());
            return false;
        }
        out = FromImage(base, std::vector<uint8_t>(r.bytes.begin(), r.bytes.end()), info.fileName());
        return true;
    }
    if (path.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive)) {
        auto ws = std::make_unique<Workspace>();
        ws->ProgramDir = base.ProgramDir;
        ws->InstallRoot = base.InstallRoot;
        ws->Versions = base.Versions;
        ws->CurrentLanguage = lang;
        InitDefaults(*ws, false);
        ws->CurrentFile = info.absoluteFilePath();
        const FileResult r = OpenDataFile(*ws);
        if (r.kind != FileResult::Done) {
            error = r.message;
            return false;
        }
        out.ws = std::move(ws);
        out.isImage = false;
        out.name = info.fileName();
        return true;
    }
    error = UnknownKind.in(lang);
    return false;
}

}  // namespace kt::cmp
