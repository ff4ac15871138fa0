#include "workbench/window/target_actions.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

#include "search/target_file.h"
#include "workbench/saved_file.h"
#include "workbench/window/controls_panel.h"
#include "workbench/window/curve_chart.h"
#include "workbench/window/kept_settings.h"
#include "workbench/window/outcome_report.h"
#include "workbench/window/plot_area.h"
#include "workbench/window/recent_targets.h"

TTargetActions::TTargetActions(vesk::TWorkbenchSession& session, TPlotArea& plot,
                               const TControlsPanel& controls, TCommandRunner run, QWidget* window)
    : QObject(window), FSession(session), FPlot(plot), FControls(controls), FRun(std::move(run)),
      FWindow(window) {
    TargetDialog = new QFileDialog(window, "Load Target");
    TargetDialog->setObjectName("TargetDialog");
    TargetDialog->setOption(QFileDialog::DontUseNativeDialog);
    TargetDialog->setFileMode(QFileDialog::ExistingFile);
    TargetDialog->setNameFilters({"targets (*.txt *.csv *.json)", "all files (*)"});
    FRecent = new TRecentTargets(window);
    connect(FRecent, &TRecentTargets::Chosen, this, &TTargetActions::LoadTargetFrom);
    connect(FPlot.Chart(), &TCurveChart::TargetDrawn, this, &TTargetActions::TakeDrawn);
}

void TTargetActions::TakeDrawn(const std::vector<std::int32_t>& degrees) {
    // As a command, so that the window shows the measures to the new target.
    FRun([this, &degrees] {
        vesk::TFuzzySet target;
        for (std::int32_t degree : degrees)
            target.AddDegree(degree);
        FSession.Search.Target = target;
        FSession.Search.TargetName = "drawn target";
        return vesk::TCommandOutcome{};
    });
    KeptSettings::SaveTarget({TKeptTarget::TKind::Drawn, {}, degrees});
    emit TargetChanged();
}

void TTargetActions::AddTo(QMenu* menu) {
    LoadTargetAction = menu->addAction("Load Target...", this, &TTargetActions::LoadTarget);
    LoadTargetAction->setObjectName("LoadTargetAction");
    menu->addMenu(FRecent);
    DrawTargetAction = menu->addAction("Draw Target", this, &TTargetActions::DrawTarget);
    DrawTargetAction->setObjectName("DrawTargetAction");
    DrawTargetAction->setCheckable(true);
    menu->addAction("Save Drawn Target...", this, &TTargetActions::SaveDrawnTarget)
        ->setObjectName("SaveTargetAction");
    ReferenceTargetAction =
        menu->addAction("Fit the Reference", this, &TTargetActions::FitTheReference);
    ReferenceTargetAction->setObjectName("ReferenceTargetAction");
}

void TTargetActions::SetSearching(bool searching) {
    if (searching && DrawTargetAction->isChecked()) {
        DrawTargetAction->setChecked(false);
        DrawTarget();
    }
    for (QAction* change : {LoadTargetAction, DrawTargetAction, ReferenceTargetAction})
        change->setEnabled(!searching);
    FRecent->setEnabled(!searching && !KeptSettings::RecentTargets().isEmpty());
}

void TTargetActions::ShowTarget() {
    FPlot.Chart()->ShowTarget(FSession.Search.Target.value_or(vesk::TFuzzySet()));
    if (FPlot.Chart()->Drawing()) FPlot.Chart()->SetDrawing(true, DrawnElements());
}

int TTargetActions::DrawnElements() const {
    const vesk::TSearchSetup& search = FSession.Search;
    const int elements = search.Target ? search.Target->Count() : FSession.ReferenceSet.Count();
    return elements > 0 ? elements : FControls.ShownElements();
}

void TTargetActions::LoadTarget() {
    if (TargetDialog->exec() != QDialog::Accepted || TargetDialog->selectedFiles().isEmpty())
        return;
    LoadTargetFrom(TargetDialog->selectedFiles().first());
}

void TTargetActions::LoadTargetFrom(const QString& path) {
    const QString file = QFileInfo(path).absoluteFilePath();
    if (!QFileInfo::exists(file)) {
        FRecent->Remove(path);
        ReportOutcome(FWindow, {std::nullopt,
                                "The target file " + QDir::toNativeSeparators(path).toStdString() +
                                    " is no longer there; it is taken off Recent Targets.",
                                std::nullopt});
        return;
    }
    bool loaded = false;
    FRun([this, &file, &loaded] {
        vesk::TCommandOutcome outcome = FSession.SetTarget(QFile::encodeName(file).toStdString());
        loaded = !outcome.Error;
        return outcome;
    });
    if (loaded) {
        FRecent->Add(file);
        KeptSettings::SaveTarget({TKeptTarget::TKind::File, file, {}});
    }
    ShowTarget();
    emit TargetChanged();
}

void TTargetActions::Restore(const TKeptTarget& target) {
    switch (target.Kind) {
    case TKeptTarget::TKind::File:
        LoadTargetFrom(target.Path);
        break;
    case TKeptTarget::TKind::Drawn:
        TakeDrawn(target.Degrees);
        ShowTarget();
        break;
    case TKeptTarget::TKind::Reference:
        FitTheReference();
        break;
    }
}

void TTargetActions::FitTheReference() {
    FRun([this] { return FSession.SetTarget("reference"); });
    KeptSettings::SaveTarget({});
    DrawTargetAction->setChecked(false);
    FPlot.Chart()->SetDrawing(false);
    ShowTarget();
    emit TargetChanged();
}

void TTargetActions::DrawTarget() {
    if (DrawTargetAction->isChecked() && !FPlot.ChartShown()) emit ChartNeeded();
    FPlot.Chart()->SetDrawing(DrawTargetAction->isChecked(), DrawnElements());
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
