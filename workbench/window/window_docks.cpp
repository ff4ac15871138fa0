#include "workbench/window/window_docks.h"

#include <algorithm>
#include <QAction>
#include <QDockWidget>
#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTimer>

#include "workbench/window/blocks_panel.h"
#include "workbench/window/history_panel.h"
#include "workbench/window/search_curve.h"
#include "workbench/window/window_keys.h"

namespace {

QDockWidget* MakeDock(QMainWindow& window, const char* title, const char* name) {
    auto* dock = new QDockWidget(title, &window);
    dock->setObjectName(name);
    dock->setFeatures(QDockWidget::DockWidgetClosable);
    return dock;
}

void Place(QMainWindow& window, QDockWidget* dock, QWidget* panel, Qt::DockWidgetArea area) {
    dock->setWidget(panel);
    window.addDockWidget(area, dock);
}

} // namespace

TWindowDocks::TWindowDocks(QMainWindow& window, QWidget& plot, vesk::TWorkbenchSession& session)
    : FWindow(window), FPlot(plot) {
    BlocksDock = MakeDock(window, "Blocks", "BlocksDock");
    BlocksPanel = new TBlocksPanel(BlocksDock);
    Place(window, BlocksDock, BlocksPanel, Qt::RightDockWidgetArea);
    BlocksDock->hide(); // the window opens as designed
    BlocksPanel->hide();
    // Closed by its own button, the panel goes as the tool button would take it.
    QObject::connect(
        BlocksDock, &QDockWidget::visibilityChanged, this,
        [this, dock = BlocksDock, panel = BlocksPanel](bool visible) {
            if (visible || !dock->isHidden() || panel->isHidden()) return;
            panel->hide();
            // Back to the width before, or less what the panel took when the
            // window has been made wider since.
            const int taken = dock->width() + Separator();
            QTimer::singleShot(0, this, [this, taken] {
                Grow(std::max(FWidthWithout, FWindow.width() - taken) - FWindow.width(), 0);
            });
        });

    SearchCurveDock = MakeDock(window, "Search", "SearchCurveDock");
    SearchCurve = new TSearchCurve(SearchCurveDock);
    Place(window, SearchCurveDock, SearchCurve, Qt::BottomDockWidgetArea);
    HistoryDock = MakeDock(window, "History", "HistoryDock");
    HistoryPanel = new THistoryPanel(session.History, HistoryDock);
    Place(window, HistoryDock, HistoryPanel, Qt::BottomDockWidgetArea);
    window.tabifyDockWidget(SearchCurveDock, HistoryDock);
    SearchCurveDock->hide();
    HistoryDock->hide();
    FollowBottom();
    for (QDockWidget* dock : {SearchCurveDock, HistoryDock}) {
        // Queued: a dock closed as its tab's neighbour opens is not yet shown when this runs.
        QObject::connect(dock, &QDockWidget::visibilityChanged, this,
                         [this] { QTimer::singleShot(0, this, &TWindowDocks::FollowBottom); });
        dock->installEventFilter(this);
    }
    FWindow.installEventFilter(this);
    FPlot.installEventFilter(this);

    FHistoryAction = new QAction("History", &window);
    FHistoryAction->setCheckable(true);
    FHistoryAction->setShortcut(HistoryKey());
    FHistoryAction->setObjectName("HistoryAction");
    window.addAction(FHistoryAction);
    QObject::connect(FHistoryAction, &QAction::triggered, this, [this](bool shown) {
        if (shown)
            ShowBelow(HistoryDock);
        else
            HistoryDock->close();
    });
    // In this object's keeping, not the action's: the docks still signal while the window, and
    // the action with it, are taken down after this object has gone.
    QObject::connect(HistoryDock, &QDockWidget::visibilityChanged, this,
                     [this] { FHistoryAction->setChecked(!HistoryDock->isHidden()); });
}

QAction* TWindowDocks::HistoryAction() const {
    return FHistoryAction;
}

