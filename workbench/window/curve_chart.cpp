#include "workbench/window/curve_chart.h"

#include <algorithm>
#include <cmath>

#include <QAction>
#include <QBuffer>
#include <QChart>
#include <QGraphicsLineItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgGenerator>
#include <QValueAxis>

#include "workbench/curve_colours.h"

namespace {

QColor ChartColour(vesk::TColour c) { return QColor(c.Red, c.Green, c.Blue); }

// Room for every tick label and both axis titles whole, with the legend below.
constexpr QSize LeastChartSize{320, 230};

QList<QPointF> PointsOf(const vesk::TFuzzySet& set) {
    QList<QPointF> points;
    points.reserve(set.Count());
    for (std::int32_t i = 0; i < set.Count(); ++i)
        points.append(QPointF(i, set.GetDegree(i)));
    return points;
}

} // namespace

// Made with its chart: a view made without one makes a chart of its own, which a later
// setChart would orphan.
TCurveChart::TCurveChart(QWidget* parent) : QChartView(new QChart, parent) {
    setObjectName("CurveChart");
    setMinimumSize(LeastChartSize);
    QChart* chart = this->chart();
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);
    FReference = new QLineSeries(chart);
    FReference->setName("reference");
    FReference->setColor(ChartColour(vesk::ReferenceColour));
    FPattern = new QLineSeries(chart);
    FPattern->setName("pattern");
    FPattern->setColor(ChartColour(vesk::PatternColour));
    FTarget = new QLineSeries(chart);
    FTarget->setName("target");
    FTarget->setColor(ChartColour(vesk::TargetColour));
    chart->addSeries(FReference);
    chart->addSeries(FPattern);
    chart->addSeries(FTarget);
    const QColor overlayColours[2] = {QColor(230, 140, 0), QColor(140, 0, 170)};
    for (int k = 0; k < 2; ++k) {
        FOverlays[k] = new QLineSeries(chart);
        FOverlays[k]->setColor(overlayColours[k]);
        chart->addSeries(FOverlays[k]);
    }
    FElements = new QValueAxis(chart);
    FElements->setTitleText("element");
    FElements->setLabelFormat("%d");
    FDegrees = new QValueAxis(chart);
    FDegrees->setTitleText("degree");
    FDegrees->setLabelFormat("%d");
    for (QValueAxis* axis : {FElements, FDegrees}) {
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
        connect(axis, &QValueAxis::rangeChanged, axis, [axis] { MarkTicks(axis); });
        MarkTicks(axis);
    }
    chart->addAxis(FElements, Qt::AlignBottom);
    chart->addAxis(FDegrees, Qt::AlignLeft);
    for (QLineSeries* series : {FReference, FPattern, FTarget, FOverlays[0], FOverlays[1]}) {
        series->attachAxis(FElements);
        series->attachAxis(FDegrees);
    }
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::RectangleRubberBand);
    viewport()->setMouseTracking(true); // the crosshair follows the pointer unpressed
    FCrosshair = new QGraphicsLineItem(chart);
    FCrosshair->setZValue(10);
    FCrosshair->hide();
    FStepBack = new QAction("Previous View", this);
    FStepBack->setObjectName("PreviousViewAction");
    FStepBack->setShortcut(Qt::Key_Backspace);
    FStepBack->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(FStepBack, &QAction::triggered, this, &TCurveChart::StepBack);
    addAction(FStepBack);
    FShowAll = new QAction("Show All", this);
    FShowAll->setObjectName("ShowAllAction");
    connect(FShowAll, &QAction::triggered, this, &TCurveChart::ShowAll);
    FollowPalette();
    ShowTarget({});
    ShowOverlays({}, {});
    Fit();
}

void TCurveChart::ShowOverlays(const std::vector<vesk::TFuzzySet>& sets, const QStringList& names) {
    for (std::size_t k = 0; k < 2; ++k) {
        const bool shown = k < sets.size();
        FOverlays[k]->replace(shown ? PointsOf(sets[k]) : QList<QPointF>());
        FOverlays[k]->setName(shown ? names.value(static_cast<qsizetype>(k)) : QString());
        FOverlays[k]->setVisible(shown);
        for (QLegendMarker* marker : chart()->legend()->markers(FOverlays[k]))
            marker->setVisible(shown);
    }
}

