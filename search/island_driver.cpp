#include "search/island_driver.h"

#include <chrono>
#include <optional>
#include <utility>
#include <vector>

#include "search/watched_round.h"
#include "vesk/agent.h"

namespace vesk {

double SecondsSince(TSearchClock::time_point started) {
    return std::chrono::duration<double>(TSearchClock::now() - started).count();
}

void DriveIslands(TIslandEngine& engine, const TSearchSettings& settings, TSearchLimits& limits,
                  TSearchClock::time_point started, const TSearchObserver& observer,
                  TSearchResult& result) {
    // The result as far as the search has come; the best found is noted as an improvement too
    // (an island's own notes leave out what only the driver scores exactly).
    const auto refresh = [&] {
        if (auto best = engine.Best()) {
            result.Best = best->first;
            result.Pattern = std::move(best->second);
            limits.Improvements.Note(result.Best, [&] { return engine.Spent(); });
        }
        result.Evaluations = engine.Spent();
        result.Seconds = SecondsSince(started);
    };
    const auto report = [&](std::vector<TImprovement> improvements) {
        if (observer)
            observer({result.Evaluations, result.Best, result.Pattern, result.Seconds,
                      result.Seconds > 0 ? result.Evaluations / result.Seconds : 0,
                      std::move(improvements)});
    };
    const auto update = [&] {
        refresh();
        report(limits.Improvements.Take());
    };
    const auto expired = [&] {
        return settings.Seconds && SecondsSince(started) >= *settings.Seconds;
    };
    const auto ended = [&]() -> std::optional<TSearchEnd> {
        if (limits.Stop != nullptr && limits.Stop->load()) return TSearchEnd::Interrupted;
        if (settings.MeanDistance &&
            MeanDistanceOfObjective(result.Best, settings.Objective, settings.Target.Count()) <=
                *settings.MeanDistance)
            return TSearchEnd::Distance;
        if (expired()) return TSearchEnd::Seconds;
        if (engine.Exhausted()) return TSearchEnd::Evaluations;
        return std::nullopt;
    };
    for (;;) {
        refresh();
        if (const std::optional<TSearchEnd> end = ended()) {
            result.Stopped = *end;
            report(limits.Improvements.Finish(result.Evaluations, result.Best));
            break;
        }
        report(limits.Improvements.Take());
        RunWatched([&] { engine.Round(); },
                   [&] {
                       if (expired()) limits.Ending = true;
                   },
                   [&] {
                       // A report that fails ends the round early, which RunWatched waits for.
                       try {
                           update();
                       } catch (...) {
                           limits.Ending = true;
                           throw;
                       }
                   });
        engine.BetweenRounds();
    }
    engine.Finish(result);
}

} // namespace vesk
