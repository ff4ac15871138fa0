#pragma once
// The workbench's image control over a QImage: a client size set by the window and a bitmap
// created at the first plot.

#include <optional>
#include <QImage>
#include <QPoint>
#include <string>

#include "fuzzyset/plot_image.h"

namespace vesk {

// TPlotImage drawn with QPainter on a 24-bit QImage. No bitmap until the first plot.
class TBitmapImage : public TPlotImage {
public:
    static constexpr int DefaultWidth = 611;
    static constexpr int DefaultHeight = 236;

    void SetClientSize(int width, int height);
    bool HasBitmap() const { return !FBitmap.isNull(); }
    const QImage& Bitmap() const { return FBitmap; }
    // Writes the bitmap, at its own size, as a BMP file under exactly this name, whole or not at
    // all: nothing when written, else "Cannot create file NAME: REASON." (also when there is no
    // bitmap).
    std::optional<std::string> SaveBmp(const std::string& path) const;

    void PrepareCanvas(bool ClearFirst) override;
    int ClientWidth() const override { return FWidth; }
    int ClientHeight() const override { return FHeight; }
    void SetPenColour(TColour colour) override;
    void SetBrushColour(TColour colour) override;
    void FillRect(int Left, int Top, int Right, int Bottom) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;

private:
    QImage FBitmap;
    int FWidth = DefaultWidth;
    int FHeight = DefaultHeight;
    TColour FPen{0, 0, 0};
    TColour FBrush = White;
    QPoint FPenPos;
};

} // namespace vesk
