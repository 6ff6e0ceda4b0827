#include "shell/DocumentHistory.h"
#include "model/Workspace.h"

#include <QUndoCommand>

namespace kt {

// One step: the document before and after.  A step that replaced the
// document (New, Initial Setting, Read from Radio) also changed the snapshot
// and the document's name, and puts those back too; any other step leaves
// them as they are, so undoing an edit made before a save does not forget
// the save.
class StateCommand : public QUndoCommand {
public:
    StateCommand(DocumentHistory& history, DocumentState before, DocumentState after, StepName name, int mergeKey)
        : history_(history), before_(std::move(before)), after_(std::move(after)), name_(std::move(name)),
          mergeKey_(mergeKey), replaces_(!before_.SameFile(after_))
    {
        Retranslate(history_.ws_.CurrentLanguage);
    }

    void undo() override { history_.Put(before_, replaces_); }
    void redo() override
    {
        if (first_) {   // pushed after the change was made
            first_ = false;
            return;
        }
        history_.Put(after_, replaces_);
    }
    int id() const override { return mergeKey_ != 0 && !replaces_ ? mergeKey_ : -1; }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* o = static_cast<const StateCommand*>(other);
        if (o->mergeKey_ != mergeKey_ || o->replaces_) return false;
        after_ = o->after_;
        // Typed and typed back: nothing is left to undo.
        setObsolete(before_.SameWork(after_));
        return true;
    }

    void Retranslate(int language) { setText(name_.in(language)); }
    // What was written while a window showed the state before or after.
    void AbsorbBefore(const DocumentState& now) { before_ = replaces_ ? now : before_.WithWorkOf(now); }
    void AbsorbAfter(const DocumentState& now) { after_ = replaces_ ? now : after_.WithWorkOf(now); }

private:
    DocumentHistory& history_;
    DocumentState before_, after_;
    StepName name_;
    int mergeKey_;
    bool replaces_;
    bool first_ = true;
};

DocumentHistory::DocumentHistory(Workspace& ws, QObject* parent) : QObject(parent), ws_(ws)
{
    ws_.recorder = this;
    recorded_ = DocumentState::Take(ws_);
    connect(&stack_, &QUndoStack::indexChanged, this, &DocumentHistory::AfterIndexChanged);
    connect(&stack_, &QUndoStack::cleanChanged, this, &DocumentHistory::changed);
    connect(&ws_.Events(), &DocumentEvents::documentSaved, this, &DocumentHistory::MarkSaved);
    connect(&ws_.Events(), &DocumentEvents::languageChanged, this, &DocumentHistory::Retranslate);
}

DocumentHistory::~DocumentHistory()
{
    disconnect(&ws_.Events(), nullptr, this, nullptr);
    if (ws_.recorder == this) ws_.recorder = nullptr;
}

StateCommand* DocumentHistory::CommandAt(int index)
{
    // The stack hands its commands out read-only; they are ours.
    return const_cast<StateCommand*>(static_cast<const StateCommand*>(stack_.command(index)));
}

void DocumentHistory::Reset()
{
    stack_.clear();
    recorded_ = DocumentState::Take(ws_);
    stack_.setClean();
    emit changed();
}

void DocumentHistory::MarkSaved()
{
    Absorb();
    stack_.setClean();
    emit changed();
}

void DocumentHistory::Sync()
{
    if (depth_ > 0 || restoring_ || refreshing_) return;
    const DocumentState now = DocumentState::Take(ws_, &recorded_);
    // A snapshot or a name changed outside a step (a save) is not a step.
    recorded_ = recorded_.WithFileOf(now);
    if (!now.SameWork(recorded_)) Push(now, Named(steptxt::Edit), 0);
}

void DocumentHistory::Undo()
{
    Sync();
    stack_.undo();
}

void DocumentHistory::Redo()
{
    Sync();
    stack_.redo();
}

void DocumentHistory::Retranslate()
{
    for (int i = 0; i < stack_.count(); ++i) CommandAt(i)->Retranslate(ws_.CurrentLanguage);
    emit changed();
}

void DocumentHistory::BeginStep(Kind kind)
{
    if (depth_++ > 0) return;
    outer_ = kind;
    Sync();
}

void DocumentHistory::EndStep(Kind kind, const StepName& name, int mergeKey)
{
    if (depth_ == 0 || --depth_ > 0) return;
    // While the windows show a state put back, what they write is absorbed
    // once they are done.
    if (refreshing_ || restoring_) return;
    if (outer_ == Kind::Absorb) {
        Absorb();
        return;
    }
    const DocumentState now = DocumentState::Take(ws_, &recorded_);
    if (now.SameWork(recorded_) && now.SameFile(recorded_)) return;
    Push(now, name.isEmpty() ? Named(steptxt::Edit) : name, mergeKey);
}

void DocumentHistory::Push(const DocumentState& after, const StepName& name, int mergeKey)
{
    DocumentState before = recorded_;
    recorded_ = after;
    stack_.push(new StateCommand(*this, std::move(before), after, name, mergeKey));
    emit changed();
}

void DocumentHistory::Put(const DocumentState& state, bool withFile)
{
    restored_.Add(state.PutInto(ws_, withFile));
    recorded_ = withFile ? state : recorded_.WithWorkOf(state);
    restoring_ = true;
}

void DocumentHistory::AfterIndexChanged()
{
    if (!restoring_) {
        emit changed();
        return;
    }
    restoring_ = false;
    const DocumentState::Changes c = restored_;
    restored_ = {};
    refreshing_ = true;
    if (c.band || c.file) ws_.TitleChanged();
    emit ws_.Events().documentRestored();
    refreshing_ = false;
    Absorb();
    emit changed();
}

void DocumentHistory::Absorb()
{
    const DocumentState now = DocumentState::Take(ws_, &recorded_);
    if (now.SameWork(recorded_) && now.SameFile(recorded_)) return;
    const int index = stack_.index();
    if (index > 0) CommandAt(index - 1)->AbsorbAfter(now);
    if (index < stack_.count()) CommandAt(index)->AbsorbBefore(now);
    recorded_ = now;
}

}  // namespace kt
