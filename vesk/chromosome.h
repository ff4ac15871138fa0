#pragma once
// A random bit string drawn once from the process-wide random source.

#include <cstdint>
#include <vector>

namespace vesk {

// BitCount bits packed eight a byte, least significant bit first; each set when a draw r <= p.
class TChromosome {
public:
    // Draws all bits: the partial last byte first, then bytes 0, 1, ... in order.
    TChromosome(std::int32_t bitCount, double p);

    bool GetBit(std::int32_t i) const;
    std::int32_t BitCount() const { return FBitCount; }
    const std::vector<std::uint8_t>& Bits() const { return FBits; }
    // Frees the bits; BitCount becomes 0.
    void Release();

private:
    std::vector<std::uint8_t> FBits;
    std::int32_t FBitCount = 0;
};

} // namespace vesk
