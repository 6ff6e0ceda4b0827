// Every window of the program, in both languages: each control that takes
// the focus has a name a screen reader can say, Tab walks the controls in
// reading order, and no two access keys of a window clash (nor, in an
// editor, with the main menu's).  The row pop-up opens by key.
#include "EveryWindow.h"
#include "gui/AccessibleNames.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScrollArea>
#include <QTabBar>

namespace kt {
namespace {

bool Focusable(QWidget* c, QWidget* window)
{
    if (c->focusPolicy() == Qt::NoFocus || !c->isVisible() || c->isWindow() || !window->isAncestorOf(c)) return false;
    // The line of an editable list or a spin box is part of it.
    QWidget* p = c->parentWidget();
    return !qobject_cast<QComboBox*>(p) && !qobject_cast<QAbstractSpinBox*>(p);
}

QString Describe(QWidget* c) { return QStringLiteral("%1 %2").arg(c->metaObject()->className(), c->objectName()); }

// Controls named nowhere.
QStringList Unnamed(QWidget* window)
{
    QStringList out;
    for (QWidget* c : window->findChildren<QWidget*>())
        if (Focusable(c, window) && SpokenName(c).isEmpty()) out << Describe(c);
    return out;
}

// Steps of the Tab order that go against reading order: back to the left on
// a line, or up, unless up into a column further right.
QStringList AgainstReadingOrder(QWidget* window)
{
        QList<QWidget*> chain;
    for (QWidget* c = window->nextInFocusChain(); c && c != window && window->isAncestorOf(c); c = c->nextInFocusChain())
        if (Focusable(c, window) && (c->focusPolicy() & Qt::TabFocus) && c->isEnabled()) {
            if (chain.contains(c)) break;
            chain << c;
        }
    // Round the window from the left of its top line.
    auto at = [&](QWidget* c) { return QRect(c->mapTo(window, QPoint(0, 0)), c->size()); };
    int top = 0, first = 0;
    for (int i = 1; i < chain.size(); ++i)
        if (at(chain[i]).top() < at(chain[top]).top()) top = first = i;
    for (int i = 0; i < chain.size(); ++i)
        if (std::abs(at(chain[i]).center().y() - at(chain[top]).center().y()) <= at(chain[top]).height() / 2 &&
            at(chain[i]).left() < at(chain[first]).left())
            first = i;
    std::rotate(chain.begin(), chain.begin() + first, chain.end());
    QStringList out;
    // Between a scrolled control and one outside, what counts is where the
    // scroll area stands.
    auto unit = [&](QWidget* c) {
        QWidget* u = c;
        for (QWidget* p = c->parentWidget(); p && p != window; p = p->parentWidget())
            if (qobject_cast<QScrollArea*>(p)) u = p;
        return u;
    };
    for (int i = 1; i < chain.size(); ++i) {
        QWidget* ua = unit(chain[i - 1]);
        QWidget* ub = unit(chain[i]);
        const bool apart = ua != ub;
        const QRect a = at(apart ? ua : chain[i - 1]);
        const QRect b = at(apart ? ub : chain[i]);
        const bool sameLine = std::abs(a.center().y() - b.center().y()) <= std::max(a.height(), b.height()) / 2;
        const bool ok = sameLine ? b.left() >= a.left() : b.center().y() > a.center().y() || b.left() >= a.right() - 4;
        if (!ok) out << Describe(chain[i - 1]) + " -> " + Describe(chain[i]);
    }
    return out;
}

// The access keys of a window's buttons, tabs and labels that name a control.
QMap<QString, QStringList> AccessKeys(QWidget* window)
{
    QMap<QString, QStringList> keys;
    auto add = [&](const QString& text, const QString& who) {
        const QKeySequence k = QKeySequence::mnemonic(text);
        if (!k.isEmpty()) keys[k.toString()] << who;
    };
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->isVisible() && !qobject_cast<QTabBar*>(b->parentWidget())) add(b->text(), Describe(b));
    for (QLabel* l : window->findChildren<QLabel*>())
        if (l->isVisible() && l->buddy()) add(l->text(), Describe(l));
    for (QGroupBox* g : window->findChildren<QGroupBox*>())
        if (g->isVisible() && g->isCheckable()) add(g->title(), Describe(g));
    for (QTabBar* t : window->findChildren<QTabBar*>())
        if (t->isVisible())
            for (int i = 0; i < t->count(); ++i) add(t->tabText(i), Describe(t));
    return keys;
}

using ReachTest = MainWindowTest;

TEST_F(ReachTest, EveryWindowNamesItsControlsTabsInReadingOrderAndKeepsItsAccessKeysApart)
{
    QStringList menuKeys;
    for (QAction* a : main->menuBar()->actions()) menuKeys << QKeySequence::mnemonic(a->text()).toString();
    QStringList problems;
    WalkEveryWindow(*main, *ws, inst.path("backups"), [&](QWidget* window, const QString& caption, bool editor) {
        if (editor) {
            // Whole, not scrolled, so that places on it are places on the screen.
            window->parentWidget()->resize(window->parentWidget()->sizeHint());
            QCoreApplication::processEvents();
        }
        for (const QString& c : Unnamed(window)) problems << caption + ": no name: " + c;
        for (const QString& c : AgainstReadingOrder(window)) problems << caption + ": Tab goes back: " + c;
        const QMap<QString, QStringList> keys = AccessKeys(window);
        for (auto k = keys.begin(); k != keys.end(); ++k) {
            if (k.value().size() > 1) problems << caption + ": " + k.key() + " twice: " + k.value().join(", ");
            // The radio's own button texts keep their keys; Alt+key in the
            // window reaches them before the menu.
            static const QStringList own = {"cmdCheckBand", "cmdHelp", "cmdPlay", "cmdStop"};
            const bool fixed = k.value().size() == 1 && own.contains(k.value().first().section(' ', 1));
            if (editor && !fixed && menuKeys.contains(k.key())) problems << caption + ": " + k.key() + " is the main menu's: " + k.value().join(", ");
        }
    });
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();

    // The grid's cells say which channel they hold.
    main->ShowChild(Child::ChannelInfo);
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(Grid());
    ASSERT_TRUE(grid && grid->tableInterface());
    QAccessibleInterface* cell = grid->tableInterface()->cellAt(0, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "信道 1，频率 " + (Cell(1).isEmpty() ? QString("空") : Cell(1)));
}

// Shift+F10 and the Menu key open the row pop-up at the current row, which
// shows the keys of its commands, as the Edit menu's row commands do.
TEST_F(ReachTest, RowPopUpOpensByKeyAtTheCurrentRow)
{
    In<QComboBox>(Channels(), "cboBand")->setCurrentIndex(0);
    In<QComboBox>(Channels(), "cboGroup")->setCurrentText("A");
    QMenu* popup = main->menu("MnuListEdit");
    ASSERT_NE(popup, nullptr);
    for (const QKeyCombination key : {QKeyCombination(Qt::ShiftModifier, Qt::Key_F10), QKeyCombination(Qt::Key_Menu)}) {
        SelectRow(4);
        Grid()->setFocus();
        QTest::keyClick(Grid(), key.key(), key.keyboardModifiers());
        ASSERT_TRUE(SpinUntil([&] { return popup->isVisible(); }, 2000)) << key.toCombined();
        const QRect cell = Grid()->visualRect(Grid()->currentIndex());
        EXPECT_TRUE(popup->geometry().contains(Grid()->viewport()->mapToGlobal(cell.center()) + QPoint(1, 1)))
            << "at the current row";
        popup->hide();
    }
    QMenu* rows = main->findChild<QMenu*>("mnuEditRows");
    ASSERT_NE(rows, nullptr);
    for (const char* name : {"MnuLECopy", "MnuLECut", "MnuLEPaste", "MnuLEInsert", "MnuLEDelete"}) {
        QAction* a = main->menuAction(name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_FALSE(a->shortcut().isEmpty()) << name;
        const QString edit = QStringLiteral("mnuEditRow") + QString::fromLatin1(name + 5);
        QAction* e = rows->findChild<QAction*>(edit);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_EQ(e->shortcut(), a->shortcut()) << name;
    }
}

}  // namespace
}  // namespace kt
