#pragma once
// The chart beside the designed plot: the reference and the pattern drawn by Qt Charts at the
// widget's real size, with axes, a legend, a crosshair and rubber-band zoom.

#include <QChartView>

#include <optional>
#include <utility>
#include <vector>

#include "fuzzyset/fuzzy_set.h"

class QGraphicsLineItem;
class QLineSeries;
class QValueAxis;

// Shows two sets as curves: the element axis 0..N-1, the degree axis with 0, 50 and 100 marked,
// the reference in blue and the pattern in red, named in the legend, and a target of one's own,
// when there is one, in green. A crosshair follows the pointer and reports the element under
// it; dragging zooms into a rectangle, a double click (or Reset) shows everything again. In the
// drawing mode, pressing and dragging paints the target's degrees instead (0..100, the elements
// between two points of the drag on the straight line between them; with Shift, a straight line
// from the last point painted). Its colours follow the palette.
class TCurveChart : public QChartView {
    Q_OBJECT

public:
    explicit TCurveChart(QWidget* parent = nullptr);

    // Shows the sets (what the last command, or the search so far, left).
    void ShowSets(const vesk::TFuzzySet& reference, const vesk::TFuzzySet& pattern);
    // Shows a target of one's own (none: an empty set).
    void ShowTarget(const vesk::TFuzzySet& target);
    // Overlays up to two more patterns' sets (from the history), in orange and purple; none
    // removes them.
    void ShowOverlays(const std::vector<vesk::TFuzzySet>& sets, const QStringList& names);
    // Turns the drawing mode on or off; drawing starts from the target shown, or from degrees
    // of 0 on elementCount elements.
    void SetDrawing(bool drawing, int elementCount = 0);
    bool Drawing() const { return FDrawing; }
    // Shows everything again after a zoom.
    void ResetZoom();
    // The element under a point of the widget, or -1 outside the plot area.
    int ElementAt(QPointF position) const;
    // The chart as drawn now, as a bitmap at the screen's resolution or as an SVG document of
    // vectors (empty when it cannot be drawn).
    QImage Picture();
    QByteArray SvgDocument();

signals:
    void PointerOverElement(int element);
    void PointerLeft();
    // The target as drawn, when a stroke ends.
    void TargetDrawn(const std::vector<std::int32_t>& degrees);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FollowPalette();
    // The element and degree under a point of the widget (the degree clamped to 0..100).
    std::optional<std::pair<int, int>> PointAt(QPointF position) const;
    // Paints the target from the last point to this one.
    void Paint(std::pair<int, int> point, bool straight);

    QLineSeries* FReference;
    QLineSeries* FPattern;
    QLineSeries* FTarget;
    QLineSeries* FOverlays[2];
    std::vector<std::int32_t> FDrawn;
    std::optional<std::pair<int, int>> FLastPainted;
    bool FDrawing = false;
    bool FStroke = false;
    QValueAxis* FElements;
    QValueAxis* FDegrees;
    QGraphicsLineItem* FCrosshair;
    int FCount = 0;
};
