#include "link/Backups.h"
#include "link/LinkMachine.h"
#include "model/Codec.h"
#include "model/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>

namespace kt {

namespace {

const QString kStamp = QStringLiteral("yyyyMMdd-HHmmss");

// What a name may carry of the model and the firmware the radio gave.
QString NamePart(const QByteArray& text)
{
    QString s = QString::fromLatin1(text).trimmed();
    s.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.]")), QStringLiteral("_"));
    return s.isEmpty() ? QStringLiteral("unknown") : s;
}

// A port as a name may carry it: the last part of a device path ("ttyUSB0",
// "COM3", "sim2"); empty when the port is not known.
QString PortPart(const QString& port)
{
    QString s = port.trimmed().section(QLatin1Char('/'), -1).section(QLatin1Char('\\'), -1);
    s.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.]")), QStringLiteral("_"));
    return s;
}

const QRegularExpression& NamePattern()
{
    static const QRegularExpression re(
        QStringLiteral("^(\\d{8}-\\d{6})-([A-Za-z0-9_.]+)-([A-Za-z0-9_.]+)(?:-([A-Za-z0-9_.]+))?-(read|write)"
                       "(?:-(\\d+))?\\.img$"));
    return re;
}

struct NameParts {
    bool ok = false;
    QDateTime when;
    int kind = 0, counter = 0;
    QString model, firmware, port;
};

NameParts ParseName(const QString& fileName)
{
    NameParts p;
    const QRegularExpressionMatch m = NamePattern().match(fileName);
    if (!m.hasMatch()) return p;
    p.when = QDateTime::fromString(m.captured(1), kStamp);
    if (!p.when.isValid()) return p;
    p.model = m.captured(2);
    p.firmware = m.captured(3);
    p.port = m.captured(4);
    p.kind = m.captured(5) == QLatin1String("read") ? kRead : kWrite;
    p.counter = m.captured(6).toInt();
    p.ok = true;
    return p;
}

// Newest first; two in one second by their counter.
bool Newer(const NameParts& a, const NameParts& b)
{
    if (a.when != b.when) return a.when > b.when;
    return a.counter > b.counter;
}

}  // namespace

// The desktop program names both its organisation and itself "KT-6383 Pro",
// so its AppDataLocation is <data>/KT-6383 Pro/KT-6383 Pro; the folder is
// spelt out here so that the command-line tool, which has other names, finds
// the same one, and it is named once.
QString BackupStore::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/KT-6383 Pro/backups");
}

QString BackupStore::OlderDefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/KT-6383 Pro/KT-6383 Pro/backups");
}

int BackupStore::TakeOverOlderDefault() { return BackupStore(DefaultFolder()).TakeOver(OlderDefaultFolder()); }

QString BackupStore::FileNameFor(const QDateTime& when, const QByteArray& model, const QByteArray& firmware, int kind,
                                 const QString& port)
{
    const QString p = PortPart(port);
    return when.toString(kStamp) + '-' + NamePart(model) + '-' + NamePart(firmware) + (p.isEmpty() ? QString() : '-' + p)
           + (kind == kWrite ? QStringLiteral("-write.img") : QStringLiteral("-read.img"));
}

int BackupStore::TakeOver(const QString& older, QString* why) const
{
    QDir from(older);
    if (older.isEmpty() || !from.exists() || QDir(older).absolutePath() == QDir(folder_).absolutePath()) return 0;
    int moved = 0;
    QStringList left;
    bool made = false;
    for (const QFileInfo& fi : from.entryInfoList(QDir::Files)) {
        if (!ParseName(fi.fileName()).ok) continue;   // not ours: left where it is
        if (!made && !(made = QDir().mkpath(folder_))) {
            left << fi.fileName();
            continue;
        }
        // A name already taken in the new folder gets a counter, as two
        // backups of one second do.
        QString name = fi.fileName();
        for (int n = 2; QFileInfo::exists(folder_ + '/' + name); ++n)
            name = fi.completeBaseName() + QStringLiteral("-%1.img").arg(n);
        if (QFile::rename(fi.absoluteFilePath(), folder_ + '/' + name)) ++moved;
        else left << fi.fileName();
    }
    // The folders the doubled name made go when nothing else is in them.
    if (from.isEmpty()) {
        QDir().rmdir(older);
        QDir().rmdir(QFileInfo(older).absolutePath());
    }
    if (why && !left.isEmpty())
        *why = QDir::toNativeSeparators(older) + ": " + left.join(QStringLiteral(", "));
    return moved;
}

