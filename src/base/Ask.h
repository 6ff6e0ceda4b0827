// The one seam through which every question, notice and file dialog passes.
// The desktop program shows QMessageBox / QFileDialog; tests and the command
// line answer from a script.
#pragma once

#include <QString>
#include <QStringList>

namespace kt {

// OkSaveTrace: OK and "Save Trace…" (answered Yes), for a transfer that failed.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, RecoverDiscardLater, DiscardLater, OkSaveTrace };
enum class Icon { None, Information, Warning, Question, Critical };
enum class Answer { Ok, Cancel, Yes, No, Retry, Recover, Discard, Later };

class Asker {
public:
    virtual ~Asker() = default;
    // Shows text with the program's title ("KT-6383 Pro") unless withTitle is false.
    virtual Answer ask(const QString& text, Buttons buttons, Icon icon, bool withTitle = true) = 0;
    // File dialogs: an empty result means the user cancelled.
    virtual QString openFileName(const QString& title, const QString& filter) = 0;
    virtual QString saveFileName(const QString& title, const QString& filter, const QString& preset) = 0;
};

// Answers every question with the first button (OK / Yes / Retry) unless told
// otherwise, and records what it was asked.  Used by tests and the command line.
class ScriptedAsker : public Asker {
public:
    Answer ask(const QString& text, Buttons buttons, Icon icon, bool withTitle = true) override;
    QString openFileName(const QString&, const QString&) override;
    QString saveFileName(const QString&, const QString&, const QString&) override;

    QStringList asked;             // every text asked, in order
    QList<Answer> answers;         // answers to give, in order; when empty: the default
    Answer defaultAnswer = Answer::Ok;   // Ok maps to Yes/Retry for those button sets
    QStringList fileNames;         // answers for file dialogs, in order; empty: cancel
};

}  // namespace kt
