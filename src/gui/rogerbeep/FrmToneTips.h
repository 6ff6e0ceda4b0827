// The roger-beep tones window: eight patterns on tabs, their tone lists, the
// bar drawing and the player.  Every change goes into the working data at once.
#pragma once

#include "rules/rogerbeep/RbPlayer.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QTabBar;

namespace kt {

class MainHost;
struct Workspace;
class GuiToneSink;
struct StepName;

class FrmToneTips : public QWidget {
    Q_OBJECT
public:
    explicit FrmToneTips(MainHost& host, QWidget* parent = nullptr);
    ~FrmToneTips() override;

    // Requests the player to stop before its next tone; "&Play" comes back
    // once playing has ended.
    void StopPlayback();
    // Plays the shown pattern ("&Play").
    void PlayPattern();
    bool IsPlaying() const { return player_.Playing(); }
    // Saves the shown pattern as a WAV file ("Export WAV..."), as the player
    // plays it: asks for the file; a pattern without tones gives a message.
    void ExportWav();

    // Shows pattern CurrentPattern() in the lists and the drawing.
    // writeBack: a value without an entry is stored as the one shown
    // (opening, another tab); an undo or a redo only shows.
    void ShowPattern(bool writeBack = true);
    // Clears references to undefined patterns and lets the channel and
    // option windows rebuild their roger-beep lists.
    void RefreshRbReferences();
    // Re-captions the window in the current language and shows the pattern again.
    void ApplyToneLanguage();
    int CurrentPattern() const { return currentPattern_; }

    // Where the tones go; by default the audio output.  Tests record them.
    void SetToneSink(ToneSink* sink);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void FillToneLists();
    void OnRecycle(int index);
    void OnInterTime(int index);
    void OnFreq(int tone, int index);
    void OnDur(int tone, int index);
    void SetShown(QComboBox* box, int index);
    void UpdateExportButton();
    Workspace& ws();
    RbPatternRec& Shown();
    StepName PatternStep() const;

    MainHost& host_;
    int currentPattern_ = 1;
    QTabBar* tabs_ = nullptr;
    QLabel* recycleLabel_ = nullptr;
    QLabel* interLabel_ = nullptr;
    QComboBox* recycle_ = nullptr;
    QComboBox* interTime_ = nullptr;
    QLabel* freqHeader_[2] = {};
    QLabel* durHeader_[2] = {};
    QLabel* toneLabel_[kRbTones] = {};
    QComboBox* freq_[kRbTones] = {};
    QComboBox* dur_[kRbTones] = {};
    QWidget* picture_ = nullptr;
    QPushButton* play_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* exportWav_ = nullptr;
    QPushButton* close_ = nullptr;

    std::unique_ptr<GuiToneSink> speaker_;
    RbPlayer player_;
};

}  // namespace kt
