#include "model/Workspace.h"

namespace kt {

int GroupsOfBand(int band) { return band == 0 ? 17 : 14; }
int MemoryGroupOf(int band) { return band == 0 ? 16 : 13; }
int VfoGroupOf(int band) { return band == 0 ? 17 : 14; }
int LetteredGroupsOf(int band) { return band == 0 ? 15 : 12; }

int GroupSize(int band, int group)
{
    if (group == MemoryGroupOf(band)) return 99;
    if (group == VfoGroupOf(band)) return 1;
    return 40;
}

Answer Workspace::Ask(const QString& text, Buttons buttons, Icon icon, bool withTitle)
{
    if (asker) return asker->ask(text, buttons, icon, withTitle);
    switch (buttons) {
    case Buttons::YesNo:
    case Buttons::YesNoCancel: return Answer::Yes;
    case Buttons::RetryCancel: return Answer::Retry;
    // Without anyone to ask, recovery work is kept for a later start.
    case Buttons::RecoverDiscardLater:
    case Buttons::DiscardLater: return Answer::Later;
    default: return Answer::Ok;
    }
}

}  // namespace kt
