#pragma once
// The drawing surface a set is plotted on: an image control with a bitmap and its canvas.

#include <cstdint>

namespace vesk {

// A 24-bit RGB colour.
struct TColour {
    std::uint8_t Red = 0, Green = 0, Blue = 0;
    friend bool operator==(const TColour&, const TColour&) = default;
};

constexpr TColour White{255, 255, 255};
constexpr TColour Blue{0, 0, 255};
constexpr TColour Red{255, 0, 0};

// An image control: a client area and the bitmap it shows, with pen and brush drawing.
class TPlotImage {
public:
    virtual ~TPlotImage() = default;

    // Makes the canvas ready before a plot: creates the bitmap at the client size when there is
    // none, and, for a plot that clears first, remakes it when the client size has changed.
    virtual void PrepareCanvas(bool ClearFirst) = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;

    virtual void SetPenColour(TColour colour) = 0;
    virtual void SetBrushColour(TColour colour) = 0;
    // Fills columns Left..Right-1 and rows Top..Bottom-1 with the brush, without outline.
    virtual void FillRect(int Left, int Top, int Right, int Bottom) = 0;
    virtual void MoveTo(int x, int y) = 0;
    // A solid 1-pixel line in the pen colour from the pen position to (x, y); the pen stays there.
    virtual void LineTo(int x, int y) = 0;
};

} // namespace vesk
