#include <gtest/gtest.h>

#include "runtime/random_source.h"

namespace vesk {
namespace {

struct TDrawRow {
    std::uint32_t Seed;
    std::int32_t Int101;
    double Real;
};

// The first eight draws of every run.
constexpr TDrawRow FirstDraws[] = {
    {1, 0, 2.3283064365386963e-10},        {134775814, 3, 0.031379939522594213},
    {3698175007, 86, 0.8610484672244638},  {870078620, 20, 0.20258096512407064},
    {1172187917, 27, 0.2729212671983987},  {2884733762, 67, 0.6716544185765088},
    {1368768587, 32, 0.31869127112440765}, {694906232, 16, 0.16179546527564526},
};

TEST(RandomSource, IntegerAndRealDrawsFollowOneSequenceFromSeedZero) {
    TRandomSource ints, reals, mixed;
    for (std::size_t i = 0; i < std::size(FirstDraws); ++i) {
        const auto& row = FirstDraws[i];
        EXPECT_EQ(ints.NextInt(101), row.Int101) << "draw " << i + 1;
        EXPECT_EQ(ints.Seed, row.Seed);
        EXPECT_EQ(reals.NextReal(), row.Real) << "draw " << i + 1;
        if (i % 2 == 0)
            EXPECT_EQ(mixed.NextInt(101), row.Int101);
        else
            EXPECT_EQ(mixed.NextReal(), row.Real);
    }
}

TEST(RandomSource, DegenerateRangesStillAdvance) {
    TRandomSource r;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(r.NextInt(1), 0);
    EXPECT_EQ(r.Seed, 3698175007u);
    EXPECT_EQ(r.NextInt(0), 0);
    EXPECT_EQ(r.Seed, 870078620u);
    // n is read as unsigned: -1 means 2^32 - 1.
    r.Seed = 0;
    EXPECT_EQ(static_cast<std::uint32_t>(r.NextInt(-1)), 0u);
    EXPECT_EQ(static_cast<std::uint32_t>(r.NextInt(-1)), 134775813u);
}

TEST(RandomSource, RealsStayBelowOne) {
    // The predecessor of the largest seed, through the multiplier's inverse modulo 2^32.
    TRandomSource r;
    r.Seed = (0xFFFFFFFFu - 1u) * 3645876429u;
    EXPECT_EQ(r.NextReal(), 1.0 - 0x1p-32);
    EXPECT_EQ(r.Seed, 0xFFFFFFFFu);
}

TEST(RandomSource, ClockSeedIsTheUtcTimeOfDayInMilliseconds) {
    EXPECT_EQ(TRandomSource::SeedForTime(0, 0, 0, 0), 0u);
    EXPECT_EQ(TRandomSource::SeedForTime(23, 59, 59, 999), 86399999u);
    EXPECT_EQ(TRandomSource::SeedForTime(12, 34, 56, 789), 45296789u);
    TRandomSource r;
    r.ReseedFromClock();
    EXPECT_LT(r.Seed, 86400000u);
}

} // namespace
} // namespace vesk
