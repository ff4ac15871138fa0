#pragma once
// The chart beside the designed plot: the reference and the pattern drawn by Qt Charts at the
// widget's real size, with axes, a legend, a crosshair and rubber-band zoom.

#include <QChartView>

#include <optional>
#include <utility>
#include <vector>

#include "fuzzyset/fuzzy_set.h"
#include "workbench/window/chart_navigation.h"

class QAction;
class QGraphicsLineItem;
class QLineSeries;
class QValueAxis;

// Shows two sets as curves: the element axis 0..N-1, the degree axis 0..100 with a little room
// above and below so no curve runs along the frame, both marked at round steps, the reference in
// blue and the pattern in red, named in the legend, and a target of one's own, when there is
// one, in green. A crosshair follows the pointer and reports the element under it, again
// whenever the view moves under a pointer standing still.
//
// Moving the view: dragging zooms into a rectangle, the wheel zooms about the pointer, the
// middle button drags the view and the arrow keys move it; Backspace or the mouse's back button
// goes back to the view before, a double click shows everything again. In the drawing mode,
// pressing and dragging paints the target's degrees instead of zooming (0..100, the elements
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
    // Shows everything again; a step back returns to the view before.
    void ShowAll();
    // Returns to the view before the last zoom or move, if there was one.
    void StepBack();
    // The range shown: x the elements, y the degrees (top the smallest).
    QRectF View() const;
    // "Previous View" (Backspace) and "Show All", for the plot's menu.
    QAction* StepBackAction() const { return FStepBack; }
    QAction* ShowAllAction() const { return FShowAll; }
    // The element under a point of the widget, or -1 outside the plot area.
    int ElementAt(QPointF position) const;
    // The chart as drawn now, without the crosshair, as a bitmap at the screen's resolution or
    // as an SVG document of vectors (empty when it cannot be drawn).
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
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // How the view was moved: a run of wheel turns, of arrow keys or of one drag's moves is one
    // step back.
    enum class TMove { Jump, Wheel, Keys, Drag };

    void FollowPalette();
    // The range that shows everything.
    QRectF Everything() const;
    // Everything, the views before forgotten (for sets of another size).
    void Fit();
    // Remembers the view shown now before a move (not when the move continues the last one).
    void Remember(TMove move);
    void ShowView(const QRectF& range);
    // Marks an axis at round steps of the range it shows.
    static void MarkTicks(QValueAxis* axis);
    // The crosshair and the read-out for the pointer at a point of the widget.
    void FollowPointer(QPointF position);
    // The elements and degrees at a point of the widget, none outside the plot area.
    std::optional<QPointF> ValueAt(QPointF position) const;
    // The element and degree under a point of the widget (the degree clamped to 0..100).
    std::optional<std::pair<int, int>> PointAt(QPointF position) const;
    // Paints the target from the last point to this one.
    void Paint(std::pair<int, int> point, bool straight);
    // What make returns, made with the crosshair hidden: pictures show the sets, not the pointer.
    template <typename TMake> auto WithoutCrosshair(TMake make);
    QByteArray DrawnSvg();

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
    QAction* FStepBack;
    QAction* FShowAll;
    TViewHistory FHistory;
    std::optional<TMove> FLastMove;
    std::optional<QPointF> FPointer;  // where the pointer was last seen over the view
    std::optional<QPointF> FDragFrom; // where a middle-button drag started
    QRectF FDragView;                 // and the view it started from
};
