// View > Theme: Dark puts dark colours on every window and dims the
// background; System and Light put the desktop's colours back; the choice is
// kept, and a value the program does not know means System.
#include "MainWindowTest.h"
#include "gui/Theme.h"

#include <QMdiArea>
#include <QStyle>

namespace kt {
namespace {

class ThemeTest : public MainWindowTest {};

int Lightness(const QImage& img)
{
    const QImage small = img.scaled(8, 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int sum = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) sum += QColor(small.pixel(x, y)).lightness();
    return sum / 64;
}

TEST_F(ThemeTest, DarkAndBackAgainAndTheStoredChoice)
{
    const QPalette desktop = QApplication::palette();
    const QString desktopStyle = QApplication::style()->name();
    ASSERT_FALSE(main->BackgroundTile().isNull());
    const int lightTile = Lightness(main->mdiArea()->background().textureImage());

    QAction* dark = main->findChild<QAction*>("mnuThemeDark");
    QAction* system = main->findChild<QAction*>("mnuThemeSystem");
    QAction* light = main->findChild<QAction*>("mnuThemeLight");
    ASSERT_TRUE(dark && system && light);
    EXPECT_TRUE(system->isChecked()) << "nothing stored: System";

    dark->trigger();
    EXPECT_EQ(StoredTheme(*store), Theme::Dark);
    EXPECT_EQ(QApplication::style()->name().toLower(), "fusion");
    EXPECT_LT(QApplication::palette().color(QPalette::Window).lightness(), 100);
    EXPECT_GT(QApplication::palette().color(QPalette::Text).lightness(), 180) << "text stays readable";
    QCoreApplication::processEvents();
    EXPECT_LT(Lightness(main->mdiArea()->background().textureImage()), lightTile - 60) << "the background is dimmed";

    light->trigger();
    EXPECT_EQ(StoredTheme(*store), Theme::Light);
    EXPECT_EQ(QApplication::style()->name(), desktopStyle);
    EXPECT_GT(QApplication::palette().color(QPalette::Window).lightness(), 150);
    QCoreApplication::processEvents();
    EXPECT_EQ(Lightness(main->mdiArea()->background().textureImage()), lightTile);

    system->trigger();
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), desktop.color(QPalette::Window));
    EXPECT_EQ(StoredTheme(*store), Theme::System);

    // Values in the settings: known ones in any case, anything else is System.
    for (const auto& [text, theme] : {std::pair{"Dark", Theme::Dark}, std::pair{"light", Theme::Light},
                                      std::pair{"Purple", Theme::System}, std::pair{"", Theme::System}}) {
        store->setValue("Settings/Theme", text);
        EXPECT_EQ(StoredTheme(*store), theme) << text;
    }
}

}  // namespace
}  // namespace kt
