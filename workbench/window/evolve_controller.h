#pragma once
// "Evolve" in the window: the search prepared from the session, run off the window's thread,
// its progress turned into what the window shows, and its end taken into the session.

#include <QObject>
#include <QString>

#include <optional>

#include "fuzzyset/fuzzy_set.h"
#include "search/pattern_search.h"
#include "workbench/window/command_runner.h"

class TEvolveRunner;

// A search's progress as the window shows it.
struct TEvolveProgress {
    std::optional<double> Share; // of the search done; none when only a distance or Stop ends it
    vesk::TFuzzySet Reference;   // the reference on the search's elements, drawn beside it
    vesk::TFuzzySet Best;        // the best pattern so far, on the reference's elements
    QString Text;                // evaluations, distance, fitness and speed
};

// Owns the search's runner. The session's bitmap is drawn over as the search goes (the reference
// in blue, the best so far in red); the window is told the rest in signals.
class TEvolveController : public QObject {
    Q_OBJECT

public:
    TEvolveController(vesk::TWorkbenchSession& session, TCommandRunner run,
                      QObject* parent = nullptr);
    ~TEvolveController() override;

    bool Running() const;
    // "Evolve": starts a search of the session's settings, or asks the one running to stop.
    void StartOrStop();
    // Stops a search still running and waits for it; it does not finish.
    void StopAndWait();

signals:
    // A search has started (its curve named so), or has ended.
    void RunStarted(const QString& name);
    void SearchingChanged(bool searching);
    void Progressed(const TEvolveProgress& progress);
    // The best distance an element after so many evaluations: a point of the search's curve,
    // one for each improvement the search reports, and the run's end.
    void PointReached(std::uint64_t evaluations, double best);
    // The search has ended and the session shows its result; message says how it ended.
    void Finished(const QString& message);

private:
    void OnProgress(const vesk::TSearchProgress& progress);
    void OnFinished(const vesk::TSearchResult& result);
    // The search's objective as the distance an element, comparable between runs.
    double PerElement(double objective) const;

    vesk::TWorkbenchSession& FSession;
    TCommandRunner FRun;
    TEvolveRunner* FRunner;
    vesk::TSearchSettings FSettings; // the running search's limits
    vesk::TFuzzySet FReference;      // what the search's progress is drawn against
    vesk::TFuzzySet FShownReference; // the reference shown beside it (a target of one's own aside)
    int FRuns = 0;
};

// What the status bar says when a search has ended: how it ended, the evaluations (with the
// locale's digit grouping), the time, the distance and the fitness of the result.
QString EvolveEndMessage(const vesk::TSearchResult& result, std::int32_t elements);
