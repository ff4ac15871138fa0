#pragma once
// How the chart's view moves: ranges zoomed about a point or shifted, the ranges shown before,
// and the round steps its axes are marked at. Plain values, no widget.

#include <QRectF>

#include <cstddef>
#include <vector>

// A range is the chart's own values: x the elements, y the degrees (top the smaller).

// The step between an axis's ticks over this span: 1, 2, 2.5 or 5 times a power of ten, the
// smallest that marks the span with at most six steps. Both axes count whole elements and
// degrees, so the step is never below 1 nor 2.5.
double RoundTickStep(double span);

// The range scaled by factor (below 1 zooms in) about a point, which keeps its place in it.
QRectF ZoomedAbout(const QRectF& range, QPointF fixed, double factor);

// The ranges shown before, the last first; the oldest are forgotten past a few.
class TViewHistory {
public:
    static constexpr std::size_t Depth = 16;

    void Push(const QRectF& range);
    bool Empty() const { return FRanges.empty(); }
    // The last range pushed, taken off (an empty history gives an empty range).
    QRectF Pop();
    void Clear() { FRanges.clear(); }

private:
    std::vector<QRectF> FRanges;
};
