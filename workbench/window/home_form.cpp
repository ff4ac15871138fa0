#include "workbench/window/home_form.h"

#include <exception>
#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include "vesk/agent.h"
#include "workbench/window/blocks_panel.h"
#include "workbench/window/command_shortcuts.h"
#include "workbench/window/controls_panel.h"
#include "workbench/window/curve_chart.h"
#include "workbench/window/designed_bars.h"
#include "workbench/window/evolve_controller.h"
#include "workbench/window/hexa_strip.h"
#include "workbench/window/history_panel.h"
#include "workbench/window/outcome_report.h"
#include "workbench/window/plot_area.h"
#include "workbench/window/search_curve.h"
#include "workbench/window/search_panel.h"
#include "workbench/window/session_keeper.h"
#include "workbench/window/target_actions.h"
#include "workbench/window/undo_steps.h"
#include "workbench/window/window_docks.h"
#include "workbench/window/window_keys.h"

namespace Designed = DesignedGeometry;

TVeskTestHomeForm::TVeskTestHomeForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName("VeskTestHomeForm");
    setWindowTitle(QString::fromUtf8(vesk::ProgramTitle));
    QFont windowFont = font();
    windowFont.setPixelSize(Designed::FontPixels);
    setFont(windowFont);
    const TCommandRunner run = [this](const TSessionCommand& command) { RunCommand(command); };

    // The designed outline: the tool bar, the controls panel and the plot area side by side,
    // the progress bar of a search under them.
    auto* client = new QWidget(this);
    auto* clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    FCommands = MakeCommandActions(this);
    VeskToolBar = MakeCommandToolBar(FCommands, this);
    row->addWidget(VeskToolBar);
    FSControlsPanel = new TControlsPanel(FSession, this);
    row->addWidget(FSControlsPanel);
    Panel1 = new THexaStrip(this);
    ImagePanel = new TPlotArea(FSession, Panel1, run, this);
    row->addWidget(ImagePanel, 1);
    clientLayout->addLayout(row, 1);
    EvalProgressBar = new QProgressBar(client);
    EvalProgressBar->setObjectName("EvalProgressBar");
    EvalProgressBar->setRange(0, 100);
    EvalProgressBar->setFixedHeight(Designed::ProgressBarHeight);
    EvalProgressBar->setTextVisible(false);
    EvalProgressBar->hide();
    clientLayout->addWidget(EvalProgressBar);
    setCentralWidget(client);

    FEvolve = new TEvolveController(FSession, run, this);
    FTargets = new TTargetActions(FSession, *ImagePanel, *FSControlsPanel, run, this);
    const TDesignedStatusBar status = MakeStatusBar(*this);
    StatusBar1 = status.Bar;
    StatusPanel2 = status.ReadOut;
    SaveDialog1 = MakeSaveDialog(this);
    ImagePanel->Menu()->addAction(FCommands.Chart);
    FDocks = std::make_unique<TWindowDocks>(*this, *ImagePanel, FSession);
    BuildEvolveMenu();
    ConnectCommands();
    ConnectEvolve();
    BuildUndoAndKeys();
    FShortcuts = std::make_unique<TCommandShortcuts>(this);

    move(InitialBounds.topLeft());
    resize(InitialBounds.size());
    PullFromSession();
}

TVeskTestHomeForm::~TVeskTestHomeForm() {
    FShortcuts.reset();
    FEvolve->StopAndWait();
    // The fields and the image refer to the session, which is destroyed before QWidget deletes
    // the children: take them down while it still exists.
    delete takeCentralWidget();
}

// The menu of "Evolve": its settings, and the target it fits.
void TVeskTestHomeForm::BuildEvolveMenu() {
    EvolveMenu = new QMenu(this);
    EvolveMenu->setObjectName("EvolveMenu");
    EvolveMenu->addAction("Search Settings...", this, &TVeskTestHomeForm::EditSearchSettings)
        ->setObjectName("SearchSettingsAction");
    EvolveMenu->addSeparator();
    FTargets->AddTo(EvolveMenu);
    QToolButton* evolve = CommandButton(*VeskToolBar, FCommands.Evolve);
    evolve->setMenu(EvolveMenu);
    evolve->setPopupMode(QToolButton::MenuButtonPopup);
    SearchPanel = new TSearchPanel(FSession.Search, this);
    EvolveMenu->addSeparator();
    EvolveMenu->addAction(FDocks->HistoryAction());
    ImagePanel->Menu()->addAction(FDocks->HistoryAction());
    FKept = new TSessionKeeper(FSession, *FDocks->Curve(), *FTargets, this);
    FKept->AddTo(EvolveMenu);
    connect(SearchPanel, &QDialog::accepted, FKept, &TSessionKeeper::KeepSearchSettings);
    connect(FKept, &TSessionKeeper::Restored, this, [this] {
        RefreshHistory();
        if (FDocks->Curve()->Runs() > 0) FDocks->ShowCurve();
    });
}

