#include <gtest/gtest.h>

#include <vector>

#include "runtime/random_source.h"
#include "vesk/chromosome.h"

namespace vesk {
namespace {

const std::vector<std::uint8_t> Bytes288FromSeed0 = {
    0xDB, 0xDF, 0x8A, 0xEF, 0x92, 0x2B, 0x08, 0x5A, 0x30, 0x0C, 0xD6, 0xBC,
    0xE3, 0xA9, 0xF9, 0xDA, 0x38, 0x84, 0x4F, 0x48, 0xDB, 0xD1, 0xEC, 0x69,
    0x13, 0x0F, 0x9A, 0xFE, 0x8B, 0x11, 0x33, 0xB4, 0x2E, 0x76, 0xB7, 0x17};

class ChromosomeTest : public ::testing::Test {
protected:
    void SetUp() override { RandomSource.Seed = 0; }
};

TEST_F(ChromosomeTest, DrawsThePartialLastByteFirst) {
    TChromosome c(18, 0.5);
    EXPECT_EQ(c.Bits(), (std::vector<std::uint8_t>{0xF6, 0xB7, 0x03}));
    EXPECT_EQ(c.BitCount(), 18);
    EXPECT_TRUE(c.GetBit(16));
    EXPECT_TRUE(c.GetBit(17));
    EXPECT_FALSE(c.GetBit(0));
    EXPECT_TRUE(c.GetBit(1));
    for (std::int32_t i = 18; i < 24; ++i)
        EXPECT_FALSE(c.GetBit(i)) << i;
}

TEST_F(ChromosomeTest, WholeBytesFollowInAscendingOrder) {
    EXPECT_EQ(TChromosome(288, 0.5).Bits(), Bytes288FromSeed0);
    RandomSource.Seed = 0;
    TChromosome c(72, 0.5);
    EXPECT_EQ(c.Bits(),
              std::vector<std::uint8_t>(Bytes288FromSeed0.begin(), Bytes288FromSeed0.begin() + 9));
}

TEST_F(ChromosomeTest, DrawsExactlyOneValuePerBit) {
    TChromosome(13, 0.5);
    TChromosome(5, 0.5);
    TChromosome(0, 0.5);
    // 18 draws in all: the next chromosome goes on where the 18-bit one of seed 0 stops.
    std::uint32_t after18 = RandomSource.Seed;
    RandomSource.Seed = 0;
    TChromosome(18, 0.5);
    EXPECT_EQ(RandomSource.Seed, after18);
}

TEST_F(ChromosomeTest, ComparesDrawsWithLessOrEqual) {
    // The first draw from seed 0 is exactly 2^-32.
    EXPECT_TRUE(TChromosome(1, 0x1p-32).GetBit(0));
    RandomSource.Seed = 0;
    EXPECT_FALSE(TChromosome(1, 0x1p-33).GetBit(0));
    RandomSource.Seed = 0;
    TChromosome all(20, 1.0);
    EXPECT_EQ(all.Bits(), (std::vector<std::uint8_t>{0xFF, 0xFF, 0x0F}));
    TChromosome none(20, -0.1);
    EXPECT_EQ(none.Bits(), (std::vector<std::uint8_t>{0, 0, 0}));
}

TEST_F(ChromosomeTest, EmptyAndReleased) {
    TChromosome empty(0, 0.5);
    EXPECT_TRUE(empty.Bits().empty());
    EXPECT_EQ(RandomSource.Seed, 0u);

    TChromosome c(18, 0.5);
    c.Release();
    EXPECT_EQ(c.BitCount(), 0);
    EXPECT_TRUE(c.Bits().empty());
    EXPECT_FALSE(c.GetBit(1));
}

} // namespace
} // namespace vesk
