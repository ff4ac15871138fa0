#include "workbench/window/evolve_controller.h"

#include <exception>

#include <QLocale>

#include "vesk/agent.h"
#include "workbench/session.h"
#include "workbench/window/evolve_runner.h"

QString EvolveEndMessage(const vesk::TSearchResult& result, std::int32_t elements) {
    const QLocale locale;
    if (result.Stopped == vesk::TSearchEnd::Failed) return "Evolve failed";
    const QString how =
        QString("%1 evaluations in %2 s, distance %3, fitness %4")
            .arg(locale.toString(static_cast<qulonglong>(result.Evaluations)),
                 locale.toString(result.Seconds, 'f', 1), locale.toString(result.Best, 'f', 2))
            .arg(vesk::FitnessOfDistance(result.Best, elements));
    return result.Stopped == vesk::TSearchEnd::Interrupted ? "Evolve stopped after " + how
                                                           : "Evolve finished: " + how;
}

TEvolveController::TEvolveController(vesk::TWorkbenchSession& session, TCommandRunner run,
                                     QObject* parent)
    : QObject(parent), FSession(session), FRun(std::move(run)), FRunner(new TEvolveRunner(this)) {
    connect(FRunner, &TEvolveRunner::Progressed, this, &TEvolveController::OnProgress);
    connect(FRunner, &TEvolveRunner::Finished, this, &TEvolveController::OnFinished);
}

TEvolveController::~TEvolveController() {
    FRunner->StopAndWait();
}

bool TEvolveController::Running() const {
    return FRunner->Running();
}

void TEvolveController::StopAndWait() {
    FRunner->StopAndWait();
}

void TEvolveController::StartOrStop() {
    if (FRunner->Running()) {
        FRunner->Stop();
        return;
    }
    vesk::TSearchSettings settings;
    bool ready = false;
    FRun([this, &settings, &ready] {
        vesk::TCommandOutcome outcome = FSession.PrepareEvolve(settings);
        ready = !outcome.Error;
        return outcome;
    });
    if (!ready) return;
    FReference = settings.Target;
    // A target of one's own is the chart's target curve already; the reference stays drawn.
    FShownReference = FReference;
    if (FSession.Search.Target) {
        FShownReference.ClearDegrees();
        try {
            if (FReference.Count() <= vesk::MaxReferenceElements)
                FShownReference.MakeReference(FReference.Count(), false);
        } catch (const std::exception&) {
            FShownReference.ClearDegrees(); // drawn without a reference, as the search runs on
        }
    }
    FSettings.Evaluations = settings.Evaluations;
    FSettings.Seconds = settings.Seconds;
    FSettings.Objective = settings.Objective;
    // One curve a run, named by what it searched and how.
    const vesk::TSearchSetup& search = FSession.Search;
    emit RunStarted(QString("%1: %2 blocks, %3, seed %4")
                        .arg(++FRuns)
                        .arg(settings.Blocks)
                        .arg(search.Target
                                 ? QString::fromStdString(search.TargetName)
                                 : QString("reference of %1").arg(settings.Target.Count()))
                        .arg(settings.Seed));
    emit SearchingChanged(true);
    FRunner->Start(std::move(settings));
}

double TEvolveController::PerElement(double objective) const {
    return vesk::MeanDistanceOfObjective(objective, FSettings.Objective, FReference.Count());
}

void TEvolveController::OnProgress(const vesk::TSearchProgress& progress) {
    if (!FRunner->Running()) return;
    for (const vesk::TImprovement& improvement : progress.Improvements)
        emit PointReached(improvement.Evaluations, PerElement(improvement.Best));
    vesk::TVesk pattern;
    for (vesk::TFuzzyBlock block : progress.Pattern)
        pattern.AddBlock(block);
    TEvolveProgress shown;
    // A search only a distance or Stop ends has no share done.
    shown.Share = vesk::SearchShare(FSettings, progress);
    shown.Reference = FShownReference;
    vesk::ProjectPattern(pattern, pattern.Count(), FReference.Count(), shown.Best);
    FReference.Plot(FSession.Image, vesk::Blue, true);
    shown.Best.Plot(FSession.Image, vesk::Red, false);
    const QLocale locale;
    shown.Text = QString("%1 evaluations, distance %2, fitness %3, %4/s")
                     .arg(locale.toString(static_cast<qulonglong>(progress.Evaluations)),
                          locale.toString(progress.Best, 'f', 2))
                     .arg(vesk::FitnessOfDistance(progress.Best, FReference.Count()))
                     .arg(locale.toString(progress.EvaluationsPerSecond, 'f', 0));
    emit Progressed(shown);
}

void TEvolveController::OnFinished(const vesk::TSearchResult& result) {
    // The curve runs on to the evaluations the run ended at.
    if (!result.Pattern.empty()) emit PointReached(result.Evaluations, PerElement(result.Best));
    emit SearchingChanged(false);
    QString message = EvolveEndMessage(result, FReference.Count());
    if (!result.Pattern.empty()) {
        FRun([this, &result] { return FSession.FinishEvolve(result); });
        // With a target of one's own, the distance and fitness are the search's, to that target.
        if (FSession.Search.Target)
            message += QString(" (to %1)").arg(QString::fromStdString(FSession.Search.TargetName));
    }
    emit Finished(message);
}
