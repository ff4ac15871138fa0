#pragma once
// The workbench window: the controls, their defaults, and the handlers that run the session's
// commands and show what they report.

#include <QMainWindow>

#include "workbench/session.h"

class QAction;
class QComboBox;
class QDockWidget;
class QFileDialog;
class QFrame;
class QKeyEvent;
class QLabel;
class QMenu;
class QProgressBar;
class QStatusBar;
class QToolBar;
class QToolButton;
class TBlocksPanel;
class TCurveChart;
class THistoryPanel;
class TSearchCurve;
class TSearchPanel;
class TEvolveRunner;
class TImageView;
class TSpinEdit;

// The main window of VeskTest. It owns the session (and through it PatternSet and ReferenceSet)
// and holds no state of its own beyond the controls: before a command it hands the controls'
// texts to the session, afterwards it shows the session's texts and image.
class TVeskTestHomeForm : public QMainWindow {
    Q_OBJECT

public:
    static constexpr QRect InitialBounds{83, 131, 854, 329}; // outer frame, as designed

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
    void ImagePanelResize();
    void HexaComboBoxDblClick();
    void EvolveToolButtonClick(); // "Evolve", or "Stop" while a search runs
    void BlocksToolButtonClick(); // shows or hides the block panel
    void ChartToolButtonClick();  // switches the image area between the plot and the chart
    // The plot's own menu (right click): copy the image, copy the sets as CSV, save the image
    // as PNG, SVG or BMP.
    void CopyPlotImage();
    void CopyPlotData();
    void ExportPlot();
    // The menu of "Evolve": its settings, and the target it fits.
    void EditSearchSettings();
    void LoadTarget();
    void FitTheReference();
    void DrawTarget(); // turns the chart's drawing mode on or off (the chart is shown for it)
    void SaveDrawnTarget();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    vesk::TWorkbenchSession FSession;
    bool FBoundsFitted = false;

    // The controls, named as the handlers and tests know them.
    QStatusBar* StatusBar1 = nullptr;
    QProgressBar* EvalProgressBar = nullptr;
    QToolBar* VeskToolBar = nullptr;
    QToolButton* RandomVeskToolButton = nullptr;
    QFrame* ImagePanel = nullptr;
    TImageView* FSImage = nullptr;
    QFrame* FSControlsPanel = nullptr;
    TSpinEdit* XElementsSpinEdit = nullptr;
    TSpinEdit* NBlocksSpinEdit = nullptr;
    QLabel* CardinalityLabel = nullptr;
    QLabel* SubSethoodLabel = nullptr;
    QLabel* HammingLabel = nullptr;
    QLabel* FitnessLabel = nullptr;
    QToolButton* HexaToolButton = nullptr;
    QFrame* Panel1 = nullptr;
    QComboBox* HexaComboBox = nullptr;
    QToolButton* SaveToolButton = nullptr;
    QFileDialog* SaveDialog1 = nullptr;
    QToolButton* FitToolButton = nullptr;
    QToolButton* EvolveToolButton = nullptr;
    QToolButton* BlocksToolButton = nullptr;
    TBlocksPanel* BlocksPanel = nullptr;
    QDockWidget* BlocksDock = nullptr;
    QAction* RandomVeskAction = nullptr;
    QAction* HexaAction = nullptr;
    QAction* SaveAction = nullptr;
    QAction* FitAction = nullptr;
    QAction* EvolveAction = nullptr;
    QAction* BlocksAction = nullptr;
    QToolButton* ChartToolButton = nullptr;
    QAction* ChartAction = nullptr;
    TCurveChart* Chart = nullptr;
    QMenu* PlotMenu = nullptr;
    QMenu* EvolveMenu = nullptr;
    QAction* DrawTargetAction = nullptr;
    TSearchPanel* SearchPanel = nullptr;
    QDockWidget* SearchCurveDock = nullptr;
    QDockWidget* HistoryDock = nullptr;
    THistoryPanel* HistoryPanel = nullptr;
    QAction* HistoryAction = nullptr;
    TSearchCurve* SearchCurve = nullptr;
    QFileDialog* TargetDialog = nullptr;
    QFileDialog* ExportDialog = nullptr;
    QLabel* StatusPanel2 = nullptr;
    TEvolveRunner* FEvolve = nullptr;
    vesk::TSearchSettings FEvolveSettings; // the running search's limits
    vesk::TFuzzySet FEvolveReference;      // what the search's progress is drawn against

    struct TCommandPlace;
    static const TCommandPlace Commands[];

    void EvolveProgressed(const vesk::TSearchProgress& progress);
    void EvolveFinished(const vesk::TSearchResult& result);
    // While a search runs, the fields that feed it and the Hexa String text take no edits.
    void SetSearching(bool searching);
    // Whether a key event is the shortcut of one of the window's commands.
    bool IsCommandShortcut(const QKeyEvent& event) const;
    void ShowBlocks();
    void ShowPointer(int column);
    void ShowElement(int element);
    bool ChartShown() const;
    // What the image area shows now, as a picture: the plot's bitmap, or the chart.
    QImage ShownPicture() const;

    QWidget* BuildToolBar();
    QWidget* BuildControlsPanel();
    QWidget* BuildImagePanel();
    void BuildStatusBar();
    void BuildSaveDialog();
    void BuildPlotMenu();
    void BuildEvolveMenu();
    void BuildHistoryDock();
    // Shows the own target (or none) on the chart.
    void ShowTarget();
    void BuildBlocksDock();
    // The narrowest the Hexa String box becomes: about forty digits.
    int HexaComboLeast() const;
    void PlaceHexaComboBox();

    // Hands the controls' texts to the session / shows the session's texts and image.
    void PushToSession();
    void PullFromSession();
    // Runs a command of the session between a push and a pull, then reports its outcome.
    template <typename TCommand> void RunCommand(TCommand command);
};
