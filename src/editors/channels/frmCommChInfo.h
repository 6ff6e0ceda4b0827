// The channel editor window.
#pragma once

#include <QWidget>

namespace kt {

class MainHost;

class frmCommChInfo : public QWidget {
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
    void ShowChIfoData();
    void ShowChIfoDataOther();
    void EnterGridEdit();
    void SaveShowGridData();
    void InitComboWorkGroup();
    // Stores an edit still open in the grid (before a write to the radio).
    void StorePendingEdits();

    // Line-edit commands on the current row (the main window's MnuListEdit).
    void LECopy();
    void LECut();
    void LEPaste();
    void LEInsertPaste();
    void LEDelete();
    bool ClipboardFilled() const;

private:
    MainHost& host_;
};

}  // namespace kt
