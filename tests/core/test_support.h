#pragma once
// Helpers shared by the core tests.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "fuzzyset/fuzzy_set.h"

namespace vesk::test {

inline TFuzzySet SetOf(std::initializer_list<std::int32_t> degrees) {
    TFuzzySet s;
    for (std::int32_t v : degrees) {
        s.AddDegree(0);
        s.SetDegree(s.Count() - 1, v);
    }
    return s;
}

inline TFuzzySet Filled(std::int32_t n, std::int32_t v) {
    TFuzzySet s;
    s.Fill(n, v);
    return s;
}

inline std::uint64_t Bits(double d) {
    return std::bit_cast<std::uint64_t>(d);
}

using TPoint = std::pair<int, int>;

// Records what a plot asks of its image.
class TRecordingImage : public TPlotImage {
public:
    TRecordingImage(int w, int h) : W(w), H(h) {}
    int W, H;
    std::vector<bool> Prepared;
    std::vector<std::vector<int>> Fills;
    std::vector<TPoint> Points; // the MoveTo point, then every LineTo point
    TColour Pen, Brush;

    void PrepareCanvas(bool ClearFirst) override { Prepared.push_back(ClearFirst); }
    int ClientWidth() const override { return W; }
    int ClientHeight() const override { return H; }
    void SetPenColour(TColour c) override { Pen = c; }
    void SetBrushColour(TColour c) override { Brush = c; }
    void FillRect(int l, int t, int r, int b) override {
        EXPECT_EQ(Brush, White);
        Fills.push_back({l, t, r, b});
    }
    void MoveTo(int x, int y) override { Points = {{x, y}}; }
    void LineTo(int x, int y) override { Points.emplace_back(x, y); }
};

} // namespace vesk::test
