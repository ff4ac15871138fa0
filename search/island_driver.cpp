#include "search/island_driver.h"

#include <chrono>

#include "search/watched_round.h"
#include "vesk/agent.h"

namespace vesk {

double SecondsSince(TSearchClock::time_point started) {
    return std::chrono::duration<double>(TSearchClock::now() - started).count();
}

void DriveIslands(TIslandEngine& engine, const TSearchSettings& settings, TSearchLimits& limits,
                  TSearchClock::time_point started, const TSearchObserver& observer,
                  TSearchResult& result) {
    const auto update = [&] {
        if (auto best = engine.Best()) {
            result.Best = best->first;
            result.Pattern = std::move(best->second);
        }
        result.Evaluations = engine.Spent();
        result.Seconds = SecondsSince(started);
        if (observer)
            observer({result.Evaluations, result.Best, result.Pattern, result.Seconds,
                      result.Seconds > 0 ? result.Evaluations / result.Seconds : 0});
    };
    const auto expired = [&] {
        return settings.Seconds && SecondsSince(started) >= *settings.Seconds;
    };
    const std::int32_t elements = settings.Target.Count();
    for (;;) {
        update();
        if (limits.Stop != nullptr && limits.Stop->load()) {
            result.Stopped = TSearchEnd::Interrupted;
            break;
        }
        if (settings.MeanDistance && MeanDistanceOfObjective(result.Best, settings.Objective,
                                                             elements) <= *settings.MeanDistance) {
            result.Stopped = TSearchEnd::Distance;
            break;
        }
        if (expired()) {
            result.Stopped = TSearchEnd::Seconds;
            break;
        }
        if (engine.Exhausted()) {
            result.Stopped = TSearchEnd::Evaluations;
            break;
        }
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
