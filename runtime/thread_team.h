#pragma once
// A fixed number of threads that share out ranges of work, each knowing which member it is, so
// that per-thread state (a scorer, a cache) can be kept in a plain array indexed by member.

#include <cstddef>
#include <functional>
#include <memory>

namespace vesk {

// Every hardware thread the process may use (at least 1).
int HardwareThreads();

class TThreadTeam {
public:
    // Range work gets: body(member, begin, end), member in 0..Threads()-1.
    using TRangeBody = std::function<void(int member, std::size_t begin, std::size_t end)>;

    // threads 0, or more than the hardware has: every hardware thread (more would only wait for
    // each other, and oneTBB refuses them with a warning).
    explicit TThreadTeam(int threads = 0);
    ~TThreadTeam();
    TThreadTeam(const TThreadTeam&) = delete;
    TThreadTeam& operator=(const TThreadTeam&) = delete;

    int Threads() const { return FThreads; }

    // Runs body over ranges of about grain indexes covering 0..count, on the team, the calling
    // thread taking part, and returns when all are done: what body did happens before what the
    // caller does next. Two ranges never run on the same member at once. An exception from body
    // ends the work early and is raised here; a thread of the team the system would not start
    // raises EThreadsRefused, once the members that did start have stopped. Calls must not
    // overlap.
    void ForRanges(std::size_t count, std::size_t grain, const TRangeBody& body);

private:
    struct TScheduler; // oneTBB, or plain threads in ThreadSanitizer builds
    int FThreads;
    std::unique_ptr<TScheduler> FScheduler;
};

} // namespace vesk
