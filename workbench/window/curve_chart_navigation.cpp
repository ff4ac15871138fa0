// The chart's navigation: zooming, moving and stepping back through the views shown.
#include <algorithm>
#include <cmath>

#include <QGraphicsLayout>
#include <QKeyEvent>
#include <QValueAxis>
#include <QWheelEvent>

#include "workbench/window/curve_chart.h"

namespace {

// Room above 100 and below 0, so the curves along them are not drawn over the frame.
constexpr double DegreeMargin = 2;
// What one notch of the wheel scales the view by, and what an arrow key moves it by.
constexpr double WheelZoom = 0.8;
constexpr double KeyStep = 0.1;
// The narrowest view a wheel zooms into, in elements and in degrees.
constexpr double LeastSpan = 2;

} // namespace

QRectF TCurveChart::View() const {
    return QRectF(QPointF(FElements->min(), FDegrees->min()),
                  QPointF(FElements->max(), FDegrees->max()));
}

QRectF TCurveChart::Everything() const {
    return QRectF(QPointF(0, -DegreeMargin), QPointF(std::max(FCount - 1, 1), 100 + DegreeMargin));
}

void TCurveChart::Fit() {
    FHistory.Clear();
    FLastMove.reset();
    ShowView(Everything());
}

void TCurveChart::ShowAll() {
    if (View() == Everything()) return;
    Remember(TMove::Jump);
    ShowView(Everything());
}

void TCurveChart::StepBack() {
    if (FHistory.Empty()) return;
    FLastMove.reset();
    ShowView(FHistory.Pop());
}

void TCurveChart::Remember(TMove move) {
    if (move == TMove::Jump || FLastMove != move) FHistory.Push(View());
    FLastMove = move;
}

void TCurveChart::ShowView(const QRectF& range) {
    FElements->setRange(range.left(), range.right());
    FDegrees->setRange(range.top(), range.bottom());
    if (FPointer) FollowPointer(*FPointer);
}

void TCurveChart::MarkTicks(QValueAxis* axis) {
    axis->setTickInterval(RoundTickStep(axis->max() - axis->min()));
}

void TCurveChart::wheelEvent(QWheelEvent* event) {
    event->accept();
    const auto at = ValueAt(event->position());
    const int turned = event->angleDelta().y();
    if (!at || turned == 0) return;
    const QRectF view = View();
    const double factor = std::max(
        {std::pow(WheelZoom, turned / 120.0), LeastSpan / view.width(), LeastSpan / view.height()});
    if (factor == 1) return;
    Remember(TMove::Wheel);
    FPointer = event->position();
    ShowView(ZoomedAbout(view, *at, factor));
    // Labels of another width move the plot area's edge: the value zoomed about is put back
    // under the pointer.
    if (QGraphicsLayout* layout = chart()->layout()) layout->activate();
    if (const auto now = ValueAt(event->position())) ShowView(View().translated(*at - *now));
}

void TCurveChart::keyPressEvent(QKeyEvent* event) {
    const QRectF view = View();
    QPointF by;
    switch (event->key()) {
    case Qt::Key_Left:
        by = {-view.width() * KeyStep, 0};
        break;
    case Qt::Key_Right:
        by = {view.width() * KeyStep, 0};
        break;
    case Qt::Key_Down:
        by = {0, -view.height() * KeyStep};
        break;
    case Qt::Key_Up:
        by = {0, view.height() * KeyStep};
        break;
    default:
        return QChartView::keyPressEvent(event);
    }
    Remember(TMove::Keys);
    ShowView(view.translated(by));
    event->accept();
}
