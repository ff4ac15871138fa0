// Recorded shape degrees against the straightforward evaluation, for every shape code over
// every span up to 5000, through shape application.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "fuzzyset/fuzzy_set.h"
#include "fuzzyset/shape_tables.h"
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
    ShapeTables().Clear();
    for (std::int32_t W = 0; W <= LargestSpan; W += (W < 64 ? 1 : VESK_SPAN_STRIDE)) {
        TFuzzySet fresh = Lowest(W + 1);
        for (std::int32_t code = 0; code < ShapeCodeCount; ++code) {
            if (IsBell(code) && W == 1) continue; // faults; see below
            ExpectDrawnAsEvaluated(code, W, fresh);
            if (HasFatalFailure()) return;
        }
        ASSERT_LE(ShapeTables().Size(), TShapeTables::MaxEntries);
    }
}

TEST(RecordedShapes, SpansBeyondTheRecordedOnesAreEvaluated) {
    for (std::int32_t W : {TShapeTables::MaxSpan, TShapeTables::MaxSpan + 1, 9000}) {
        TFuzzySet fresh = Lowest(W + 1);
        for (std::int32_t code : {0, 7, 8, 12, 17}) {
            ExpectDrawnAsEvaluated(code, W, fresh);
            EXPECT_EQ(ShapeTables().Find(code, W) != nullptr, W <= TShapeTables::MaxSpan);
        }
    }
}

TEST(RecordedShapes, TwoElementBellFaultsEveryTimeAndIsNeverRecorded) {
    ShapeTables().Clear();
    for (std::int32_t code : {BellShape, BellShape + 1})
        for (int attempt = 0; attempt < 2; ++attempt) {
            TFuzzySet s = Lowest(2);
            EXPECT_THROW(s.ApplyShape(code, 0, 0, 1, Maximum), EFloatingPointFault);
            EXPECT_EQ(s.Degrees(), Lowest(2).Degrees());
            EXPECT_EQ(ShapeTables().Find(code, 1), nullptr);
        }
}

TEST(RecordedShapes, OutOfRangeCodesShareTheRisingRampsRecording) {
    ShapeTables().Clear();
    TFuzzySet s = Lowest(11);
    s.ApplyShape(18, 0, 0, 10, Maximum);
    EXPECT_NE(ShapeTables().Find(0, 10), nullptr);
    TFuzzySet t = Lowest(11);
    t.ApplyShape(-1, 0, 0, 10, Maximum);
    TFuzzySet ramp = Lowest(11);
    ramp.ApplyShape(0, 0, 0, 10, Maximum);
    EXPECT_EQ(s.Degrees(), ramp.Degrees());
    EXPECT_EQ(t.Degrees(), ramp.Degrees());
}

TEST(RecordedShapes, StoreForgetsEverythingRatherThanGrowPastItsBound) {
    TShapeTables tables;
    auto keepRun = [&tables](std::int32_t run) {
        const std::int32_t W = TShapeTables::MaxSpan - run / ShapeCodeCount;
        std::int32_t* record = tables.Scratch(W);
        for (std::int32_t d = 0; d <= W; ++d)
            record[d] = run * 7 + d % 300;
        tables.Keep(run % ShapeCodeCount, W);
    };
    std::int32_t run = 0;
    for (std::size_t before = 0;; ++run) {
        ASSERT_LT(run, 1000);
        keepRun(run);
        ASSERT_LE(tables.Size(), TShapeTables::MaxEntries);
        if (tables.Size() < before) break; // purged
        before = tables.Size();
    }
    // The run that caused the purge reads back as kept; the first one is gone.
    const std::int16_t* kept =
        tables.Find(run % ShapeCodeCount, TShapeTables::MaxSpan - run / ShapeCodeCount);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept[5], run * 7 + 5);
    EXPECT_EQ(tables.Find(0, TShapeTables::MaxSpan), nullptr);

    // A run with a degree beyond 16 bits is not kept.
    std::int32_t* record = tables.Scratch(3);
    for (std::int32_t d = 0; d <= 3; ++d)
        record[d] = d == 2 ? 40000 : d;
    tables.Keep(3, 3);
    EXPECT_EQ(tables.Find(3, 3), nullptr);
}

} // namespace
} // namespace vesk
