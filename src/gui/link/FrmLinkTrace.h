// Program › Link Trace…: the trace of the last transfer as text, to copy or
// to save as a text file and send with a report of a problem.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace kt {

struct Workspace;
class LinkTrace;

class FrmLinkTrace : public QDialog {
public:
    FrmLinkTrace(Workspace& ws, const LinkTrace& trace, QWidget* parent = nullptr);

    QPlainTextEdit* TextTrace = nullptr;
    QPushButton* CommandCopy = nullptr;
    QPushButton* CommandSave = nullptr;
    QPushButton* CommandClose = nullptr;

private:
    Workspace& ws_;
    const LinkTrace& trace_;
};

}  // namespace kt