QString BackupStore::Save(const std::vector<uint8_t>& image, int kind, const QByteArray& model,
                          const QByteArray& firmware, const QDateTime& when, QString* why, const QString& port) const
{
    auto fail = [&](const QString& reason) {
        if (why) *why = QDir::toNativeSeparators(folder_) + ": " + reason;
        return QString();
    };
    if (!QDir().mkpath(folder_)) return fail(QStringLiteral("the folder cannot be made"));
    QString name = FileNameFor(when, model, firmware, kind, port);
    // Two in the same second keep both: the later one gets a counter.
    for (int n = 2; QFileInfo::exists(folder_ + '/' + name); ++n)
        name = FileNameFor(when, model, firmware, kind, port).replace(QStringLiteral(".img"), QStringLiteral("-%1.img").arg(n));
    const QString path = folder_ + '/' + name;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return fail(f.errorString());
    const auto size = qint64(image.size());
    if (f.write(reinterpret_cast<const char*>(image.data()), size) != size || !f.commit())
        return fail(f.errorString());
    return path;
}

int BackupStore::Prune(int keep) const
{
    struct Named {
        NameParts parts;
        QString path;
    };
    std::vector<Named> ours;
    for (const QFileInfo& fi : QDir(folder_).entryInfoList(QDir::Files)) {
        const NameParts p = ParseName(fi.fileName());
        if (p.ok) ours.push_back({p, fi.absoluteFilePath()});
    }
    std::sort(ours.begin(), ours.end(), [](const Named& a, const Named& b) { return Newer(a.parts, b.parts); });
    int removed = 0;
    for (size_t i = size_t(std::max(keep, 1)); i < ours.size(); ++i) {
        if (QFile::remove(ours[i].path)) ++removed;
        QFile::remove(TracePathOf(ours[i].path));   // its trace goes with it
    }
    return removed;
}

BackupInfo BackupStore::Inspect(const QString& path, int language)
{
    BackupInfo b;
    const QFileInfo fi(path);
    b.path = fi.absoluteFilePath();
    b.fileName = fi.fileName();
    const NameParts p = ParseName(b.fileName);
    if (p.ok) {
        b.when = p.when;
        b.kind = p.kind;
        b.model = p.model;
        b.firmware = p.firmware;
        b.port = p.port;
    }
    std::vector<uint8_t> image;
    if (!Load(path, image, &b.problem, language)) return b;
    if (!p.ok) {
        b.problem = bktxt::NotNamed.in(language);
        return b;
    }
    Workspace scratch;
    scratch.MemImage = std::move(image);
    DecodeImage(scratch);
    b.bandType = scratch.WorkRecord.BandType == 1 ? 1 : 0;
    for (int band = 0; band < kBands; ++band)
        for (int g = 1; g <= GroupsOfBand(band); ++g) b.channels[band] += scratch.ChannelCount(band, g);
    b.readable = true;
    return b;
}

bool BackupStore::Load(const QString& path, std::vector<uint8_t>& image, QString* why, int language)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (why) *why = bktxt::CannotRead.in(language).arg(f.errorString());
        return false;
    }
    const QByteArray bytes = f.read(kImageSize + 1);
    if (bytes.size() != kImageSize) {
        if (why) *why = bktxt::NotImage.in(language).arg(f.size()).arg(kImageSize);
        return false;
    }
    image.assign(bytes.begin(), bytes.end());
    return true;
}

