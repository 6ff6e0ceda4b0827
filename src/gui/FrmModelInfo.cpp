#include "gui/FrmModelInfo.h"

#include "gui/MainHost.h"
#include "shell/ModelInfo.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kt {

namespace {

QLabel* Heading(const QString& text)
{
    auto* l = new QLabel(text);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

void AddPairs(QFormLayout* form, const QList<QPair<QString, QString>>& pairs)
{
    for (const auto& [label, value] : pairs) {
        auto* v = new QLabel(value);
        v->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label + ":", v);
    }
}

}  // namespace

FrmModelInfo::FrmModelInfo(MainHost& host, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      host_(host)
{
    setObjectName("FrmModelInfo");
    setAttribute(Qt::WA_DeleteOnClose);
    setSizeGripEnabled(false);
    form_ = new QFormLayout;
    form_->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    close_ = new QPushButton(this);
    close_->setObjectName("cmdClose");
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* v = new QVBoxLayout(this);
    v->setSizeConstraint(QLayout::SetFixedSize);   // as big as its texts, not resizable
    v->addLayout(form_);
    v->addSpacing(8);
    v->addLayout(buttons);
    titleRoom_ = new QSpacerItem(0, 0);
    v->addItem(titleRoom_);

    connect(&host_.ws().Events(), &DocumentEvents::languageChanged, this, &FrmModelInfo::Refresh);
    Refresh();
}

void FrmModelInfo::Refresh()
{
    Workspace& ws = host_.ws();
    const ModelInfo info = ModelInfoOf(ws);
    setWindowTitle(info.title);
    while (form_->rowCount() > 0) form_->removeRow(0);
    form_->addRow(Heading(info.radioHeading));
    if (info.radio.isEmpty()) form_->addRow(new QLabel(info.noRadio));
    AddPairs(form_, info.radio);
    form_->addItem(new QSpacerItem(0, 8));
    form_->addRow(Heading(info.programHeading));
    AddPairs(form_, info.program);
    close_->setText(ws.T(txt::Close));
    // Wide enough for the title beside the frame's buttons.
    titleRoom_->changeSize(fontMetrics().horizontalAdvance(info.title) + 160, 0);
    layout()->invalidate();
}

void FrmModelInfo::showEvent(QShowEvent* e)
{
    Refresh();
    QDialog::showEvent(e);
}

namespace {

// The open window of host; a closed one is on its way out (deleted on close).
FrmModelInfo* OpenFor(MainHost& host)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<FrmModelInfo*>(w); m && &m->host() == &host && m->isVisible()) return m;
    return nullptr;
}

}  // namespace

FrmModelInfo* FrmModelInfo::ShowFor(MainHost& host)
{
    FrmModelInfo* open = OpenFor(host);
    if (!open) open = new FrmModelInfo(host, host.MainWindow());
    else open->Refresh();
    open->show();
    open->raise();
    open->activateWindow();
    return open;
}

void FrmModelInfo::RefreshOpen(MainHost& host)
{
    if (FrmModelInfo* open = OpenFor(host)) open->Refresh();
}

}  // namespace kt
