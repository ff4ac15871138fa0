#pragma once
// The window's docks, hidden until asked for: the block panel on the right, the search's curve
// and the history below, tabbed together.

#include <functional>

#include <QObject>

#include "workbench/session.h"

class QAction;
class QDockWidget;
class QMainWindow;
class TBlocksPanel;
class THistoryPanel;
class TSearchCurve;

// A dock shown grows the window by its own size, as far as the screen has room, so that the
// plot and the Hexa String box keep theirs; closed, it gives that back (the block panel what it
// took, the docks below what they added). The docks
// below never take more than half the window's height from the plot.
class TWindowDocks : public QObject {
    Q_OBJECT

public:
    // plot: what keeps half the window's height.
    TWindowDocks(QMainWindow& window, QWidget& plot, vesk::TWorkbenchSession& session);

    TBlocksPanel* Blocks() const { return BlocksPanel; }
    TSearchCurve* Curve() const { return SearchCurve; }
    THistoryPanel* History() const { return HistoryPanel; }
    // Shows or hides the history (HistoryKey()).
    QAction* HistoryAction() const;

    // Shows the block panel, filled by fill before the window grows by its width, or hides it.
    void ToggleBlocks(const std::function<void()>& fill);
    // Shows the search's curve (from the first search on), in front of the history.
    void ShowCurve();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows a dock below in front, noting the window's height if it is the first.
    void ShowBelow(QDockWidget* dock);
    // Grows the window when the first dock below opens and shrinks it back when the last closes.
    void FollowBottom();
    // Bounds the docks below so that the plot keeps half the window's height.
    void KeepPlotHalf();
    // Resizes the window by so much, within the screen and the window's least size.
    void Grow(int width, int height);
    int Separator() const;

    QMainWindow& FWindow;
    QWidget& FPlot;
    QDockWidget* BlocksDock;
    TBlocksPanel* BlocksPanel;
    QDockWidget* SearchCurveDock;
    TSearchCurve* SearchCurve;
    QDockWidget* HistoryDock;
    THistoryPanel* HistoryPanel;
    QAction* FHistoryAction;
    int FWidthWithout = 0;  // the window's before the block panel opened
    int FHeightWithout = 0; // the window's before the docks below opened
    int FPlotWithout = 0;   // the plot's then
    int FAddedHeight = 0;   // by the docks below
    bool FBottomShown = false;
};
