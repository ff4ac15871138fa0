#pragma once
// SIGINT and SIGTERM turned into a request to stop, for as long as a command that can end
// early and still report is running.

#include <atomic>
#include <csignal>

namespace vesk::cli {

// While it lives, SIGINT and SIGTERM (however many, however close together) only set the
// stop flag and remember the first signal; the previous handlers come back when it goes.
// One at a time.
class TStopSignals {
public:
    TStopSignals();
    ~TStopSignals();
    TStopSignals(const TStopSignals&) = delete;
    TStopSignals& operator=(const TStopSignals&) = delete;

    const std::atomic<bool>& Flag() const;
    // The first signal caught, or 0.
    int Caught() const;
    // The exit status a shell gives a process ended by the first signal caught (128 + its
    // number: 130 for SIGINT, 143 for SIGTERM), or 0 when none came.
    int ExitStatus() const;

private:
    struct sigaction FOldInterrupt {
    }, FOldTerminate{};
};

} // namespace vesk::cli
