#include "workbench/window/search_curve.h"

#include <algorithm>

#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QValueAxis>

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
    FDistance->setTitleText("best distance");
    chart->addAxis(FEvaluations, Qt::AlignBottom);
    chart->addAxis(FDistance, Qt::AlignLeft);
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(140);
    FitAxes();
}

void TSearchCurve::StartRun(const QString& name) {
    FCurrent = new QLineSeries(chart());
    FCurrent->setName(name);
    chart()->addSeries(FCurrent);
    FCurrent->attachAxis(FEvaluations);
    FCurrent->attachAxis(FDistance);
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
    FHighest = std::max(FHighest, distance);
    FLongest = std::max(FLongest, static_cast<double>(evaluations));
    FitAxes();
}

int TSearchCurve::Runs() const {
    return static_cast<int>(chart()->series().size());
}

void TSearchCurve::FitAxes() {
    FEvaluations->setRange(1, FLongest * 1.5);
    FDistance->setRange(0, FHighest > 0 ? FHighest * 1.05 : 1);
}