void TVeskTestHomeForm::ConnectCommands() {
    connect(FCommands.RandomVesk, &QAction::triggered, this,
            &TVeskTestHomeForm::RandomVeskToolButtonClick);
    connect(FCommands.Hexa, &QAction::triggered, this, &TVeskTestHomeForm::HexaToolButtonClick);
    connect(FCommands.Save, &QAction::triggered, this, &TVeskTestHomeForm::SaveToolButtonClick);
    connect(FCommands.Fit, &QAction::triggered, this, &TVeskTestHomeForm::FitToolButtonClick);
    connect(FCommands.Evolve, &QAction::triggered, this, &TVeskTestHomeForm::EvolveToolButtonClick);
    connect(FCommands.Blocks, &QAction::triggered, this, &TVeskTestHomeForm::BlocksToolButtonClick);
    connect(FCommands.Chart, &QAction::triggered, this, &TVeskTestHomeForm::ChartToolButtonClick);

    // Enter in the Hexa String box runs "Hexa String" (when it may run).
    connect(Panel1, &THexaStrip::Entered, FCommands.Hexa, &QAction::trigger);
    connect(Panel1, &THexaStrip::DoubleClicked, this, &TVeskTestHomeForm::HexaComboBoxDblClick);
    connect(Panel1, &THexaStrip::TextChanged, this, &TVeskTestHomeForm::ShowBlocks);
    connect(FSControlsPanel, &TControlsPanel::ElementsEdited, this, &TVeskTestHomeForm::ShowBlocks);
    // Queued: the edited cell's editor is replaced when the panel shows the new text.
    connect(FDocks->Blocks(), &TBlocksPanel::TextEdited, Panel1, &THexaStrip::SetText,
            Qt::QueuedConnection);
    connect(ImagePanel, &TPlotArea::PointerRead, this, [this](const QString& text) {
        StatusBar1->clearMessage(); // the read-out's panel comes back
        StatusPanel2->setText(text);
    });
    connect(ImagePanel, &TPlotArea::PointerLeft, StatusPanel2, &QLabel::clear);
    connect(FTargets, &TTargetActions::ChartNeeded, this, [this] {
        FCommands.Chart->setChecked(true);
        ChartToolButtonClick();
    });
    connect(FDocks->History(), &THistoryPanel::ShowRequested, this, [this](const QString& hex) {
        if (!FCommands.Hexa->isEnabled()) return; // not while a search runs
        Panel1->SetText(hex);
        HexaToolButtonClick();
    });
    connect(FDocks->History(), &THistoryPanel::OverlayRequested, this,
            [this](const QStringList& hexes) {
                std::vector<vesk::TFuzzySet> sets;
                for (const QString& hex : hexes) {
                    vesk::TVesk pattern;
                    pattern.LoadFromHex(hex.toStdString());
                    sets.emplace_back();
                    vesk::ProjectPattern(pattern, pattern.Count(), FSession.ReferenceSet.Count(),
                                         sets.back());
                }
                ImagePanel->Chart()->ShowOverlays(sets, hexes);
            });
}

void TVeskTestHomeForm::ConnectEvolve() {
    connect(FEvolve, &TEvolveController::RunStarted, this, &TVeskTestHomeForm::ShowSearchCurve);
    connect(FEvolve, &TEvolveController::SearchingChanged, this, &TVeskTestHomeForm::SetSearching);
    connect(FEvolve, &TEvolveController::PointReached, FDocks->Curve(), &TSearchCurve::AddPoint);
    connect(FEvolve, &TEvolveController::Progressed, this, &TVeskTestHomeForm::ShowEvolveProgress);
    connect(FEvolve, &TEvolveController::Finished, this, [this](const QString& message) {
        StatusPanel2->clear(); // the progress ends with the search, the message says the rest
        StatusBar1->showMessage(message);
    });
}

void TVeskTestHomeForm::BuildUndoAndKeys() {
    FUndo = new TUndoSteps(
        FSession, *Panel1, *FSControlsPanel, *FTargets, [this] { PushToSession(); },
        [this] { PullFromSession(); }, this);
    // After the text it set (queued in this order): a block's edit is a step of its own.
    connect(FDocks->Blocks(), &TBlocksPanel::TextEdited, FUndo, &TUndoSteps::Record,
            Qt::QueuedConnection);
    new TWindowKeys(this, CommandButton(*VeskToolBar, FCommands.Evolve), EvolveMenu, ImagePanel,
                    {FUndo->UndoAction(), FUndo->RedoAction()});
}

void TVeskTestHomeForm::PushToSession() {
    FSControlsPanel->Store();
    FSession.HexaText = Panel1->Text().toStdString();
}

