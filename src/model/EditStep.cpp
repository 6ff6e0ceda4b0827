#include "model/EditStep.h"
#include "model/ChannelRules.h"
#include "model/Workspace.h"

namespace kt {

StepName Named(const Bi& what) { return {what.in(English), what.in(Chinese)}; }

StepName Joined(const StepName& a, const StepName& b)
{
    if (b.isEmpty()) return a;
    return {a.en + ' ' + b.en, a.zh + ' ' + b.zh};
}

StepName Named(const Bi& what, const StepName& detail) { return Joined(Named(what), detail); }

StepName Plain(const QString& text) { return {text, text}; }

namespace {

// "A", "MEM", or "HAM A" for the second band.
QString GroupText(int band, int group)
{
    const QString letter = GroupLetter(band, group);
    return band == 1 ? QStringLiteral("HAM ") + letter : letter;
}

}  // namespace

StepName ChannelStepDetail(int band, int group, int row)
{
    QString where = GroupText(band, group);
    if (group == MemoryGroupOf(band)) where += QStringLiteral(" M%1").arg(row);
    else if (group != VfoGroupOf(band)) where += QString::number(row);
    return Named(steptxt::Channel, Plain(where));
}

StepName GroupStepDetail(int band, int group) { return Plain(GroupText(band, group)); }

EditStep::EditStep(Workspace& ws, StepName name, int mergeKey)
    : recorder_(ws.recorder), kind_(EditRecorder::Kind::Edit), name_(std::move(name)), mergeKey_(mergeKey)
{
    if (recorder_) recorder_->BeginStep(kind_);
}

EditStep::EditStep(Workspace& ws, EditRecorder::Kind kind) : recorder_(ws.recorder), kind_(kind)
{
    if (recorder_) recorder_->BeginStep(kind_);
}

EditStep EditStep::Absorbing(Workspace& ws) { return EditStep(ws, EditRecorder::Kind::Absorb); }

EditStep::~EditStep()
{
    if (recorder_) recorder_->EndStep(kind_, name_, mergeKey_);
}

}  // namespace kt
