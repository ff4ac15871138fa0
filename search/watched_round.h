#pragma once
// A round of a search run beside the thread that started it, which watches it meanwhile.

#include <functional>

namespace vesk {

// Runs work on a thread of its own and, until it returns, calls look every few milliseconds and
// report every half second on this thread. Returns once work has, whatever happened: an
// exception from look or report ends the watching and is raised once work has returned (look or
// report may ask work to end early before raising it); else an exception work raised is raised
// here. A thread that cannot be started raises EThreadsRefused.
void RunWatched(const std::function<void()>& work, const std::function<void()>& look,
                const std::function<void()>& report);

} // namespace vesk
