#include "workbench/window/home_form.h"

#include <algorithm>
#include <exception>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include "vesk/agent.h"
#include "workbench/plot_export.h"
#include "workbench/saved_file.h"
#include "workbench/window/blocks_panel.h"
#include "workbench/window/curve_chart.h"
#include "workbench/window/evolve_runner.h"
#include "workbench/window/history_panel.h"
#include "workbench/window/image_view.h"
#include "workbench/window/outcome_report.h"
#include "workbench/window/search_curve.h"
#include "workbench/window/search_panel.h"
#include "workbench/window/spin_edit.h"

namespace {

constexpr int ToolBarWidth = 97;
constexpr QSize ToolButtonSize{71, 21};
constexpr int ControlsPanelWidth = 136;
constexpr QSize SpinEditSize{57, 26};
constexpr int HexaStripHeight = 32;
constexpr int StatusBarHeight = 21;
constexpr int ProgressBarHeight = 11;
constexpr int FontPixels = 10;
constexpr int ValueFontPixels = 15;

// The combo box sits at left 72, top 8, 310 x 21 in the 611-wide strip, and keeps its distances
// to the strip's right and bottom edges when the strip is resized.
constexpr QRect HexaComboDesign{72, 8, 310, 21};
constexpr int HexaStripDesignWidth = 611;
constexpr int HexaComboRightGap = HexaStripDesignWidth - (72 + 310);
constexpr int HexaComboBottomGap = HexaStripHeight - (8 + 21);
// The narrowest the Hexa String box and the plot become.
constexpr int HexaComboLeastDigits = 40;
constexpr int PlotLeastWidth = 300;

const char* const StatusCaption = "Vesk patterns";
const char* const SaveDialogTitle = "Save Solution Image";
const QStringList SaveDialogFilters{"bitmap files (*.bmp)", "all files (*.*)"};
// The plot's export: the format follows the filter, in the order of these formats.
const QStringList ExportFilters{"PNG image (*.png)", "SVG drawing (*.svg)", "bitmap files (*.bmp)"};
constexpr vesk::TImageFormat ExportFormats[] = {vesk::TImageFormat::Png, vesk::TImageFormat::Svg,
                                                vesk::TImageFormat::Bmp};

struct TLabelPlace {
    const char* Name;
    const char* Caption;
    QPoint Position;
};

// The captions of the controls panel that never change.
const TLabelPlace PlainLabels[] = {
    {"XLabel", "FS Elements:", {8, 16}}, {"Label1", "FS Blocks", {16, 48}},
    {"Label2", "Cardinality:", {8, 72}}, {"Label3", "Subsethood:", {8, 96}},
    {"Label4", "Hamming", {8, 120}},     {"Label5", "Fitness", {8, 144}},
};

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QPoint position) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // the value captions keep their leading blanks
    label->move(position);
    label->adjustSize();
    return label;
}

QToolButton* MakeToolButton(QToolBar* bar, const char* name, const char* caption) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(ToolButtonSize);
    bar->addWidget(button);
    button->setAutoRaise(false); // drawn as buttons; the tool bar makes its buttons flat
    return button;
}

QFrame* MakePanel(QWidget* parent, const char* name) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    return panel;
}

void SetCaption(QLabel* label, const std::string& caption) {
    const QString text = QString::fromStdString(caption);
    if (label->text() == text) return;
    label->setText(text);
    label->adjustSize();
}

// What the status bar says when a search has ended: how it ended, the evaluations (with the
// locale's digit grouping), the time, the distance and the fitness of the result.
QString EvolveEndMessage(const vesk::TSearchResult& result, std::int32_t elements) {
    const QLocale locale;
    if (result.Stopped == vesk::TSearchEnd::Failed) return "Evolve failed";
    const QString how =
        QString("%1 evaluations in %2 s, distance %3, fitness %4")
            .arg(locale.toString(static_cast<qulonglong>(result.Evaluations)),
                 locale.toString(result.Seconds, 'f', 1), locale.toString(result.Best, 'f', 2))
            .arg(vesk::FitnessOfDistance(result.Best, elements));
    return result.Stopped == vesk::TSearchEnd::Interrupted ? "Evolve stopped after " + how
                                                           : "Evolve finished: " + how;
}

} // namespace