QList<BackupInfo> BackupStore::List(int language) const
{
    QList<BackupInfo> list;
    for (const QFileInfo& fi : QDir(folder_).entryInfoList(QDir::Files))
        if (!fi.fileName().endsWith(kTraceSuffix)) list << Inspect(fi.absoluteFilePath(), language);
    if (folder_ == DefaultFolder())
        for (const QFileInfo& fi : QDir(OlderDefaultFolder()).entryInfoList(QDir::Files))
            if (ParseName(fi.fileName()).ok) list << Inspect(fi.absoluteFilePath(), language);
    std::stable_sort(list.begin(), list.end(), [](const BackupInfo& a, const BackupInfo& b) {
        if (a.when.isValid() != b.when.isValid()) return a.when.isValid();
        if (a.when != b.when) return a.when > b.when;
        const NameParts pa = ParseName(a.fileName), pb = ParseName(b.fileName);
        return pa.counter != pb.counter ? pa.counter > pb.counter : a.fileName > b.fileName;
    });
    return list;
}

int BackupLimit(QSettings& store)
{
    bool ok = false;
    const int n = store.value(QStringLiteral("Backups/Keep")).toInt(&ok);
    return ok && n >= 1 ? n : BackupStore::kDefaultKeep;
}

void SetBackupLimit(QSettings& store, int keep)
{
    store.setValue(QStringLiteral("Backups/Keep"), std::max(keep, 1));
    store.sync();
}

QString TracePathOf(const QString& backupPath)
{
    QString p = backupPath;
    if (p.endsWith(QStringLiteral(".img"))) p.chop(4);
    return p + kTraceSuffix;
}

QString BackUpTransfer(const QString& folder, int keep, int kind, const std::vector<uint8_t>& image,
                       const Workspace& ws, const QString& port, const QString& trace)
{
    return BackUpImage(folder, keep, kind, image, ws.LastRadio.model, ws.LastRadio.firmware, ws.CurrentLanguage, port,
                       trace);
}

QString BackUpImage(const QString& folder, int keep, int kind, const std::vector<uint8_t>& image,
                    const QByteArray& model, const QByteArray& firmware, int language, const QString& port,
                    const QString& trace)
{
    const BackupStore store(folder);
    QString why;
    const QString path = store.Save(image, kind, model, firmware, QDateTime::currentDateTime(), &why, port);
    if (path.isEmpty()) return bktxt::NotSaved.in(language).arg(why);
    QString warning;
    if (!trace.isEmpty()) {
        QSaveFile f(TracePathOf(path));
        if (!f.open(QIODevice::WriteOnly) || f.write(trace.toUtf8()) < 0 || !f.commit())
            warning = bktxt::TraceNotSaved.in(language).arg(QDir::toNativeSeparators(f.fileName()), f.errorString());
    }
    store.Prune(keep);
    return warning;
}

QString BackupKindText(int kind, int language)
{
    return (kind == kWrite ? bktxt::Write : bktxt::Read).in(language);
}

QString BandText(int bandType, int language)
{
    return (bandType == 1 ? bktxt::BandHam : bktxt::BandHf).in(language);
}

QString BackupPreview(const BackupInfo& b, int language)
{
    if (!b.readable) return b.problem;
    return bktxt::Preview.in(language).arg(BandText(b.bandType, language)).arg(b.channels[0]).arg(b.channels[1]);
}

void OpenImageAsDocument(Workspace& ws, const std::vector<uint8_t>& image)
{
    ws.MemImage = image;
    ws.MemImage.resize(kImageSize, 0xFF);
    DecodeImage(ws);
    ws.CurrentFile = QStringLiteral("new.dat");
    ws.IsUntitled = true;
    ws.TitleChanged();
    emit ws.Events().documentReplaced();
}

}  // namespace kt
