#pragma once
// Undo and redo in the window: what a command changed (the Hexa String text and the number
// fields, with the pattern they showed, and the target of one's own) kept as steps of a
// QUndoStack.
//
// The window's Undo (Ctrl+Z) is the only undo: the fields' own Ctrl+Z is refused, as every
// command key is (TCommandShortcuts). A field's edit not yet committed by a command becomes a
// step of its own when Undo is asked for, so Undo first takes the typed text back and Redo
// brings it again; typed text, like any new step, ends what could be redone (Redo is disabled
// while there is some). The list of the Hexa String box and the History panel are not undone.

#include <QObject>
#include <QString>
#include <QUndoCommand>

#include <functional>
#include <optional>
#include <string>

#include "fuzzyset/fuzzy_set.h"

class QAction;
class QUndoStack;
class TControlsPanel;
class THexaStrip;
class TTargetActions;

namespace vesk {
class TWorkbenchSession;
}

// The texts of the Hexa String box, FS Elements and FS Blocks.
struct TFieldTexts {
    std::string HexaText, Elements, Blocks;
    bool operator==(const TFieldTexts&) const = default;
};

// What one step restores, held by value: the fields as a command committed them and the
// pattern they showed (sets, measures and plot), and the target "Evolve" fits.
struct TWindowState {
    TFieldTexts Fields;
    vesk::TFuzzySet Reference, Pattern;
    std::string Captions[4]; // cardinality, subsethood, Hamming distance, fitness
    bool Plotted = false;    // the plot is drawn again from the sets, not kept (it is large)
    std::optional<vesk::TFuzzySet> Target;
    std::string TargetName;

    static TWindowState Of(const vesk::TWorkbenchSession& session);
    // Writes the state into the session, the plot drawn from the sets at the size the window
    // gives it now.
    void ApplyTo(vesk::TWorkbenchSession& session) const;
    bool SameShown(const TWindowState& other) const; // the sets and measures (the plot follows)
    bool SameTarget(const TWindowState& other) const;
    bool operator==(const TWindowState& other) const;
};

// What a step is called in "Undo ..." and "Redo ...": by what changed between two states.
QString StepName(const TWindowState& before, const TWindowState& after);

// One step: the state before and after it. Pushed after the change was made, so the first
// redo (QUndoStack::push calls it) does nothing.
class TStateStep : public QUndoCommand {
public:
    using TRestore = std::function<void(const TWindowState&)>;
    TStateStep(TWindowState before, TWindowState after, TRestore restore);

    void undo() override;
    void redo() override;

private:
    TWindowState FBefore, FAfter;
    TRestore FRestore;
    bool FDone = true;
};

// The window's undo stack and its Undo and Redo actions. The window says when a command may
// have changed the state (Record) and how the session is committed from the fields and shown
// again; a step is kept only when the state did change. The fields' edits are followed as
// they are typed.
class TUndoSteps : public QObject {
    Q_OBJECT

public:
    // commit: the fields' texts into the session; show: the session's texts and plot shown.
    // A change of target (targets) is recorded, and shown by targets when undone.
    TUndoSteps(vesk::TWorkbenchSession& session, const THexaStrip& strip,
               const TControlsPanel& controls, TTargetActions& targets,
               std::function<void()> commit, std::function<void()> show, QObject* parent);

    // Undo (QKeySequence::Undo) and Redo (QKeySequence::Redo), to be added to the window.
    QAction* UndoAction() const { return FUndo; }
    QAction* RedoAction() const { return FRedo; }
    QUndoStack* Stack() const { return FStack; }

    // Keeps a step when the session's state differs from the one last kept.
    void Record();
    // While a search runs, neither Undo nor Redo is taken.
    void SetSearching(bool searching);

    void Undo();
    void Redo();

private:
    TWindowState Current();
    // The fields' texts as shown (the session untouched: they change while it is shown too).
    TFieldTexts ShownTexts() const;
    void Restore(const TWindowState& state);
    void UpdateActions();

    // The fields were edited: Undo may now take the edit back.
    void FieldsEdited();

    vesk::TWorkbenchSession& FSession;
    const THexaStrip& FStrip;
    const TControlsPanel& FControls;
    TTargetActions& FTargets;
    std::function<void()> FCommit, FShow;
    QUndoStack* FStack;
    QAction* FUndo;
    QAction* FRedo;
    TWindowState FKept; // the state the last step (or the opening) left
    bool FPending = false;
    bool FSearching = false;
    bool FRestoring = false; // the fields shown again are no edit
};
