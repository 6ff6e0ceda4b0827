#include "gui/FrmSetLanguage.h"
#include "gui/MenuPolish.h"
#include "base/Messages.h"
#include "shell/Settings.h"
#include "model/Workspace.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kt {

namespace {
void Caption(QWidget* form, const char* name, const Bi& text, int language)
{
    for (QAbstractButton* b : form->findChildren<QAbstractButton*>(name)) b->setText(text.in(language));
}
}  // namespace

void SetOkCancelCaptions(QWidget* form, int language)
{
    Caption(form, "CommandOK", msg::CaptionOk, language);
    Caption(form, "CommandCancel", msg::CaptionCancel, language);
}

void SetOkCancelCaptions1(QWidget* form, int language)
{
    Caption(form, "Command1", msg::CaptionOk, language);
    Caption(form, "Command2", msg::CaptionCancel, language);
}

void SetCloseHelpCaptions(QWidget* form, int language)
{
    Caption(form, "CommandClose", txt::Close, language);
    Caption(form, "CommandHelp", txt::Help, language);
}

FrmSetLanguage::FrmSetLanguage(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws)
{
    setObjectName("FrmSetLanguage");
    setModal(true);
    // A fixed dialog: no minimise or maximise buttons.
    FixedDialogFrame(*this);
    setWindowTitle(ws_.T(txt::LanguageSetup));

    Label1 = new QLabel(ws_.T(txt::LanguageMode), this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Combo1 = new QComboBox(this);
    Combo1->setObjectName("Combo1");
    Combo1->setEditable(false);   // only the listed languages
    Combo1->addItem(ws_.T(txt::LanguageEnglish), int(English));
    if (ws_.SystemLanguage != English) Combo1->addItem(ws_.T(txt::LanguageChinese), int(Chinese));
    const int at = Combo1->findData(ws_.CurrentLanguage);
    Combo1->setCurrentIndex(at < 0 ? 0 : at);
    Combo1->installEventFilter(this);
    Label1->setBuddy(Combo1);

    Command1 = new QPushButton(this);
    Command1->setObjectName("Command1");
    Command2 = new QPushButton(this);
    Command2->setObjectName("Command2");
    SetOkCancelCaptions1(this, ws_.CurrentLanguage);
    Command1->setDefault(false);
    // Enter on a focused button presses it (OK confirms, Cancel cancels).
    Command1->setAutoDefault(true);
    Command2->setAutoDefault(true);
    connect(Command1, &QPushButton::clicked, this, &FrmSetLanguage::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmSetLanguage::Command2_Click);

    auto* row = new QHBoxLayout;
    row->addWidget(Label1);
    row->addWidget(Combo1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(row);
    lay->addSpacing(12);
    lay->addLayout(buttons);
    setMinimumWidth(320);
}

bool FrmSetLanguage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Combo1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmSetLanguage::Command1_Click()
{
    const int chosen = Combo1->currentData().toInt();
    if ((chosen == English || chosen == Chinese) && chosen != ws_.CurrentLanguage) {
        ws_.ShownLanguage = ws_.CurrentLanguage;
        ws_.CurrentLanguage = chosen;
    }
    StoreLanguageSetting(ws_);
    accept();
}

void FrmSetLanguage::Command2_Click()
{
    reject();
}

}  // namespace kt
