#pragma once
// A round of a search run beside the thread that started it, which watches it meanwhile.

#include <functional>

namespace vesk {

// Runs work on a thread of its own and, until it returns, calls look every few milliseconds and
// report every half second on this thread; an exception work raises is raised here after.
void RunWatched(const std::function<void()>& work, const std::function<void()>& look,
                const std::function<void()>& report);

} // namespace vesk
