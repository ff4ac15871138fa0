// Lines drawn straight onto the bitmap's bytes against the same lines drawn pixel by pixel
// through QImage, on and off the bitmap.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "workbench/bitmap_image.h"

namespace vesk {
namespace {

// Bresenham's line from (x0, y0) up to, not including, (x1, y1), by QImage::setPixel.
void PlainLine(QImage& image, int x0, int y0, int x1, int y1, QRgb colour) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    while (x0 != x1 || y0 != y1) {
        if (image.rect().contains(x0, y0)) image.setPixel(x0, y0, colour);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

TEST(BitmapLines, AsDrawnPixelByPixel) {
    std::mt19937 random(13);
    std::uniform_int_distribution<int> coordinate(-30, 70);
    for (const auto& [w, h] : {std::pair{40, 30}, {1, 1}, {7, 50}, {64, 3}}) {
        TBitmapImage image;
        image.SetClientSize(w, h);
        image.PrepareCanvas(true);
        QImage expected = image.Bitmap().copy();
        const QImage shared = image.Bitmap(); // a copy sharing the bitmap stays as it was
        int x = coordinate(random), y = coordinate(random);
        image.MoveTo(x, y);
        for (int k = 0; k < 400; ++k) {
            const TColour pen{static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(3 * k),
                              static_cast<std::uint8_t>(255 - k % 256)};
            image.SetPenColour(pen);
            const int nx = k % 7 == 0 ? x : coordinate(random);
            const int ny = k % 5 == 0 ? y : coordinate(random);
            image.LineTo(nx, ny);
            PlainLine(expected, x, y, nx, ny, qRgb(pen.Red, pen.Green, pen.Blue));
            x = nx;
            y = ny;
        }
        EXPECT_EQ(image.Bitmap(), expected) << w << "x" << h;
        QImage white(w, h, QImage::Format_RGB888);
        white.fill(Qt::white);
        EXPECT_EQ(shared, white);
    }
}

} // namespace
} // namespace vesk
