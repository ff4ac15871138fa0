#pragma once
// "Recent Targets": the target files loaded lately, most recent first, kept between sessions,
// and "Clear Menu". Drawn targets are no files and are not listed.

#include <QMenu>

class TRecentTargets : public QMenu {
    Q_OBJECT

public:
    explicit TRecentTargets(QWidget* parent = nullptr);

    // Puts path first on the list (at most RecentTargetLimit long).
    void Add(const QString& path);
    // Takes path off the list (a file no longer there).
    void Remove(const QString& path);

signals:
    void Chosen(const QString& path);

private:
    // Shows the list as it is kept.
    void Refresh();
};
