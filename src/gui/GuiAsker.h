// The desktop program's questions and file dialogs: message boxes titled
// "KT-6383 Pro" with buttons captioned in the current language.
#pragma once

#include "base/AskExtra.h"

class QWidget;

namespace kt {

struct Workspace;
class RecentFiles;

class GuiAsker : public Asker, public ExtraButtonAsker {
public:
    GuiAsker(const Workspace& ws, QWidget* parent = nullptr) : ws_(ws), parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    // File dialogs start in the folder last used and remember the one chosen.
    void setRecent(RecentFiles* recent) { recent_ = recent; }

    Answer ask(const QString& text, Buttons buttons, Icon icon, bool withTitle = true) override;
    Answer askWithExtra(const QString& text, Buttons buttons, Icon icon, const ExtraButton& extra) override;
    QString openFileName(const QString& title, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& filter, const QString& preset) override;

private:
    QString Chosen(const QString& path);
    Answer Run(const QString& text, Buttons buttons, Icon icon, bool withTitle, const ExtraButton* extra);

    const Workspace& ws_;
    QWidget* parent_;
    RecentFiles* recent_ = nullptr;
};

}  // namespace kt
