#pragma once
// The process-wide pseudo-random generator: a 32-bit linear congruential sequence from seed 0.

#include <cstdint>

namespace vesk {

// Linear congruential generator, Seed := Seed * 134775813 + 1 (mod 2^32).
class TRandomSource {
public:
    std::uint32_t Seed = 0;

    // floor(Seed * n / 2^32) after one advance: 0 .. n-1 for n >= 1 (n read as unsigned).
    std::int32_t NextInt(std::int32_t n);
    // Seed * 2^-32 after one advance: [0, 1), exact in a double.
    double NextReal();
    // Seed := the UTC time of day in milliseconds (0 .. 86,399,999); draws nothing.
    void ReseedFromClock();
    // The seed for a UTC time of day; the clock read aside, what ReseedFromClock computes.
    static std::uint32_t SeedForTime(int hour, int minute, int second, int millisecond);

private:
    void Advance() { Seed = Seed * 134775813u + 1u; }
};

// The single instance every consumer draws from. Not synchronised: one thread uses it.
extern TRandomSource RandomSource;

} // namespace vesk
