#pragma once
// The "?" list (F1): every command of the window with its keys and the menus it is on, read
// from the actions themselves.

#include <QDialog>
#include <QList>
#include <QString>

#include <vector>

class QAction;
class QTableWidget;

// An action as the list shows it.
struct TListedAction {
    QAction* Action = nullptr;
    QString Command;   // its text, without "&" and "..."
    QString Keys;      // its shortcuts as the platform writes them, ", " between them
    QStringList Where; // the places that show it ("Tool bar", "Evolve menu", ...)
};

// A place whose actions are listed: a menu, or a tool bar (its buttons' actions).
struct TActionPlace {
    const QWidget* Widget;
    QString Name;
};

// Every action with a text on the places, then every other one of window, in that order, each
// once.
std::vector<TListedAction> ListActions(const QWidget& window, const QList<TActionPlace>& places);

// A small window beside the main one listing the actions; it reads them afresh each time it is
// shown, so texts and keys that changed since are shown as they are.
class TShortcutList : public QDialog {
    Q_OBJECT

public:
    TShortcutList(const QWidget& window, QList<TActionPlace> places, QWidget* parent);

    QTableWidget* Table() const { return FTable; }
    // Reads the actions again and shows the list.
    void ShowList();

private:
    const QWidget& FWindow;
    QList<TActionPlace> FPlaces;
    QTableWidget* FTable;
};