TVeskTestHomeForm::TVeskTestHomeForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName("VeskTestHomeForm");
    setWindowTitle(QString::fromUtf8(vesk::ProgramTitle));
    QFont windowFont = font();
    windowFont.setPixelSize(FontPixels);
    setFont(windowFont);

    auto* client = new QWidget(this);
    auto* clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(BuildToolBar());
    row->addWidget(BuildControlsPanel());
    row->addWidget(BuildImagePanel(), 1);
    clientLayout->addLayout(row, 1);

    EvalProgressBar = new QProgressBar(client);
    EvalProgressBar->setObjectName("EvalProgressBar");
    EvalProgressBar->setRange(0, 100);
    EvalProgressBar->setFixedHeight(ProgressBarHeight);
    EvalProgressBar->setTextVisible(false);
    EvalProgressBar->hide();
    clientLayout->addWidget(EvalProgressBar);
    setCentralWidget(client);

    BuildBlocksDock();
    BuildStatusBar();
    BuildSaveDialog();
    BuildPlotMenu();
    BuildEvolveMenu();
    BuildHistoryDock();

    FEvolve = new TEvolveRunner(this);
    connect(FEvolve, &TEvolveRunner::Progressed, this, &TVeskTestHomeForm::EvolveProgressed);
    connect(FEvolve, &TEvolveRunner::Finished, this, &TVeskTestHomeForm::EvolveFinished);
    connect(HexaComboBox, &QComboBox::editTextChanged, this, &TVeskTestHomeForm::ShowBlocks);
    connect(XElementsSpinEdit, &QAbstractSpinBox::editingFinished, this,
            &TVeskTestHomeForm::ShowBlocks);
    // Queued: the edited cell's editor is replaced when the panel shows the new text.
    connect(
        BlocksPanel, &TBlocksPanel::TextEdited, this,
        [this](const QString& text) { HexaComboBox->setEditText(text); }, Qt::QueuedConnection);
    connect(FSImage, &TImageView::PointerOverColumn, this, &TVeskTestHomeForm::ShowPointer);
    // Enter in the Hexa String box runs "Hexa String" (when it may run).
    connect(HexaComboBox->lineEdit(), &QLineEdit::returnPressed, HexaAction, &QAction::trigger);
    // Every event of the application passes eventFilter: the resizes and double clicks it
    // handles, and the shortcut claims of whatever field has the focus.
    qApp->installEventFilter(this);
    connect(FSImage, &TImageView::PointerLeft, this, [this] { StatusPanel2->clear(); });
    connect(Chart, &TCurveChart::PointerOverElement, this, &TVeskTestHomeForm::ShowElement);
    connect(Chart, &TCurveChart::PointerLeft, this, [this] { StatusPanel2->clear(); });

    move(InitialBounds.topLeft());
    resize(InitialBounds.size());
    PullFromSession();
}

TVeskTestHomeForm::~TVeskTestHomeForm() {
    qApp->removeEventFilter(this);
    FEvolve->StopAndWait();
    // The fields and the image refer to the session, which is destroyed before QWidget deletes
    // the children: take them down while it still exists.
    delete takeCentralWidget();
}

// The window's commands: each a QAction (text, shortcut, tooltip, enabled state) shown by its
// tool button, so that a button, its shortcut and its enabled state cannot disagree.
struct TVeskTestHomeForm::TCommandPlace {
    QToolButton* TVeskTestHomeForm::*Button;
    QAction* TVeskTestHomeForm::*Action;
    const char* Name;
    const char* Caption;
    const char* Keys;
    const char* Tip; // nullptr: the caption and the keys
    void (TVeskTestHomeForm::*Run)();
    bool Checkable = false;
};

const TVeskTestHomeForm::TCommandPlace TVeskTestHomeForm::Commands[] = {
    {&TVeskTestHomeForm::RandomVeskToolButton, &TVeskTestHomeForm::RandomVeskAction,
     "RandomVeskToolButton", "Random Vesk", "Ctrl+R", nullptr,
     &TVeskTestHomeForm::RandomVeskToolButtonClick},
    {&TVeskTestHomeForm::HexaToolButton, &TVeskTestHomeForm::HexaAction, "HexaToolButton",
     "Hexa String", "Ctrl+H", nullptr, &TVeskTestHomeForm::HexaToolButtonClick},
    {&TVeskTestHomeForm::SaveToolButton, &TVeskTestHomeForm::SaveAction, "SaveToolButton",
     "Save Image", "Ctrl+S", nullptr, &TVeskTestHomeForm::SaveToolButtonClick},
    {&TVeskTestHomeForm::FitToolButton, &TVeskTestHomeForm::FitAction, "FitToolButton", "Fitness",
     "Ctrl+F", nullptr, &TVeskTestHomeForm::FitToolButtonClick},
    {&TVeskTestHomeForm::EvolveToolButton, &TVeskTestHomeForm::EvolveAction, "EvolveToolButton",
     "Evolve", "Ctrl+E", "Evolve or Stop (Ctrl+E)", &TVeskTestHomeForm::EvolveToolButtonClick},
    {&TVeskTestHomeForm::BlocksToolButton, &TVeskTestHomeForm::BlocksAction, "BlocksToolButton",
     "Blocks", "Ctrl+B", "Show or hide the blocks of the Hexa String text (Ctrl+B)",
     &TVeskTestHomeForm::BlocksToolButtonClick},
    {&TVeskTestHomeForm::ChartToolButton, &TVeskTestHomeForm::ChartAction, "ChartToolButton",
     "Chart", "Ctrl+G", "Show the chart or the designed plot (Ctrl+G)",
     &TVeskTestHomeForm::ChartToolButtonClick, true},
};

