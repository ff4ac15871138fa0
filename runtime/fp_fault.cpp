#include "runtime/fp_fault.h"

namespace vesk {

const char* FaultMessage(TFaultKind kind) noexcept {
    switch (kind) {
    case TFaultKind::DivisionByZero:
        return "Floating point division by zero";
    case TFaultKind::InvalidOperation:
        return "Invalid floating point operation";
    case TFaultKind::Overflow:
        return "Floating point overflow";
    }
    return "Invalid floating point operation";
}

EFloatingPointFault::EFloatingPointFault(TFaultKind kind)
    : std::runtime_error(FaultMessage(kind)), FKind(kind) {}

void RaiseFault(TFaultKind kind) {
    throw EFloatingPointFault(kind);
}

std::string ShownFaultMessage(const EFloatingPointFault& fault) {
    return std::string(fault.what()) + ".";
}

} // namespace vesk
