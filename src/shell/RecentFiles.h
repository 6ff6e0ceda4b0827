// The data files last opened or saved, newest first, and the folder the file
// dialogs start in; kept in the per-user settings store (QSettings).
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace kt {

class RecentFiles {
public:
    static constexpr int kMax = 8;
    explicit RecentFiles(QSettings& store) : store_(store) {}

    // Newest first, at most kMax, each path once.
    QStringList Files() const;
    // The file goes to the top (once); its folder becomes the last folder.
    void Add(const QString& path);
    void Remove(const QString& path);
    // The folder of the file last opened or saved or chosen in a file dialog.
    QString LastFolder() const;
    void SetLastFolder(const QString& folder);

private:
    QSettings& store_;
};

}  // namespace kt
