#include "gui/KeyboardMenus.h"
#include "gui/EditorRegistry.h"
#include "gui/MainHost.h"
#include "model/Workspace.h"
#include "shell/MainTexts.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

namespace kt {

namespace {

constexpr Bi kRowCommands{"Ro&w Commands", "行命令(&W)"};

// The grid's row commands, with the keys the grid answers.
struct RowCommand {
    const char* popupItem;   // the item of the grid's pop-up it stands for
    Bi caption;
    const char* key;
};
constexpr RowCommand kRows[] = {
    {"MnuLECopy", {"&Copy", "复制(&C)"}, "Ctrl+C"},
    {"MnuLECut", {"Cu&t", "剪切(&T)"}, "Ctrl+X"},
    {"MnuLEPaste", {"&Paste", "粘贴(&P)"}, "Ctrl+V"},
    {"MnuLEInsert", {"&Insert&&Paste", "插入粘贴(&I)"}, "Ins"},
    {"MnuLEDelete", {"&Delete", "删除(&D)"}, "Del"},
};

class KeyboardWing : public CommandWing {
public:
    KeyboardWing(MainHost& host, QObject* parent) : CommandWing(parent), host_(host)
    {
        QWidget* main = host.MainWindow();
        if (!main) return;
        if (QMenu* window = main->findChild<QMenu*>(QStringLiteral("mnuWindow"))) {
            window->addSeparator();
            int n = 0;
            for (const EditorEntry& e : StandardEditors().Entries()) {
                QAction* a = window->addAction(QString());
                a->setObjectName(QStringLiteral("mnuWindowEditor%1").arg(++n));
                a->setShortcut(QKeySequence(QStringLiteral("Ctrl+%1").arg(n)));
                const Child id = e.id;
                connect(a, &QAction::triggered, this, [this, id] { host_.ShowChild(id); });
                editors_.push_back({a, &e});
            }
        }
        if (QMenu* edit = main->findChild<QMenu*>(QStringLiteral("mnuEdit"))) {
            rows_ = edit->addMenu(QString());
            rows_->setObjectName(QStringLiteral("mnuEditRows"));
            for (const RowCommand& r : kRows) {
                QAction* popup = main->findChild<QAction*>(QString::fromLatin1(r.popupItem));
                QAction* a = rows_->addAction(QString());
                a->setObjectName(QStringLiteral("mnuEditRow") + QString::fromLatin1(r.popupItem + 5));
                // Shown, not bound: the grid answers these keys itself, and a
                // line being typed keeps its own Ctrl+C.
                a->setShortcut(QKeySequence(QString::fromLatin1(r.key)));
                a->setShortcutContext(Qt::WidgetShortcut);
                if (popup) {
                    popup->setShortcut(QKeySequence(QString::fromLatin1(r.key)));
                    popup->setShortcutContext(Qt::WidgetShortcut);
                    connect(a, &QAction::triggered, popup, &QAction::trigger);
                }
                rowActions_.push_back(a);
            }
            // Offered while a channel window is open to take them.
            connect(edit, &QMenu::aboutToShow, this, [this] { rows_->setEnabled(host_.ChannelWindow() != nullptr); });
        }
        Retranslate();
        connect(&host.ws().Events(), &DocumentEvents::languageChanged, this, &KeyboardWing::Retranslate);
    }

    std::vector<Command> Commands() override { return {}; }

private:
    void Retranslate()
    {
        const int L = host_.ws().CurrentLanguage;
        int n = 0;
        for (const auto& [a, e] : editors_) {
            const QString caption = e->treeCaption.en ? e->treeCaption.in(L) : PlainCaption(MenuCaption(e->menuName, L));
            a->setText(QStringLiteral("&%1 %2").arg(++n).arg(QString(caption).replace('&', "&&")));
        }
        if (rows_) rows_->setTitle(kRowCommands.in(L));
        for (size_t i = 0; i < rowActions_.size(); ++i) rowActions_[i]->setText(kRows[i].caption.in(L));
    }

    MainHost& host_;
    std::vector<std::pair<QAction*, const EditorEntry*>> editors_;
    QMenu* rows_ = nullptr;
    std::vector<QAction*> rowActions_;
};

}  // namespace

CommandWing* MakeKeyboardWing(MainHost& host, QSettings&, QObject* parent) { return new KeyboardWing(host, parent); }

}  // namespace kt
