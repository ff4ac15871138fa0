#pragma once
// The window's keys beyond the commands' own: the platform's standard keys (Undo, Redo, Quit,
// Close, Open, Preferences, Help), keys for the menus' actions and for opening the menus
// themselves, the "?" list of them all (F1), and a focus that shows where Tab has put it.

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QFocusFrame;
class QMenu;
class QToolButton;
class QWidget;
class TPlotArea;
class TShortcutList;

// The platform's keys of a standard key, or fallback where it has none (Quit and Preferences
// have none on some platforms).
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey key, const QKeySequence& fallback);
// History's key: Ctrl+Y, or Alt+H where Ctrl+Y is one of the platform's Redo keys.
QKeySequence HistoryKey();

// Adds the keys to the window: the Evolve menu's and the plot menu's actions take their keys
// wherever the focus is in the window; Alt+E opens the Evolve button's menu under it and Alt+P
// the plot's menu over the plot, to be walked with the arrow keys. The chart, which takes the
// arrow keys when shown, is framed while it has the focus.
class TWindowKeys : public QObject {
    Q_OBJECT

public:
    // evolveButton: on the tool bar; extra: actions of the window's own (Undo, Redo), added to
    // the window and the plot's menu as they are.
    TWindowKeys(QWidget* window, QToolButton* evolveButton, QMenu* evolveMenu, TPlotArea* plot,
                const QList<QAction*>& extra);

    QAction* QuitAction() const { return FQuit; }
    QAction* CloseAction() const { return FClose; }
    QAction* ListAction() const { return FList; }
    TShortcutList* List() const { return FShortcutList; }

private:
    QAction* AddAction(const char* name, const char* text, QList<QKeySequence> keys);
    void FollowFocus(QWidget* now);

    QWidget* FWindow;
    QToolButton* FEvolveButton;
    QMenu* FEvolveMenu;
    TPlotArea* FPlot;
    QAction* FQuit;
    QAction* FClose;
    QAction* FList;
    TShortcutList* FShortcutList;
    // Both go with the central widget, before the window's own children.
    QPointer<QWidget> FChart;
    QPointer<QFocusFrame> FFocusFrame;
};
