#include "workbench/window/window_keys.h"

#include <QAction>
#include <QApplication>
#include <QFocusFrame>
#include <QMenu>
#include <QToolButton>

#include "workbench/window/curve_chart.h"
#include "workbench/window/plot_area.h"
#include "workbench/window/shortcut_list.h"

namespace {

// The keys of the menus' actions, by the actions' names.
struct TMenuKeys {
    const char* Action;
    QKeySequence::StandardKey Standard; // UnknownKey: only the fallback
    const char* Fallback;
};

const TMenuKeys MenuKeys[] = {
    {"SearchSettingsAction", QKeySequence::Preferences, "Ctrl+,"},
    {"LoadTargetAction", QKeySequence::Open, "Ctrl+O"},
    {"DrawTargetAction", QKeySequence::UnknownKey, "Ctrl+D"},
    {"SaveTargetAction", QKeySequence::UnknownKey, "Ctrl+Shift+D"},
    {"ExportAction", QKeySequence::SaveAs, "Ctrl+Shift+S"},
};

} // namespace

QList<QKeySequence> StandardKeys(QKeySequence::StandardKey key, const QKeySequence& fallback) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (keys.isEmpty()) keys.append(fallback);
    return keys;
}

QKeySequence HistoryKey() {
    const QKeySequence usual("Ctrl+Y");
    return QKeySequence::keyBindings(QKeySequence::Redo).contains(usual) ? QKeySequence("Alt+H")
                                                                         : usual;
}

TWindowKeys::TWindowKeys(QWidget* window, QToolButton* evolveButton, QMenu* evolveMenu,
                         TPlotArea* plot, const QList<QAction*>& extra)
    : QObject(window), FWindow(window), FEvolveButton(evolveButton), FEvolveMenu(evolveMenu),
      FPlot(plot), FChart(plot->Chart()) {
    QMenu* plotMenu = plot->Menu();
    for (QMenu* menu : {evolveMenu, plotMenu})
        for (QAction* action : menu->actions())
            for (const TMenuKeys& keys : MenuKeys)
                if (action->objectName() == keys.Action) {
                    action->setShortcuts(StandardKeys(keys.Standard, QKeySequence(keys.Fallback)));
                    window->addAction(action);
                }
    plotMenu->addSeparator();
    for (QAction* action : extra) {
        window->addAction(action);
        plotMenu->addAction(action);
    }

    FQuit =
        AddAction("QuitAction", "Quit", StandardKeys(QKeySequence::Quit, QKeySequence("Ctrl+Q")));
    connect(FQuit, &QAction::triggered, qApp, &QApplication::closeAllWindows);
    FClose = AddAction("CloseAction", "Close Window",
                       StandardKeys(QKeySequence::Close, QKeySequence("Ctrl+W")));
    connect(FClose, &QAction::triggered, window, &QWidget::close);
    QAction* evolveKeys = AddAction("EvolveMenuAction", "Evolve Menu", {QKeySequence("Alt+E")});
    connect(evolveKeys, &QAction::triggered, this, [this] {
        FEvolveMenu->popup(FEvolveButton->mapToGlobal(QPoint(0, FEvolveButton->height())));
    });
    QAction* plotKeys = AddAction("PlotMenuAction", "Plot Menu", {QKeySequence("Alt+P")});
    connect(plotKeys, &QAction::triggered, this,
            [this] { FPlot->Menu()->popup(FPlot->mapToGlobal(FPlot->rect().center())); });

    const QList<TActionPlace> places{{evolveButton->parentWidget(), "Tool bar"},
                                     {evolveMenu, "Evolve menu"},
                                     {plotMenu, "Plot menu"}};
    FShortcutList = new TShortcutList(*window, places, window);
    FList = AddAction("ShortcutListAction", "Keyboard Shortcuts...",
                      StandardKeys(QKeySequence::HelpContents, QKeySequence("F1")));
    connect(FList, &QAction::triggered, FShortcutList, &TShortcutList::ShowList);
    for (QMenu* menu : {evolveMenu, plotMenu}) {
        menu->addSeparator();
        menu->addAction(FList);
    }

    FFocusFrame = new QFocusFrame(window);
    FFocusFrame->setObjectName("ChartFocusFrame");
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { FollowFocus(now); });
}

QAction* TWindowKeys::AddAction(const char* name, const char* text, QList<QKeySequence> keys) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    FWindow->addAction(action);
    return action;
}

// The chart draws nothing of its own to show the focus; the frame around it does.
void TWindowKeys::FollowFocus(QWidget* now) {
    if (FFocusFrame) FFocusFrame->setWidget(now != nullptr && now == FChart ? now : nullptr);
}
