#include "workbench/window/session_keeper.h"

#include <QFile>
#include <QMenu>

#include <utility>

#include "workbench/window/outcome_report.h"
#include "workbench/window/search_curve.h"
#include "workbench/window/target_actions.h"

namespace {

// How a run of an earlier session is named beside this session's runs.
const QString EarlierRun = "earlier ";

} // namespace

TSessionKeeper::TSessionKeeper(vesk::TWorkbenchSession& session, TSearchCurve& curve,
                               TTargetActions& targets, QWidget* window)
    : QObject(window), FSession(session), FCurve(curve), FTargets(targets), FWindow(window),
      FEarlier(ReadKeptSession(KeptSessionPath())), FEarlierTarget(KeptSettings::LastTarget()) {
    KeptSettings::RestoreSearch(FSession.Search);
}

void TSessionKeeper::AddTo(QMenu* menu) {
    RestoreAction = menu->addAction("Restore Last Session", this, &TSessionKeeper::Restore);
    RestoreAction->setObjectName("RestoreSessionAction");
    ForgetAction = menu->addAction("Forget Last Session", this, &TSessionKeeper::Forget);
    ForgetAction->setObjectName("ForgetSessionAction");
    EnableActions();
}

void TSessionKeeper::EnableActions() {
    const bool kept = !FEarlier.Empty() || FEarlierTarget.Kind != TKeptTarget::TKind::Reference;
    RestoreAction->setEnabled(kept && !FSearching);
    ForgetAction->setEnabled(kept);
}

void TSessionKeeper::SetSearching(bool searching) {
    FSearching = searching;
    EnableActions();
}

void TSessionKeeper::KeepSearchSettings() {
    KeptSettings::SaveSearch(FSession.Search);
}

void TSessionKeeper::Restore() {
    const TKeptTarget target = std::exchange(FEarlierTarget, {});
    TKeptSession earlier = std::exchange(FEarlier, {});
    EnableActions();
    if (target.Kind != TKeptTarget::TKind::Reference) FTargets.Restore(target);
    FSession.History.insert(FSession.History.begin(), earlier.History.begin(),
                            earlier.History.end());
    for (TSearchRun& run : earlier.Runs) {
        if (!run.Name.startsWith(EarlierRun)) run.Name.prepend(EarlierRun);
        FCurve.AddRun(run);
    }
    emit Restored();
}

void TSessionKeeper::Forget() {
    FEarlier = {};
    FEarlierTarget = {};
    EnableActions();
    KeptSettings::ForgetTarget();
    QFile::remove(KeptSessionPath());
}

void TSessionKeeper::Keep() {
    const TKeptSession now{FSession.History, FCurve.Shown()};
    if (auto error = WriteKeptSession(KeptSessionPath(), Joined(FEarlier, now)))
        ReportOutcome(FWindow, {std::nullopt, std::move(error), std::nullopt});
}