QWidget* TVeskTestHomeForm::BuildToolBar() {
    VeskToolBar = new QToolBar(this);
    VeskToolBar->setObjectName("VeskToolBar");
    VeskToolBar->setOrientation(Qt::Vertical);
    VeskToolBar->setMovable(false);
    VeskToolBar->setFloatable(false);
    VeskToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    VeskToolBar->setFixedWidth(ToolBarWidth);
    VeskToolBar->setContextMenuPolicy(Qt::PreventContextMenu);

    for (const TCommandPlace& place : Commands) {
        auto* action = new QAction(place.Caption, this);
        action->setShortcut(QKeySequence(place.Keys));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setCheckable(place.Checkable);
        action->setToolTip(place.Tip ? QString(place.Tip)
                                     : QString("%1 (%2)").arg(place.Caption, place.Keys));
        connect(action, &QAction::triggered, this, place.Run);
        addAction(action); // its shortcut works wherever the focus is in the window
        this->*place.Action = action;
        QToolButton* button = MakeToolButton(VeskToolBar, place.Name, place.Caption);
        button->setDefaultAction(action);
        this->*place.Button = button;
    }
    // However small the window, every command's button shows (no collapsed tool bar).
    VeskToolBar->setMinimumHeight(VeskToolBar->sizeHint().height());
    return VeskToolBar;
}

QWidget* TVeskTestHomeForm::BuildControlsPanel() {
    FSControlsPanel = MakePanel(this, "FSControlsPanel");
    FSControlsPanel->setFixedWidth(ControlsPanelWidth);

    for (const TLabelPlace& place : PlainLabels)
        MakeLabel(FSControlsPanel, place.Name, place.Caption, place.Position);

    XElementsSpinEdit = new TSpinEdit(FSession.Elements, FSControlsPanel);
    XElementsSpinEdit->setObjectName("XElementsSpinEdit");
    XElementsSpinEdit->setGeometry(QRect({72, 8}, SpinEditSize));
    NBlocksSpinEdit = new TSpinEdit(FSession.Blocks, FSControlsPanel);
    NBlocksSpinEdit->setObjectName("NBlocksSpinEdit");
    NBlocksSpinEdit->setGeometry(QRect({72, 40}, SpinEditSize));

    QFont valueFont = font();
    valueFont.setPixelSize(ValueFontPixels);
    valueFont.setBold(true);
    const auto valueLabel = [&](const char* name, QPoint position) {
        QLabel* label = MakeLabel(FSControlsPanel, name, {}, position);
        label->setFont(valueFont);
        return label;
    };
    CardinalityLabel = valueLabel("CardinalityLabel", {64, 72});
    SubSethoodLabel = valueLabel("SubSethoodLabel", {72, 96});
    HammingLabel = valueLabel("HammingLabel", {64, 120});
    FitnessLabel = valueLabel("FitnessLabel", {48, 144});
    // However small the window, every caption and read-out shows whole.
    FSControlsPanel->setMinimumHeight(FSControlsPanel->childrenRect().bottom() + 8);
    return FSControlsPanel;
}

QWidget* TVeskTestHomeForm::BuildImagePanel() {
    ImagePanel = MakePanel(this, "ImagePanel");
    auto* layout = new QVBoxLayout(ImagePanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = MakePanel(ImagePanel, "Panel1");
    Panel1->setFixedHeight(HexaStripHeight);
    MakeLabel(Panel1, "Label6", "Hexa String:", {8, 8});
    HexaComboBox = new QComboBox(Panel1);
    HexaComboBox->setObjectName("HexaComboBox");
    HexaComboBox->setEditable(true);
    HexaComboBox->setInsertPolicy(QComboBox::NoInsert); // Enter does not add to the list
    HexaComboBox->setCompleter(nullptr);                // typed text stays as typed
    HexaComboBox->setGeometry(HexaComboDesign);
    layout->addWidget(Panel1);

    FSImage = new TImageView(FSession.Image, ImagePanel);
    FSImage->setObjectName("FSImage");
    layout->addWidget(FSImage, 1);
    Chart = new TCurveChart(ImagePanel);
    Chart->hide(); // the window opens on the designed plot
    layout->addWidget(Chart, 1);
    ImagePanel->setMinimumWidth(
        std::max(PlotLeastWidth, HexaComboDesign.left() + HexaComboLeast() + 8));
    return ImagePanel;
}

void TVeskTestHomeForm::BuildStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(true);
    StatusBar1->setFixedHeight(StatusBarHeight);
    const auto panel = [&](int width, const QString& caption) {
        auto* label = new QLabel(caption, StatusBar1);
        label->setFixedWidth(width);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        StatusBar1->addWidget(label);
        return label;
    };
    panel(200, StatusCaption)->setObjectName("StatusPanel1");
    StatusPanel2 = panel(339, {});
    StatusPanel2->setObjectName("StatusPanel2");
    setStatusBar(StatusBar1);
}

