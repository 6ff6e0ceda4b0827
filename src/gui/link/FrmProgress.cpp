#include "gui/link/FrmProgress.h"

#include "link/LinkMachine.h"
#include "link/LinkTexts.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

namespace kt {

FrmProgress::FrmProgress(int kind, int language, QWidget* parent) : QDialog(parent), kind_(kind)
{
    setModal(true);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    Label1 = new QLabel(this);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2 = new QLabel(this);
    Label2->setMinimumWidth(40);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(320);
    auto* grid = new QGridLayout(this);
    // Label1 sits right beside Label2, right-aligned to it.
    grid->setHorizontalSpacing(1);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(ProgressBar1, 1, 0, 1, 2);
    ChangShowByLanguage(language);
    SetProgressValue(0);
}

void FrmProgress::ChangShowByLanguage(int language)
{
    setWindowTitle((kind_ == kWrite ? link_txt::WriteCaption : link_txt::ReadCaption).in(language));
    Label1->setText(link_txt::Completion.in(language));
}

void FrmProgress::SetProgressValue(int percent)
{
    ProgressBar1->setValue(qBound(0, percent, 100));
    Label2->setText(QString::number(percent) + QLatin1Char('%'));
}

void FrmProgress::Finish()
{
    finishing_ = true;
    done(QDialog::Accepted);
}

void FrmProgress::reject()
{
    if (finishing_) QDialog::reject();
}

void FrmProgress::closeEvent(QCloseEvent* e)
{
    if (!finishing_) e->ignore();
}

}  // namespace kt
