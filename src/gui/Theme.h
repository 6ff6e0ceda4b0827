// The program's colours: the desktop's (System), always light, or dark.
// The choice is kept in the per-user settings store ("Settings/Theme").
#pragma once

#include <QString>

class QImage;
class QSettings;

namespace kt {

enum class Theme { System, Light, Dark };

// "System", "Light", "Dark"; anything else (or nothing) is System.
Theme ThemeFromText(const QString& text);
QString ThemeText(Theme t);
Theme StoredTheme(QSettings& store);
void StoreTheme(QSettings& store, Theme t);

// Whether the desktop asks for dark colours, as far as Qt can tell.
bool DesktopPrefersDark();
// Puts the style and palette of the theme on the whole application; System
// follows the desktop.  The first call remembers the desktop's own style and
// palette, so Light and System can go back to them.
void ApplyTheme(Theme t);
// True while dark colours are on (Dark, or System on a dark desktop).
bool DarkColours();
// The background tile as the current colours show it: dimmed when they are dark.
QImage TileForColours(const QImage& tile);

}  // namespace kt