void TCurveChart::ShowTarget(const vesk::TFuzzySet& target) {
    FTarget->replace(PointsOf(target));
    // Named in the legend only while there is one.
    const auto markers = chart()->legend()->markers(FTarget);
    for (QLegendMarker* marker : markers)
        marker->setVisible(target.Count() > 0);
    FTarget->setVisible(target.Count() > 0);
    // Nothing plotted: the axis spans the target's elements.
    const bool nothingPlotted = FReference->count() == 0 && FPattern->count() == 0;
    if (nothingPlotted && !FDrawing && target.Count() > 0 && target.Count() != FCount) {
        FCount = target.Count();
        Fit();
    }
}

void TCurveChart::SetDrawing(bool drawing, int elementCount) {
    FDrawing = drawing;
    setRubberBand(drawing ? QChartView::NoRubberBand : QChartView::RectangleRubberBand);
    setCursor(drawing ? Qt::CrossCursor : Qt::ArrowCursor);
    if (!drawing) return;
    if (elementCount > 0 && elementCount != FCount) {
        FCount = elementCount;
        Fit();
    }
    FDrawn.assign(static_cast<std::size_t>(std::max(FCount, 1)), 0);
    if (FTarget->isVisible() && FTarget->count() == static_cast<int>(FDrawn.size()))
        for (int i = 0; i < FTarget->count(); ++i)
            FDrawn[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(FTarget->at(i).y());
    FLastPainted.reset();
}

std::optional<std::pair<int, int>> TCurveChart::PointAt(QPointF position) const {
    const int element = ElementAt(position);
    if (element < 0) return std::nullopt;
    const QPointF inChart = chart()->mapFromScene(mapToScene(position.toPoint()));
    const double degree = chart()->mapToValue(inChart, FReference).y();
    return std::pair(element, static_cast<int>(std::clamp(std::lround(degree), 0L, 100L)));
}

void TCurveChart::Paint(std::pair<int, int> point, bool straight) {
    const std::pair<int, int> from = (straight || FStroke) && FLastPainted ? *FLastPainted : point;
    const int first = std::min(from.first, point.first), last = std::max(from.first, point.first);
    for (int e = first; e <= last && e < static_cast<int>(FDrawn.size()); ++e) {
        const double t = last == first ? 1.0 : double(e - from.first) / (point.first - from.first);
        FDrawn[static_cast<std::size_t>(e)] =
            static_cast<std::int32_t>(std::lround(from.second + t * (point.second - from.second)));
    }
    FLastPainted = point;
    QList<QPointF> points;
    for (std::size_t e = 0; e < FDrawn.size(); ++e)
        points.append(QPointF(static_cast<double>(e), FDrawn[e]));
    FTarget->replace(points);
    FTarget->setVisible(true);
    for (QLegendMarker* marker : chart()->legend()->markers(FTarget))
        marker->setVisible(true);
}

void TCurveChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::BackButton) {
        StepBack();
        return event->accept();
    }
    if (event->button() == Qt::MiddleButton) {
        FLastMove.reset(); // a new drag, a step of its own
        FDragFrom = event->position();
        FDragView = View();
        return event->accept();
    }
    if (!FDrawing || event->button() != Qt::LeftButton) return QChartView::mousePressEvent(event);
    if (const auto point = PointAt(event->position())) {
        Paint(*point, event->modifiers() & Qt::ShiftModifier);
        FStroke = true;
    }
    event->accept();
}

void TCurveChart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        FDragFrom.reset();
        return event->accept();
    }
    if (!FDrawing || event->button() != Qt::LeftButton) {
        // The rubber band zooms in here: the view before is remembered, the read-out follows.
        const QRectF before = View();
        QChartView::mouseReleaseEvent(event);
        if (View() != before) {
            FHistory.Push(before);
            FLastMove = TMove::Jump;
            FollowPointer(event->position());
        }
        return;
    }
    if (FStroke) emit TargetDrawn(FDrawn);
    FStroke = false;
    event->accept();
}

