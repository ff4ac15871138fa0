#include "workbench/window/recent_targets.h"

#include <QDir>

#include "workbench/window/kept_settings.h"

TRecentTargets::TRecentTargets(QWidget* parent) : QMenu("Recent Targets", parent) {
    setObjectName("RecentTargetsMenu");
    Refresh();
}

void TRecentTargets::Add(const QString& path) {
    KeptSettings::SetRecentTargets(WithRecentTarget(KeptSettings::RecentTargets(), path));
    Refresh();
}

void TRecentTargets::Remove(const QString& path) {
    QStringList paths = KeptSettings::RecentTargets();
    paths.removeAll(path);
    KeptSettings::SetRecentTargets(paths);
    Refresh();
}

void TRecentTargets::Refresh() {
    // Not deleted at once: the action chosen, or "Clear Menu", may be what changed the list.
    for (QAction* action : actions()) {
        removeAction(action);
        action->deleteLater();
    }
    const QStringList paths = KeptSettings::RecentTargets();
    int number = 0;
    for (const QString& path : paths) {
        // Numbered as desktop programs number theirs, the first ten with a mnemonic.
        const QString shown = QDir::toNativeSeparators(path).replace('&', "&&");
        QAction* action = addAction(QString("&%1 %2").arg(++number % 10).arg(shown));
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] { emit Chosen(path); });
    }
    addSeparator();
    QAction* clearAction = addAction("Clear Menu", this, [this] {
        KeptSettings::SetRecentTargets({});
        Refresh();
    });
    clearAction->setObjectName("ClearRecentTargetsAction");
    clearAction->setEnabled(!paths.isEmpty());
    setEnabled(!paths.isEmpty());
}
