#include "gui/link/ProgressDialog.h"
#include "gui/MenuPolish.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

namespace kt {

ProgressDialog::ProgressDialog(QWidget* parent) : QDialog(parent)
{
    setModal(true);
    FixedDialogFrame(*this);
    Label1 = new QLabel(this);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2 = new QLabel(this);
    Label2->setMinimumWidth(40);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(320);
    grid_ = new QGridLayout(this);
    // Label1 sits right beside Label2, right-aligned to it.
    grid_->setHorizontalSpacing(1);
    grid_->addWidget(Label1, 0, 0);
    grid_->addWidget(Label2, 0, 1);
    grid_->addWidget(ProgressBar1, 1, 0, 1, 2);
}

void ProgressDialog::SetProgressValue(int percent)
{
    ProgressBar1->setValue(qBound(0, percent, 100));
    Label2->setText(QString::number(percent) + QLatin1Char('%'));
}

void ProgressDialog::Finish()
{
    finishing_ = true;
    done(QDialog::Accepted);
}

}  // namespace kt
