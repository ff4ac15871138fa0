#include "runtime/resource_errors.h"

#include <cstdio>

namespace vesk {

EThreadsRefused::EThreadsRefused(int threads) noexcept : FThreads(threads) {
    if (threads == 1)
        std::snprintf(FMessage, sizeof FMessage, "cannot start a thread");
    else
        std::snprintf(FMessage, sizeof FMessage, "cannot start %d threads", threads);
}

const char* EThreadsRefused::what() const noexcept {
    return FMessage;
}

const char* ResourceMessage(const std::bad_alloc& error) noexcept {
    if (const auto* refused = dynamic_cast<const EThreadsRefused*>(&error)) return refused->what();
    return "out of memory";
}

bool IsResourceRefusal(const std::system_error& error) noexcept {
    const std::error_code& code = error.code();
    return code == std::errc::resource_unavailable_try_again ||
           code == std::errc::not_enough_memory;
}

} // namespace vesk
