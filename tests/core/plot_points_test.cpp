// The plot's points, with rows looked up and columns carried from element to element, against
// the geometry worked out afresh for every point.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <utility>
#include <vector>

#include "test_support.h"

namespace vesk {
namespace {

using test::TPoint;
using test::TRecordingImage;

// Point i of a set of count elements on a client area of w x h, computed on its own.
TPoint PointOf(std::int32_t i, std::int32_t degree, std::int32_t count, int w, int h) {
    const std::int32_t columnWidth = count > 0 ? (w + 1) / count : 0;
    const int x = columnWidth >= 1 || count <= 0
                      ? i * columnWidth + columnWidth / 2
                      : static_cast<int>(static_cast<std::int64_t>(i) * (w + 1) / count);
    const TReal y = static_cast<TReal>(WrapSub(100, degree)) / 100.0L * (h + 1);
    const std::int32_t bottom = h > 0 ? h - 1 : 0;
    const int row = y >= bottom ? bottom : y <= 0 ? 0 : NearestInt(y);
    return {x, row};
}

TEST(PlotPoints, EveryPointAsTheGeometryGivesIt) {
    std::mt19937 random(12);
    const int sizes[][2] = {{611, 236}, {1, 1}, {0, 0}, {2047, 1000}, {99, 7}, {5000, 3}};
    const std::vector<std::int32_t> counts = {2, 100, 101, 102, 612, 613, 2048, 9000};
    for (const auto& size : sizes)
        for (std::int32_t count : counts) {
            TFuzzySet set;
            set.Fill(count, 0);
            for (std::int32_t i = 0; i < count; ++i) {
                const int pick = std::uniform_int_distribution<int>(0, 9)(random);
                const std::int32_t degree =
                    pick == 0
                        ? std::uniform_int_distribution<std::int32_t>(INT32_MIN, INT32_MAX)(random)
                    : pick == 1 ? std::uniform_int_distribution<std::int32_t>(-3, 103)(random)
                                : std::uniform_int_distribution<std::int32_t>(0, 100)(random);
                set.SetDegree(i, degree);
            }
            TRecordingImage image(size[0], size[1]);
            set.Plot(image, Red, false);
            ASSERT_EQ(image.Points.size(), static_cast<std::size_t>(count));
            for (std::int32_t i = 0; i < count; ++i)
                ASSERT_EQ(image.Points[static_cast<std::size_t>(i)],
                          PointOf(i, set.GetDegree(i), count, size[0], size[1]))
                    << size[0] << "x" << size[1] << " " << count << " " << i;
        }
}

} // namespace
} // namespace vesk
