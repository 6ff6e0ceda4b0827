// Every window the editor registry opens, in both languages: each control
// that takes the focus has a name a screen reader can say, and at 150 % no
// control lies outside its window.
#include "MainWindowTest.h"
#include "gui/AccessibleNames.h"
#include "gui/EditorRegistry.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProcess>

namespace kt {
namespace {

class ReachTest : public MainWindowTest {
protected:
    // Opens each editor in the language; calls check(window, caption) for each.
    void EveryWindow(const std::function<void(QWidget*, const QString&)>& check)
    {
        for (int language : {English, Chinese}) {
            ws->CurrentLanguage = language;
            main->ApplyLanguage();
            for (const EditorEntry& e : StandardEditors().Entries()) {
                main->ShowChild(e.id);
                QWidget* w = main->Editor(e.id);
                ASSERT_NE(w, nullptr) << e.menuName;
                QCoreApplication::processEvents();
                check(w, QStringLiteral("%1 (%2)").arg(QString::fromLatin1(e.menuName)).arg(language));
            }
        }
    }
};

TEST_F(ReachTest, EveryFocusableControlHasAnAccessibleName)
{
    QStringList unnamed;
    EveryWindow([&](QWidget* window, const QString& caption) {
        for (QWidget* c : window->findChildren<QWidget*>()) {
            if (c->focusPolicy() == Qt::NoFocus || !ShownIn(c, window) || c->isWindow()) continue;
            // The line editor of an editable list is named by its list.
            if (qobject_cast<QComboBox*>(c->parentWidget())) continue;
            if (!SpokenName(c).isEmpty()) continue;
                unnamed << caption + ": " + c->metaObject()->className() + " " + c->objectName();
        }
    });
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join('\n').toStdString();

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
