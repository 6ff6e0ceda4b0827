// What a child window may ask of the main window.  The editors get a MainHost
// when they are created; they learn of each other's changes only through the
// document's events, never by calling another window.
#pragma once

class QPoint;
class QSettings;
class QString;
class QWidget;

namespace kt {

struct Workspace;
class frmCommChInfo;
class FrmOptFeatures;
class FrmDTMF;
class FrmToneTips;

enum class Child { ChannelInfo, OptFeatures, Dtmf, ToneTips };

class MainHost {
public:
    virtual ~MainHost() = default;
    virtual Workspace& ws() = 0;

    // The open editor window; null when not loaded.
    virtual QWidget* Editor(Child which) = 0;
    // Typed views of Editor() for the program's owners and tests (defined
    // beside the registrations in Editors.cpp; no editor calls them).
    frmCommChInfo* ChannelWindow();
    FrmOptFeatures* OptionsWindow();
    FrmDTMF* DtmfWindow();
    FrmToneTips* ToneTipsWindow();

    // One instance each: focuses an open window, else creates and cascades.
    virtual void ShowChild(Child which) = 0;
    virtual void CloseChild(Child which) = 0;
    virtual void CloseAllChildren() = 0;
    // Before the document is replaced (a read, a restored backup): closes
    // every editor window, so each stores what it still holds into the old
    // document; the windows that were open come back where they were once
    // the new document is shown.
    virtual void SetChildrenAside() = 0;
    // A line in the main window's status bar (hints that need no answer).
    virtual void ShowStatus(const QString& text) = 0;
    // Window title and status bar from BandRange and CurrentFile.
    virtual void SetTitle() = 0;
    // The channel grid's pop-up menu (MnuListEdit) at a global position.
    virtual void PopupListEditMenu(const QPoint& globalPos) = 0;
    // Starts the software version that handles v (after the save question for
    // modified data) and ends this program; returns when it could not.
    virtual void LaunchVersion(const QString& v) = 0;
    // The per-user settings store, where windows keep their layout; null
    // when there is none (tests, benchmarks).
    virtual QSettings* Settings() { return nullptr; }
    // Parent for dialogs and progress windows.
    virtual QWidget* MainWindow() = 0;
    // Program > Radio Information: identifies the radio on the port and shows
    // what is known of it.  By default the main window's own menu command runs
    // (the Model Information window when there is no main window).
    virtual void RadioInformation();
};

}  // namespace kt
