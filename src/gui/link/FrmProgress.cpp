#include "gui/link/FrmProgress.h"
#include "gui/MenuPolish.h"

#include "link/LinkMachine.h"
#include "link/LinkTexts.h"

#include <QCloseEvent>
#include <QLabel>

namespace kt {

FrmProgress::FrmProgress(int kind, int language, QWidget* parent) : ProgressDialog(parent), kind_(kind)
{
    FixedDialogFrame(*this, false);
    ChangShowByLanguage(language);
    SetProgressValue(0);
}

void FrmProgress::ChangShowByLanguage(int language)
{
    setWindowTitle((kind_ == kWrite ? link_txt::WriteCaption : link_txt::ReadCaption).in(language));
    Label1->setText(link_txt::Completion.in(language));
}

void FrmProgress::reject()
{
    if (Finishing()) QDialog::reject();
}

void FrmProgress::closeEvent(QCloseEvent* e)
{
    if (!Finishing()) e->ignore();
}

}  // namespace kt
