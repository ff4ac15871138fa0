#include "workbench/window/target_actions.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMenu>

#include "search/target_file.h"
#include "workbench/saved_file.h"
#include "workbench/window/controls_panel.h"
#include "workbench/window/curve_chart.h"
#include "workbench/window/outcome_report.h"
#include "workbench/window/plot_area.h"

TTargetActions::TTargetActions(vesk::TWorkbenchSession& session, TPlotArea& plot,
                               const TControlsPanel& controls, TCommandRunner run, QWidget* window)
    : QObject(window), FSession(session), FPlot(plot), FControls(controls), FRun(std::move(run)),
      FWindow(window) {
    TargetDialog = new QFileDialog(window, "Load Target");
    TargetDialog->setObjectName("TargetDialog");
    TargetDialog->setOption(QFileDialog::DontUseNativeDialog);
    TargetDialog->setFileMode(QFileDialog::ExistingFile);
    TargetDialog->setNameFilters({"targets (*.txt *.csv *.json)", "all files (*)"});
    connect(FPlot.Chart(), &TCurveChart::TargetDrawn, this,
            [this](const std::vector<std::int32_t>& degrees) {
                vesk::TFuzzySet target;
                for (std::int32_t degree : degrees)
                    target.AddDegree(degree);
                FSession.Search.Target = target;
                FSession.Search.TargetName = "drawn target";
                emit TargetChanged();
            });
}

void TTargetActions::AddTo(QMenu* menu) {
    menu->addAction("Load Target...", this, &TTargetActions::LoadTarget)
        ->setObjectName("LoadTargetAction");
    DrawTargetAction = menu->addAction("Draw Target", this, &TTargetActions::DrawTarget);
    DrawTargetAction->setObjectName("DrawTargetAction");
    DrawTargetAction->setCheckable(true);
    menu->addAction("Save Drawn Target...", this, &TTargetActions::SaveDrawnTarget)
        ->setObjectName("SaveTargetAction");
    menu->addAction("Fit the Reference", this, &TTargetActions::FitTheReference)
        ->setObjectName("ReferenceTargetAction");
}

void TTargetActions::ShowTarget() {
    FPlot.Chart()->ShowTarget(FSession.Search.Target.value_or(vesk::TFuzzySet()));
    if (FPlot.Chart()->Drawing()) FPlot.Chart()->SetDrawing(true);
}

void TTargetActions::LoadTarget() {
    if (TargetDialog->exec() != QDialog::Accepted || TargetDialog->selectedFiles().isEmpty())
        return;
    const std::string path = TargetDialog->selectedFiles().first().toStdString();
    FRun([this, &path] { return FSession.SetTarget(path); });
    ShowTarget();
    emit TargetChanged();
}

void TTargetActions::FitTheReference() {
    FSession.SetTarget("reference");
    DrawTargetAction->setChecked(false);
    FPlot.Chart()->SetDrawing(false);
    ShowTarget();
    emit TargetChanged();
}

void TTargetActions::DrawTarget() {
    if (DrawTargetAction->isChecked() && !FPlot.ChartShown()) emit ChartNeeded();
    const vesk::TSearchSetup& search = FSession.Search;
    int elements = search.Target ? search.Target->Count() : FSession.ReferenceSet.Count();
    if (elements == 0) elements = FControls.ShownElements();
    FPlot.Chart()->SetDrawing(DrawTargetAction->isChecked(), elements);
}

void TTargetActions::SaveDrawnTarget() {
    if (!FSession.Search.Target) {
        ReportOutcome(FWindow,
                      {std::nullopt, std::nullopt, std::string("There is no target to save.")});
        return;
    }
    const QString name = QFileDialog::getSaveFileName(FWindow, "Save Target", {}, "CSV (*.csv)",
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (name.isEmpty()) return;
    const QString path = name.endsWith(".csv", Qt::CaseInsensitive) ? name : name + ".csv";
    const std::string text = vesk::TargetText(*FSession.Search.Target);
    if (auto error = vesk::SaveFile(QFile::encodeName(path).toStdString(), text))
        ReportOutcome(FWindow, {std::nullopt, std::move(error), std::nullopt});
}
