#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "test_support.h"

namespace vesk {
namespace {

using test::Filled;
using test::SetOf;
using test::TPoint;
using test::TRecordingImage;

TEST(Plot, DefaultImageGeometry) {
    TFuzzySet s = Filled(100, 50);
    for (std::int32_t i : {0, 1, 2, 3, 4, 5})
        s.SetDegree(i, std::vector{100, 75, 50, 25, 1, 0}[i]);
    TRecordingImage image(611, 236);
    s.Plot(image, Blue, true);
    EXPECT_EQ(image.Prepared, std::vector<bool>{true});
    EXPECT_EQ(image.Fills, (std::vector<std::vector<int>>{{0, 0, 611, 236}}));
    EXPECT_EQ(image.Pen, Blue);
    ASSERT_EQ(image.Points.size(), 100u);
    // Columns of 612 div 100 = 6, points in their middles; PlotHeight 237.
    const std::vector<TPoint> first = {{3, 0}, {9, 59}, {15, 118}, {21, 178}, {27, 235}, {33, 235}};
    EXPECT_EQ(std::vector<TPoint>(image.Points.begin(), image.Points.begin() + 6), first);
    EXPECT_EQ(image.Points.back(), TPoint(597, 118));
}

TEST(Plot, DegreesOffTheBitmapAreDrawnOnItsEdge) {
    TRecordingImage image(611, 236);
    SetOf({0, 267, -167, 100}).Plot(image, Red, false);
    EXPECT_TRUE(image.Fills.empty());
    EXPECT_EQ(image.Prepared, std::vector<bool>{false});
    for (const auto& [x, y] : image.Points)
        EXPECT_TRUE(y >= 0 && y <= 235) << y;
    EXPECT_EQ(image.Points[0].second, 235);
    EXPECT_EQ(image.Points[1].second, 0);
    EXPECT_EQ(image.Points[2].second, 235);
}

TEST(Plot, MoreElementsThanColumnsSpreadOverTheWidth) {
    TRecordingImage image(611, 236);
    Filled(2048, 50).Plot(image, Red, false);
    ASSERT_EQ(image.Points.size(), 2048u);
    EXPECT_EQ(image.Points[0].first, 0);
    EXPECT_EQ(image.Points[1024].first, 306);
    EXPECT_EQ(image.Points.back().first, 2047 * 612 / 2048);
    for (std::size_t i = 1; i < image.Points.size(); ++i)
        ASSERT_GE(image.Points[i].first, image.Points[i - 1].first);

    // Where a column still holds one element the geometry is unchanged.
    TRecordingImage exact(611, 236);
    Filled(612, 50).Plot(exact, Red, false);
    EXPECT_EQ(exact.Points.back().first, 611);
}

TEST(Plot, EmptyAndSingleElementSetsDrawNoLine) {
    TRecordingImage image(611, 236);
    TFuzzySet().Plot(image, Blue, true);
    EXPECT_EQ(image.Points, std::vector<TPoint>{TPoint(0, 235)});
    EXPECT_EQ(image.Fills.size(), 1u);
    SetOf({100}).Plot(image, Blue, false);
    EXPECT_EQ(image.Points, std::vector<TPoint>{TPoint(306, 0)});
}

} // namespace
} // namespace vesk
