#pragma once
// The search's curve: the best distance against the evaluations spent, one curve a run, kept
// for the runs of the session so that runs with different settings can be compared.

#include <QChartView>

#include <vector>

#include "workbench/window/search_run.h"

class QLineSeries;
class QLogValueAxis;
class QValueAxis;

class TSearchCurve : public QChartView {
    Q_OBJECT

public:
    explicit TSearchCurve(QWidget* parent = nullptr);

    // Begins the curve of a new run, named in the legend.
    void StartRun(const QString& name);
    // The best distance after that many evaluations, on the newest run's curve.
    void AddPoint(std::uint64_t evaluations, double distance);
    int Runs() const;
    // Every run's curve, oldest first.
    std::vector<TSearchRun> Shown() const;
    // Shows a finished run's curve beside the others (one kept from an earlier session).
    void AddRun(const TSearchRun& run);

private:
    QLineSeries* NewSeries(const QString& name);
    void Extend(std::uint64_t evaluations, double distance);
    void FitAxes();

    QLogValueAxis* FEvaluations;
    QValueAxis* FDistance;
    QLineSeries* FCurrent = nullptr;
    double FHighest = 0;
    double FLongest = 10;
};
