#include "gui/AccessibleNames.h"
#include "base/Texts.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabBar>

#include <climits>

namespace kt {

namespace {

struct Named {
    const char* objectName;
    Bi name;
};
// Controls that stand without a label.
constexpr Named kUnlabelled[] = {
    {"MSFlexGrid1", {"Channels", "信道"}},
    {"SSTab1", {"DTMF settings", "DTMF 设置"}},
    {"qt_tabwidget_tabbar", {"Pages", "页面"}},
    {"TabStrip1", {"Roger-beep patterns", "RB音图案"}},
};

QRect RectIn(QWidget* w, QWidget* window) { return QRect(w->mapTo(window, QPoint(0, 0)), w->size()); }

QString LabelText(const QLabel* l) { return QString(l->text()).remove('&').remove(QLatin1Char(':')).trimmed(); }

class NameOnShow : public QObject {
public:
    NameOnShow(QObject* owner, std::function<int()> language) : QObject(owner), language_(std::move(language)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::Show || !watched->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(watched);
        const Qt::WindowType type = w->windowType();
        if (!w->isWindow() || (type != Qt::Window && type != Qt::Dialog && type != Qt::Tool)) return false;
        // Once it is laid out and its texts are in.
        QTimer::singleShot(0, w, [w, this] { NameControls(w, language_()); });
        return false;
    }

private:
    std::function<int()> language_;
};

}  // namespace

void NameControlsOfEveryWindow(QObject* owner, std::function<int()> language)
{
    qApp->installEventFilter(new NameOnShow(owner, std::move(language)));
}

void TabInOrder(const QList<QWidget*>& widgets)
{
    for (int i = 1; i < widgets.size(); ++i) QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

bool ShownIn(QWidget* c, QWidget* window)
{
    for (QWidget* w = c; w && w != window; w = w->parentWidget())
        if (w->isHidden() && !qobject_cast<QStackedWidget*>(w->parentWidget())) return false;
    return true;
}

QString SpokenName(QWidget* c)
{
    if (!c->accessibleName().trimmed().isEmpty()) return c->accessibleName();
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
    if (!a) return {};
    for (const auto& [label, relation] : a->relations(QAccessible::Label))
        if (label && !label->text(QAccessible::Name).trimmed().isEmpty()) return label->text(QAccessible::Name);
    if (auto* b = qobject_cast<QAbstractButton*>(c)) return QString(b->text()).remove('&').trimmed();
    return {};
}

void NameControls(QWidget* window, int language)
{
    QList<QLabel*> labels;
    for (QLabel* l : window->findChildren<QLabel*>())
        if (ShownIn(l, window) && !LabelText(l).isEmpty() && !l->buddy()) labels << l;

    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (c->focusPolicy() == Qt::NoFocus || !ShownIn(c, window) || c->isWindow()) continue;
        if (qobject_cast<QComboBox*>(c->parentWidget())) continue;   // a list's own line
        if (!SpokenName(c).isEmpty()) continue;
        bool done = false;
        for (const Named& n : kUnlabelled)
            if (c->objectName() == QLatin1String(n.objectName)) {
                c->setAccessibleName(n.name.in(language));
                done = true;
            }
        if (done) continue;
        // The label made for it by name ("Label_<name>"), else the nearest
        // label to its left on its line.
        QLabel* buddy = window->findChild<QLabel*>(QStringLiteral("Label_") + c->objectName());
        const QRect r = RectIn(c, window);
        const bool byName = buddy != nullptr;
        if (!buddy) {
            int best = INT_MAX;
            for (QLabel* l : labels) {
                const QRect lr = RectIn(l, window);
                const int gap = r.left() - lr.right();
                if (gap < -4 || gap > 240 || std::abs(lr.center().y() - r.center().y()) > r.height() / 2 + 2) continue;
                if (gap < best) {
                    best = gap;
                    buddy = l;
                }
            }
        }
        if (buddy && (byName || !LabelText(buddy).isEmpty())) {
            buddy->setBuddy(c);
            labels.removeOne(buddy);
            continue;
        }
        // A control in a table of controls: its column heading and row label.
        QString heading, row;
        int above = INT_MAX, left = INT_MAX;
        for (QLabel* l : window->findChildren<QLabel*>()) {
            if (!ShownIn(l, window) || LabelText(l).isEmpty()) continue;
            const QRect lr = RectIn(l, window);
            const bool sameColumn = lr.right() >= r.left() && lr.left() <= r.right();
            const bool sameRow = std::abs(lr.center().y() - r.center().y()) <= r.height() / 2 + 2;
            if (sameColumn && lr.bottom() <= r.top() && r.top() - lr.bottom() < above) {
                above = r.top() - lr.bottom();
                heading = LabelText(l);
            }
            if (sameRow && lr.right() <= r.left() && r.left() - lr.right() < left) {
                left = r.left() - lr.right();
                row = LabelText(l);
            }
        }
        QString name = (heading + " " + row).trimmed();
        // A list or text that is what the window shows is named by the window.
        if (name.isEmpty() && (qobject_cast<QAbstractItemView*>(c) || qobject_cast<QAbstractScrollArea*>(c)))
            name = window->windowTitle();
        if (!name.isEmpty()) c->setAccessibleName(name);
    }
}

}  // namespace kt
