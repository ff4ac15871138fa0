#include "fuzzyset/operators.h"

#include "fuzzyset/operator_kernels.h"

namespace vesk {

std::int32_t Combine(std::int32_t Op, std::int32_t Old, std::int32_t New) {
    if (Op < 0 || Op >= OperatorCount) return 0;
    return kernels::OperatorKernels[static_cast<std::size_t>(Op)](Old, New);
}

} // namespace vesk
