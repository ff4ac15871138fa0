#pragma once
// Long work run with the interpreter's lock released on a thread of its own, while the calling
// thread keeps the interpreter answering: it looks for the signals Python handles (Ctrl-C) ten
// times a second and runs what the work hands it (a progress callback) with the lock held.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include <pybind11/pybind11.h>

namespace vesk::python {

class TInterruptible {
public:
    // The flag the work honours: set when a signal handler or a handed task raises.
    std::atomic<bool>& Stop() { return FStop; }
    // Hands task to the calling thread, to run with the interpreter's lock. From the work only.
    void Post(std::function<void()> task);

    // Runs work, with the lock held by the caller, and returns once it has returned. A Python
    // exception raised meanwhile (KeyboardInterrupt from Ctrl-C, or one a task raised) sets the
    // stop flag and is returned, for the caller to raise; an exception from the work is raised
    // here unless such a Python exception came first.
    std::optional<pybind11::error_already_set> Run(const std::function<void()>& work);

private:
    void RunPosted();

    std::atomic<bool> FStop{false};
    std::mutex FLock;
    std::condition_variable FWake;
    std::deque<std::function<void()>> FPosted;
    bool FFinished = false;
    std::optional<pybind11::error_already_set> FPending;
};

// Runs work as TInterruptible::Run does and raises what it returns.
void RunInterruptibly(const std::function<void(const std::atomic<bool>& stop)>& work);

} // namespace vesk::python
