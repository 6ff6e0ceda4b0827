// A question with one more button that does something without answering it
// (showing what the question is about); the question is asked again after.
// An asker that cannot show such a button asks the plain question.
#pragma once

#include "base/Ask.h"

#include <functional>

namespace kt {

struct ExtraButton {
    QString caption;
    std::function<void()> action;
};

class ExtraButtonAsker {
public:
    virtual ~ExtraButtonAsker() = default;
    virtual Answer askWithExtra(const QString& text, Buttons buttons, Icon icon, const ExtraButton& extra) = 0;
};

// Through asker's extra button when it has one, else the plain question.
inline Answer AskWithExtra(Asker* asker, const QString& text, Buttons buttons, Icon icon, const ExtraButton& extra)
{
    if (auto* withExtra = dynamic_cast<ExtraButtonAsker*>(asker)) return withExtra->askWithExtra(text, buttons, icon, extra);
    return asker ? asker->ask(text, buttons, icon) : Answer::Ok;
}

}  // namespace kt