void TVeskTestHomeForm::BuildSaveDialog() {
    SaveDialog1 = new QFileDialog(this);
    SaveDialog1->setObjectName("SaveDialog1");
    // Qt's own dialog, the same on every desktop; it asks before replacing an existing file.
    SaveDialog1->setOption(QFileDialog::DontUseNativeDialog);
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setFileMode(QFileDialog::AnyFile);
    SaveDialog1->setNameFilters(SaveDialogFilters);
    SaveDialog1->setDefaultSuffix({});
    SaveDialog1->setSizeGripEnabled(true);
}

void TVeskTestHomeForm::BuildBlocksDock() {
    BlocksDock = new QDockWidget("Blocks", this);
    BlocksDock->setObjectName("BlocksDock");
    BlocksDock->setFeatures(QDockWidget::DockWidgetClosable);
    BlocksPanel = new TBlocksPanel(BlocksDock);
    BlocksDock->setWidget(BlocksPanel);
    addDockWidget(Qt::RightDockWidgetArea, BlocksDock);
    BlocksDock->hide(); // the window opens as designed
    BlocksPanel->hide();
    // Closed by its own button, the panel goes as the tool button would take it. (The panel is
    // the context, not the window: the dock still signals while the window is taken down.)
    connect(BlocksDock, &QDockWidget::visibilityChanged, BlocksPanel,
            [dock = BlocksDock, panel = BlocksPanel](bool visible) {
                if (!visible && dock->isHidden()) panel->hide();
            });
}

void TVeskTestHomeForm::BuildPlotMenu() {
    PlotMenu = new QMenu(this);
    PlotMenu->setObjectName("PlotMenu");
    PlotMenu->addAction("Copy Image", this, &TVeskTestHomeForm::CopyPlotImage)
        ->setObjectName("CopyImageAction");
    PlotMenu->addAction("Copy Data as CSV", this, &TVeskTestHomeForm::CopyPlotData)
        ->setObjectName("CopyDataAction");
    PlotMenu->addAction("Save Image As...", this, &TVeskTestHomeForm::ExportPlot)
        ->setObjectName("ExportAction");
    PlotMenu->addSeparator();
    PlotMenu->addAction(ChartAction);
    for (QWidget* view : {static_cast<QWidget*>(FSImage), static_cast<QWidget*>(Chart)}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](QPoint at) { PlotMenu->popup(view->mapToGlobal(at)); });
    }

    ExportDialog = new QFileDialog(this, "Save Image As");
    ExportDialog->setObjectName("ExportDialog");
    ExportDialog->setOption(QFileDialog::DontUseNativeDialog);
    ExportDialog->setAcceptMode(QFileDialog::AcceptSave);
    ExportDialog->setFileMode(QFileDialog::AnyFile);
    ExportDialog->setNameFilters(ExportFilters);
}

void TVeskTestHomeForm::BuildEvolveMenu() {
    EvolveMenu = new QMenu(this);
    EvolveMenu->setObjectName("EvolveMenu");
    EvolveMenu->addAction("Search Settings...", this, &TVeskTestHomeForm::EditSearchSettings)
        ->setObjectName("SearchSettingsAction");
    EvolveMenu->addSeparator();
    EvolveMenu->addAction("Load Target...", this, &TVeskTestHomeForm::LoadTarget)
        ->setObjectName("LoadTargetAction");
    DrawTargetAction = EvolveMenu->addAction("Draw Target", this, &TVeskTestHomeForm::DrawTarget);
    DrawTargetAction->setObjectName("DrawTargetAction");
    DrawTargetAction->setCheckable(true);
    EvolveMenu->addAction("Save Drawn Target...", this, &TVeskTestHomeForm::SaveDrawnTarget)
        ->setObjectName("SaveTargetAction");
    EvolveMenu->addAction("Fit the Reference", this, &TVeskTestHomeForm::FitTheReference)
        ->setObjectName("ReferenceTargetAction");
    EvolveToolButton->setMenu(EvolveMenu);
    EvolveToolButton->setPopupMode(QToolButton::MenuButtonPopup);

    SearchPanel = new TSearchPanel(FSession.Search, this);
    // The search's curve, docked below, shown from the first search on.
    SearchCurveDock = new QDockWidget("Search", this);
    SearchCurveDock->setObjectName("SearchCurveDock");
    SearchCurveDock->setFeatures(QDockWidget::DockWidgetClosable);
    SearchCurve = new TSearchCurve(SearchCurveDock);
    SearchCurveDock->setWidget(SearchCurve);
    addDockWidget(Qt::BottomDockWidgetArea, SearchCurveDock);
    SearchCurveDock->hide();
    TargetDialog = new QFileDialog(this, "Load Target");
    TargetDialog->setObjectName("TargetDialog");
    TargetDialog->setOption(QFileDialog::DontUseNativeDialog);
    TargetDialog->setFileMode(QFileDialog::ExistingFile);
    TargetDialog->setNameFilters({"targets (*.txt *.csv *.json)", "all files (*)"});
    connect(Chart, &TCurveChart::TargetDrawn, this, [this](const std::vector<std::int32_t>& d) {
        vesk::TFuzzySet target;
        for (std::int32_t degree : d)
            target.AddDegree(degree);
        FSession.Search.Target = target;
        FSession.Search.TargetName = "drawn target";
    });
}

