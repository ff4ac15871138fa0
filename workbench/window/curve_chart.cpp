#include "workbench/window/curve_chart.h"

#include <algorithm>
#include <cmath>

#include <QChart>
#include <QGraphicsLineItem>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgGenerator>
#include <QValueAxis>

namespace {

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
    QChart* chart = this->chart();
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);
    FReference = new QLineSeries(chart);
    FReference->setName("reference");
    FReference->setColor(Qt::blue);
    FPattern = new QLineSeries(chart);
    FPattern->setName("pattern");
    FPattern->setColor(Qt::red);
    chart->addSeries(FReference);
    chart->addSeries(FPattern);
    FElements = new QValueAxis(chart);
    FElements->setTitleText("element");
    FElements->setLabelFormat("%d");
    FDegrees = new QValueAxis(chart);
    FDegrees->setTitleText("degree");
    FDegrees->setRange(0, 100);
    FDegrees->setTickCount(3); // 0, 50, 100
    FDegrees->setLabelFormat("%d");
    chart->addAxis(FElements, Qt::AlignBottom);
    chart->addAxis(FDegrees, Qt::AlignLeft);
    for (QLineSeries* series : {FReference, FPattern}) {
        series->attachAxis(FElements);
        series->attachAxis(FDegrees);
    }
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::RectangleRubberBand);
    viewport()->setMouseTracking(true); // the crosshair follows the pointer unpressed
    FCrosshair = new QGraphicsLineItem(chart);
    FCrosshair->setZValue(10);
    FCrosshair->hide();
    FollowPalette();
}

void TCurveChart::ShowSets(const vesk::TFuzzySet& reference, const vesk::TFuzzySet& pattern) {
    FReference->replace(PointsOf(reference));
    FPattern->replace(PointsOf(pattern));
    const int count = std::max(reference.Count(), pattern.Count());
    if (count != FCount) {
        FCount = count;
        ResetZoom();
    }
}

void TCurveChart::ResetZoom() {
    chart()->zoomReset();
    FElements->setRange(0, std::max(FCount - 1, 1));
    FDegrees->setRange(0, 100);
}

int TCurveChart::ElementAt(QPointF position) const {
    const QPointF scene = mapToScene(position.toPoint());
    const QPointF inChart = chart()->mapFromScene(scene);
    if (!chart()->plotArea().contains(inChart) || FCount == 0) return -1;
    const double element = std::round(chart()->mapToValue(inChart, FReference).x());
    return element < 0 || element >= FCount ? -1 : static_cast<int>(element);
}

void TCurveChart::mouseMoveEvent(QMouseEvent* event) {
    QChartView::mouseMoveEvent(event);
    const int element = ElementAt(event->position());
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

void TCurveChart::mouseDoubleClickEvent(QMouseEvent* event) {
    ResetZoom();
    event->accept();
}

void TCurveChart::leaveEvent(QEvent* event) {
    QChartView::leaveEvent(event);
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

QImage TCurveChart::Picture() {
    return grab().toImage();
}

bool TCurveChart::SaveSvg(const QString& path) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size());
    svg.setViewBox(rect());
    svg.setTitle("Vesk pattern and reference");
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    render(&painter);
    return painter.end();
}
