#include "gui/link/frmMProgress.h"

#include "link/LinkTexts.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

namespace kt {

frmMProgress::frmMProgress(int radioCount, int language, QWidget* parent) : QDialog(parent)
{
    setModal(true);
    Label1 = new QLabel(this);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2 = new QLabel(this);
    Label2->setMinimumWidth(40);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(320);
    Label4 = new QLabel(this);
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label3 = new QLabel(this);
    ProgressBar2 = new QProgressBar(this);
    ProgressBar2->setRange(0, radioCount < 1 ? 1 : radioCount);
    ProgressBar2->setTextVisible(false);
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(1);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(ProgressBar1, 1, 0, 1, 2);
    grid->addWidget(Label4, 2, 0);
    grid->addWidget(Label3, 2, 1);
    grid->addWidget(ProgressBar2, 3, 0, 1, 2);
    ChangShowByLanguage(language);
    SetProgressValue(0);
    SetRadioNumber(1);
}

void frmMProgress::ChangShowByLanguage(int language)
{
    setWindowTitle(link_txt::WriteCaption.in(language));
    Label1->setText(link_txt::Completion.in(language));
    Label4->setText(link_txt::WritingRadio.in(language));
}

void frmMProgress::SetProgressValue(int percent)
{
    ProgressBar1->setValue(qBound(0, percent, 100));
    Label2->setText(QString::number(percent) + QLatin1Char('%'));
}

void frmMProgress::SetRadioNumber(int n)
{
    ProgressBar2->setValue(qBound(0, n, ProgressBar2->maximum()));
    Label3->setText(QString::number(n));
}

void frmMProgress::Finish()
{
    finishing_ = true;
    done(QDialog::Accepted);
}

void frmMProgress::reject()
{
    if (!finishing_ && onUserClose) onUserClose();   // ends the run, which calls Finish()
    if (!finishing_) QDialog::reject();
}

}  // namespace kt
