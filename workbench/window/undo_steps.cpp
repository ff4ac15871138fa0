#include "workbench/window/undo_steps.h"

#include <QAction>
#include <QKeySequence>
#include <QLineEdit>
#include <QUndoStack>

#include "workbench/session.h"
#include "workbench/window/controls_panel.h"
#include "workbench/window/hexa_strip.h"
#include "workbench/window/target_actions.h"

namespace {

// Steps beyond these are forgotten, oldest first.
constexpr int StepLimit = 100;

bool SameSet(const vesk::TFuzzySet& a, const vesk::TFuzzySet& b) {
    return a.Degrees() == b.Degrees();
}

} // namespace

TWindowState TWindowState::Of(const vesk::TWorkbenchSession& session) {
    TWindowState state;
    state.Fields = {session.HexaText, session.Elements.Text, session.Blocks.Text};
    state.Reference = session.ReferenceSet;
    state.Pattern = session.PatternSet;
    state.Captions[0] = session.CardinalityCaption;
    state.Captions[1] = session.SubsethoodCaption;
    state.Captions[2] = session.HammingCaption;
    state.Captions[3] = session.FitnessCaption;
    state.Plotted = session.Image.HasBitmap();
    state.Target = session.Search.Target;
    state.TargetName = session.Search.TargetName;
    return state;
}

void TWindowState::ApplyTo(vesk::TWorkbenchSession& session) const {
    session.HexaText = Fields.HexaText;
    session.Elements.Text = Fields.Elements;
    session.Blocks.Text = Fields.Blocks;
    session.ReferenceSet = Reference;
    session.PatternSet = Pattern;
    session.CardinalityCaption = Captions[0];
    session.SubsethoodCaption = Captions[1];
    session.HammingCaption = Captions[2];
    session.FitnessCaption = Captions[3];
    // As the pattern commands draw it: the reference over a cleared canvas, then the pattern.
    const int width = session.Image.ClientWidth(), height = session.Image.ClientHeight();
    session.Image = vesk::TBitmapImage();
    session.Image.SetClientSize(width, height);
    if (Plotted) {
        Reference.Plot(session.Image, vesk::Blue, true);
        Pattern.Plot(session.Image, vesk::Red, false);
    }
    session.Search.Target = Target;
    session.Search.TargetName = TargetName;
}

bool TWindowState::SameShown(const TWindowState& other) const {
    for (int i = 0; i < 4; ++i)
        if (Captions[i] != other.Captions[i]) return false;
    // The plot is drawn from the sets; it is not compared pixel by pixel.
    return SameSet(Reference, other.Reference) && SameSet(Pattern, other.Pattern) &&
           Plotted == other.Plotted;
}

bool TWindowState::SameTarget(const TWindowState& other) const {
    if (Target.has_value() != other.Target.has_value() || TargetName != other.TargetName)
        return false;
    return !Target || SameSet(*Target, *other.Target);
}

bool TWindowState::operator==(const TWindowState& other) const {
    return Fields == other.Fields && SameShown(other) && SameTarget(other);
}

QString StepName(const TWindowState& before, const TWindowState& after) {
    if (!before.SameTarget(after)) return "Target";
    if (!before.SameShown(after)) return "Pattern";
    const TFieldTexts &was = before.Fields, &is = after.Fields;
    if (was.HexaText != is.HexaText) return "Hexa String";
    if (was.Elements != is.Elements)
        return was.Blocks != is.Blocks ? "FS Elements and FS Blocks" : "FS Elements";
    return "FS Blocks";
}

TStateStep::TStateStep(TWindowState before, TWindowState after, TRestore restore)
    : QUndoCommand(StepName(before, after)), FBefore(std::move(before)), FAfter(std::move(after)),
      FRestore(std::move(restore)) {}

void TStateStep::undo() {
    FRestore(FBefore);
    FDone = false;
}

void TStateStep::redo() {
    if (!FDone) FRestore(FAfter);
    FDone = true;
}

TUndoSteps::TUndoSteps(vesk::TWorkbenchSession& session, const THexaStrip& strip,
                       const TControlsPanel& controls, TTargetActions& targets,
                       std::function<void()> commit, std::function<void()> show, QObject* parent)
    : QObject(parent), FSession(session), FStrip(strip), FControls(controls), FTargets(targets),
      FCommit(std::move(commit)), FShow(std::move(show)), FStack(new QUndoStack(this)),
      FUndo(new QAction("Undo", this)), FRedo(new QAction("Redo", this)),
      FKept(TWindowState::Of(session)) {
    FStack->setUndoLimit(StepLimit);
    FUndo->setObjectName("UndoAction");
    FUndo->setShortcuts(QKeySequence::Undo);
    FRedo->setObjectName("RedoAction");
    FRedo->setShortcuts(QKeySequence::Redo);
    for (QAction* action : {FUndo, FRedo})
        action->setShortcutContext(Qt::WindowShortcut);
    connect(FUndo, &QAction::triggered, this, &TUndoSteps::Undo);
    connect(FRedo, &QAction::triggered, this, &TUndoSteps::Redo);
    connect(&targets, &TTargetActions::TargetChanged, this, &TUndoSteps::Record);
    connect(&strip, &THexaStrip::TextChanged, this, &TUndoSteps::FieldsEdited);
    for (const QLineEdit* field : controls.findChildren<QLineEdit*>())
        connect(field, &QLineEdit::textChanged, this, &TUndoSteps::FieldsEdited);
    UpdateActions();
}

TFieldTexts TUndoSteps::ShownTexts() const {
    return {FStrip.Text().toStdString(), FControls.ElementsText().toStdString(),
            FControls.BlocksText().toStdString()};
}

TWindowState TUndoSteps::Current() {
    FCommit();
    return TWindowState::Of(FSession);
}

void TUndoSteps::Record() {
    if (FRestoring) return;
    TWindowState now = Current();
    FPending = false;
    if (!(now == FKept)) {
        FStack->push(
            new TStateStep(FKept, now, [this](const TWindowState& state) { Restore(state); }));
        FKept = std::move(now);
    }
    UpdateActions();
}

void TUndoSteps::FieldsEdited() {
    if (FRestoring) return;
    FPending = !(ShownTexts() == FKept.Fields);
    UpdateActions();
}

void TUndoSteps::SetSearching(bool searching) {
    FSearching = searching;
    UpdateActions();
}

void TUndoSteps::Undo() {
    if (FSearching) return;
    Record(); // an edit not yet committed is what is taken back first
    FStack->undo();
    UpdateActions();
}

void TUndoSteps::Redo() {
    if (FSearching) return;
    Record();
    FStack->redo();
    UpdateActions();
}

void TUndoSteps::Restore(const TWindowState& state) {
    FRestoring = true;
    state.ApplyTo(FSession);
    FKept = state;
    FPending = false;
    FShow();
    FTargets.ShowTarget();
    FRestoring = false;
}

void TUndoSteps::UpdateActions() {
    QString undo = FStack->undoText();
    if (FPending) {
        TWindowState edited = FKept;
        edited.Fields = ShownTexts();
        undo = StepName(FKept, edited);
    }
    FUndo->setText(undo.isEmpty() ? "Undo" : "Undo " + undo);
    FUndo->setEnabled(!FSearching && (FPending || FStack->canUndo()));
    const QString redo = FStack->redoText();
    FRedo->setText(redo.isEmpty() ? "Redo" : "Redo " + redo);
    FRedo->setEnabled(!FSearching && !FPending && FStack->canRedo());
}