void TVeskTestHomeForm::BuildHistoryDock() {
    HistoryDock = new QDockWidget("History", this);
    HistoryDock->setObjectName("HistoryDock");
    HistoryDock->setFeatures(QDockWidget::DockWidgetClosable);
    HistoryPanel = new THistoryPanel(FSession.History, HistoryDock);
    HistoryDock->setWidget(HistoryPanel);
    addDockWidget(Qt::BottomDockWidgetArea, HistoryDock);
    HistoryDock->hide(); // hidden at start
    HistoryAction = HistoryDock->toggleViewAction();
    HistoryAction->setText("History");
    HistoryAction->setShortcut(QKeySequence("Ctrl+Y"));
    HistoryAction->setObjectName("HistoryAction");
    addAction(HistoryAction);
    EvolveMenu->addSeparator();
    EvolveMenu->addAction(HistoryAction);
    PlotMenu->addAction(HistoryAction);
    connect(HistoryPanel, &THistoryPanel::ShowRequested, this, [this](const QString& hex) {
        if (!HexaAction->isEnabled()) return; // not while a search runs
        HexaComboBox->setEditText(hex);
        HexaToolButtonClick();
    });
    connect(HistoryPanel, &THistoryPanel::OverlayRequested, this, [this](const QStringList& hexes) {
        std::vector<vesk::TFuzzySet> sets;
        for (const QString& hex : hexes) {
            vesk::TVesk pattern;
            pattern.LoadFromHex(hex.toStdString());
            sets.emplace_back();
            vesk::ProjectPattern(pattern, pattern.Count(), FSession.ReferenceSet.Count(),
                                 sets.back());
        }
        Chart->ShowOverlays(sets, hexes);
    });
}

void TVeskTestHomeForm::ShowTarget() {
    Chart->ShowTarget(FSession.Search.Target.value_or(vesk::TFuzzySet()));
}

void TVeskTestHomeForm::EditSearchSettings() {
    SearchPanel->Load();
    SearchPanel->exec();
}

void TVeskTestHomeForm::LoadTarget() {
    if (TargetDialog->exec() != QDialog::Accepted || TargetDialog->selectedFiles().isEmpty())
        return;
    const std::string path = TargetDialog->selectedFiles().first().toStdString();
    RunCommand([this, &path] { return FSession.SetTarget(path); });
    ShowTarget();
}

void TVeskTestHomeForm::FitTheReference() {
    FSession.SetTarget("reference");
    DrawTargetAction->setChecked(false);
    Chart->SetDrawing(false);
    ShowTarget();
}

void TVeskTestHomeForm::DrawTarget() {
    if (DrawTargetAction->isChecked() && !ChartShown()) {
        ChartAction->setChecked(true);
        ChartToolButtonClick();
    }
    // On the own target's elements, or the plotted sets', or those of FS Elements.
    const vesk::TSearchSetup& search = FSession.Search;
    int elements = search.Target ? search.Target->Count() : FSession.ReferenceSet.Count();
    if (elements == 0)
        elements =
            std::clamp(vesk::ParseSpinInteger(XElementsSpinEdit->text().toStdString()).value_or(1),
                       FSession.Elements.Minimum, FSession.Elements.Maximum);
    Chart->SetDrawing(DrawTargetAction->isChecked(), elements);
}

