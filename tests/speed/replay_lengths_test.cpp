// A replayed run against the evaluation it was recorded from, for every operator and every
// interval length around the replay loop's groups of eight.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

#include "fuzzyset/fuzzy_set.h"
#include "fuzzyset/operators.h"
#include "fuzzyset/shape_runs.h"
#include "runtime/fp_fault.h"

namespace vesk {
namespace {

TFuzzySet RandomSet(std::mt19937& random, std::int32_t n) {
    TFuzzySet set;
    set.Fill(n, 0);
    for (std::int32_t i = 0; i < n; ++i) {
        const bool wide = std::uniform_int_distribution<int>(0, 7)(random) == 0;
        set.SetDegree(
            i, wide ? std::uniform_int_distribution<std::int32_t>(INT32_MIN, INT32_MAX)(random)
                    : std::uniform_int_distribution<std::int32_t>(-20, 120)(random));
    }
    return set;
}

TEST(ReplayedRuns, GiveTheEvaluatedDegreesAtEveryLength) {
    std::mt19937 random(31);
    constexpr std::int32_t N = 120;
    for (std::int32_t op = 0; op < OperatorCount; ++op)
        for (std::int32_t length = 1; length <= 70; ++length) {
            const std::int32_t first =
                std::uniform_int_distribution<std::int32_t>(0, N - length)(random);
            const std::int32_t shape = std::uniform_int_distribution<std::int32_t>(0, 15)(random);
            const std::int32_t repeats = std::uniform_int_distribution<std::int32_t>(0, 7)(random);
            const TFuzzySet start = RandomSet(random, N);
            TFuzzySet evaluated = start, replayed = start;
            ShapeRuns().Clear();
            try {
                evaluated.ApplyShape(shape, repeats, first, first + length - 1, op);
            } catch (const EFloatingPointFault&) {
                continue; // a shape that faults on this span is never recorded
            }
            // Recorded under the repeats applied: none when the interval is too short for them.
            ASSERT_NE(ShapeRuns().Find(shape, length < repeats + 1 ? 0 : repeats, length), nullptr);
            replayed.ApplyShape(shape, repeats, first, first + length - 1, op);
            ASSERT_EQ(replayed.Degrees(), evaluated.Degrees())
                << "op " << op << " length " << length << " shape " << shape << " repeats "
                << repeats;
        }
}

} // namespace
} // namespace vesk
