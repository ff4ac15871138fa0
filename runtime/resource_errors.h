#pragma once
// Running out of what a computation needs, memory or threads, as one kind of error: a
// std::bad_alloc, raised where it happens and answered at a command's boundary ("out of memory",
// or "cannot start N threads"), never left to end the process.

#include <new>
#include <system_error>

namespace vesk {

// The system would not start the threads a computation needs (under a memory limit, it could not
// map their stacks). A std::bad_alloc, so that whatever answers running out of memory answers
// this too.
class EThreadsRefused : public std::bad_alloc {
public:
    explicit EThreadsRefused(int threads) noexcept;
    int Threads() const noexcept { return FThreads; }
    // "cannot start N threads" ("cannot start a thread" for one).
    const char* what() const noexcept override;

private:
    int FThreads;
    char FMessage[48]; // copying the error never allocates
};

// What a command says when it runs out: EThreadsRefused's message, or "out of memory".
const char* ResourceMessage(const std::bad_alloc& error) noexcept;

// Whether the error is the system refusing a resource (EAGAIN or ENOMEM): what std::thread
// raises when the thread cannot be made.
bool IsResourceRefusal(const std::system_error& error) noexcept;

// Calls start, which starts threads (threads of them in all), and gives what it returns; a
// refusal of resources it raises comes out as EThreadsRefused(threads).
template <typename TStart> decltype(auto) StartingThreads(int threads, TStart&& start) {
    try {
        return start();
    } catch (const std::system_error& error) {
        if (!IsResourceRefusal(error)) throw;
        throw EThreadsRefused(threads);
    }
}

} // namespace vesk
