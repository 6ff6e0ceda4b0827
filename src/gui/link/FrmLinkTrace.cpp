#include "gui/link/FrmLinkTrace.h"

#include "link/LinkTexts.h"
#include "link/LinkTrace.h"
#include "link/Transfer.h"
#include "model/Workspace.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kt {

FrmLinkTrace::FrmLinkTrace(Workspace& ws, const LinkTrace& trace, QWidget* parent)
    : QDialog(parent), ws_(ws), trace_(trace)
{
    setWindowTitle(ws_.T(link_txt::TraceTitle));
    TextTrace = new QPlainTextEdit(this);
    TextTrace->setReadOnly(true);
    TextTrace->setLineWrapMode(QPlainTextEdit::NoWrap);
    TextTrace->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    TextTrace->setAccessibleName(ws_.T(link_txt::TraceTitle));
    const bool empty = trace_.IsEmpty();
    TextTrace->setPlainText(empty ? ws_.T(link_txt::TraceNone) : trace_.Text());

    CommandCopy = new QPushButton(ws_.T(link_txt::TraceCopy), this);
    CommandSave = new QPushButton(ws_.T(link_txt::TraceSaveAs), this);
    CommandClose = new QPushButton(ws_.T(link_txt::TraceClose), this);
    CommandCopy->setEnabled(!empty);
    CommandSave->setEnabled(!empty);
    CommandClose->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CommandCopy);
    buttons->addWidget(CommandSave);
    buttons->addStretch();
    buttons->addWidget(CommandClose);
    auto* box = new QVBoxLayout(this);
    box->addWidget(TextTrace, 1);
    box->addLayout(buttons);
    resize(820, 520);

    connect(CommandCopy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(trace_.Text()); });
    connect(CommandSave, &QPushButton::clicked, this, [this] { SaveTraceAs(ws_, trace_); });
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace kt