void TCurveChart::ShowSets(const vesk::TFuzzySet& reference, const vesk::TFuzzySet& pattern) {
    FReference->replace(PointsOf(reference));
    FPattern->replace(PointsOf(pattern));
    int count = std::max(reference.Count(), pattern.Count());
    // Nothing plotted: the axis stays on the elements of the target drawn or shown.
    if (count == 0) count = FDrawing ? FCount : static_cast<int>(FTarget->count());
    if (count != FCount) {
        FCount = count;
        Fit();
    }
}

std::optional<QPointF> TCurveChart::ValueAt(QPointF position) const {
    const QPointF inChart = chart()->mapFromScene(mapToScene(position.toPoint()));
    if (!chart()->plotArea().contains(inChart)) return std::nullopt;
    return chart()->mapToValue(inChart, FReference);
}

int TCurveChart::ElementAt(QPointF position) const {
    const auto value = ValueAt(position);
    if (!value || FCount == 0) return -1;
    const double element = std::round(value->x());
    return element < 0 || element >= FCount ? -1 : static_cast<int>(element);
}

void TCurveChart::FollowPointer(QPointF position) {
    FPointer = position;
    const int element = ElementAt(position);
    if (element < 0) {
        FCrosshair->hide();
        emit PointerLeft();
        return;
    }
    const QRectF area = chart()->plotArea();
    const double x = chart()->mapToPosition(QPointF(element, 0), FReference).x();
    FCrosshair->setLine(x, area.top(), x, area.bottom());
    FCrosshair->show();
    emit PointerOverElement(element);
}

void TCurveChart::mouseMoveEvent(QMouseEvent* event) {
    if (FDrawing && FStroke && (event->buttons() & Qt::LeftButton))
        if (const auto point = PointAt(event->position())) Paint(*point, false);
    if (FDragFrom && (event->buttons() & Qt::MiddleButton)) {
        const QPointF moved = event->position() - *FDragFrom;
        const QRectF area = chart()->plotArea();
        Remember(TMove::Drag);
        ShowView(FDragView.translated(-moved.x() * FDragView.width() / area.width(),
                                      moved.y() * FDragView.height() / area.height()));
    }
    QChartView::mouseMoveEvent(event);
    FollowPointer(event->position());
}

void TCurveChart::mouseDoubleClickEvent(QMouseEvent* event) {
    ShowAll();
    event->accept();
}

void TCurveChart::leaveEvent(QEvent* event) {
    QChartView::leaveEvent(event);
    FPointer.reset();
    FCrosshair->hide();
    emit PointerLeft();
}

void TCurveChart::changeEvent(QEvent* event) {
    QChartView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) FollowPalette();
}

void TCurveChart::FollowPalette() {
    const QPalette colours = palette();
    chart()->setBackgroundBrush(colours.base());
    chart()->setPlotAreaBackgroundVisible(false);
    chart()->legend()->setLabelColor(colours.color(QPalette::Text));
    for (QValueAxis* axis : {FElements, FDegrees}) {
        axis->setLabelsColor(colours.color(QPalette::Text));
        axis->setTitleBrush(colours.text());
        axis->setGridLineColor(colours.color(QPalette::Mid));
    }
    FCrosshair->setPen(QPen(colours.color(QPalette::Text), 0, Qt::DashLine));
}

template <typename TMake> auto TCurveChart::WithoutCrosshair(TMake make) {
    const bool shown = FCrosshair->isVisible();
    FCrosshair->hide();
    auto made = make();
    FCrosshair->setVisible(shown);
    return made;
}

QImage TCurveChart::Picture() {
    return WithoutCrosshair([this] { return grab().toImage(); });
}

QByteArray TCurveChart::SvgDocument() {
    return WithoutCrosshair([this] { return DrawnSvg(); });
}

QByteArray TCurveChart::DrawnSvg() {
    QByteArray document;
    QBuffer buffer(&document);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size());
    svg.setViewBox(rect());
    svg.setTitle("Vesk pattern and reference");
    QPainter painter;
    if (!painter.begin(&svg)) return {};
    render(&painter);
    if (!painter.end()) return {};
    return document;
}
