#include "cli/CsvIo.h"

#include "model/ChannelRules.h"

#include <QFile>
#include <QSaveFile>
#include <cstdio>

namespace kt::cli {

bool TakeFlag(QStringList& args, const QString& flag)
{
    return args.removeAll(flag) > 0;
}

bool WriteAllTo(const QString& path, const QByteArray& bytes, QString& error)
{
    if (path == QLatin1String("-")) {
        QFile f;
        if (!f.open(stdout, QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.flush()) {
            error = QStringLiteral("cannot be written: ") + f.errorString();
            return false;
        }
        return true;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        error = QStringLiteral("cannot be written: ") + f.errorString();
        f.cancelWriting();
        return false;
    }
    return true;
}

bool ParseLayout(const ParsedArgs& p, bool forImport, bool& interchange, CsvPlace& place, QString& error)
{
    const QString format = p.options.value("--format", "full");
    if (format != QLatin1String("full") && format != QLatin1String("interchange")) {
        error = QStringLiteral("--format is full or interchange, not ") + format;
        return false;
    }
    interchange = format == QLatin1String("interchange");
    const QString band = p.options.value("--band", "hf").toLower();
    if (band != QLatin1String("hf") && band != QLatin1String("ham")) {
        error = QStringLiteral("--band is hf or ham, not ") + p.options.value("--band");
        return false;
    }
    place.band = band == QLatin1String("hf") ? 0 : 1;
    const QString group = p.options.value("--group", "MEM").toUpper();
    place.group = GroupNumber(place.band, group);
    if (place.group == 0) {
        error = QStringLiteral("--group: band %1 has no group %2").arg(place.band == 0 ? "hf" : "ham", group);
        return false;
    }
    if (!forImport && !interchange && (p.options.contains("--band") || p.options.contains("--group"))) {
        error = QStringLiteral("--band and --group go with --format interchange (the full layout names them per row)");
        return false;
    }
    return true;
}

QString ShownName(const QString& path, bool input)
{
    if (path != QLatin1String("-")) return path;
    return input ? QStringLiteral("standard input") : QStringLiteral("standard output");
}

}  // namespace kt::cli
