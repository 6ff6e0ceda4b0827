// The desktop program's message boxes: title, button captions in the current
// language and the answer of each button.  Each box is answered by a timer.
#include "gui/GuiAsker.h"
#include "model/Workspace.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace kt {
namespace {

struct Seen {
    QString title, text;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Presses the button captioned `press` on the box that is up next.
void Press(const QString& press, Seen& seen)
{
    QTimer::singleShot(0, [press, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == press) {
                b->click();
                return;
            }
        box->reject();
    });
}

TEST(GuiAsker, ButtonsCaptionsAndAnswers)
{
    Workspace ws;
    GuiAsker asker(ws);
    const struct {
        int language;
        Buttons buttons;
        const char* press;
        Answer want;
        QStringList captions;
    } cases[] = {
        {English, Buttons::Ok, "&OK", Answer::Ok, {"&OK"}},
        {English, Buttons::OkCancel, "&Cancel", Answer::Cancel, {"&OK", "&Cancel"}},
        {English, Buttons::YesNoCancel, "&No", Answer::No, {"&Yes", "&No", "&Cancel"}},
        {English, Buttons::YesNo, "&Yes", Answer::Yes, {"&Yes", "&No"}},
        {English, Buttons::RetryCancel, "&Retry", Answer::Retry, {"&Retry", "&Cancel"}},
        {Chinese, Buttons::OkCancel, "确定(&O)", Answer::Ok, {"确定(&O)", "取消(&C)"}},
        {Chinese, Buttons::YesNoCancel, "取消(&C)", Answer::Cancel, {"是(&Y)", "否(&N)", "取消(&C)"}},
    };
    for (const auto& c : cases) {
        ws.CurrentLanguage = c.language;
        Seen seen;
        Press(QString::fromUtf8(c.press), seen);
        const Answer a = asker.ask("Read data from radio.\r\nDo you wish continue?", c.buttons, Icon::Question);
        EXPECT_EQ(a, c.want) << c.press;
        EXPECT_EQ(seen.title, "KT-6383 Pro");
        EXPECT_EQ(seen.text, "Read data from radio.\nDo you wish continue?");
        EXPECT_EQ(seen.icon, QMessageBox::Question);
        QStringList want;
        for (const QString& s : c.captions) want << s;
        QStringList got = seen.buttons;
        got.sort();
        want.sort();
        EXPECT_EQ(got, want) << c.press;
    }
}

TEST(GuiAsker, ClosingTheBoxAnswersCancelWhereThereIsOne)
{
    Workspace ws;
    GuiAsker asker(ws);
    Seen seen;
    Press("no such button", seen);
    EXPECT_EQ(asker.ask("File has been modify,save it now?", Buttons::YesNoCancel, Icon::Warning), Answer::Cancel);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
}

}  // namespace
}  // namespace kt
