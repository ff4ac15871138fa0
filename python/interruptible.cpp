#include "python/interruptible.h"

#include <chrono>
#include <exception>
#include <system_error>
#include <thread>

namespace vesk::python {

namespace py = pybind11;

void TInterruptible::Post(std::function<void()> task) {
    const std::lock_guard<std::mutex> hold(FLock);
    FPosted.push_back(std::move(task));
    FWake.notify_one();
}

void TInterruptible::RunPosted() {
    for (;;) {
        std::function<void()> task;
        {
            const std::lock_guard<std::mutex> hold(FLock);
            if (FPosted.empty()) return;
            task = std::move(FPosted.front());
            FPosted.pop_front();
        }
        if (FPending) continue; // after an exception, the rest is dropped
        try {
            task();
        } catch (py::error_already_set& error) {
            FPending.emplace(std::move(error));
            FStop = true;
        }
    }
}

std::optional<py::error_already_set> TInterruptible::Run(const std::function<void()>& work) {
    constexpr auto LookEvery = std::chrono::milliseconds(100);
    std::exception_ptr failure;
    auto body = [&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard<std::mutex> hold(FLock);
        FFinished = true;
        FWake.notify_one();
    };
    std::optional<std::thread> worker;
    try {
        worker.emplace(body);
    } catch (const std::system_error&) {
        // No thread to spare: the work runs here, the interpreter waiting for it.
        py::gil_scoped_release released;
        body();
    }
    for (bool finished = false; !finished;) {
        {
            py::gil_scoped_release released;
            std::unique_lock<std::mutex> hold(FLock);
            FWake.wait_for(hold, LookEvery, [&] { return FFinished || !FPosted.empty(); });
            finished = FFinished;
        }
        RunPosted();
        if (!FPending && PyErr_CheckSignals() != 0) {
            FPending.emplace();
            FStop = true;
        }
    }
    if (worker) {
        py::gil_scoped_release released;
        worker->join();
    }
    RunPosted();
    if (failure && !FPending) std::rethrow_exception(failure);
    return std::move(FPending);
}

void RunInterruptibly(const std::function<void(const std::atomic<bool>& stop)>& work) {
    TInterruptible run;
    if (std::optional<py::error_already_set> raised = run.Run([&] { work(run.Stop()); })) {
        raised->restore();
        throw py::error_already_set();
    }
}

} // namespace vesk::python
