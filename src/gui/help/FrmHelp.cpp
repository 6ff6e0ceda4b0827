#include "gui/help/FrmHelp.h"

#include "gui/MainHost.h"
#include "model/Workspace.h"

#include <QApplication>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>

// The manual is compiled into the GUI library, which is static: the resource
// must be registered by name or the linker leaves it out.
static void RegisterManual() { Q_INIT_RESOURCE(help); }

namespace kt {

QUrl ManualPage(int language)
{
    return QUrl(language == Chinese ? QStringLiteral("qrc:/help/manual_zh.html")
                                    : QStringLiteral("qrc:/help/manual_en.html"));
}

FrmHelp::FrmHelp(MainHost& host, QWidget* parent) : QWidget(parent, Qt::Window), host_(host)
{
    RegisterManual();
    setObjectName("FrmHelp");
    setAttribute(Qt::WA_DeleteOnClose);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(false);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(browser_);
    resize(640, 600);
    for (const QKeySequence& k : {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)})
        connect(new QShortcut(k, this), &QShortcut::activated, this, &QWidget::close);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(browser_->documentTitle()); });
    connect(&host_.ws().Events(), &DocumentEvents::languageChanged, this, &FrmHelp::ShowManual);
    ShowManual();
}

void FrmHelp::ShowManual()
{
    const int language = host_.ws().CurrentLanguage;
    if (language == shownLanguage_) return;
    shownLanguage_ = language;
    browser_->setSource(ManualPage(language));
    setWindowTitle(browser_->documentTitle());
}

FrmHelp* FrmHelp::ShowFor(MainHost& host)
{
    // A closed window is on its way out (deleted on close): a new one is made.
    FrmHelp* open = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<FrmHelp*>(w); h && &h->host() == &host && h->isVisible()) open = h;
    if (!open) {
        QWidget* main = host.MainWindow();
        open = new FrmHelp(host, main);   // placed over the main window as it shows
    }
    open->ShowManual();
    open->show();
    open->raise();
    open->activateWindow();
    return open;
}

}  // namespace kt
