#include "search/watched_round.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "runtime/resource_errors.h"

namespace vesk {

void RunWatched(const std::function<void()>& work, const std::function<void()>& look,
                const std::function<void()>& report) {
    using TClock = std::chrono::steady_clock;
    constexpr auto LookEvery = std::chrono::milliseconds(2),
                   ReportEvery = std::chrono::milliseconds(500);
    std::mutex lock;
    std::condition_variable done;
    bool finished = false;
    std::exception_ptr failure, watching;
    std::thread worker = StartingThreads(1, [&] {
        return std::thread([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
            const std::lock_guard<std::mutex> hold(lock);
            finished = true;
            done.notify_one();
        });
    });
    // The end of the round wakes this thread at once: short rounds lose no time waiting here.
    auto reported = TClock::now();
    for (;;) {
        {
            std::unique_lock<std::mutex> hold(lock);
            const auto over = [&] { return finished; };
            if (watching) {
                done.wait(hold, over);
                break;
            }
            if (done.wait_for(hold, LookEvery, over)) break;
        }
        try {
            look();
            if (TClock::now() - reported >= ReportEvery) {
                report();
                reported = TClock::now();
            }
        } catch (...) {
            // The worker is still running: it is waited for before anything leaves here.
            watching = std::current_exception();
        }
    }
    worker.join();
    if (watching) std::rethrow_exception(watching);
    if (failure) std::rethrow_exception(failure);
}

} // namespace vesk