void TVeskTestHomeForm::SaveDrawnTarget() {
    if (!FSession.Search.Target) {
        ReportOutcome(this,
                      {std::nullopt, std::nullopt, std::string("There is no target to save.")});
        return;
    }
    const QString name = QFileDialog::getSaveFileName(this, "Save Target", {}, "CSV (*.csv)",
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (name.isEmpty()) return;
    const QString path = name.endsWith(".csv", Qt::CaseInsensitive) ? name : name + ".csv";
    std::string degrees;
    for (std::int32_t i = 0; i < FSession.Search.Target->Count(); ++i)
        degrees += std::to_string(FSession.Search.Target->GetDegree(i)) + "\n";
    if (auto error = vesk::SaveFile(QFile::encodeName(path).toStdString(), degrees))
        ReportOutcome(this, {std::nullopt, std::move(error), std::nullopt});
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

bool TVeskTestHomeForm::IsCommandShortcut(const QKeyEvent& event) const {
    const QKeySequence keys(event.keyCombination());
    for (const QAction* action : actions())
        if (action->shortcut() == keys) return true;
    return false;
}

bool TVeskTestHomeForm::eventFilter(QObject* watched, QEvent* event) {
    // The text fields claim some Ctrl keys for their own editing (Ctrl+E, Ctrl+H, ...): left
    // unclaimed, the window's command takes them, wherever the focus is in the window.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this &&
            IsCommandShortcut(static_cast<const QKeyEvent&>(*event))) {
            event->ignore();
            return true;
        }
    }
    // While a search runs, the Hexa String box's list cannot be stepped through either.
    if (FEvolve != nullptr && FEvolve->Running() &&
        (watched == HexaComboBox || watched == HexaComboBox->lineEdit())) {
        const QEvent::Type type = event->type();
        if (type == QEvent::Wheel || (type == QEvent::MouseButtonPress && watched == HexaComboBox))
            return true;
        if (type == QEvent::KeyPress) {
            const int key = static_cast<const QKeyEvent&>(*event).key();
            if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                key == Qt::Key_PageDown || key == Qt::Key_F4)
                return true;
        }
    }
    if (event->type() == QEvent::Resize) {
        if (watched == ImagePanel) ImagePanelResize();
        if (watched == Panel1) PlaceHexaComboBox();
    } else if (event->type() == QEvent::MouseButtonDblClick &&
               (watched == HexaComboBox || watched == HexaComboBox->lineEdit())) {
        HexaComboBoxDblClick();
    }
    return QMainWindow::eventFilter(watched, event);
}

int TVeskTestHomeForm::HexaComboLeast() const {
    // Forty digits of the mean hex digit's width, and the drop-down arrow.
    const int sixteen = HexaComboBox->fontMetrics().horizontalAdvance("0123456789ABCDEF");
    const QStyle* style = HexaComboBox->style();
    return sixteen * HexaComboLeastDigits / 16 + style->pixelMetric(QStyle::PM_ScrollBarExtent) +
           2 * style->pixelMetric(QStyle::PM_ComboBoxFrameWidth) + 8;
}

void TVeskTestHomeForm::PlaceHexaComboBox() {
    // The designed distance to the strip's right edge, given up on a narrow strip as far as it
    // takes to keep the box about forty digits wide.
    int width = std::max(0, Panel1->width() - HexaComboDesign.left() - HexaComboRightGap);
    if (width < HexaComboLeast())
        width = std::min(HexaComboLeast(), Panel1->width() - HexaComboDesign.left() - 8);
    const int height = std::max(0, Panel1->height() - HexaComboDesign.top() - HexaComboBottomGap);
    HexaComboBox->setGeometry(HexaComboDesign.left(), HexaComboDesign.top(), width, height);
}

void TVeskTestHomeForm::ImagePanelResize() {
    // The image keeps its bitmap; the view repaints it stretched to its new size.
    FSImage->update();
}

void TVeskTestHomeForm::HexaComboBoxDblClick() {
    PushToSession();
    FSession.AppendHexaItem();
    PullFromSession();
}

void TVeskTestHomeForm::PushToSession() {
    XElementsSpinEdit->StoreText();
    NBlocksSpinEdit->StoreText();
    FSession.HexaText = HexaComboBox->currentText().toStdString();
}

void TVeskTestHomeForm::PullFromSession() {
    XElementsSpinEdit->LoadText();
    NBlocksSpinEdit->LoadText();

    QStringList items;
    for (const std::string& item : FSession.HexaItems)
        items << QString::fromStdString(item);
    const QString text = QString::fromStdString(FSession.HexaText);
    bool same = HexaComboBox->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i)
        same = HexaComboBox->itemText(i) == items[i];
    if (!same) {
        HexaComboBox->clear();
        HexaComboBox->addItems(items);
        HexaComboBox->setCurrentIndex(-1);
    }
    if (HexaComboBox->currentText() != text) HexaComboBox->setEditText(text);

    SetCaption(CardinalityLabel, FSession.CardinalityCaption);
    SetCaption(SubSethoodLabel, FSession.SubsethoodCaption);
    SetCaption(HammingLabel, FSession.HammingCaption);
    SetCaption(FitnessLabel, FSession.FitnessCaption);
    FSImage->update();
    Chart->ShowSets(FSession.ReferenceSet, FSession.PatternSet);
    if (HistoryPanel != nullptr &&
        HistoryPanel->Table()->rowCount() != static_cast<int>(FSession.History.size()))
        HistoryPanel->Refresh();
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
    SaveDialog1->setWindowTitle(SaveDialogTitle);
    SaveDialog1->selectNameFilter(SaveDialogFilters.first());
    if (SaveDialog1->exec() != QDialog::Accepted) return;
    const QStringList files = SaveDialog1->selectedFiles();
    if (files.isEmpty()) return;
    const std::string path = files.first().toStdString();
    RunCommand([this, &path] { return FSession.SaveImage(path); });
}

