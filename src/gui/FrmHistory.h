// Edit > History: every step of the undo history, the one the document
// stands at selected; choosing another undoes or redoes up to it.
#pragma once

#include <QWidget>

class QUndoView;

namespace kt {

class DocumentHistory;
struct Workspace;

class FrmHistory : public QWidget {
    Q_OBJECT
public:
    FrmHistory(Workspace& ws, DocumentHistory& history, QWidget* parent = nullptr);
    QUndoView* View() const { return view_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyLanguage();

    Workspace& ws_;
    DocumentHistory& history_;
    QUndoView* view_ = nullptr;
};

}  // namespace kt
