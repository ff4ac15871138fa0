#include "vesk/chromosome.h"

#include "runtime/random_source.h"

namespace vesk {

namespace {

// Draws positions 0..count-1 of one byte, in order.
std::uint8_t DrawByte(std::int32_t count, double p) {
    std::uint8_t byte = 0;
    for (std::int32_t k = 0; k < count; ++k)
        if (RandomSource.NextReal() <= p) byte = static_cast<std::uint8_t>(byte | (1u << k));
    return byte;
}

} // namespace

TChromosome::TChromosome(std::int32_t bitCount, double p) {
    // A negative count is outside the data model; it draws nothing and holds no bits.
    FBitCount = bitCount > 0 ? bitCount : 0;
    const std::int32_t full = FBitCount / 8;
    const std::int32_t rest = FBitCount % 8;
    FBits.assign(static_cast<std::size_t>(full + (rest > 0 ? 1 : 0)), 0);
    // The partial last byte takes the first draws; the generated patterns depend on this order.
    if (rest > 0) FBits[static_cast<std::size_t>(full)] = DrawByte(rest, p);
    for (std::int32_t i = 0; i < full; ++i)
        FBits[static_cast<std::size_t>(i)] = DrawByte(8, p);
}

bool TChromosome::GetBit(std::int32_t i) const {
    if (i < 0 || static_cast<std::size_t>(i / 8) >= FBits.size()) return false;
    return (FBits[static_cast<std::size_t>(i / 8)] >> (i % 8) & 1u) != 0;
}

void TChromosome::Release() {
    FBitCount = 0;
    FBits.clear();
    FBits.shrink_to_fit();
}

} // namespace vesk
