// The settings file language/mysetup.ini (section "language"): interface
// language, serial port and the first-run marker.
#pragma once

#include <QString>

class QLocale;

namespace kt {

struct Workspace;

// 2 when the locale is Chinese as used in China, else 1.
int SystemLanguageOf(const QLocale& locale);

// InstallRoot/language/mysetup.ini, or the user's configuration folder when
// that folder cannot be written (a read-only installation).
QString SettingsPath(const Workspace& ws);

// Reads the settings at start-up.  systemLanguage is 1 or 2 (see
// SystemLanguageOf); a missing file, key or a value that is not a number
// leaves the start values (port 1, the system language).  Returns whether a
// port was stored; a port the user never chose is not written back, so it
// does not pass for a stored one on the next start.
bool LoadSettings(Workspace& ws, int systemLanguage);

// Writes "CurrentLanguage" (the language dialog); false when it cannot be written.
bool StoreLanguageSetting(const Workspace& ws);
// Writes "comPort" with its control lines "comDTR" and "comRTS" (the port dialog).
bool StorePortSetting(const Workspace& ws);

}  // namespace kt
