#pragma once
// How a vesk command ends when it cannot finish, and the exit status each way gives.

#include <stdexcept>
#include <string>

namespace vesk::cli {

constexpr int ExitSuccess = 0;
constexpr int ExitFailure = 1; // a fault or a file that cannot be written
constexpr int ExitUsage = 2;   // the command line or the session input is wrong

// A mistake in the command line or the session input; the message says which.
class EUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A command that could not finish for another reason than a fault (an unwritable file).
class ECommandFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace vesk::cli
