#include <cstdint>

#include "fuzzyset/fuzzy_set.h"

namespace vesk {

namespace {

// Where the curve's points lie on a client area of W x H pixels.
struct TPlotGeometry {
    std::int32_t W, H, Count, ColumnWidth, PlotHeight;

    TPlotGeometry(std::int32_t w, std::int32_t h, std::int32_t count)
        : W(w), H(h), Count(count), ColumnWidth(count > 0 ? (w + 1) / count : 0),
          PlotHeight(h + 1) {}

    int X(std::int32_t i) const {
        if (ColumnWidth >= 1 || Count <= 0) return i * ColumnWidth + ColumnWidth / 2;
        // More elements than columns: spread them over the width instead of stacking them all
        // on column 0.
        return static_cast<int>(static_cast<std::int64_t>(i) * (W + 1) / Count);
    }

    // Degree 100 at the top row; the rounded row is kept on the bitmap so that degree 0 (and
    // any degree outside 0..100) shows on the edge.
    int Y(std::int32_t degree) const {
        const TReal y = static_cast<TReal>(WrapSub(100, degree)) / 100.0L * PlotHeight;
        const std::int32_t bottom = H > 0 ? H - 1 : 0;
        if (y >= bottom) return bottom;
        if (y <= 0) return 0;
        return NearestInt(y);
    }
};

} // namespace

void TFuzzySet::Plot(TPlotImage& Image, TColour Colour, bool ClearFirst) const {
    Image.PrepareCanvas(ClearFirst);
    Image.SetBrushColour(White);
    const TPlotGeometry g(Image.ClientWidth(), Image.ClientHeight(), Count());
    if (ClearFirst) Image.FillRect(0, 0, g.W, g.H);
    Image.SetPenColour(Colour);
    Image.MoveTo(g.X(0), g.Y(GetDegree(0)));
    for (std::int32_t i = 1; i < g.Count; ++i)
        Image.LineTo(g.X(i), g.Y(FDegrees[i]));
}

} // namespace vesk