bool TVeskTestHomeForm::EvolveRunning() const {
    return FEvolve->Running();
}

void TVeskTestHomeForm::closeEvent(QCloseEvent* event) {
    FEvolve->StopAndWait(); // a search still running ends with the window
    QMainWindow::closeEvent(event);
}

void TVeskTestHomeForm::EvolveToolButtonClick() {
    if (FEvolve->Running()) {
        FEvolve->Stop();
        return;
    }
    vesk::TSearchSettings settings;
    bool ready = false;
    RunCommand([this, &settings, &ready] {
        vesk::TCommandOutcome outcome = FSession.PrepareEvolve(settings);
        ready = !outcome.Error;
        return outcome;
    });
    if (!ready) return;
    FEvolveReference = settings.Target;
    FEvolveSettings.Evaluations = settings.Evaluations;
    FEvolveSettings.Seconds = settings.Seconds;
    // One curve a run, named by what it searched and how.
    const vesk::TSearchSetup& search = FSession.Search;
    SearchCurve->StartRun(QString("%1: %2 blocks, %3, seed %4")
                              .arg(SearchCurve->Runs() + 1)
                              .arg(settings.Blocks)
                              .arg(search.Target
                                       ? QString::fromStdString(search.TargetName)
                                       : QString("reference of %1").arg(settings.Target.Count()))
                              .arg(settings.Seed));
    if (SearchCurveDock->isHidden()) {
        // The window grows by the curve's height, as far as the screen has room.
        SearchCurveDock->show();
        const int wanted = height() + SearchCurve->minimumHeight() + 24;
        const int room = screen() ? screen()->availableGeometry().bottom() - y() + 1 : wanted;
        if (height() < room) resize(width(), std::min(wanted, room));
    }
    SetSearching(true);
    EvalProgressBar->setRange(0, 100);
    EvalProgressBar->setValue(0);
    EvalProgressBar->show();
    FEvolve->Start(std::move(settings));
}

void TVeskTestHomeForm::SetSearching(bool searching) {
    for (QAction* other : {RandomVeskAction, HexaAction, FitAction})
        other->setEnabled(!searching);
    EvolveAction->setText(searching ? "Stop" : "Evolve");
    XElementsSpinEdit->setReadOnly(searching);
    NBlocksSpinEdit->setReadOnly(searching);
    HexaComboBox->lineEdit()->setReadOnly(searching);
    BlocksPanel->setEnabled(!searching);
    // Visibly read-only: the fields take the window's background instead of the text base.
    for (QWidget* field :
         {static_cast<QWidget*>(XElementsSpinEdit), static_cast<QWidget*>(NBlocksSpinEdit),
          static_cast<QWidget*>(HexaComboBox->lineEdit())}) {
        QPalette palette = field->palette();
        palette.setBrush(QPalette::Base, searching ? palette.window() : QPalette().base());
        field->setPalette(palette);
    }
}

void TVeskTestHomeForm::EvolveProgressed(const vesk::TSearchProgress& progress) {
    if (!FEvolve->Running()) return;
    // A search only a distance or Stop ends has no share done: the bar shows it busy.
    const std::optional<double> share = vesk::SearchShare(FEvolveSettings, progress);
    EvalProgressBar->setRange(0, share ? 100 : 0);
    EvalProgressBar->setValue(share ? static_cast<int>(*share * 100) : 0);
    SearchCurve->AddPoint(progress.Evaluations, progress.Best);
    // The reference in blue and the best pattern so far in red.
    vesk::TVesk pattern;
    for (vesk::TFuzzyBlock block : progress.Pattern)
        pattern.AddBlock(block);
    vesk::TFuzzySet best;
    vesk::ProjectPattern(pattern, pattern.Count(), FEvolveReference.Count(), best);
    FEvolveReference.Plot(FSession.Image, vesk::Blue, true);
    best.Plot(FSession.Image, vesk::Red, false);
    FSImage->update();
    Chart->ShowSets(FEvolveReference, best);
    StatusPanel2->setText(QString("%1 evaluations, distance %2, fitness %3, %4/s")
                              .arg(progress.Evaluations)
                              .arg(progress.Best, 0, 'f', 2)
                              .arg(vesk::FitnessOfDistance(progress.Best, FEvolveReference.Count()))
                              .arg(progress.EvaluationsPerSecond, 0, 'f', 0));
}

void TVeskTestHomeForm::EvolveFinished(const vesk::TSearchResult& result) {
    EvalProgressBar->hide();
    SearchCurve->AddPoint(result.Evaluations, result.Best);
    SetSearching(false);
    if (result.Pattern.empty()) {
        StatusBar1->showMessage(EvolveEndMessage(result, FEvolveReference.Count()));
        return;
    }
    RunCommand([this, &result] { return FSession.FinishEvolve(result); });
    QString message = EvolveEndMessage(result, FEvolveReference.Count());
    // With a target of one's own, the distance and fitness are the search's, to that target.
    if (FSession.Search.Target)
        message += QString(" (to %1)").arg(QString::fromStdString(FSession.Search.TargetName));
    StatusBar1->showMessage(message);
}

