#include "gui/Theme.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleHints>

namespace kt {

namespace {

const char* const kKey = "Settings/Theme";

struct Desktop {
    bool known = false;
    QString style;
    QPalette palette;
};
Desktop& DesktopLook()
{
    static Desktop d;
    if (!d.known) {
        d.known = true;
        d.style = QApplication::style() ? QApplication::style()->name() : QString();
        d.palette = QGuiApplication::palette();
    }
    return d;
}

bool g_dark = false;

bool IsDarkPalette(const QPalette& p) { return p.color(QPalette::Window).lightness() < 128; }

QPalette DarkPalette()
{
    QPalette p;
    const QColor window(45, 45, 48), base(30, 30, 32), text(230, 230, 230), disabled(128, 128, 128);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(40, 40, 43));
    p.setColor(QPalette::ToolTipBase, QColor(60, 60, 64));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(55, 55, 58));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, QColor(255, 120, 120));
    p.setColor(QPalette::Light, QColor(80, 80, 84));
    p.setColor(QPalette::Midlight, QColor(65, 65, 68));
    p.setColor(QPalette::Mid, QColor(40, 40, 42));
    p.setColor(QPalette::Dark, QColor(25, 25, 27));
    p.setColor(QPalette::Shadow, QColor(10, 10, 10));
    p.setColor(QPalette::Highlight, QColor(42, 110, 190));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(110, 170, 255));
    p.setColor(QPalette::LinkVisited, QColor(180, 140, 255));
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, r, disabled);
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(70, 70, 74));
    return p;
}

}  // namespace

Theme ThemeFromText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("Light"), Qt::CaseInsensitive) == 0) return Theme::Light;
    if (t.compare(QLatin1String("Dark"), Qt::CaseInsensitive) == 0) return Theme::Dark;
    return Theme::System;
}

QString ThemeText(Theme t)
{
    switch (t) {
    case Theme::Light: return QStringLiteral("Light");
    case Theme::Dark: return QStringLiteral("Dark");
    default: return QStringLiteral("System");
    }
}

Theme StoredTheme(QSettings& store) { return ThemeFromText(store.value(kKey).toString()); }
void StoreTheme(QSettings& store, Theme t) { store.setValue(kKey, ThemeText(t)); }

bool DesktopPrefersDark()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    const Qt::ColorScheme scheme = QGuiApplication::styleHints()->colorScheme();
    if (scheme != Qt::ColorScheme::Unknown) return scheme == Qt::ColorScheme::Dark;
#endif
    // Older Qt: the palette the platform gave, or a dark GTK theme named in
    // the environment (GTK_THEME=Adwaita:dark).
    if (IsDarkPalette(DesktopLook().palette)) return true;
    const QByteArray gtk = qgetenv("GTK_THEME").toLower();
    return gtk.endsWith(":dark") || gtk.endsWith("-dark");
}

void ApplyTheme(Theme t)
{
    const Desktop& desk = DesktopLook();
    const bool dark = t == Theme::Dark || (t == Theme::System && DesktopPrefersDark());
    if (dark) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(IsDarkPalette(desk.palette) ? desk.palette : DarkPalette());
    } else {
        if (!desk.style.isEmpty() && QApplication::style()->name() != desk.style)
            QApplication::setStyle(QStyleFactory::create(desk.style));
        // Light on a dark desktop: the style's own light colours.
        QApplication::setPalette(t == Theme::Light && IsDarkPalette(desk.palette)
                                     ? QApplication::style()->standardPalette()
                                     : desk.palette);
    }
    g_dark = dark;
}

bool DarkColours() { return g_dark; }

QImage TileForColours(const QImage& tile)
{
    if (!g_dark || tile.isNull()) return tile;
    QImage dim = tile.convertToFormat(QImage::Format_RGB32);
    QPainter p(&dim);
    QColor veil = QGuiApplication::palette().color(QPalette::Window);
    veil.setAlphaF(0.8);
    p.fillRect(dim.rect(), veil);
    return dim;
}

}  // namespace kt
