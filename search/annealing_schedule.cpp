#include "search/annealing_schedule.h"

#include <algorithm>

namespace vesk {

std::uint64_t TRestartPlan::Next(std::uint64_t remaining) {
    std::uint64_t length = FCount == 0 ? FFirst : FLast > Unlimited / 2 ? FLast : 2 * FLast;
    if (remaining != Unlimited) {
        length = std::min(length, remaining);
        if ((remaining - length) / 2 < length) length = remaining;
    }
    FLast = std::max<std::uint64_t>(length, 1);
    ++FCount;
    return FLast;
}

} // namespace vesk
