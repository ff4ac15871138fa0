#include "workbench/bitmap_image.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include <QColor>
#include <QPainter>

#include "workbench/saved_file.h"

namespace vesk {

namespace {

QColor ToQColor(TColour c) {
    return QColor(c.Red, c.Green, c.Blue);
}

} // namespace

void TBitmapImage::SetClientSize(int width, int height) {
    FWidth = std::max(width, 0);
    FHeight = std::max(height, 0);
}

void TBitmapImage::PrepareCanvas(bool ClearFirst) {
    // The bitmap takes the client size when it is made and keeps it; a plot that clears first
    // remakes it when the client has been resized since, so the new curves are never cut off.
    // A degenerate client area still gets a one-pixel bitmap, so the image always has a picture.
    const QSize clientSize(std::max(FWidth, 1), std::max(FHeight, 1));
    if (FBitmap.isNull() || (ClearFirst && FBitmap.size() != clientSize)) {
        FBitmap = QImage(clientSize, QImage::Format_RGB888);
        FBitmap.fill(ToQColor(White));
    }
}

void TBitmapImage::SetPenColour(TColour colour) {
    FPen = colour;
}

void TBitmapImage::SetBrushColour(TColour colour) {
    FBrush = colour;
}

void TBitmapImage::FillRect(int Left, int Top, int Right, int Bottom) {
    if (FBitmap.isNull() || Right <= Left || Bottom <= Top) return;
    const QRect area = QRect(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1)) & FBitmap.rect();
    if (area.isEmpty()) return;
    QPainter painter(&FBitmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.fillRect(area, ToQColor(FBrush));
}

void TBitmapImage::MoveTo(int x, int y) {
    FPenPos = QPoint(x, y);
}

// The canvas draws a line the classic way: every pixel from the pen's position up to, but not
// including, the end point, so joined segments never paint their shared point twice and a line
// to the pen's own position paints nothing. QPainter always paints the end pixel, so the segment
// is rasterised here directly with Bresenham's algorithm on the bitmap's pixels; pixels off the
// bitmap are skipped. The pixels are reached through one pointer a segment: the bitmap is made
// unshared once (bits()), not for every pixel (scanLine()).
void TBitmapImage::LineTo(int x, int y) {
    const QPoint from = FPenPos;
    FPenPos = QPoint(x, y);
    if (FBitmap.isNull()) return;
    const int w = FBitmap.width(), h = FBitmap.height();
    if ((from.x() < 0 && x < 0) || (from.y() < 0 && y < 0) || (from.x() >= w && x >= w) ||
        (from.y() >= h && y >= h))
        return; // wholly beside the bitmap
    uchar* const bits = FBitmap.bits();
    const auto stride = static_cast<std::int64_t>(FBitmap.bytesPerLine());
    const uchar red = FPen.Red, green = FPen.Green, blue = FPen.Blue;
    // Coordinates are bounded by the client size in every plot; 64-bit steps keep any others safe.
    std::int64_t cx = from.x(), cy = from.y();
    const std::int64_t dx = std::llabs(x - cx), dy = -std::llabs(y - cy);
    const int sx = cx < x ? 1 : -1, sy = cy < y ? 1 : -1;
    std::int64_t error = dx + dy;
    while (cx != x || cy != y) {
        if (static_cast<std::uint64_t>(cx) < static_cast<std::uint64_t>(w) &&
            static_cast<std::uint64_t>(cy) < static_cast<std::uint64_t>(h)) {
            uchar* pixel = bits + cy * stride + 3 * cx;
            pixel[0] = red;
            pixel[1] = green;
            pixel[2] = blue;
        }
        const std::int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            cx += sx;
        }
        if (twice <= dx) {
            error += dx;
            cy += sy;
        }
    }
}

std::optional<std::string> TBitmapImage::SaveBmp(const std::string& path) const {
    return SaveImageFile(path, FBitmap, "BMP");
}

} // namespace vesk
