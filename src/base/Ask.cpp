#include "base/Ask.h"

namespace kt {

Answer ScriptedAsker::ask(const QString& text, Buttons buttons, Icon, bool)
{
    asked << text;
    Answer a = answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    // Map a generic OK onto the first button of the set shown.
    if (a == Answer::Ok) {
        if (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) return Answer::Yes;
        if (buttons == Buttons::RetryCancel) return Answer::Retry;
        if (buttons == Buttons::RecoverDiscardLater) return Answer::Recover;
        if (buttons == Buttons::DiscardLater) return Answer::Discard;
    }
    return a;
}

QString ScriptedAsker::openFileName(const QString&, const QString&)
{
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString ScriptedAsker::saveFileName(const QString&, const QString&, const QString&)
{
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

}  // namespace kt
