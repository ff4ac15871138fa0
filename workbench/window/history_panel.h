#pragma once
// The "History" panel: every pattern the window showed, where it came from and how close it
// came, to show again, compare, copy or remove.

#include <QWidget>

#include <vector>

#include "workbench/session.h"

class QTableWidget;

// Lists the session's history, newest last. Clicking an entry asks for it to be shown as "Hexa
// String" shows a pattern; selecting two asks for both to be overlaid on the chart; "Remove"
// and "Copy Hex" act on the selected entries.
class THistoryPanel : public QWidget {
    Q_OBJECT

public:
    explicit THistoryPanel(std::vector<vesk::THistoryEntry>& history, QWidget* parent = nullptr);

    // Shows the history as it is now.
    void Refresh();
    QTableWidget* Table() const { return FTable; }
    // The selected entries, oldest first.
    std::vector<int> Selected() const;
    void RemoveSelected();
    void CopySelected();

signals:
    void ShowRequested(const QString& hex);
    // The patterns of the selected entries when two are selected; none otherwise.
    void OverlayRequested(const QStringList& hexes);

private:
    std::vector<vesk::THistoryEntry>& FHistory;
    QTableWidget* FTable;
};
