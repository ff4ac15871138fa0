#include "workbench/window/window_docks.h"

#include <algorithm>
#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QScreen>
#include <QStyle>

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
    dock->hide(); // the window opens as designed
}

} // namespace

TWindowDocks::TWindowDocks(QMainWindow& window, vesk::TWorkbenchSession& session)
    : FWindow(window) {
    BlocksDock = MakeDock(window, "Blocks", "BlocksDock");
    BlocksPanel = new TBlocksPanel(BlocksDock);
    Place(window, BlocksDock, BlocksPanel, Qt::RightDockWidgetArea);
    BlocksPanel->hide();
    // Closed by its own button, the panel goes as the tool button would take it. (The panel is
    // the context, not the window: the dock still signals while the window is taken down.)
    QObject::connect(BlocksDock, &QDockWidget::visibilityChanged, BlocksPanel,
                     [dock = BlocksDock, panel = BlocksPanel](bool visible) {
                         if (!visible && dock->isHidden()) panel->hide();
                     });

    SearchCurveDock = MakeDock(window, "Search", "SearchCurveDock");
    SearchCurve = new TSearchCurve(SearchCurveDock);
    Place(window, SearchCurveDock, SearchCurve, Qt::BottomDockWidgetArea);

    HistoryDock = MakeDock(window, "History", "HistoryDock");
    HistoryPanel = new THistoryPanel(session.History, HistoryDock);
    Place(window, HistoryDock, HistoryPanel, Qt::BottomDockWidgetArea);
    QAction* history = HistoryDock->toggleViewAction();
    history->setText("History");
    history->setShortcut(HistoryKey());
    history->setObjectName("HistoryAction");
    window.addAction(history);
}

QAction* TWindowDocks::HistoryAction() const {
    return HistoryDock->toggleViewAction();
}

void TWindowDocks::ToggleBlocks(const std::function<void()>& fill) {
    if (!BlocksDock->isHidden()) {
        const int panel = BlocksDock->width();
        BlocksDock->hide();
        BlocksPanel->hide();
        FWindow.resize(std::max(FWindow.width() - panel, FWindow.minimumSizeHint().width()),
                       FWindow.height());
        return;
    }
    BlocksPanel->show();
    BlocksDock->show();
    fill();
    const QStyle* style = FWindow.style();
    const int separator =
        style->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, &FWindow);
    const int wanted = FWindow.width() + BlocksPanel->minimumWidth() + separator +
                       2 * style->pixelMetric(QStyle::PM_DockWidgetFrameWidth, nullptr, &FWindow);
    const QScreen* screen = FWindow.screen();
    const int room = screen ? screen->availableGeometry().right() - FWindow.x() + 1 : wanted;
    if (FWindow.width() < room) FWindow.resize(std::min(wanted, room), FWindow.height());
}

void TWindowDocks::ShowCurve() {
    if (!SearchCurveDock->isHidden()) return;
    SearchCurveDock->show();
    const int wanted = FWindow.height() + SearchCurve->minimumHeight() + 24;
    const QScreen* screen = FWindow.screen();
    const int room = screen ? screen->availableGeometry().bottom() - FWindow.y() + 1 : wanted;
    if (FWindow.height() < room) FWindow.resize(FWindow.width(), std::min(wanted, room));
}
