#include "cli/stop_signals.h"

namespace vesk::cli {

namespace {

std::atomic<bool> StopFlag{false};
std::atomic<int> FirstSignal{0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

extern "C" void OnStopSignal(int signal) {
    int none = 0;
    FirstSignal.compare_exchange_strong(none, signal);
    StopFlag.store(true);
}

} // namespace

TStopSignals::TStopSignals() {
    StopFlag = false;
    FirstSignal = 0;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART; // a write the signal interrupts goes on
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

const std::atomic<bool>& TStopSignals::Flag() const {
    return StopFlag;
}

int TStopSignals::Caught() const {
    return FirstSignal.load();
}

int TStopSignals::ExitStatus() const {
    const int signal = Caught();
    return signal != 0 ? 128 + signal : 0;
}

} // namespace vesk::cli
