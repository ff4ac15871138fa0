#include "workbench/window/home_form.h"

#include <algorithm>
#include <exception>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include "vesk/agent.h"
#include "workbench/window/blocks_panel.h"
#include "workbench/window/evolve_runner.h"
#include "workbench/window/image_view.h"
#include "workbench/window/outcome_report.h"
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

const char* const StatusCaption = "Vesk patterns";
const char* const SaveDialogTitle = "Save Solution Image";
const QStringList SaveDialogFilters{"bitmap files (*.bmp)", "all files (*.*)"};

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
    BlocksPanel = new TBlocksPanel(client);
    BlocksPanel->hide(); // the window opens as designed
    row->addWidget(BlocksPanel);
    clientLayout->addLayout(row, 1);

    EvalProgressBar = new QProgressBar(client);
    EvalProgressBar->setObjectName("EvalProgressBar");
    EvalProgressBar->setRange(0, 100);
    EvalProgressBar->setFixedHeight(ProgressBarHeight);
    EvalProgressBar->setTextVisible(false);
    EvalProgressBar->hide();
    clientLayout->addWidget(EvalProgressBar);
    setCentralWidget(client);

    BuildStatusBar();
    BuildSaveDialog();

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
    connect(FSImage, &TImageView::PointerLeft, this, [this] { StatusPanel2->clear(); });

    move(InitialBounds.topLeft());
    resize(InitialBounds.size());
    PullFromSession();
}

TVeskTestHomeForm::~TVeskTestHomeForm() {
    FEvolve->StopAndWait();
    // The fields and the image refer to the session, which is destroyed before QWidget deletes
    // the children: take them down while it still exists.
    delete takeCentralWidget();
}

QWidget* TVeskTestHomeForm::BuildToolBar() {
    VeskToolBar = new QToolBar(this);
    VeskToolBar->setObjectName("VeskToolBar");
    VeskToolBar->setOrientation(Qt::Vertical);
    VeskToolBar->setMovable(false);
    VeskToolBar->setFloatable(false);
    VeskToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    VeskToolBar->setFixedWidth(ToolBarWidth);
    VeskToolBar->setContextMenuPolicy(Qt::PreventContextMenu);

    RandomVeskToolButton = MakeToolButton(VeskToolBar, "RandomVeskToolButton", "Random Vesk");
    HexaToolButton = MakeToolButton(VeskToolBar, "HexaToolButton", "Hexa String");
    SaveToolButton = MakeToolButton(VeskToolBar, "SaveToolButton", "Save Image");
    FitToolButton = MakeToolButton(VeskToolBar, "FitToolButton", "Fitness");
    EvolveToolButton = MakeToolButton(VeskToolBar, "EvolveToolButton", "Evolve");
    BlocksToolButton = MakeToolButton(VeskToolBar, "BlocksToolButton", "Blocks");
    connect(RandomVeskToolButton, &QToolButton::clicked, this,
            &TVeskTestHomeForm::RandomVeskToolButtonClick);
    connect(HexaToolButton, &QToolButton::clicked, this, &TVeskTestHomeForm::HexaToolButtonClick);
    connect(SaveToolButton, &QToolButton::clicked, this, &TVeskTestHomeForm::SaveToolButtonClick);
    connect(FitToolButton, &QToolButton::clicked, this, &TVeskTestHomeForm::FitToolButtonClick);
    connect(EvolveToolButton, &QToolButton::clicked, this,
            &TVeskTestHomeForm::EvolveToolButtonClick);
    connect(BlocksToolButton, &QToolButton::clicked, this,
            &TVeskTestHomeForm::BlocksToolButtonClick);

    // Each command's shortcut does what its click does (the fields commit first).
    const struct {
        QToolButton* Button;
        const char* Keys;
        void (TVeskTestHomeForm::*Click)();
    } shortcuts[] = {
        {RandomVeskToolButton, "Ctrl+R", &TVeskTestHomeForm::RandomVeskToolButtonClick},
        {HexaToolButton, "Ctrl+H", &TVeskTestHomeForm::HexaToolButtonClick},
        {SaveToolButton, "Ctrl+S", &TVeskTestHomeForm::SaveToolButtonClick},
        {FitToolButton, "Ctrl+F", &TVeskTestHomeForm::FitToolButtonClick},
        {EvolveToolButton, "Ctrl+E", &TVeskTestHomeForm::EvolveToolButtonClick},
    };
    for (const auto& shortcut : shortcuts) {
        shortcut.Button->setToolTip(shortcut.Button->text() + " (" + shortcut.Keys + ")");
        auto* keys = new QShortcut(QKeySequence(shortcut.Keys), this);
        const auto click = shortcut.Click;
        QToolButton* button = shortcut.Button;
        connect(keys, &QShortcut::activated, this, [this, click, button] {
            if (button->isEnabled()) (this->*click)();
        });
    }
    EvolveToolButton->setToolTip("Evolve or Stop (Ctrl+E)");
    BlocksToolButton->setToolTip("Show or hide the blocks of the Hexa String text");
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
    return FSControlsPanel;
}

