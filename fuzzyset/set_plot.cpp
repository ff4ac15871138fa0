#include <array>
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

// X(i) for i = 0, 1, 2, ... in turn. When elements outnumber the columns, x is i * (W + 1) div
// Count, carried from one element to the next instead of divided anew.
class TColumns {
public:
    explicit TColumns(const TPlotGeometry& g)
        : FGeometry(g), FStep(g.W + 1), FCarried(g.ColumnWidth == 0 && g.Count > 0 && g.W >= -1) {}

    int Next() {
        if (!FCarried) return FGeometry.X(FIndex++);
        const int x = FQuotient;
        // i * (W + 1) = FQuotient * Count + FRemainder, and 0 <= W + 1 < Count.
        FRemainder += FStep;
        if (FRemainder >= FGeometry.Count) {
            FRemainder -= FGeometry.Count;
            ++FQuotient;
        }
        return x;
    }

private:
    const TPlotGeometry& FGeometry;
    const std::int32_t FStep;
    const bool FCarried;
    std::int32_t FIndex = 0, FQuotient = 0;
    std::int64_t FRemainder = 0;
};

// Y of a degree, looked up for the degrees 0..100 (a set with more elements than that has its
// rows computed once), computed for any other degree.
class TRows {
public:
    TRows(const TPlotGeometry& g, std::int32_t count) : FGeometry(g), FTabled(count > Size) {
        if (!FTabled) return;
        for (std::int32_t d = 0; d < Size; ++d)
            FRows[static_cast<std::size_t>(d)] = g.Y(d);
    }

    int operator()(std::int32_t degree) const {
        if (FTabled && static_cast<std::uint32_t>(degree) < static_cast<std::uint32_t>(Size))
            return FRows[static_cast<std::size_t>(degree)];
        return FGeometry.Y(degree);
    }

private:
    static constexpr std::int32_t Size = 101;
    const TPlotGeometry& FGeometry;
    const bool FTabled;
    std::array<int, Size> FRows{};
};

} // namespace

std::int32_t PlottedElementAt(int x, int width, std::int32_t count) {
    if (count <= 0 || x < 0 || width <= 0) return -1;
    const TPlotGeometry g(width, 1, count);
    std::int32_t element = 0;
    if (g.ColumnWidth >= 1) {
        element = x / g.ColumnWidth;
    } else {
        // The first element whose column X(i) = i * (W + 1) div Count reaches x.
        element = static_cast<std::int32_t>((static_cast<std::int64_t>(x) * count + width) /
                                            (static_cast<std::int64_t>(width) + 1));
        while (element > 0 && g.X(element - 1) >= x)
            --element;
    }
    return element < count ? element : -1;
}

void TFuzzySet::Plot(TPlotImage& Image, TColour Colour, bool ClearFirst) const {
    Image.PrepareCanvas(ClearFirst);
    Image.SetBrushColour(White);
    const TPlotGeometry g(Image.ClientWidth(), Image.ClientHeight(), Count());
    if (ClearFirst) Image.FillRect(0, 0, g.W, g.H);
    Image.SetPenColour(Colour);
    TColumns columns(g);
    const TRows rows(g, g.Count);
    const int x0 = columns.Next();
    Image.MoveTo(x0, rows(GetDegree(0)));
    for (std::int32_t i = 1; i < g.Count; ++i) {
        const int x = columns.Next();
        Image.LineTo(x, rows(FDegrees[static_cast<std::size_t>(i)]));
    }
}

} // namespace vesk