void TVeskTestHomeForm::PullFromSession() {
    FSControlsPanel->Show(FSession);
    Panel1->Show(FSession);
    ImagePanel->ShowSets(FSession.ReferenceSet, FSession.PatternSet);
    RefreshHistory();
}

void TVeskTestHomeForm::RefreshHistory() {
    if (FDocks->History()->Table()->rowCount() != static_cast<int>(FSession.History.size()))
        FDocks->History()->Refresh();
}

template <typename TCommand> void TVeskTestHomeForm::RunCommand(TCommand command) {
    StatusBar1->clearMessage();
    PushToSession();
    vesk::TCommandOutcome outcome;
    try {
        outcome = command();
    } catch (const std::exception& error) {
        // The session reports its own faults; anything else still must not pass through Qt.
        outcome = {};
        outcome.Error = std::string(error.what()) + ".";
    }
    PullFromSession();
    FUndo->Record();
    ReportOutcome(this, outcome);
}

void TVeskTestHomeForm::RandomVeskToolButtonClick() {
    RunCommand([this] { return FSession.RandomVesk(); });
}

void TVeskTestHomeForm::HexaToolButtonClick() {
    RunCommand([this] { return FSession.HexaString(); });
}

void TVeskTestHomeForm::FitToolButtonClick() {
    RunCommand([this] { return FSession.Fitness(); });
}

void TVeskTestHomeForm::SaveToolButtonClick() {
    if (!FSession.Image.HasBitmap()) {
        // Nothing has been plotted: say so instead of asking for a name that nothing is saved to.
        RunCommand([this] { return FSession.SaveImage({}); });
        return;
    }
    PrepareSaveDialog(*SaveDialog1);
    if (SaveDialog1->exec() != QDialog::Accepted) return;
    const QStringList files = SaveDialog1->selectedFiles();
    if (files.isEmpty()) return;
    const std::string path = files.first().toStdString();
    RunCommand([this, &path] { return FSession.SaveImage(path); });
}

void TVeskTestHomeForm::HexaComboBoxDblClick() {
    PushToSession();
    FSession.AppendHexaItem();
    PullFromSession();
}

bool TVeskTestHomeForm::EvolveRunning() const {
    return FEvolve->Running();
}

void TVeskTestHomeForm::EvolveToolButtonClick() {
    FEvolve->StartOrStop();
}

void TVeskTestHomeForm::EditSearchSettings() {
    SearchPanel->Load();
    SearchPanel->exec();
}

void TVeskTestHomeForm::SetSearching(bool searching) {
    for (QAction* other : {FCommands.RandomVesk, FCommands.Hexa, FCommands.Fit})
        other->setEnabled(!searching);
    FCommands.Evolve->setText(searching ? "Stop" : "Evolve");
    FSControlsPanel->SetReadOnly(searching);
    FUndo->SetSearching(searching);
    FTargets->SetSearching(searching);
    FKept->SetSearching(searching);
    Panel1->SetReadOnly(searching);
    FDocks->Blocks()->setEnabled(!searching);
    if (searching) {
        EvalProgressBar->setRange(0, 100);
        EvalProgressBar->setValue(0);
    }
    EvalProgressBar->setVisible(searching);
}

void TVeskTestHomeForm::ShowSearchCurve(const QString& runName) {
    FDocks->Curve()->StartRun(runName);
    FDocks->ShowCurve();
}

void TVeskTestHomeForm::ShowEvolveProgress(const TEvolveProgress& progress) {
    // A search without a share done shows the bar busy.
    EvalProgressBar->setRange(0, progress.Share ? 100 : 0);
    EvalProgressBar->setValue(progress.Share ? static_cast<int>(*progress.Share * 100) : 0);
    ImagePanel->ShowSets(progress.Reference, progress.Best);
    StatusPanel2->setText(progress.Text);
}

void TVeskTestHomeForm::BlocksToolButtonClick() {
    FDocks->ToggleBlocks([this] { ShowBlocks(); });
}

void TVeskTestHomeForm::ShowBlocks() {
    if (FDocks->Blocks()->isVisible())
        FDocks->Blocks()->ShowText(Panel1->Text(), FSControlsPanel->ShownElements());
}

void TVeskTestHomeForm::ChartToolButtonClick() {
    ImagePanel->ShowChart(FCommands.Chart->isChecked());
    RefreshHistory();
}

void TVeskTestHomeForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (FBoundsFitted) return;
    FBoundsFitted = true;
    // The designed bounds include the frame; where the platform adds one, shrink the client.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (!frame.isNull())
        resize(InitialBounds.width() - frame.left() - frame.right(),
               InitialBounds.height() - frame.top() - frame.bottom());
}

void TVeskTestHomeForm::closeEvent(QCloseEvent* event) {
    FEvolve->StopAndWait(); // a search still running ends with the window
    FKept->Keep();
    QMainWindow::closeEvent(event);
}
