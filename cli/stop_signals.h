#pragma once
// SIGINT and SIGTERM turned into a request to stop, for as long as a command that can end
// early and still report is running.

#include <atomic>
#include <csignal>

namespace vesk::cli {

// From its making, SIGINT and SIGTERM (however many, however close together) only set the stop
// flag and remember the first signal. They stay caught after it goes, until the process ends: a
// signal that comes while the result goes out, or between that and the exit, must not cut the
// process short of the exit status it chose. For a command line tool only; one at a time.
class TStopSignals {
public:
    TStopSignals();
    TStopSignals(const TStopSignals&) = delete;
    TStopSignals& operator=(const TStopSignals&) = delete;

    const std::atomic<bool>& Flag() const;
    // The first signal caught, or 0.
    int Caught() const;
    // The exit status a shell gives a process ended by the first signal caught (128 + its
    // number: 130 for SIGINT, 143 for SIGTERM), or 0 when none came.
    int ExitStatus() const;
};

} // namespace vesk::cli
