#include "search/watched_round.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <thread>

namespace vesk {

void RunWatched(const std::function<void()>& work, const std::function<void()>& look,
                const std::function<void()>& report) {
    using TClock = std::chrono::steady_clock;
    constexpr auto LookEvery = std::chrono::milliseconds(2),
                   ReportEvery = std::chrono::milliseconds(500);
    std::atomic<bool> finished{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
    });
    auto reported = TClock::now();
    while (!finished.load()) {
        std::this_thread::sleep_for(LookEvery);
        look();
        if (TClock::now() - reported >= ReportEvery) {
            report();
            reported = TClock::now();
        }
    }
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

} // namespace vesk
