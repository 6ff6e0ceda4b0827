#include "gui/ThemeMenu.h"
#include "gui/MainHost.h"
#include "gui/Theme.h"
#include "model/Workspace.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QSettings>
#include <QWidget>

namespace kt {

namespace {

namespace t {
constexpr Bi Menu{"T&heme", "主题(&H)"};
constexpr Bi System{"&System", "跟随系统(&S)"};
constexpr Bi Light{"&Light", "浅色(&L)"};
constexpr Bi Dark{"&Dark", "深色(&D)"};
}  // namespace t

class ThemeWing : public CommandWing {
public:
    ThemeWing(MainHost& host, QSettings& store, QObject* parent) : CommandWing(parent), host_(host), store_(store)
    {
        QWidget* main = host.MainWindow();
        QMenu* view = main ? main->findChild<QMenu*>(QStringLiteral("mnuView")) : nullptr;
        menu_ = view ? view->addMenu(QString()) : new QMenu(main);
        menu_->setObjectName(QStringLiteral("mnuViewTheme"));
        auto* group = new QActionGroup(menu_);
        group->setExclusive(true);
        const Theme stored = StoredTheme(store_);
        for (const auto& [theme, name] : {std::pair{Theme::System, "mnuThemeSystem"}, std::pair{Theme::Light, "mnuThemeLight"},
                                          std::pair{Theme::Dark, "mnuThemeDark"}}) {
            QAction* a = menu_->addAction(QString());
            a->setObjectName(QString::fromLatin1(name));
            a->setCheckable(true);
            a->setChecked(theme == stored);
            group->addAction(a);
            connect(a, &QAction::triggered, this, [this, theme = theme] {
                StoreTheme(store_, theme);
                ApplyTheme(theme);
            });
            actions_.push_back(a);
        }
        Retranslate();
        connect(&host.ws().Events(), &DocumentEvents::languageChanged, this, &ThemeWing::Retranslate);
        ApplyTheme(stored);
    }

    std::vector<Command> Commands() override { return {}; }

private:
    void Retranslate()
    {
        const Workspace& ws = host_.ws();
        menu_->setTitle(ws.T(t::Menu));
        const Bi* captions[] = {&t::System, &t::Light, &t::Dark};
        for (size_t i = 0; i < actions_.size(); ++i) actions_[i]->setText(ws.T(*captions[i]));
    }

    MainHost& host_;
    QSettings& store_;
    QMenu* menu_ = nullptr;
    std::vector<QAction*> actions_;
};

}  // namespace

CommandWing* MakeThemeWing(MainHost& host, QSettings& store, QObject* parent)
{
    return new ThemeWing(host, store, parent);
}

}  // namespace kt
