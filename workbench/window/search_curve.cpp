#include "workbench/window/search_curve.h"

#include <algorithm>

#include <QChart>
#include <QFontMetrics>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QValueAxis>

namespace {

// What the chart's layout keeps around the plot beyond the axis text below it: margins,
// spacing and ticks (some 43 pixels here), with a little to spare.
constexpr int LayoutRoom = 52;
// A legend entry's marker and the spacing around it; the narrowest the plot beside the legend.
constexpr int LegendMarkerRoom = 48;
constexpr int LeastPlotWidth = 260;

} // namespace

TSearchCurve::TSearchCurve(QWidget* parent) : QChartView(new QChart, parent) {
    setObjectName("SearchCurve");
    setFocusPolicy(Qt::NoFocus); // it takes no keys: Tab passes it by
    QChart* chart = this->chart();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->legend()->setAlignment(Qt::AlignRight);
    FEvaluations = new QLogValueAxis(chart);
    FEvaluations->setTitleText("evaluations");
    FEvaluations->setBase(10);
    FEvaluations->setLabelFormat("%g");
    FDistance = new QValueAxis(chart);
    FDistance->setTitleText("best distance per element");
    chart->addAxis(FEvaluations, Qt::AlignBottom);
    chart->addAxis(FDistance, Qt::AlignLeft);
    setRenderHint(QPainter::Antialiasing);
    // The upright title shows whole: the plot is at least as tall as it is long, with the room
    // the margins and the axis below take (its labels and title, each a line).
    const int title =
        QFontMetrics(FDistance->titleFont()).horizontalAdvance(FDistance->titleText());
    const int below = QFontMetrics(FEvaluations->labelsFont()).height() +
                      QFontMetrics(FEvaluations->titleFont()).height();
    setMinimumHeight(title + below + LayoutRoom);
    FitAxes();
}

QLineSeries* TSearchCurve::NewSeries(const QString& name) {
    auto* series = new QLineSeries(chart());
    series->setName(name);
    chart()->addSeries(series);
    series->attachAxis(FEvaluations);
    series->attachAxis(FDistance);
    // The legend as wide as its longest name and its marker, and the plot beside it.
    QLegend* legend = chart()->legend();
    const int wide = QFontMetrics(legend->font()).horizontalAdvance(name) + LegendMarkerRoom;
    if (wide > legend->minimumWidth()) {
        legend->setMinimumWidth(wide);
        setMinimumWidth(wide + LeastPlotWidth);
    }
    return series;
}

void TSearchCurve::StartRun(const QString& name) {
    FCurrent = NewSeries(name);
}

void TSearchCurve::AddRun(const TSearchRun& run) {
    // A chart only appends series: the curves are drawn anew in their order, which also gives
    // them the theme's colours in that order, none twice. The newest run, which may still be
    // growing, stays the last.
    std::vector<TSearchRun> runs = Shown();
    runs.insert(runs.begin() + FEarlierRuns++, run);
    const bool growing = FCurrent != nullptr;
    FCurrent = nullptr;
    chart()->removeAllSeries();
    QLineSeries* series = nullptr;
    for (const TSearchRun& each : runs) {
        series = NewSeries(each.Name);
        for (const auto& [evaluations, distance] : each.Points) {
            series->append(static_cast<double>(evaluations), distance);
            Extend(evaluations, distance);
        }
    }
    if (growing) FCurrent = series;
    FitAxes();
}

std::vector<TSearchRun> TSearchCurve::Shown() const {
    std::vector<TSearchRun> runs;
    for (QAbstractSeries* series : chart()->series()) {
        TSearchRun run{series->name(), {}};
        for (const QPointF& point : static_cast<QLineSeries*>(series)->points())
            run.Points.emplace_back(static_cast<std::uint64_t>(point.x()), point.y());
        runs.push_back(std::move(run));
    }
    return runs;
}

void TSearchCurve::AddPoint(std::uint64_t evaluations, double distance) {
    if (FCurrent == nullptr || evaluations == 0) return;
    const double x = static_cast<double>(evaluations);
    // Reports may repeat a count (the run's end after its last progress, or two reports in
    // one round on a slow machine): the curve keeps one point a count, the better best.
    const int last = FCurrent->count() - 1;
    if (last >= 0 && x <= FCurrent->at(last).x()) {
        if (distance < FCurrent->at(last).y())
            FCurrent->replace(last, FCurrent->at(last).x(), distance);
        return;
    }
    FCurrent->append(x, distance);
    Extend(evaluations, distance);
    FitAxes();
}

void TSearchCurve::Extend(std::uint64_t evaluations, double distance) {
    FHighest = std::max(FHighest, distance);
    FLongest = std::max(FLongest, static_cast<double>(evaluations));
}

int TSearchCurve::Runs() const {
    return static_cast<int>(chart()->series().size());
}

void TSearchCurve::FitAxes() {
    FEvaluations->setRange(1, FLongest * 1.5);
    FDistance->setRange(0, FHighest > 0 ? FHighest * 1.05 : 1);
    FDistance->applyNiceNumbers(); // ticks at round values
}
