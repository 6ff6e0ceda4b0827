#include "gui/GuiAsker.h"
#include "gui/MenuPolish.h"
#include "shell/MainTexts.h"
#include "shell/RecentFiles.h"
#include "link/LinkTexts.h"
#include "model/Workspace.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QSpacerItem>
#include <QMessageBox>
#include <QPushButton>

namespace kt {

namespace {
constexpr Bi kYes{"&Yes", "是(&Y)"};
constexpr Bi kNo{"&No", "否(&N)"};
constexpr Bi kRetry{"&Retry", "重试(&R)"};
constexpr Bi kRecover{"&Recover", "恢复(&R)"};
constexpr Bi kDiscard{"&Discard", "丢弃(&D)"};
constexpr Bi kLater{"&Later", "以后再说(&L)"};
}  // namespace

Answer GuiAsker::ask(const QString& text, Buttons buttons, Icon icon, bool withTitle)
{
    return Run(text, buttons, icon, withTitle, nullptr);
}

Answer GuiAsker::askWithExtra(const QString& text, Buttons buttons, Icon icon, const ExtraButton& extra)
{
    return Run(text, buttons, icon, true, &extra);
}

Answer GuiAsker::Run(const QString& text, Buttons buttons, Icon icon, bool withTitle, const ExtraButton* extra)
{
    QMessageBox box(parent_);
    FixedDialogFrame(box);
    box.setWindowTitle(withTitle ? ws_.T(mtxt::AppTitle) : QString(" "));
    box.setText(QString(text).replace("\r\n", "\n"));
    switch (icon) {
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::None: box.setIcon(QMessageBox::Information); break;   // a plain notice still shows one
    }

    struct B { QMessageBox::StandardButton sb; Answer answer; const Bi* caption; };
    QList<B> set;
    const B ok{QMessageBox::Ok, Answer::Ok, &msg::CaptionOk};
    const B cancel{QMessageBox::Cancel, Answer::Cancel, &msg::CaptionCancel};
    const B yes{QMessageBox::Yes, Answer::Yes, &kYes};
    const B no{QMessageBox::No, Answer::No, &kNo};
    const B retry{QMessageBox::Retry, Answer::Retry, &kRetry};
    const B recover{QMessageBox::Open, Answer::Recover, &kRecover};
    const B discard{QMessageBox::Discard, Answer::Discard, &kDiscard};
    const B later{QMessageBox::Ignore, Answer::Later, &kLater};
    const B saveTrace{QMessageBox::Save, Answer::Yes, &link_txt::SaveTrace};
    switch (buttons) {
    case Buttons::Ok: set = {ok}; break;
    case Buttons::OkCancel: set = {ok, cancel}; break;
    case Buttons::YesNo: set = {yes, no}; break;
    case Buttons::YesNoCancel: set = {yes, no, cancel}; break;
    case Buttons::RetryCancel: set = {retry, cancel}; break;
    case Buttons::RecoverDiscardLater: set = {recover, discard, later}; break;
    case Buttons::DiscardLater: set = {discard, later}; break;
    case Buttons::OkSaveTrace: set = {ok, saveTrace}; break;
    }
    for (const B& b : set) box.addButton(b.sb)->setText(ws_.T(*b.caption));
    box.setDefaultButton(set.first().sb);
    // Escape answers Cancel where there is one, else the last button.
    box.setEscapeButton(box.button(buttons == Buttons::OkSaveTrace ? ok.sb : set.last().sb));

    // Wide enough for the title "KT-6383 Pro" in the frame; a message box
    // has no layout hook for that, so a spacer goes into its grid.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int title = box.fontMetrics().horizontalAdvance(box.windowTitle()) + 160;
        grid->addItem(new QSpacerItem(title, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    QPushButton* more = extra ? box.addButton(extra->caption, QMessageBox::ActionRole) : nullptr;
    for (;;) {
        box.exec();
        if (!more || box.clickedButton() != more) break;
        if (extra->action) extra->action();   // then the question again
    }
    const auto result = box.standardButton(box.clickedButton());
    for (const B& b : set)
        if (b.sb == result) return b.answer;
    return set.last().answer;
}

QString GuiAsker::Chosen(const QString& path)
{
    if (!path.isEmpty() && recent_) recent_->SetLastFolder(QFileInfo(path).absolutePath());
    return path;
}

QString GuiAsker::openFileName(const QString& title, const QString& filter)
{
    const QString start = recent_ ? recent_->LastFolder() : QString();
    return Chosen(QFileDialog::getOpenFileName(parent_, title, start, filter));
}

QString GuiAsker::saveFileName(const QString& title, const QString& filter, const QString& preset)
{
    QString start = preset;
    // An untitled document proposes its name in the folder last used, else
    // in the user's home folder.
    if (QFileInfo(preset).isRelative()) {
        QString folder = recent_ ? recent_->LastFolder() : QString();
        if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
        start = folder + "/" + preset;
    }
    return Chosen(QFileDialog::getSaveFileName(parent_, title, start, filter));
}

}  // namespace kt
