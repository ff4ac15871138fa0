// The restarts' plan: growing without a limit, ending on a whole cooling with one.
#include <gtest/gtest.h>

#include <vector>

#include "search/annealing_schedule.h"

namespace vesk {
namespace {

// The lengths a plan gives for a budget of moves, each planned on what is left.
std::vector<std::uint64_t> Lengths(std::uint64_t first, std::uint64_t budget) {
    TRestartPlan plan(first);
    std::vector<std::uint64_t> lengths;
    for (std::uint64_t left = budget; left > 0; left -= lengths.back())
        lengths.push_back(plan.Next(left));
    return lengths;
}

TEST(RestartPlan, DoublesWithoutALimitAndEndsOnTheLimitWithOne) {
    TRestartPlan open(100);
    EXPECT_EQ(open.Next(Unlimited), 100u);
    EXPECT_EQ(open.Next(Unlimited), 200u);
    EXPECT_EQ(open.Next(Unlimited), 400u);
    EXPECT_EQ(open.Count(), 3);

    // The restarts use the budget exactly; the last is never shorter than the one before it,
    // so the run ends on a cooling at least as long as any other.
    for (std::uint64_t budget : {1u, 99u, 100u, 299u, 300u, 1000u, 12345u, 5'000'000u}) {
        SCOPED_TRACE(budget);
        const auto lengths = Lengths(100, budget);
        std::uint64_t sum = 0;
        for (std::size_t k = 0; k < lengths.size(); ++k) {
            sum += lengths[k];
            if (k == 0) continue;
            EXPECT_GE(lengths[k], lengths[k - 1]);
            if (k + 1 < lengths.size()) {
                EXPECT_EQ(lengths[k], 2 * lengths[k - 1]);
            }
        }
        EXPECT_EQ(sum, budget);
    }
    EXPECT_EQ(Lengths(100, 5'000'000).back(), 5'000'000u - 100u * ((1u << 14) - 1));

    // Nothing left still plans a move, and lengths near the top of the range do not wrap.
    EXPECT_EQ(TRestartPlan(100).Next(0), 1u);
    TRestartPlan huge(Unlimited / 2 + 1);
    EXPECT_EQ(huge.Next(Unlimited), Unlimited / 2 + 1);
    EXPECT_EQ(huge.Next(Unlimited), Unlimited / 2 + 1);
}

// A time limit plans on a share of what the time left gives at the rate so far, once there is a
// rate to go by.
TEST(RestartPlan, ATimeLimitPlansOnTheRateSoFar) {
    EXPECT_EQ(MovesTimeAllows(0, 1, 1000, 10), Unlimited); // no time limit
    EXPECT_EQ(MovesTimeAllows(10, 1, 5, 10), Unlimited);   // no rate yet
    EXPECT_EQ(MovesTimeAllows(10, 5, 1000, 10), 900u);     // 5 s more at 200 a second, 0.9 of it
    EXPECT_EQ(MovesTimeAllows(10, 12, 1000, 10), 0u);      // past the deadline
}

TEST(Cooling, FallsGeometricallyAndKeepsWhatIsNoWorse) {
    EXPECT_DOUBLE_EQ(CoolingAt(1.0, 0.01, 0.0), 1.0);
    EXPECT_DOUBLE_EQ(CoolingAt(1.0, 0.01, 0.5), 0.1);
    EXPECT_DOUBLE_EQ(CoolingAt(1.0, 0.01, 1.0), 0.01);
    EXPECT_TRUE(KeepsChange(0, 1e-9, 0.999));
    EXPECT_TRUE(KeepsChange(-5, 1e-9, 0.999));
    EXPECT_TRUE(KeepsChange(1, 1.0, 0.3)); // e^-1 = 0.37
    EXPECT_FALSE(KeepsChange(1, 1.0, 0.4));
}

} // namespace
} // namespace vesk
