// Runs of degrees drawn once and merged many times against the straightforward evaluation:
// every shape code and repeat count over every interval length a universe of up to 5000
// elements gives a block, and every operator over degrees that wrap.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>
#include <vector>

#include "degree_sets.h"
#include "fuzzyset/degree_runs.h"
#include "fuzzyset/operators.h"
#include "fuzzyset/shapes.h"
#include "runtime/fp_fault.h"
#include "straight_evaluation.h"
#include "vesk/agent.h"

namespace vesk {
namespace {

// The interval lengths of the blocks of a universe of n elements.
std::set<std::int32_t> BlockLengths(std::int32_t n) {
    std::set<std::int32_t> lengths;
    for (std::int32_t centre = 0; centre < 16; ++centre)
        for (std::int32_t spread = 0; spread < 8; ++spread) {
            const TBlockInterval at = BlockInterval({0, centre, spread, 0, 0}, n);
            lengths.insert(at.Last - at.First + 1);
        }
    return lengths;
}

// What StraightApplyShape draws over a run of length elements: the minimum with the largest
// degree, that is the shape's degree itself.
std::vector<std::int32_t> StraightRun(std::int32_t code, std::int32_t repeats,
                                      std::int32_t length) {
    straight::TDegrees degrees(static_cast<std::size_t>(length), INT32_MAX);
    straight::StraightApplyShape(degrees, code, repeats, 0, length - 1, 1);
    return degrees;
}

TEST(DegreeRuns, DrawEveryCodeAndRepeatCountOverEveryBlockLength) {
    std::set<std::int32_t> lengths;
    for (std::int32_t length = 1; length <= 200; ++length)
        lengths.insert(length);
#ifdef VESK_SPAN_STRIDE // unoptimised builds: the workbench's own universes only
    for (std::int32_t n : {100, 500, 1000, 5000})
#else
    for (std::int32_t n : {100, 500, 1000, 2047, 2048, 4999, 5000})
#endif
        lengths.merge(BlockLengths(n));
    for (std::int32_t length : lengths)
        for (std::int32_t code = 0; code < 16; ++code)
            for (std::int32_t repeats = 0; repeats < 8; ++repeats) {
                std::vector<std::int32_t> drawn(static_cast<std::size_t>(length));
                DrawShapeRun(code, repeats, length, drawn.data());
                ASSERT_EQ(drawn, StraightRun(code, repeats, length))
                    << code << " " << repeats << " " << length;
            }
}

TEST(DegreeRuns, TheBellFaultsOverAPieceOfTwo) {
    std::vector<std::int32_t> drawn(10);
    EXPECT_THROW(DrawShapeRun(BellShape, 0, 2, drawn.data()), EFloatingPointFault);
    EXPECT_THROW(DrawShapeRun(BellShape, 4, 10, drawn.data()), EFloatingPointFault);
    DrawShapeRun(BellShape, 1, 10, drawn.data());
    EXPECT_EQ(drawn, StraightRun(BellShape, 1, 10));
}

TEST(DegreeRuns, MergeEveryOperatorAsCombineDoes) {
    std::mt19937 random(11);
    const std::int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, INT32_MAX, -167, 267, 46341};
    for (std::int32_t count : {0, 1, 7, 8, 9, 15, 16, 17, 31, 33, 100, 257, 1000, 5000})
        for (std::int32_t op = 0; op < OperatorCount; ++op) {
            std::vector<std::int32_t> degrees = test::RandomDegrees(random, count, -300, 400);
            for (std::size_t k = 0; k < degrees.size(); k += 13)
                degrees[k] = extremes[k % 6];
            std::vector<std::int16_t> run(static_cast<std::size_t>(count));
            for (auto& v : run)
                v = static_cast<std::int16_t>(
                    std::uniform_int_distribution<std::int32_t>(-167, 267)(random));
            std::vector<std::int32_t> expected = degrees;
            for (std::size_t k = 0; k < expected.size(); ++k)
                expected[k] = Combine(op, expected[k], run[k]);
            MergeDegreeRun(op, degrees.data(), run.data(), count);
            ASSERT_EQ(degrees, expected) << op << " " << count;
        }
}

} // namespace
} // namespace vesk