void TVeskTestHomeForm::BlocksToolButtonClick() {
    const bool show = BlocksDock->isHidden();
    if (show) {
        BlocksPanel->show();
        BlocksDock->show();
        ShowBlocks();
        // The window grows by the panel, as far as the screen has room, so that the plot and
        // the Hexa String box keep their width.
        const int separator =
            style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this);
        const int wanted = width() + BlocksPanel->minimumWidth() + separator +
                           2 * style()->pixelMetric(QStyle::PM_DockWidgetFrameWidth, nullptr, this);
        const int room = screen() ? screen()->availableGeometry().right() - x() + 1 : wanted;
        if (width() < room) resize(std::min(wanted, room), height());
    } else {
        const int panel = BlocksDock->width();
        BlocksDock->hide();
        BlocksPanel->hide();
        resize(std::max(width() - panel, minimumSizeHint().width()), height());
    }
}

void TVeskTestHomeForm::ShowBlocks() {
    if (!BlocksPanel->isVisible()) return;
    // The element count as the field shows it, read as a command would read it.
    const std::int32_t n =
        std::clamp(vesk::ParseSpinInteger(XElementsSpinEdit->text().toStdString()).value_or(1),
                   FSession.Elements.Minimum, FSession.Elements.Maximum);
    BlocksPanel->ShowText(HexaComboBox->currentText(), n);
}

void TVeskTestHomeForm::ShowPointer(int column) {
    ShowElement(vesk::PlottedElementAt(column, FSession.Image.Bitmap().width(),
                                       FSession.ReferenceSet.Count()));
}

void TVeskTestHomeForm::ShowElement(int element) {
    StatusBar1->clearMessage(); // the readout's panel comes back
    const vesk::TFuzzySet& pattern = FSession.PatternSet;
    const vesk::TFuzzySet& reference = FSession.ReferenceSet;
    if (element < 0 || element >= reference.Count()) {
        StatusPanel2->clear();
        return;
    }
    QString text = QString("element %1: pattern ").arg(element);
    text += element < pattern.Count() ? QString::number(pattern.GetDegree(element)) : "-";
    text += QString(", reference %1").arg(reference.GetDegree(element));
    StatusPanel2->setText(text);
}

void TVeskTestHomeForm::ChartToolButtonClick() {
    const bool chart = ChartAction->isChecked();
    Chart->setVisible(chart);
    FSImage->setVisible(!chart);
    ImagePanel->layout()->activate();
    Chart->ShowSets(FSession.ReferenceSet, FSession.PatternSet);
    if (HistoryPanel != nullptr &&
        HistoryPanel->Table()->rowCount() != static_cast<int>(FSession.History.size()))
        HistoryPanel->Refresh();
}

bool TVeskTestHomeForm::ChartShown() const {
    return ChartAction->isChecked();
}

QImage TVeskTestHomeForm::ShownPicture() const {
    return ChartShown() ? Chart->Picture() : FSession.Image.Bitmap();
}

void TVeskTestHomeForm::CopyPlotImage() {
    if (FSession.Image.HasBitmap() || ChartShown())
        QGuiApplication::clipboard()->setImage(ShownPicture());
}

void TVeskTestHomeForm::CopyPlotData() {
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(vesk::PlotDataCsv(FSession.ReferenceSet, FSession.PatternSet)));
}

void TVeskTestHomeForm::ExportPlot() {
    if (!FSession.Image.HasBitmap()) {
        RunCommand([this] { return FSession.SaveImage({}); }); // says there is nothing yet
        return;
    }
    if (ExportDialog->exec() != QDialog::Accepted || ExportDialog->selectedFiles().isEmpty())
        return;
    const auto filter =
        std::max<qsizetype>(0, ExportFilters.indexOf(ExportDialog->selectedNameFilter()));
    const vesk::TImageFormat format = ExportFormats[filter];
    QString name = ExportDialog->selectedFiles().first();
    const QString extension = vesk::ImageFormatExtension(format);
    if (!name.endsWith(extension, Qt::CaseInsensitive)) name += extension;
    const std::string path = QFile::encodeName(name).toStdString();
    RunCommand([this, format, &path] {
        vesk::TCommandOutcome outcome;
        if (ChartShown() && format == vesk::TImageFormat::Svg)
            outcome.Error = vesk::SaveDrawingFile(path, Chart->SvgDocument());
        else if (ChartShown() && format == vesk::TImageFormat::Png)
            outcome.Error = vesk::SaveImageFile(path, ShownPicture(), "PNG");
        else
            outcome.Error = vesk::SavePlot(path, format, FSession.Image, FSession.ReferenceSet,
                                           FSession.PatternSet);
        return outcome;
    });
}
