// INI files read and written the way the radio's users know them: sections and
// keys case-insensitive, every other line kept as it is, a missing file or key
// gives the default, values up to 512 characters.
#pragma once

#include <QString>

namespace kt {

QString ReadProfileString(const QString& path, const QString& section, const QString& key,
                          const QString& defaultValue = QString());
// Creates the file and its section when missing; false when it cannot be written.
bool WriteProfileString(const QString& path, const QString& section, const QString& key,
                        const QString& value);

}  // namespace kt
