#include "workbench/window/chart_navigation.h"

#include <cmath>

double RoundTickStep(double span) {
    span = std::abs(span);
    for (double power = 1;; power *= 10)
        for (const double mantissa : {1.0, 2.0, 2.5, 5.0}) {
            const double step = mantissa * power;
            if (step == 2.5) continue; // labels are whole numbers
            if (span / step <= 6 || !std::isfinite(span)) return step;
        }
}

QRectF ZoomedAbout(const QRectF& range, QPointF fixed, double factor) {
    const double left = fixed.x() - (fixed.x() - range.left()) * factor;
    const double top = fixed.y() - (fixed.y() - range.top()) * factor;
    return {left, top, range.width() * factor, range.height() * factor};
}

void TViewHistory::Push(const QRectF& range) {
    if (FRanges.size() == Depth) FRanges.erase(FRanges.begin());
    FRanges.push_back(range);
}

QRectF TViewHistory::Pop() {
    if (FRanges.empty()) return {};
    const QRectF last = FRanges.back();
    FRanges.pop_back();
    return last;
}
