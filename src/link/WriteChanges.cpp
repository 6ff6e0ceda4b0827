#include "link/WriteChanges.h"

#include "link/Backups.h"
#include "link/LinkMachine.h"
#include "rules/compare/Compare.h"

namespace kt {

namespace {
constexpr Bi Changes{"Writing changes %1 (compared with the radio's image read %2).",
                     "写入将更改：%1（与 %2 读取的对讲机映像比较）。"};
constexpr Bi NoChanges{"Writing changes nothing the radio holds (compared with its image read %1).",
                       "写入不会更改对讲机中的任何内容（与 %1 读取的映像比较）。"};
constexpr Bi ReadWhen{"on %1 from %2", "于 %1 从 %2"};
constexpr Bi NothingAtHand{"No image of this radio is at hand, so what the write changes cannot be said.",
                           "手头没有这台对讲机的映像，无法说明写入会更改什么。"};
}  // namespace

ImageAtHand NewestRadioImage(const Workspace& ws, const QString& backupFolder)
{
    ImageAtHand at;
    if (backupFolder.isEmpty()) return at;
    const QString model = QString::fromLatin1(ws.LastRadio.known ? ws.LastRadio.model : ws.ModelCode).trimmed();
    const QString firmware = QString::fromLatin1(ws.LastRadio.firmware).trimmed();
    for (const BackupInfo& b : BackupStore(backupFolder).List(ws.CurrentLanguage)) {
        if (!b.readable || b.kind != kRead) continue;
        if (!model.isEmpty() && b.model.trimmed() != model) continue;
        if (ws.LastRadio.known && !firmware.isEmpty() && b.firmware.trimmed() != firmware) continue;
        QString why;
        if (!BackupStore::Load(b.path, at.image, &why, ws.CurrentLanguage)) continue;
        at.found = true;
        at.when = b.when;
        at.port = b.port;
        at.path = b.path;
        break;
    }
    return at;
}

namespace {
QString WhenText(const Workspace& ws, const ImageAtHand& at)
{
    return ws.T(ReadWhen).arg(at.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                              at.port.isEmpty() ? QStringLiteral("?") : at.port);
}
constexpr Bi ImageName{"the radio's image read %1", "%1 读取的对讲机映像"};
}  // namespace

QString RadioImageName(const Workspace& ws, const ImageAtHand& at)
{
    return ws.T(ImageName).arg(WhenText(ws, at));
}

QString WriteChangesLine(const Workspace& ws, const ImageAtHand& at)
{
    if (!at.found) return ws.T(NothingAtHand);
    const QString when = WhenText(ws, at);
    cmp::Result r = cmp::Compare(cmp::FromImage(ws, at.image, {}), cmp::FromWorkspace(ws, {}));
    // Channels the image cannot hold are not written: they change nothing.
    std::erase_if(r.items, [](const cmp::Difference& d) { return d.change == cmp::Change::NotHeld; });
    if (r.equal()) return ws.T(NoChanges).arg(when);
    return ws.T(Changes).arg(cmp::SummaryText(r, ws.CurrentLanguage), when);
}

}  // namespace kt
