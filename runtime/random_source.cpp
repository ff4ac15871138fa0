#include "runtime/random_source.h"

#include <chrono>

namespace vesk {

TRandomSource RandomSource;

std::int32_t TRandomSource::NextInt(std::int32_t n) {
    Advance();
    std::uint64_t product = static_cast<std::uint64_t>(Seed) * static_cast<std::uint32_t>(n);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(product >> 32));
}

double TRandomSource::NextReal() {
    Advance();
    constexpr double TwoToMinus32 = 2.3283064365386963e-10;
    return static_cast<double>(Seed) * TwoToMinus32;
}

std::uint32_t TRandomSource::SeedForTime(int hour, int minute, int second, int millisecond) {
    return static_cast<std::uint32_t>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond);
}

void TRandomSource::ReseedFromClock() {
    using namespace std::chrono;
    auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    auto ms = static_cast<std::uint32_t>(sinceEpoch % 86'400'000);
    Seed = SeedForTime(static_cast<int>(ms / 3'600'000), static_cast<int>(ms / 60'000 % 60),
                       static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000));
}

} // namespace vesk
