#include <gtest/gtest.h>

#include "fuzzyset/fuzzy_set.h"
#include "workbench/bitmap_image.h"

namespace vesk {
namespace {

const QRgb WhitePixel = qRgb(255, 255, 255);
const QRgb BluePixel = qRgb(0, 0, 255);
const QRgb RedPixel = qRgb(255, 0, 0);

QRgb PixelAt(const TBitmapImage& image, int x, int y) {
    return image.Bitmap().pixel(x, y);
}

TFuzzySet SetOf(std::int32_t count, std::int32_t degree) {
    TFuzzySet set;
    set.Fill(count, degree);
    return set;
}

TEST(BitmapImage, NoBitmapUntilTheFirstPlotThenTheClientSize) {
    TBitmapImage image;
    EXPECT_FALSE(image.HasBitmap());
    EXPECT_EQ(image.ClientWidth(), 611);
    EXPECT_EQ(image.ClientHeight(), 236);
    SetOf(3, 50).Plot(image, Red, false); // even a plot that does not clear makes the bitmap
    ASSERT_TRUE(image.HasBitmap());
    EXPECT_EQ(image.Bitmap().size(), QSize(611, 236));
    EXPECT_EQ(PixelAt(image, 610, 0), WhitePixel);
}

TEST(BitmapImage, LinesLeaveOutTheirEndPoint) {
    TBitmapImage image;
    image.SetClientSize(10, 10);
    image.PrepareCanvas(true);
    image.SetPenColour(Red);
    image.MoveTo(1, 1);
    image.LineTo(5, 1);
    EXPECT_EQ(PixelAt(image, 1, 1), RedPixel);
    EXPECT_EQ(PixelAt(image, 4, 1), RedPixel);
    EXPECT_EQ(PixelAt(image, 5, 1), WhitePixel);
    image.LineTo(5, 5); // on from the pen's new position; (5, 1) is now painted
    EXPECT_EQ(PixelAt(image, 5, 1), RedPixel);
    EXPECT_EQ(PixelAt(image, 5, 4), RedPixel);
    EXPECT_EQ(PixelAt(image, 5, 5), WhitePixel);
    image.LineTo(2, 8); // a diagonal: one pixel a row
    EXPECT_EQ(PixelAt(image, 4, 6), RedPixel);
    EXPECT_EQ(PixelAt(image, 3, 7), RedPixel);
    EXPECT_EQ(PixelAt(image, 2, 8), WhitePixel);
    image.MoveTo(8, 8);
    image.LineTo(8, 8); // a line to the pen's own position paints nothing
    EXPECT_EQ(PixelAt(image, 8, 8), WhitePixel);
    image.MoveTo(-50, 3); // a line from far off the bitmap is cut at its edge
    image.LineTo(3, 3);
    EXPECT_EQ(PixelAt(image, 0, 3), RedPixel);
    EXPECT_EQ(PixelAt(image, 2, 3), RedPixel);
}

TEST(BitmapImage, FillRectLeavesOutRightAndBottomEdges) {
    TBitmapImage image;
    image.SetClientSize(6, 6);
    image.PrepareCanvas(true);
    image.SetBrushColour(Blue);
    image.FillRect(1, 2, 3, 4);
    EXPECT_EQ(PixelAt(image, 1, 2), BluePixel);
    EXPECT_EQ(PixelAt(image, 2, 3), BluePixel);
    EXPECT_EQ(PixelAt(image, 3, 3), WhitePixel);
    EXPECT_EQ(PixelAt(image, 2, 4), WhitePixel);
    EXPECT_EQ(PixelAt(image, 0, 2), WhitePixel);
    image.FillRect(4, 4, 4, 6); // empty
    EXPECT_EQ(PixelAt(image, 4, 4), WhitePixel);
}

// The reference of 100 elements on the default 611 x 236 image: ColumnWidth 6, PlotHeight 237.
TEST(SetPlot, DrawsTheReferenceAtItsKnownPoints) {
    TBitmapImage image;
    TFuzzySet reference;
    reference.MakeReference(100);
    reference.Plot(image, Blue, true);
    // Point 0: x = 3, degree 33 gives y = 158.79 -> 159; point 1 lies at x = 9 on the same row.
    for (int x = 3; x <= 9; ++x)
        EXPECT_EQ(PixelAt(image, x, 159), BluePixel) << x;
    EXPECT_EQ(PixelAt(image, 2, 159), WhitePixel);
    // Point 33 (degree 100) at (201, 0).
    EXPECT_EQ(PixelAt(image, 201, 0), BluePixel);
    // The last point, 99 (degree 66), at (597, 81): the last segment stops just before it.
    EXPECT_EQ(PixelAt(image, 596, 81), BluePixel);
    EXPECT_EQ(PixelAt(image, 597, 81), WhitePixel);
    for (int x = 598; x < 611; ++x)
        EXPECT_EQ(PixelAt(image, x, 81), WhitePixel);

    // The pattern in red over the blue curve; a flat 50 lies on row 118 (118.5 rounded to even).
    SetOf(100, 50).Plot(image, Red, false);
    EXPECT_EQ(PixelAt(image, 100, 118), RedPixel);
    EXPECT_EQ(PixelAt(image, 201, 0), BluePixel);
    // Clearing again wipes both curves.
    SetOf(0, 0).Plot(image, Blue, true);
    EXPECT_EQ(PixelAt(image, 100, 118), WhitePixel);
    EXPECT_EQ(PixelAt(image, 201, 0), WhitePixel);
}

TEST(SetPlot, OneElementDrawsNoLine) {
    TBitmapImage image;
    SetOf(1, 100).Plot(image, Blue, true);
    const QImage& bitmap = image.Bitmap();
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            ASSERT_EQ(bitmap.pixel(x, y), WhitePixel);
}

TEST(SetPlot, MoreElementsThanColumnsSpreadOverTheWidth) {
    TBitmapImage image;
    image.SetClientSize(10, 5);
    // 30 elements on 11 columns: point i at x = i * 11 div 30, the last at x = 10.
    SetOf(30, 100).Plot(image, Blue, true);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(PixelAt(image, x, 0), BluePixel) << x;
    for (int y = 1; y < 5; ++y)
        EXPECT_EQ(PixelAt(image, 0, y), WhitePixel) << y;
}

TEST(SetPlot, PointsOffTheRowsAreDrawnOnTheEdge) {
    TBitmapImage image;
    image.SetClientSize(10, 5);
    // Degree 0 would lie on row 6 of a 5-row bitmap; it is drawn on row 4.
    SetOf(11, 0).Plot(image, Red, true);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(PixelAt(image, x, 4), RedPixel) << x;
    // A degree above 100 is drawn on row 0.
    TFuzzySet high = SetOf(11, 100);
    for (int i = 0; i < 11; ++i)
        high.SetDegree(i, 267);
    high.Plot(image, Blue, true);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(PixelAt(image, x, 0), BluePixel) << x;
}

TEST(SetPlot, AClearingPlotAfterAResizeRemakesTheBitmap) {
    TBitmapImage image;
    SetOf(100, 50).Plot(image, Blue, true);
    image.SetClientSize(300, 120);
    SetOf(100, 50).Plot(image, Red, false); // not clearing: the bitmap keeps its size
    EXPECT_EQ(image.Bitmap().size(), QSize(611, 236));
    SetOf(100, 50).Plot(image, Blue, true);
    EXPECT_EQ(image.Bitmap().size(), QSize(300, 120));
    // ColumnWidth 3: point 99 at x = 298, so the curve reaches the right part of the new bitmap.
    EXPECT_EQ(PixelAt(image, 297, 60), BluePixel); // 50 -> 60.5 -> 60
    EXPECT_EQ(PixelAt(image, 299, 60), WhitePixel);
}

} // namespace
} // namespace vesk
