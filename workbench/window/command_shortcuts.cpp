#include "workbench/window/command_shortcuts.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

TCommandShortcuts::TCommandShortcuts(QWidget* window) : FWindow(window) {
    connect(qApp, &QGuiApplication::focusObjectChanged, this, &TCommandShortcuts::FollowFocus);
    FollowFocus(QGuiApplication::focusObject());
}

TCommandShortcuts::~TCommandShortcuts() {
    FollowFocus(nullptr);
}

void TCommandShortcuts::FollowFocus(QObject* focus) {
    for (const QPointer<QWidget>& watched : FWatched)
        if (watched) watched->removeEventFilter(this);
    FWatched.clear();
    auto* now = qobject_cast<QWidget*>(focus);
    if (now == nullptr || now->window() != FWindow) return;
    // The field, and its editor, which takes the keys but hands the focus to the field.
    FWatched.append(now);
    for (QWidget* part : now->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (part->focusProxy() == now) FWatched.append(part);
    for (const QPointer<QWidget>& watched : FWatched)
        watched->installEventFilter(this);
}

bool TCommandShortcuts::IsCommandShortcut(const QKeyEvent& event) const {
    const QKeySequence keys(event.keyCombination());
    for (const QAction* action : FWindow->actions())
        if (action->shortcuts().contains(keys)) return true;
    return false;
}

bool TCommandShortcuts::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        IsCommandShortcut(static_cast<const QKeyEvent&>(*event))) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
