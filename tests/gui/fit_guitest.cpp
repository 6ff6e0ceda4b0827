// Every window on a small or scaled screen: the main window of a first run
// fits the screen, each editor fits the area it opens in with its Close
// button in view, each other window fits the screen, and no control of any
// of them lies outside its window.  Runs on the screen KT_TEST_SCREEN names
// (CTest runs it at 1920x1080 scaled 150 % and 200 %, and 1366x768).
#include "EveryWindow.h"

#include <QAbstractScrollArea>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace kt {
namespace {

// Controls that stick out of their parent.
QStringList Clipped(QWidget* window, const QString& caption)
{
    QStringList out;
    for (QWidget* c : window->findChildren<QWidget*>()) {
        QWidget* p = c->parentWidget();
        if (!c->isVisibleTo(window) || c->isWindow() || !p) continue;
        // What a scroll area holds may be larger than it: that is what it is for.
        if (p->parentWidget() && qobject_cast<QAbstractScrollArea*>(p->parentWidget()) &&
            p == static_cast<QAbstractScrollArea*>(p->parentWidget())->viewport())
            continue;
        if (!QRect(QPoint(0, 0), p->size()).contains(c->geometry()))
            out << QStringLiteral("%1: %2 %3 at %4,%5 %6x%7 outside %8x%9")
                       .arg(caption, c->metaObject()->className(), c->objectName())
                       .arg(c->x()).arg(c->y()).arg(c->width()).arg(c->height())
                       .arg(p->width()).arg(p->height());
    }
    return out;
}

bool InScrollArea(QWidget* c, QWidget* window)
{
    for (QWidget* w = c->parentWidget(); w && w != window; w = w->parentWidget())
        if (qobject_cast<QScrollArea*>(w)) return true;
    return false;
}

class FitTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("KT_TEST_SCREEN")) GTEST_SKIP() << "runs on the screens CTest names";
        MainWindowTest::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        screen = main->screen()->availableGeometry();
    }
    void TearDown() override
    {
        if (main) MainWindowTest::TearDown();
    }
    QRect screen;
    QStringList problems;
};

TEST_F(FitTest, EveryWindowFitsAndShowsAllItsControls)
{
    EXPECT_TRUE(screen.contains(main->frameGeometry())) << "first run";
    QMdiArea* area = main->mdiArea();
    WalkEveryWindow(*main, *ws, inst.path("backups"), [&](QWidget* w, const QString& caption, bool editor) {
        problems << Clipped(w, caption);
        if (!editor) {
            EXPECT_TRUE(screen.contains(w->frameGeometry()))
                << caption.toStdString() << " " << w->frameGeometry().width() << "x" << w->frameGeometry().height();
            return;
        }
        // The window is fitted once the area has laid itself out.
        auto fits = [&] { return QRect(QPoint(0, 0), area->viewport()->size()).contains(w->parentWidget()->geometry()); };
        // Scroll bars only where the area is too small for the whole window.
        const bool roomy = QRect(QPoint(0, 0), area->viewport()->size()).contains(QRect(w->parentWidget()->pos(), w->parentWidget()->sizeHint()));
        auto scrolls = [&] {
            for (QScrollArea* a : w->findChildren<QScrollArea*>())
                if (a->horizontalScrollBar()->isVisible() || a->verticalScrollBar()->isVisible()) return true;
            return false;
        };
        SpinUntil([&] { return fits() && !(roomy && scrolls()); }, 2000);
        EXPECT_FALSE(roomy && scrolls()) << caption.toStdString() << " scrolls in an area that holds it";
        EXPECT_TRUE(fits()) << caption.toStdString() << " at " << w->parentWidget()->x() << "," << w->parentWidget()->y()
                            << " " << w->parentWidget()->width() << "x" << w->parentWidget()->height() << " in an area of "
                            << area->viewport()->width() << "x" << area->viewport()->height();
        QPushButton* close = nullptr;
        for (QPushButton* b : w->findChildren<QPushButton*>())
            if (b->text() == ws->T(txt::Close)) close = b;
        EXPECT_TRUE(close && !InScrollArea(close, w)) << caption.toStdString() << ": Close scrolls away";
    });
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
}

}  // namespace
}  // namespace kt
