#pragma once
// The window's commands as actions, and the designed tool bar that shows them.

class QAction;
class QToolBar;
class QToolButton;
class QWidget;

// Each command is a QAction (text, shortcut, tooltip, enabled state) shown by its tool button,
// so that a button, its shortcut and its enabled state cannot disagree.
struct TCommandActions {
    QAction* RandomVesk = nullptr;
    QAction* Hexa = nullptr;
    QAction* Save = nullptr;
    QAction* Fit = nullptr;
    QAction* Evolve = nullptr; // "Evolve", or "Stop" while a search runs
    QAction* Blocks = nullptr; // shows or hides the block panel
    QAction* Chart = nullptr;  // checked: the chart is shown instead of the designed plot
};

// Makes the commands' actions, owned by window and added to it so that their shortcuts work
// wherever the focus is in the window.
TCommandActions MakeCommandActions(QWidget* window);
// The vertical tool bar: a button a command, named as the designed window names them, one a row
// in the order above; however small the window, every button shows.
QToolBar* MakeCommandToolBar(const TCommandActions& actions, QWidget* parent);
// The tool bar's button of a command.
QToolButton* CommandButton(const QToolBar& bar, const QAction* action);
