#include "runtime/thread_team.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include <oneapi/tbb/blocked_range.h>
#include <oneapi/tbb/info.h>
#include <oneapi/tbb/parallel_for.h>
#include <oneapi/tbb/task_arena.h>

#include "runtime/resource_errors.h"

namespace vesk {

int HardwareThreads() {
    return std::max(1, tbb::info::default_concurrency());
}

#if !defined(__SANITIZE_THREAD__)

// oneTBB: an arena of the team's size; a member is the thread's slot in it.
struct TThreadTeam::TScheduler {
    explicit TScheduler(int threads) : Threads(threads), Arena(threads) {}

    void ForRanges(std::size_t count, std::size_t grain, const TRangeBody& body) {
        std::atomic<bool> bodyFailed{false};
        try {
            Arena.execute([&] {
                tbb::parallel_for(
                    tbb::blocked_range<std::size_t>(0, count, std::max<std::size_t>(grain, 1)),
                    [&](const tbb::blocked_range<std::size_t>& range) {
                        try {
                            body(tbb::this_task_arena::current_thread_index(), range.begin(),
                                 range.end());
                        } catch (...) {
                            bodyFailed = true;
                            throw;
                        }
                    });
            });
        } catch (const std::runtime_error&) {
            // oneTBB raises a worker it could not start into the work the worker was to join, as
            // a std::runtime_error of its own ("pthread_create has failed: ...").
            if (bodyFailed) throw;
            throw EThreadsRefused(Threads);
        }
    }

    int Threads;
    tbb::task_arena Arena;
};

#else

// ThreadSanitizer cannot see the ordering oneTBB's uninstrumented scheduler gives, and would
// report its internals as races; its builds share the ranges out among plain threads instead,
// joined before the call returns, so that it checks what the ranges themselves do.
struct TThreadTeam::TScheduler {
    explicit TScheduler(int threads) : Threads(threads) {}

    void ForRanges(std::size_t count, std::size_t grain, const TRangeBody& body) {
        grain = std::max<std::size_t>(grain, 1);
        std::atomic<std::size_t> next{0};
        std::exception_ptr failure;
        std::mutex failureLock;
        auto member = [&](int index) {
            try {
                for (std::size_t begin; (begin = next.fetch_add(grain)) < count;)
                    body(index, begin, std::min(count, begin + grain));
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureLock);
                if (!failure) failure = std::current_exception();
                next = count;
            }
        };
        std::vector<std::thread> others;
        others.reserve(static_cast<std::size_t>(Threads));
        try {
            for (int index = 1; index < Threads; ++index)
                others.emplace_back(member, index);
        } catch (const std::system_error& error) {
            // The members already started stop after their range and are waited for.
            next = count;
            for (std::thread& other : others)
                other.join();
            if (!IsResourceRefusal(error)) throw;
            throw EThreadsRefused(Threads);
        }
        member(0);
        for (std::thread& other : others)
            other.join();
        if (failure) std::rethrow_exception(failure);
    }

    int Threads;
};

#endif

TThreadTeam::TThreadTeam(int threads)
    : FThreads(threads > 0 ? std::min(threads, HardwareThreads()) : HardwareThreads()),
      FScheduler(std::make_unique<TScheduler>(FThreads)) {}

TThreadTeam::~TThreadTeam() = default;

void TThreadTeam::ForRanges(std::size_t count, std::size_t grain, const TRangeBody& body) {
    if (count > 0) FScheduler->ForRanges(count, grain, body);
}

} // namespace vesk
