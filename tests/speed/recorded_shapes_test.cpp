// Recorded shape runs against the straightforward evaluation, for every shape code over every
// span up to 5000, through shape application; and the bounded store that holds them.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "fuzzyset/fuzzy_set.h"
#include "fuzzyset/shape_runs.h"
#include "fuzzyset/shapes.h"
#include "runtime/fp_fault.h"

#ifndef VESK_SPAN_STRIDE
#define VESK_SPAN_STRIDE 1
#endif

namespace vesk {
namespace {

constexpr std::int32_t LargestSpan = 5000;
constexpr std::int32_t Maximum = 0;

// A set of n elements, each holding the lowest degree, so that merging by maximum stores the
// shape's degrees themselves.
TFuzzySet Lowest(std::int32_t n) {
    TFuzzySet s;
    s.Fill(n, 0);
    for (std::int32_t i = 0; i < n; ++i)
        s.SetDegree(i, INT32_MIN);
    return s;
}

// The shape drawn once over a whole set of W + 1 elements; the first draw of a span evaluates
// and records, the second replays. Both must give the straightforward degrees.
void ExpectDrawnAsEvaluated(std::int32_t code, std::int32_t W, const TFuzzySet& fresh) {
    std::vector<std::int32_t> evaluated(static_cast<std::size_t>(W) + 1);
    for (std::int32_t d = 0; d <= W; ++d)
        evaluated[static_cast<std::size_t>(d)] = ShapeDegree(code, 0, W, d);
    for (int draw = 0; draw < 2; ++draw) {
        TFuzzySet s = fresh;
        ASSERT_TRUE(s.ApplyShape(code, 0, 0, W, Maximum));
        if (s.Degrees() == evaluated) continue;
        for (std::int32_t d = 0; d <= W; ++d)
            ASSERT_EQ(s.Degrees()[d], evaluated[d])
                << "code " << code << ", W " << W << ", d " << d << ", draw " << draw;
    }
}

bool IsBell(std::int32_t code) {
    return code == BellShape || code == BellShape + 1;
}

TEST(RecordedShapes, EveryCodeOverEverySpanUpTo5000) {
    ShapeRuns().Clear();
    for (std::int32_t W = 0; W <= LargestSpan; W += (W < 64 ? 1 : VESK_SPAN_STRIDE)) {
        TFuzzySet fresh = Lowest(W + 1);
        for (std::int32_t code = 0; code < ShapeCodeCount; ++code) {
            if (IsBell(code) && W == 1) continue; // faults; see below
            ExpectDrawnAsEvaluated(code, W, fresh);
            if (HasFatalFailure()) return;
        }
        ASSERT_LE(ShapeRuns().Size(), TShapeRuns::MaxEntries);
    }
}

TEST(RecordedShapes, SpansBeyondTheRecordedOnesAreEvaluated) {
    for (std::int32_t W : {TShapeRuns::MaxLength - 1, TShapeRuns::MaxLength, 9000}) {
        TFuzzySet fresh = Lowest(W + 1);
        for (std::int32_t code : {0, 7, 8, 12, 17}) {
            ExpectDrawnAsEvaluated(code, W, fresh);
            EXPECT_EQ(ShapeRuns().Find(code, 0, W + 1) != nullptr, W < TShapeRuns::MaxLength);
        }
    }
}

TEST(RecordedShapes, TwoElementBellFaultsEveryTimeAndIsNeverRecorded) {
    ShapeRuns().Clear();
    for (std::int32_t code : {BellShape, BellShape + 1})
        for (int attempt = 0; attempt < 2; ++attempt) {
            TFuzzySet s = Lowest(2);
            EXPECT_THROW(s.ApplyShape(code, 0, 0, 1, Maximum), EFloatingPointFault);
            EXPECT_EQ(s.Degrees(), Lowest(2).Degrees());
            EXPECT_EQ(ShapeRuns().Find(code, 0, 2), nullptr);
        }
}

TEST(RecordedShapes, OutOfRangeCodesShareTheRisingRampsRecording) {
    ShapeRuns().Clear();
    TFuzzySet s = Lowest(11);
    s.ApplyShape(18, 0, 0, 10, Maximum);
    EXPECT_NE(ShapeRuns().Find(0, 0, 11), nullptr);
    TFuzzySet t = Lowest(11);
    t.ApplyShape(-1, 0, 0, 10, Maximum);
    TFuzzySet ramp = Lowest(11);
    ramp.ApplyShape(0, 0, 0, 10, Maximum);
    EXPECT_EQ(s.Degrees(), ramp.Degrees());
    EXPECT_EQ(t.Degrees(), ramp.Degrees());
}

// Keeps a run of Length degrees, each made from its key and offset.
void KeepRun(TShapeRuns& runs, std::int32_t code, std::int32_t repeats, std::int32_t length) {
    std::int32_t* record = runs.Scratch(length);
    for (std::int32_t k = 0; k < length; ++k)
        record[k] = code * 100 + repeats * 10 + k % 7;
    runs.Keep(code, repeats, length);
}

TEST(RecordedShapes, RunsAreFoundByCodeRepeatsAndLength) {
    TShapeRuns runs;
    for (std::int32_t code = 0; code < ShapeCodeCount; ++code)
        for (std::int32_t repeats = 0; repeats < 8; ++repeats)
            for (std::int32_t length : {1, 2, 99, 100, 4000})
                KeepRun(runs, code, repeats, length);
    EXPECT_EQ(runs.Runs(), std::size_t{ShapeCodeCount * 8 * 5});
    for (std::int32_t code = 0; code < ShapeCodeCount; ++code)
        for (std::int32_t repeats = 0; repeats < 8; ++repeats)
            for (std::int32_t length : {1, 2, 99, 100, 4000}) {
                const std::int16_t* run = runs.Find(code, repeats, length);
                ASSERT_NE(run, nullptr);
                EXPECT_EQ(run[length - 1], code * 100 + repeats * 10 + (length - 1) % 7);
                EXPECT_EQ(runs.Find(code, repeats, length + 3), nullptr);
            }
}

TEST(RecordedShapes, StoreForgetsEverythingRatherThanGrowPastItsBounds) {
    // Long runs until the next one would not fit.
    TShapeRuns runs;
    std::int32_t n = 0;
    for (std::size_t before = 0;; ++n) {
        ASSERT_LT(n, 1000);
        KeepRun(runs, n % ShapeCodeCount, n / ShapeCodeCount % 8, TShapeRuns::MaxLength - n / 144);
        ASSERT_LE(runs.Size(), TShapeRuns::MaxEntries);
        ASSERT_LE(runs.Runs(), TShapeRuns::MaxRuns);
        if (runs.Size() < before) break; // forgotten
        before = runs.Size();
    }
    // The run that caused the purge is kept; the first one is gone.
    EXPECT_EQ(runs.Runs(), 1u);
    EXPECT_NE(
        runs.Find(n % ShapeCodeCount, n / ShapeCodeCount % 8, TShapeRuns::MaxLength - n / 144),
        nullptr);
    EXPECT_EQ(runs.Find(0, 0, TShapeRuns::MaxLength), nullptr);

    // A run with a degree beyond 16 bits is not kept.
    std::int32_t* record = runs.Scratch(4);
    for (std::int32_t k = 0; k < 4; ++k)
        record[k] = k == 2 ? 40000 : k;
    runs.Keep(3, 0, 4);
    EXPECT_EQ(runs.Find(3, 0, 4), nullptr);
}

} // namespace
} // namespace vesk
