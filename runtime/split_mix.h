#pragma once
// SplitMix64: the next number of a 64-bit state, well mixed. The searches' own generators and
// seeds derived from other seeds use it; it is the same sequence on every machine.

#include <cstdint>

namespace vesk {

inline std::uint64_t SplitMix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

} // namespace vesk