void TWindowDocks::ShowBelow(QDockWidget* dock) {
    if (SearchCurveDock->isHidden() && HistoryDock->isHidden()) {
        FHeightWithout = FWindow.height();
        FPlotWithout = FPlot.height();
    }
    dock->show();
    dock->raise(); // in front of its tab's neighbour
}

void TWindowDocks::Grow(int width, int height) {
    const QScreen* screen = FWindow.screen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    QSize size = FWindow.size() + QSize(width, height);
    if (!room.isNull()) {
        if (width > 0) size.setWidth(std::min(size.width(), room.right() - FWindow.x() + 1));
        if (height > 0) size.setHeight(std::min(size.height(), room.bottom() - FWindow.y() + 1));
    }
    // The least size as it is now, without a dock that has just closed.
    if (FWindow.layout() != nullptr) FWindow.layout()->activate();
    FWindow.resize(size.expandedTo(FWindow.minimumSizeHint()));
}

void TWindowDocks::ToggleBlocks(const std::function<void()>& fill) {
    if (!BlocksDock->isHidden()) {
        BlocksDock->hide(); // gives its width back as it goes
        return;
    }
    FWidthWithout = FWindow.width();
    BlocksPanel->show();
    BlocksDock->show();
    fill();
    // The window may have grown already, to the least size the panel needs.
    const int frame =
        FWindow.style()->pixelMetric(QStyle::PM_DockWidgetFrameWidth, nullptr, &FWindow);
    Grow(std::max(0, FWidthWithout + BlocksPanel->minimumWidth() + Separator() + 2 * frame -
                         FWindow.width()),
         0);
}

void TWindowDocks::ShowCurve() {
    ShowBelow(SearchCurveDock);
}

void TWindowDocks::FollowBottom() {
    // The tabs of the docks below switch by the mouse; Tab passes them by.
    for (QTabBar* tabs : FWindow.findChildren<QTabBar*>(Qt::FindDirectChildrenOnly))
        tabs->setFocusPolicy(Qt::NoFocus);
    const bool shown = !SearchCurveDock->isHidden() || !HistoryDock->isHidden();
    if (shown != FBottomShown) {
        FBottomShown = shown;
        if (!shown) return Grow(0, -FAddedHeight);
        // As much as the docks need, and so much more that the plot keeps half the height (the
        // window may have grown already, to the least size the docks need).
        const int docks = SearchCurveDock->minimumSizeHint().height() + Separator();
        const int rest = FHeightWithout - FPlotWithout;
        const int wanted = std::max(FHeightWithout + docks, 2 * (rest + docks));
        Grow(0, std::max(0, wanted - FWindow.height()));
        FAddedHeight = FWindow.height() - FHeightWithout;
    }
    if (!shown) return;
    KeepPlotHalf();
    // Laid out, the docks may take more than their least height (the tabs, when both show):
    // as much more again, which goes to the plot.
    QTimer::singleShot(0, this, [this] {
        if (!FBottomShown) return;
        if (FWindow.layout() != nullptr) FWindow.layout()->activate();
        if (const int missing = FWindow.height() - 2 * FPlot.height(); missing > 0) {
            Grow(0, missing);
            FAddedHeight = FWindow.height() - FHeightWithout;
        }
    });
}

void TWindowDocks::KeepPlotHalf() {
    QDockWidget* shown = !SearchCurveDock->isHidden() ? SearchCurveDock : HistoryDock;
    if (shown->isHidden()) return;
    // Everything but the plot and the docks below is the same however they share the height.
    const int rest = FWindow.height() - FPlot.height() - shown->height();
    const int most = std::max(FWindow.height() - rest - (FWindow.height() + 1) / 2,
                              shown->minimumSizeHint().height());
    for (QDockWidget* dock : {SearchCurveDock, HistoryDock})
        if (dock->maximumHeight() != most) dock->setMaximumHeight(most);
}

int TWindowDocks::Separator() const {
    return FWindow.style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, &FWindow);
}

bool TWindowDocks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Resize) return QObject::eventFilter(watched, event);
    KeepPlotHalf();
    return QObject::eventFilter(watched, event);
}
