#include "workbench/window/command_actions.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

#include "workbench/window/designed_geometry.h"

namespace {

struct TCommandPlace {
    QAction* TCommandActions::*Action;
    const char* Button;
    const char* Caption;
    const char* Keys;
    const char* Tip; // nullptr: the caption and the keys
    bool Checkable = false;
};

const TCommandPlace Commands[] = {
    {&TCommandActions::RandomVesk, "RandomVeskToolButton", "Random Vesk", "Ctrl+R", nullptr},
    {&TCommandActions::Hexa, "HexaToolButton", "Hexa String", "Ctrl+H", nullptr},
    {&TCommandActions::Save, "SaveToolButton", "Save Image", "Ctrl+S", nullptr},
    {&TCommandActions::Fit, "FitToolButton", "Fitness", "Ctrl+F", nullptr},
    {&TCommandActions::Evolve, "EvolveToolButton", "Evolve", "Ctrl+E", "Evolve or Stop (Ctrl+E)"},
    {&TCommandActions::Blocks, "BlocksToolButton", "Blocks", "Ctrl+B",
     "Show or hide the blocks of the Hexa String text (Ctrl+B)"},
    {&TCommandActions::Chart, "ChartToolButton", "Chart", "Ctrl+G",
     "Show the chart or the designed plot (Ctrl+G)", true},
};

QToolButton* MakeToolButton(QToolBar* bar, const char* name, QAction* action) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(action->text());
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(DesignedGeometry::ToolButtonSize);
    bar->addWidget(button);
    button->setAutoRaise(false); // drawn as buttons; the tool bar makes its buttons flat
    button->setDefaultAction(action);
    return button;
}

} // namespace

TCommandActions MakeCommandActions(QWidget* window) {
    TCommandActions actions;
    for (const TCommandPlace& place : Commands) {
        auto* action = new QAction(place.Caption, window);
        action->setShortcut(QKeySequence(place.Keys));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setCheckable(place.Checkable);
        action->setToolTip(place.Tip ? QString(place.Tip)
                                     : QString("%1 (%2)").arg(place.Caption, place.Keys));
        window->addAction(action);
        actions.*place.Action = action;
    }
    return actions;
}

QToolBar* MakeCommandToolBar(const TCommandActions& actions, QWidget* parent) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName("VeskToolBar");
    bar->setOrientation(Qt::Vertical);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->setFixedWidth(DesignedGeometry::ToolBarWidth);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (const TCommandPlace& place : Commands)
        MakeToolButton(bar, place.Button, actions.*place.Action);
    bar->setMinimumHeight(bar->sizeHint().height());
    return bar;
}

QToolButton* CommandButton(const QToolBar& bar, const QAction* action) {
    for (QToolButton* button : bar.findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        if (button->defaultAction() == action) return button;
    return nullptr;
}
