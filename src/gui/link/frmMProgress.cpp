#include "gui/link/frmMProgress.h"

#include "link/LinkTexts.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

namespace kt {

frmMProgress::frmMProgress(int radioCount, int language, QWidget* parent) : ProgressDialog(parent)
{
    Label4 = new QLabel(this);
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label3 = new QLabel(this);
    ProgressBar2 = new QProgressBar(this);
    ProgressBar2->setRange(0, radioCount < 1 ? 1 : radioCount);
    ProgressBar2->setTextVisible(false);
    Grid()->addWidget(Label4, 2, 0);
    Grid()->addWidget(Label3, 2, 1);
    Grid()->addWidget(ProgressBar2, 3, 0, 1, 2);
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

void frmMProgress::SetRadioNumber(int n)
{
    ProgressBar2->setValue(qBound(0, n, ProgressBar2->maximum()));
    Label3->setText(QString::number(n));
}

void frmMProgress::reject()
{
    if (!Finishing() && onUserClose) onUserClose();   // ends the run, which calls Finish()
    if (!Finishing()) QDialog::reject();
}

}  // namespace kt
