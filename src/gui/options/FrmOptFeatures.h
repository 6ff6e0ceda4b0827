// The option-features window: the radio's general settings, the public
// channel and the enabled modes on one page.  Every change goes into the
// working model at once; there is no OK or Cancel.
#pragma once

#include <QMap>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kt {

class MainHost;

class FrmOptFeatures : public QWidget {
    Q_OBJECT
public:
    explicit FrmOptFeatures(MainHost& host, QWidget* parent = nullptr);
    ~FrmOptFeatures() override;

    // Refills every list and shows the model again; a shown value that differs
    // from what the list showed before is stored.
    void ReShowData();
    // Shows the document put back by an undo or a redo, storing nothing.
    void ShowRestoredDocument();
    // The roger-beep patterns changed: rebuild "Roger" and show ComChanRb.
    void ShowRB();
    // The DTMF codes changed: rebuild "BOT", "EOT", "CALL", keeping the shown codes.
    void ShowDTMF();
    // Stores the value of one control (list n, check box 100 + n, public list 200 + n,
    // display boxes 111-114, number boxes 300-303).
    void SaveOptFeat(int id);
    // Stores a number box the user typed into but has not left yet.
    void StorePendingEdits();

    bool IsLoaded() const { return loaded_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPage();
    void FillOptionLists();
    void FillRbLists();
    void FillDtmfLists();
    void FillModeList();
    void ApplyOptionLanguage();
    void ShowOptions();
    void ShowListText(int id, const QString& text);
    void AlignLabel(QLabel* label, QWidget* control);
    void SaveList(int id);
    void SaveCheck(int id);
    void SaveNumber(int id);
    void ModeEnableChanged(int id);
    void SetVoxDependents(bool on);
    QStringList Items(int id) const;

    MainHost& host_;
    bool loaded_ = false;
    QMap<int, QComboBox*> lists_;
    QMap<int, QCheckBox*> checks_;
    QMap<int, QLineEdit*> numbers_;
    QMap<int, QLabel*> labels_;   // by the id of the control they name
    QLabel* mhz_ = nullptr;
    QGroupBox* modeFrame_ = nullptr;
    QGroupBox* publicFrame_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace kt
