// The undo history of the document: one QUndoStack for every window.  Each
// step keeps the document before and after it (DocumentState, which shares
// what the states have in common); undo and redo put a state back in place
// and tell the windows through DocumentEvents::documentRestored.
//
// Whether the data count as modified stays the data file's own comparison
// with the snapshot (IsModified): undoing back to what was saved gives the
// very records that were saved, so the comparison says so, and the stack's
// clean state is set at every save and open to match.
#pragma once

#include "model/DocumentState.h"
#include "model/EditStep.h"

#include <QObject>
#include <QUndoStack>

namespace kt {

struct Workspace;
class StateCommand;

class DocumentHistory : public QObject, public EditRecorder {
    Q_OBJECT
public:
    // Becomes ws's recorder until destroyed; the document as it is now is the start.
    explicit DocumentHistory(Workspace& ws, QObject* parent = nullptr);
    ~DocumentHistory() override;

    QUndoStack& Stack() { return stack_; }

    // Forgets every step: the document as it is now is the start (Open, start-up).
    void Reset();
    // The document was saved: what the save wrote into the working data (the
    // model identification) belongs to this state, and it is the clean one.
    void MarkSaved();
    // A change made outside any step becomes a step of its own ("Edit").
    void Sync();
    void Undo();
    void Redo();
    bool CanUndo() const { return stack_.canUndo(); }
    bool CanRedo() const { return stack_.canRedo(); }
    // The names of the steps Undo and Redo would take, in the current language.
    QString UndoName() const { return stack_.undoText(); }
    QString RedoName() const { return stack_.redoText(); }
    // Names every step in the current language.
    void Retranslate();
    int Steps() const { return stack_.count(); }

    // EditRecorder
    void BeginStep(Kind kind) override;
    void EndStep(Kind kind, const StepName& name, int mergeKey) override;

signals:
    // What Undo and Redo would do changed (a step, an undo, a language).
    void changed();

private:
    friend class StateCommand;
    // Called by the commands: puts a state back (the snapshot too when withFile).
    void Put(const DocumentState& state, bool withFile);
    void AfterIndexChanged();
    // Takes what was written outside a step into the state the stack stands at.
    void Absorb();
    void Push(const DocumentState& after, const StepName& name, int mergeKey);
    StateCommand* CommandAt(int index);

    Workspace& ws_;
    QUndoStack stack_;
    DocumentState recorded_;   // the state the stack stands at
    int depth_ = 0;
    Kind outer_ = Kind::Edit;
    bool restoring_ = false;   // a command is putting a state back
    bool refreshing_ = false;  // the windows are showing a state put back
    DocumentState::Changes restored_;
};

}  // namespace kt
