#pragma once
// The chart beside the designed plot: the reference and the pattern drawn by Qt Charts at the
// widget's real size, with axes, a legend, a crosshair and rubber-band zoom.

#include <QChartView>

#include "fuzzyset/fuzzy_set.h"

class QGraphicsLineItem;
class QLineSeries;
class QValueAxis;

// Shows two sets as curves: the element axis 0..N-1, the degree axis with 0, 50 and 100 marked,
// the reference in blue and the pattern in red, named in the legend. A crosshair follows the
// pointer and reports the element under it; dragging zooms into a rectangle, a double click (or
// Reset) shows everything again. Its colours follow the palette.
class TCurveChart : public QChartView {
    Q_OBJECT

public:
    explicit TCurveChart(QWidget* parent = nullptr);

    // Shows the sets (what the last command, or the search so far, left).
    void ShowSets(const vesk::TFuzzySet& reference, const vesk::TFuzzySet& pattern);
    // Shows everything again after a zoom.
    void ResetZoom();
    // The element under a point of the widget, or -1 outside the plot area.
    int ElementAt(QPointF position) const;
    // The chart as drawn now, as a bitmap at the screen's resolution or as SVG vectors.
    QImage Picture();
    bool SaveSvg(const QString& path);

signals:
    void PointerOverElement(int element);
    void PointerLeft();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FollowPalette();

    QLineSeries* FReference;
    QLineSeries* FPattern;
    QValueAxis* FElements;
    QValueAxis* FDegrees;
    QGraphicsLineItem* FCrosshair;
    int FCount = 0;
};
