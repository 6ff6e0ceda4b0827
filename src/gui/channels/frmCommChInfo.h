// The channel editor window.
#pragma once

#include "gui/EditorRegistry.h"
#include "rules/channels/ChannelEdit.h"
#include "rules/channels/ChannelTables.h"

#include <QWidget>
#include <map>

class QBoxLayout;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStyledItemDelegate;

namespace kt {

class ChannelGridModel;
class ChannelGridView;
class MainHost;
struct Workspace;

class frmCommChInfo : public QWidget, public LineEditTarget {
    Q_OBJECT
public:
    explicit frmCommChInfo(MainHost& host, QWidget* parent = nullptr);
    ~frmCommChInfo() override;

    void reShowGrid(int row);
    void ReShowChInfoByLanguage();
    void InitValidComboList();
    void ShowValidComboText();
    void ShowDTMF();
    void ShowRB();
    void SetGridData();
    // Fills the detail panel for the current row (and re-shows its frequency).
    void ShowChIfoData();
    void ShowChIfoDataOther();
    void EnterGridEdit();
    void SaveShowGridData();
    void InitComboWorkGroup();
    // Stores an edit still open in the grid (before a write to the radio).
    void StorePendingEdits();
    void SubscribeToDocument();
    // Shows the document put back by an undo or a redo.
    void ShowRestoredDocument();

    // Line-edit commands on the current row (the main window's MnuListEdit).
    void LECopy() override;
    void LECut() override;
    void LEPaste() override;
    void LEInsertPaste() override;
    void LEDelete() override;
    bool ClipboardFilled() const override;
    void LESelectAll() override;
    void LEFillDown() override;
    void LEShowAllFields(bool on) override;
    bool AllFieldsShown() const override;

    // The selected rows (1-based channel numbers, ascending); the current row
    // when nothing is selected.
    QList<int> SelectedRows() const;

    void GridNextLine();
    void GridNextCol();

    // What the window shows: band 0/1, group number, current grid row (1-based, 0 = none).
    int ShownBand() const { return band_; }
    int ShownGroup() const { return group_; }
    int CurrentRow() const;
    bool WandToSave() const { return wandToSave_; }
    bool GroupIsEditable() const;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    Workspace& ws() const;
    template <class F> void Trap(const char* name, F&& body);
    void InitShowGrid();
    // The grid with the channel number and frequency columns only.
    int NarrowGridWidth() const;
    void ChangShowByLanguage();
    void OnBandChanged(int index);
    void ShowGroup(int group);
    void OnGroupChanged(int index);
    void ShowRowFromModel(int row);
    void OnCellStored(int row, FreqCellResult r);
    void OnEditEnter();
    void CancelGridEdit();
    void ShowChannel(int band, int group, int channel);
    void FitDetailWidth();
    void SelectRow(int row);
    void FillDetail(const ChannelRec& rec, int row);
    void ShowToneRows(const ChannelRec& rec);
    void ApplyPublicLock(const ChannelRec& rec);
    void OnDetailChanged(ChField f);
    void OnGroupValidChanged(int index);
    void ShowGroupPanelRows();
    void FillModeCombo();
    void RefillRefCombo(QComboBox* combo, const QStringList& items);
    void AfterRemove(int row, int result);
    bool PasteDone(PasteResult result);   // tells why a paste could not act
    bool GridKey(QKeyEvent* e);
    void NewGroupVisit();
    // True in a group the grid does not edit, after saying so: a message for
    // a command, a status-bar line once a group visit for keys and clicks.
    bool RefuseReadOnly(bool command);
    void GridRightClick(const QPoint& pos, const QPoint& globalPos);
    QString T(const Bi& b) const;
    // Several rows (ChannelSelection.cpp).
    void FillDetailMany(const QList<int>& held);
    void SetFieldOnSelection(ChField f);
    void CopySelection();
    void RemoveSelection(bool cut);
    void PasteClipboard(bool insert);
    void AfterRowsChanged();
    // The wide view (ChannelWideView.cpp).
    void BuildWideView(QBoxLayout* above);
    void ApplyWideView();
    void StoreColumnWidths();

    MainHost& host_;
    bool wandToSave_ = false;
    bool editorOpen_ = false;
    bool saving_ = false;
    int band_ = 0;
    int group_ = 1;
    int editRow_ = 0;
    int editCol_ = 0;
    int topRow_ = 0;
    bool readOnlyHinted_ = false;

    QLabel* lblBand_ = nullptr;
    QComboBox* cboBand_ = nullptr;
    QPushButton* cmdCheckBand_ = nullptr;
    QGroupBox* fraBand_ = nullptr;
    QLabel* lblGroup_ = nullptr;
    QComboBox* cboGroup_ = nullptr;
    QComboBox* cboGroupAll_ = nullptr;
    QLabel* lblWorkGroup_ = nullptr;
    QComboBox* cboWorkGroup_ = nullptr;
    QGroupBox* fraGroup_ = nullptr;
    QFormLayout* groupForm_ = nullptr;
    QComboBox* cboEmgCh1_ = nullptr;
    QComboBox* cboEmgCh2_ = nullptr;
    QComboBox* cboEmgMode1_ = nullptr;
    QComboBox* cboEmgMode2_ = nullptr;
    QComboBox* cboDwAfm_ = nullptr;
    QComboBox* cboMemCh_ = nullptr;
    QComboBox* cboGroupValid_ = nullptr;
    QLineEdit* txtGroupName_ = nullptr;
    ChannelGridModel* model_ = nullptr;
    ChannelGridView* grid_ = nullptr;
    QGroupBox* fraDetail_ = nullptr;
    QFormLayout* detailForm_ = nullptr;
    std::map<ChField, QComboBox*> detail_;
    QPushButton* cmdEdit_ = nullptr;
    QPushButton* cmdHelp_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    QPushButton* cmdAllFields_ = nullptr;
    QStyledItemDelegate* fieldDelegate_ = nullptr;
    bool wide_ = false;
    bool applyingWide_ = false;
};

}  // namespace kt
