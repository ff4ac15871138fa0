// Shape application and the operator kernels against straightforward references: random sets,
// intervals, repeats, operators and degrees, faults included.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <vector>

#include "degree_sets.h"
#include "fuzzyset/fuzzy_set.h"
#include "fuzzyset/operator_kernels.h"
#include "fuzzyset/operators.h"
#include "fuzzyset/shape_runs.h"
#include "fuzzyset/shapes.h"
#include "runtime/fp_fault.h"
#include "straight_evaluation.h"

namespace vesk {
namespace {

using test::SetHolding;

using Degrees = std::vector<std::int32_t>;

// Degrees as shapes and operators leave them: mostly in or near 0..100, some far outside, some
// at the ends of the 32-bit range so that products, means and complements wrap.
std::int32_t RandomDegree(std::mt19937& random) {
    const std::int32_t kind = std::uniform_int_distribution<std::int32_t>(0, 9)(random);
    if (kind < 5) return std::uniform_int_distribution<std::int32_t>(0, 100)(random);
    if (kind < 8) return std::uniform_int_distribution<std::int32_t>(-300, 600)(random);
    if (kind < 9) return std::uniform_int_distribution<std::int32_t>(INT32_MIN, INT32_MAX)(random);
    const std::int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 99, 46341};
    return extremes[std::uniform_int_distribution<std::size_t>(0, 4)(random)];
}

void ExpectLikeTheReference(std::mt19937& random, std::int32_t n, int applications) {
    auto pick = [&random](std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(random);
    };
    Degrees expected(static_cast<std::size_t>(n));
    for (auto& v : expected)
        v = RandomDegree(random);
    TFuzzySet s = SetHolding(expected);
    for (int a = 0; a < applications; ++a) {
        std::int32_t first = pick(0, n - 1), last = pick(first, n - 1);
        if (pick(0, 9) == 0) {
            first = pick(-3, n + 2);
            last = pick(-3, n + 2);
        }
        const std::int32_t shape = pick(-2, 19), repeats = pick(-2, 9), op = pick(-2, 17);
        bool expectedResult = false, expectedFault = false, result = false, fault = false;
        try {
            expectedResult =
                straight::StraightApplyShape(expected, shape, repeats, first, last, op);
        } catch (const EFloatingPointFault&) {
            expectedFault = true;
        }
        try {
            result = s.ApplyShape(shape, repeats, first, last, op);
        } catch (const EFloatingPointFault&) {
            fault = true;
        }
        const auto call = ::testing::Message()
                          << "ApplyShape(" << shape << ", " << repeats << ", " << first << ", "
                          << last << ", " << op << ") on " << n << " elements";
        ASSERT_EQ(fault, expectedFault) << call;
        ASSERT_EQ(result, expectedResult) << call;
        ASSERT_EQ(s.Degrees(), expected) << call;
    }
}

TEST(FastApplication, MatchesTheReferenceOnRandomSetsAndCalls) {
    std::mt19937 random(2024);
    for (int trial = 0; trial < 3000; ++trial) {
        const std::int32_t n = std::uniform_int_distribution<std::int32_t>(1, 240)(random);
        ExpectLikeTheReference(random, n, 8);
        if (HasFatalFailure()) return;
    }
}

TEST(FastApplication, MatchesTheReferenceAtTheWorkbenchSizesAndBeyondTheRecordedSpans) {
    std::mt19937 random(7);
    for (std::int32_t n : {100, 500, 1000, 2048, 5000, TShapeRuns::MaxLength + 2, 9000}) {
        ExpectLikeTheReference(random, n, 12);
        if (HasFatalFailure()) return;
    }
}

TEST(FastApplication, MatchesTheReferenceAfterTheRecordingsAreForgotten) {
    std::mt19937 random(99);
    for (int trial = 0; trial < 200; ++trial) {
        if (trial % 3 == 0) ShapeRuns().Clear();
        ExpectLikeTheReference(random, 64, 4);
        if (HasFatalFailure()) return;
    }
}

TEST(FastApplication, TwoElementBellFaultLeavesTheEarlierPiecesWritten) {
    // Pieces of width 1 then a last piece of two elements: the single-element bells are written
    // (from a recording the second time), then the fault strikes before the last piece.
    for (int attempt = 0; attempt < 2; ++attempt) {
        Degrees expected(12, 50);
        TFuzzySet s = SetHolding(expected);
        EXPECT_THROW(straight::StraightApplyShape(expected, 17, 3, 3, 7, 1), EFloatingPointFault);
        EXPECT_THROW(s.ApplyShape(17, 3, 3, 7, 1), EFloatingPointFault);
        EXPECT_EQ(s.Degrees(), expected);
        EXPECT_NE(expected, Degrees(12, 50));
    }
}

// The operators written out in 64-bit arithmetic, each result wrapped to 32 bits the way two's
// complement hardware wraps it: an independent statement of the wrapping the kernels must do.
std::int32_t Wrapped(std::int64_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}
std::int32_t WideOperator(std::int32_t op, std::int32_t o, std::int32_t n) {
    const auto C = [](std::int64_t v) { return Wrapped(100 - v); };
    const std::int32_t P = Wrapped(std::int64_t{o} * n) / 100;
    const std::int32_t M = Wrapped(std::int64_t{o} + n) / 2;
    switch (op) {
    case 0:
        return std::max(o, n);
    case 1:
        return std::min(o, n);
    case 2:
        return M;
    case 3:
        return C(M);
    case 4:
        return C(std::min(o, n));
    case 5:
        return C(std::max(o, n));
    case 6:
        return std::min(o, C(n));
    case 7:
        return std::max(o, C(n));
    case 8:
        return std::min(C(o), n);
    case 9:
        return std::max(C(o), n);
    case 10:
        return P;
    case 11:
        return C(P);
    case 12:
        return std::min(C(o), P);
    case 13:
        return std::max(C(o), P);
    case 14:
        return std::min(C(n), P);
    default:
        return std::max(C(n), P);
    }
}

TEST(OperatorKernels, WrapAsTwosComplementOnEveryCode) {
    const std::int32_t edges[] = {
        INT32_MIN, INT32_MIN + 1, -46341, -167,  -101,           -1,       0, 1, 49, 50, 99,
        100,       101,           267,    46341, INT32_MAX - 99, INT32_MAX};
    std::mt19937 random(5);
    for (std::int32_t op = 0; op < OperatorCount; ++op) {
        const auto kernel = kernels::OperatorKernels[static_cast<std::size_t>(op)];
        for (std::int32_t o : edges)
            for (std::int32_t n : edges)
                ASSERT_EQ(kernel(o, n), WideOperator(op, o, n)) << op << ": " << o << ", " << n;
        for (int k = 0; k < 20000; ++k) {
            const std::int32_t o = RandomDegree(random), n = RandomDegree(random);
            ASSERT_EQ(kernel(o, n), WideOperator(op, o, n)) << op << ": " << o << ", " << n;
        }
    }
}

} // namespace
} // namespace vesk
