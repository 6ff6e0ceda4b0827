// The DTMF codes window: encoder timing, the display switch and the sixteen
// autodial code memories.  Every change goes into the working data at once.
#pragma once

#include "base/Texts.h"

#include <QWidget>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace kt {

class MainHost;
struct Workspace;

class FrmDTMF : public QWidget {
    Q_OBJECT
public:
    explicit FrmDTMF(MainHost& host, QWidget* parent = nullptr);
    ~FrmDTMF() override;

    // Stores an edit still open in the code grid.
    void StorePendingEdits();
    // Clears references to empty codes and lets the channel and option
    // windows rebuild their code lists.
    void SetDTMFList();
    // Re-captions the window in the current language and shows the data again.
    void ApplyDtmfLanguage();

    // The code row being edited (1-16), 0 before a cell was entered.
    int CurrentCodeRow() const { return currentCodeRow_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void FillDtmfLists();
    // writeBack: what is shown is stored (opening); an undo or a redo only shows.
    void ShowDtmfSettings(bool writeBack = true);
    void StoreTiming(int which);
    void StoreDCode();
    void StoreDisplay();
    void BeginCodeEdit(int row);
    void PlaceEditBox();
    void CommitDtmfCell();
    Workspace& ws();

    MainHost& host_;
    QTabWidget* tabs_ = nullptr;
    QComboBox* timing_[4] = {};
    QLabel* timingLabel_[4] = {};
    QComboBox* dcode_ = nullptr;
    QLabel* dcodeLabel_ = nullptr;
    QCheckBox* display_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QLineEdit* edit_ = nullptr;
    QPushButton* close_ = nullptr;
    QWidget* decode_ = nullptr;
    std::vector<std::pair<QWidget*, Bi>> captions_;
    int currentCodeRow_ = 0;
    bool showing_ = false;      // the edit box is being filled, not typed into
};

}  // namespace kt
