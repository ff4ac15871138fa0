#pragma once
// Floating-point faults: the three conditions the arithmetic treats as errors, raised as C++
// exceptions at the exact points where they occur and caught only at a command's boundary.

#include <stdexcept>
#include <string>

namespace vesk {

enum class TFaultKind { DivisionByZero, InvalidOperation, Overflow };

// The error a floating-point fault raises; what() is the user-visible message.
class EFloatingPointFault : public std::runtime_error {
public:
    explicit EFloatingPointFault(TFaultKind kind);
    TFaultKind Kind() const noexcept { return FKind; }

private:
    TFaultKind FKind;
};

// The message of each fault, without a trailing full stop.
const char* FaultMessage(TFaultKind kind) noexcept;
// The message as the window's error box, the tool and the Python module show it: with its
// full stop ("Floating point division by zero.").
std::string ShownFaultMessage(const EFloatingPointFault& fault);

[[noreturn]] void RaiseFault(TFaultKind kind);

} // namespace vesk
