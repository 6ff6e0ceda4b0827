#include "gui/channels/FrmFillChannels.h"
#include "gui/AccessibleNames.h"
#include "shell/MainTexts.h"

#include "model/EditStep.h"
#include "model/Workspace.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kt {

namespace {

QRadioButton* Radio(QWidget* parent, const char* name, const QString& text)
{
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}

QLineEdit* Line(QWidget* parent, const char* name, const QString& text)
{
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

}  // namespace

FrmFillChannels::FrmFillChannels(Workspace& ws, int band, int group, std::vector<int> selected, QWidget* parent)
    : QDialog(parent), ws_(ws), band_(band), group_(group), selected_(std::move(selected))
{
    setObjectName("FrmFillChannels");
    setWindowTitle(ws.T(filldlg::Title));
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QString letter = GroupStepDetail(band, group).en;
    auto* where = new QLabel(ws.T(filldlg::Where).arg(band == 0 ? "HF" : "HAM", letter), this);
    where->setObjectName("lblWhere");
    form->addRow(where);

    // Which rows, then which frequencies: two boxes, one choice each.
    auto* rows = new QGroupBox(ws.T(filldlg::Rows), this);
    auto* rowsLayout = new QVBoxLayout(rows);
    auto* scope = new QButtonGroup(this);
    if (selected_.size() > 1) {
        optSelected_ = Radio(rows, "optSelected", ws.T(filldlg::Selected).arg(selected_.size()));
        scope->addButton(optSelected_);
        rowsLayout->addWidget(optSelected_);
    }
    optGroup_ = Radio(rows, "optGroup", ws.T(filldlg::WholeGroup));
    scope->addButton(optGroup_);
    rowsLayout->addWidget(optGroup_);
    (optSelected_ ? optSelected_ : optGroup_)->setChecked(true);
    form->addRow(rows);

    auto* planBox = new QGroupBox(ws.T(filldlg::Plan), this);
    auto* planForm = new QFormLayout(planBox);
    planForm->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* plan = new QButtonGroup(this);
    optStartStep_ = Radio(this, "optStartStep", ws.T(filldlg::StartStep));
    optCb40_ = Radio(this, "optCb40", ws.T(filldlg::Cb40));
    plan->addButton(optStartStep_);
    plan->addButton(optCb40_);
    txtStart_ = Line(this, "txtStart", {});
    txtStart_->setPlaceholderText(QStringLiteral("28.000"));
    txtStep_ = Line(this, "txtStep", QStringLiteral("10"));
    const long long segment = DefaultCbSegmentHz(band, group);
    txtSegment_ = Line(this, "txtSegment", segment > 0 ? HzText(segment).left(6) : QString());
    txtSegment_->setPlaceholderText(QStringLiteral("26.965"));
    cboGrid_ = new QComboBox(this);
    cboGrid_->setObjectName("cboGrid");
    cboGrid_->addItems({QStringLiteral("5"), QStringLiteral("0")});
    planForm->addRow(optStartStep_);
    planForm->addRow(ws.T(filldlg::Start), txtStart_);
    planForm->addRow(ws.T(filldlg::Step), txtStep_);
    planForm->addRow(optCb40_);
    planForm->addRow(ws.T(filldlg::Segment), txtSegment_);
    planForm->addRow(ws.T(filldlg::Grid), cboGrid_);
    form->addRow(planBox);
    TabInOrder({optStartStep_, txtStart_, txtStep_, optCb40_, txtSegment_, cboGrid_});
    (segment > 0 ? optCb40_ : optStartStep_)->setChecked(true);
    connect(optCb40_, &QRadioButton::toggled, this, &FrmFillChannels::Enable);
    Enable();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(ws.T(filldlg::Ok));
    buttons->button(QDialogButtonBox::Cancel)->setText(ws.T(filldlg::Cancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &FrmFillChannels::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FrmFillChannels::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void FrmFillChannels::Enable()
{
    const bool cb = optCb40_->isChecked();
    txtStart_->setEnabled(!cb);
    txtStep_->setEnabled(!cb);
    txtSegment_->setEnabled(cb);
    cboGrid_->setEnabled(cb);
}

bool FrmFillChannels::Read(FillRequest& r)
{
    r.band = band_;
    r.group = group_;
    if (optSelected_ && optSelected_->isChecked()) r.channels = selected_;
    // Names the field and what is wrong with it.
    auto bad = [this](const Bi& field, const QString& text) {
        ws_.Ask(PlainCaption(ws_.T(field)) + QStringLiteral(": ") + ws_.T(filltxt::BadNumber).arg(text), Buttons::Ok, Icon::Warning);
        return false;
    };
    if (optCb40_->isChecked()) {
        r.plan = FillPlan::Cb40;
        r.grid = cboGrid_->currentText().toInt();
        const QString segment = txtSegment_->text().trimmed();
        if (!segment.isEmpty() && !ParseMhz(segment, r.segmentHz)) return bad(filldlg::Segment, segment);
        return true;
    }
    r.plan = FillPlan::StartStep;
    const QString start = txtStart_->text().trimmed();
    if (!ParseMhz(start, r.startHz)) return bad(filldlg::Start, start);
    // The step is typed in kHz: its value read as MHz is a thousand times the hertz.
    const QString step = txtStep_->text().trimmed();
    long long milli = 0;
    if (!ParseMhz(step, milli) || milli % 1000 != 0) return bad(filldlg::Step, step);
    r.stepHz = milli / 1000;
    return true;
}

bool FrmFillChannels::Apply()
{
    FillRequest r;
    if (!Read(r)) return false;
    outcome_ = FillChannels(ws_, r);
    if (outcome_.ok()) return true;
    ws_.Ask(FillErrorText(outcome_, r, ws_.CurrentLanguage), Buttons::Ok, Icon::Warning);
    return false;
}

void FrmFillChannels::accept()
{
    if (Apply()) QDialog::accept();
}

}  // namespace kt
