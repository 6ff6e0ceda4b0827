// What a child window may ask of the main window.  The editors get a MainHost
// when they are created and find each other through it (ShowRB, ShowDTMF,
// ReShowData, reShowGrid are called on the open window, if any).
#pragma once

class QPoint;
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

    // The open child windows; null when not loaded.
    virtual frmCommChInfo* ChannelWindow() = 0;
    virtual FrmOptFeatures* OptionsWindow() = 0;
    virtual FrmDTMF* DtmfWindow() = 0;
    virtual FrmToneTips* ToneTipsWindow() = 0;

    // One instance each: focuses an open window, else creates and cascades.
    virtual void ShowChild(Child which) = 0;
    virtual void CloseChild(Child which) = 0;
    virtual void CloseAllChildren() = 0;
    // Window title and status bar from BandRange and CurrentFile.
    virtual void SetTitle() = 0;
    // The channel grid's pop-up menu (MnuListEdit) at a global position.
    virtual void PopupListEditMenu(const QPoint& globalPos) = 0;
    // Starts the software version that handles v (after the save question for
    // modified data) and ends this program; returns when it could not.
    virtual void LaunchVersion(const QString& v) = 0;
    // Parent for dialogs and progress windows.
    virtual QWidget* MainWindow() = 0;
};

}  // namespace kt