QWidget* TVeskTestHomeForm::BuildImagePanel() {
    ImagePanel = MakePanel(this, "ImagePanel");
    ImagePanel->installEventFilter(this);
    auto* layout = new QVBoxLayout(ImagePanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = MakePanel(ImagePanel, "Panel1");
    Panel1->setFixedHeight(HexaStripHeight);
    Panel1->installEventFilter(this);
    MakeLabel(Panel1, "Label6", "Hexa String:", {8, 8});
    HexaComboBox = new QComboBox(Panel1);
    HexaComboBox->setObjectName("HexaComboBox");
    HexaComboBox->setEditable(true);
    HexaComboBox->setInsertPolicy(QComboBox::NoInsert); // Enter does not add to the list
    HexaComboBox->setCompleter(nullptr);                // typed text stays as typed
    HexaComboBox->setGeometry(HexaComboDesign);
    HexaComboBox->installEventFilter(this);
    HexaComboBox->lineEdit()->installEventFilter(this);
    layout->addWidget(Panel1);

    FSImage = new TImageView(FSession.Image, ImagePanel);
    FSImage->setObjectName("FSImage");
    layout->addWidget(FSImage, 1);
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

bool TVeskTestHomeForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (watched == ImagePanel) ImagePanelResize();
        if (watched == Panel1) PlaceHexaComboBox();
    } else if (event->type() == QEvent::MouseButtonDblClick &&
               (watched == HexaComboBox || watched == HexaComboBox->lineEdit())) {
        HexaComboBoxDblClick();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TVeskTestHomeForm::PlaceHexaComboBox() {
    const int width = std::max(0, Panel1->width() - HexaComboDesign.left() - HexaComboRightGap);
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
}

template <typename TCommand> void TVeskTestHomeForm::RunCommand(TCommand command) {
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
        vesk::TCommandOutcome outcome = FSession.PrepareEvolve(settings, FEvolveBudget);
        ready = !outcome.Error;
        return outcome;
    });
    if (!ready) return;
    FEvolveReference = settings.Target;
    for (QToolButton* other : {RandomVeskToolButton, HexaToolButton, FitToolButton})
        other->setEnabled(false);
    EvolveToolButton->setText("Stop");
    EvalProgressBar->setValue(0);
    EvalProgressBar->show();
    FEvolve->Start(std::move(settings));
}

void TVeskTestHomeForm::EvolveProgressed() {
    if (!FEvolve->Running()) return;
    const vesk::TSearchProgress progress = FEvolve->LatestProgress();
    EvalProgressBar->setValue(static_cast<int>(std::min<std::uint64_t>(
        100, progress.Evaluations * 100 / std::max<std::uint64_t>(FEvolveBudget, 1))));
    // The reference in blue and the best pattern so far in red.
    vesk::TVesk pattern;
    for (vesk::TFuzzyBlock block : progress.Pattern)
        pattern.AddBlock(block);
    vesk::TFuzzySet best;
    vesk::ProjectPattern(pattern, pattern.Count(), FEvolveReference.Count(), best);
    FEvolveReference.Plot(FSession.Image, vesk::Blue, true);
    best.Plot(FSession.Image, vesk::Red, false);
    FSImage->update();
    StatusPanel2->setText(QString("%1 evaluations, distance %2, fitness %3, %4/s")
                              .arg(progress.Evaluations)
                              .arg(progress.Best, 0, 'f', 2)
                              .arg(vesk::FitnessOfDistance(progress.Best, FEvolveReference.Count()))
                              .arg(progress.EvaluationsPerSecond, 0, 'f', 0));
}

void TVeskTestHomeForm::EvolveFinished(const vesk::TSearchResult& result) {
    EvalProgressBar->hide();
    EvolveToolButton->setText("Evolve");
    for (QToolButton* other : {RandomVeskToolButton, HexaToolButton, FitToolButton})
        other->setEnabled(true);
    if (result.Pattern.empty()) return;
    RunCommand([this, &result] { return FSession.FinishEvolve(result); });
}

void TVeskTestHomeForm::BlocksToolButtonClick() {
    BlocksPanel->setVisible(!BlocksPanel->isVisible());
    ShowBlocks();
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
    const vesk::TFuzzySet& pattern = FSession.PatternSet;
    const vesk::TFuzzySet& reference = FSession.ReferenceSet;
    const std::int32_t element =
        vesk::PlottedElementAt(column, FSession.Image.Bitmap().width(), reference.Count());
    if (element < 0) {
        StatusPanel2->clear();
        return;
    }
    QString text = QString("element %1: pattern ").arg(element);
    text += element < pattern.Count() ? QString::number(pattern.GetDegree(element)) : "-";
    text += QString(", reference %1").arg(reference.GetDegree(element));
    StatusPanel2->setText(text);
}
