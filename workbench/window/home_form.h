#pragma once
// The workbench window: its outline (tool bar, controls panel, plot area, docks, status bar)
// and the four designed commands, which it runs on the session and whose outcome it shows.

#include <QMainWindow>

#include <memory>

#include "workbench/session.h"
#include "workbench/window/command_actions.h"
#include "workbench/window/designed_geometry.h"

class QFileDialog;
class QLabel;
class QMenu;
class QProgressBar;
class QStatusBar;
class QToolBar;
class TCommandShortcuts;
class TControlsPanel;
class TEvolveController;
struct TEvolveProgress;
class THexaStrip;
class TPlotArea;
class TSearchPanel;
class TSessionKeeper;
class TTargetActions;
class TUndoSteps;
class TWindowDocks;

// The main window of VeskTest. It owns the session (and through it PatternSet and ReferenceSet)
// and holds no state of its own beyond the controls: before a command it hands the controls'
// texts to the session, afterwards it shows the session's texts and image.
class TVeskTestHomeForm : public QMainWindow {
    Q_OBJECT

public:
    static constexpr QRect InitialBounds = DesignedGeometry::WindowBounds;

    explicit TVeskTestHomeForm(QWidget* parent = nullptr);
    ~TVeskTestHomeForm() override;

    vesk::TWorkbenchSession& Session() { return FSession; }
    // The evaluations "Evolve" spends (1,000,000 unless the settings or a test say otherwise).
    void SetEvolveBudget(std::uint64_t evaluations) { FSession.Search.Evaluations = evaluations; }
    bool EvolveRunning() const;

public slots:
    void RandomVeskToolButtonClick();
    void HexaToolButtonClick();
    void SaveToolButtonClick();
    void FitToolButtonClick();
    void HexaComboBoxDblClick();
    void EvolveToolButtonClick(); // "Evolve", or "Stop" while a search runs
    void BlocksToolButtonClick(); // shows or hides the block panel
    void ChartToolButtonClick();  // switches the plot area between the plot and the chart
    void EditSearchSettings();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    vesk::TWorkbenchSession FSession;
    bool FBoundsFitted = false;

    // The controls, named as the designed window names them.
    TCommandActions FCommands;
    QToolBar* VeskToolBar = nullptr;
    TControlsPanel* FSControlsPanel = nullptr;
    THexaStrip* Panel1 = nullptr;
    TPlotArea* ImagePanel = nullptr;
    QProgressBar* EvalProgressBar = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel2 = nullptr;
    QFileDialog* SaveDialog1 = nullptr;
    // The window's own additions.
    QMenu* EvolveMenu = nullptr;
    TSearchPanel* SearchPanel = nullptr;
    std::unique_ptr<TWindowDocks> FDocks;
    TEvolveController* FEvolve = nullptr;
    TTargetActions* FTargets = nullptr;
    TSessionKeeper* FKept = nullptr;
    std::unique_ptr<TCommandShortcuts> FShortcuts;
    TUndoSteps* FUndo = nullptr;

    void BuildEvolveMenu();
    void ConnectCommands();
    void ConnectEvolve();
    // Undo and redo of what the commands change, and the keys beyond the commands' own.
    void BuildUndoAndKeys();

    // While a search runs, the fields that feed it and the other commands take no input.
    void SetSearching(bool searching);
    void ShowEvolveProgress(const TEvolveProgress& progress);
    // The search curve's dock, shown from the first search on.
    void ShowSearchCurve(const QString& runName);
    void ShowBlocks();
    void RefreshHistory();

    // Hands the controls' texts to the session / shows the session's texts and image.
    void PushToSession();
    void PullFromSession();
    // Runs a command of the session between a push and a pull, then reports its outcome.
    template <typename TCommand> void RunCommand(TCommand command);
};
