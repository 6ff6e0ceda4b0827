#include "shell/RecentFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kt {

namespace {
const QString kFiles = QStringLiteral("RecentFiles/Files");
const QString kFolder = QStringLiteral("RecentFiles/LastFolder");

// One spelling per file, so the same pair is never listed twice.
QString Canonical(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }
}  // namespace

QStringList RecentFiles::Files() const
{
    QStringList out;
    for (const QString& f : store_.value(kFiles).toStringList())
        if (!f.isEmpty() && !out.contains(f) && out.size() < kMax) out << f;
    return out;
}

void RecentFiles::Add(const QString& path)
{
    const QString p = Canonical(path);
    QStringList l = Files();
    l.removeAll(p);
    l.prepend(p);
    while (l.size() > kMax) l.removeLast();
    store_.setValue(kFiles, l);
    SetLastFolder(QFileInfo(p).absolutePath());
}

void RecentFiles::Remove(const QString& path)
{
    QStringList l = Files();
    l.removeAll(path);
    l.removeAll(Canonical(path));
    store_.setValue(kFiles, l);
    store_.sync();
}

QString RecentFiles::LastFolder() const { return store_.value(kFolder).toString(); }

void RecentFiles::SetLastFolder(const QString& folder)
{
    store_.setValue(kFolder, folder);
    store_.sync();
}

}  // namespace kt
