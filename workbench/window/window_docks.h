#pragma once
// The window's docks, hidden until asked for: the block panel on the right, the search's curve
// and the history below.

#include <functional>

#include "workbench/session.h"

class QAction;
class QDockWidget;
class QMainWindow;
class TBlocksPanel;
class THistoryPanel;
class TSearchCurve;

// A dock shown grows the window by its own size, as far as the screen has room, so that the
// plot and the Hexa String box keep theirs; the block panel hidden gives its width back.
class TWindowDocks {
public:
    TWindowDocks(QMainWindow& window, vesk::TWorkbenchSession& session);

    TBlocksPanel* Blocks() const { return BlocksPanel; }
    TSearchCurve* Curve() const { return SearchCurve; }
    THistoryPanel* History() const { return HistoryPanel; }
    // Shows or hides the history (HistoryKey()).
    QAction* HistoryAction() const;

    // Shows the block panel, filled by fill before the window grows by its width, or hides it.
    void ToggleBlocks(const std::function<void()>& fill);
    // Shows the search's curve (from the first search on).
    void ShowCurve();

private:
    QMainWindow& FWindow;
    QDockWidget* BlocksDock;
    TBlocksPanel* BlocksPanel;
    QDockWidget* SearchCurveDock;
    TSearchCurve* SearchCurve;
    QDockWidget* HistoryDock;
    THistoryPanel* HistoryPanel;
};
