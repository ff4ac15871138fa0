#pragma once
// The search's curve: the best distance an element against the evaluations spent, one curve a
// run, kept for the runs of the session on axes that fit them all, so that runs with different
// settings (and targets of other sizes) can be compared. Its axis titles show whole at its least
// height.

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
    // The best distance an element after that many evaluations, on the newest run's curve.
    void AddPoint(std::uint64_t evaluations, double distance);
    int Runs() const;
    // Every run's curve, oldest first.
    std::vector<TSearchRun> Shown() const;
    // Shows a run kept from an earlier session: after the earlier runs shown already, before
    // this session's.
    void AddRun(const TSearchRun& run);
    // The axes: evaluations (logarithmic) and the best distance an element.
    const QLogValueAxis* EvaluationsAxis() const { return FEvaluations; }
    const QValueAxis* DistanceAxis() const { return FDistance; }

private:
    QLineSeries* NewSeries(const QString& name);
    void Extend(std::uint64_t evaluations, double distance);
    void FitAxes();

    QLogValueAxis* FEvaluations;
    QValueAxis* FDistance;
    QLineSeries* FCurrent = nullptr;
    int FEarlierRuns = 0; // the runs of earlier sessions, shown first
    double FHighest = 0;
    double FLongest = 10;
};
