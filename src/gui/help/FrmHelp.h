// Help > Help Topics: the short manual shipped with the program, in the
// current language, in a browser window of its own.
#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace kt {

class MainHost;

// The manual's page for a language (1 English, 2 Chinese).
QUrl ManualPage(int language);

class FrmHelp : public QWidget {
    Q_OBJECT
public:
    FrmHelp(MainHost& host, QWidget* parent);
    // Loads the manual of the current language.
    void ShowManual();
    QTextBrowser* browser() const { return browser_; }
    MainHost& host() const { return host_; }

    // Opens the window of host (or brings the open one to the front).
    static FrmHelp* ShowFor(MainHost& host);

private:
    MainHost& host_;
    QTextBrowser* browser_ = nullptr;
    int shownLanguage_ = 0;
};

}  // namespace kt
