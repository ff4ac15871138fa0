#pragma once
// The target "Evolve" fits, chosen from the menu of "Evolve": loaded from a file (or one loaded
// lately), drawn on the chart, saved as drawn, or the reference again. The target chosen is kept
// for the next session to restore.

#include <QObject>

#include "workbench/session.h"
#include "workbench/window/command_runner.h"

class QAction;
class QFileDialog;
class QMenu;
class TControlsPanel;
class TPlotArea;
class TRecentTargets;
struct TKeptTarget;

// Keeps the chart showing the session's own target (or none) and takes a drawn one into the
// session when a stroke ends.
class TTargetActions : public QObject {
    Q_OBJECT

public:
    // window: what the dialogs and boxes open over.
    TTargetActions(vesk::TWorkbenchSession& session, TPlotArea& plot,
                   const TControlsPanel& controls, TCommandRunner run, QWidget* window);

    // Adds "Load Target...", "Recent Targets", "Draw Target", "Save Drawn Target..." and "Fit
    // the Reference".
    void AddTo(QMenu* menu);

    void LoadTarget();
    // Loads the file as the target; a file no longer there is taken off Recent Targets, and said.
    void LoadTargetFrom(const QString& path);
    // Makes the target kept from an earlier session the target again.
    void Restore(const TKeptTarget& target);
    // Turns the chart's drawing mode on or off, on the own target's elements, or the plotted
    // sets', or those of FS Elements.
    void DrawTarget();
    // Writes the target one degree a line, with ".csv" added to a name without it.
    void SaveDrawnTarget();
    void FitTheReference();
    // Shows the session's own target (or none) on the chart, drawing going on from it.
    void ShowTarget();
    // While a search runs its target stays: what would change it waits, and drawing ends.
    void SetSearching(bool searching);

signals:
    // Drawing needs the chart shown.
    void ChartNeeded();
    // The session's target changed: loaded, a stroke drawn, or the reference again.
    void TargetChanged();

private:
    void TakeDrawn(const std::vector<std::int32_t>& degrees);
    // The elements a drawing paints: the own target's, or the plotted sets', or FS Elements'.
    int DrawnElements() const;

    vesk::TWorkbenchSession& FSession;
    TPlotArea& FPlot;
    const TControlsPanel& FControls;
    TCommandRunner FRun;
    QWidget* FWindow;
    QAction* LoadTargetAction = nullptr;
    QAction* DrawTargetAction = nullptr;
    QAction* ReferenceTargetAction = nullptr;
    TRecentTargets* FRecent;
    QFileDialog* TargetDialog;
};
