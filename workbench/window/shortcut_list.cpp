#include "workbench/window/shortcut_list.h"

#include <algorithm>
#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QList<QAction*> ActionsOf(const QWidget& place) {
    if (qobject_cast<const QToolBar*>(&place) == nullptr) return place.actions();
    QList<QAction*> actions;
    for (const QToolButton* button : place.findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        if (button->defaultAction()) actions.append(button->defaultAction());
    return actions;
}

QString CommandText(const QAction& action) {
    QString text = action.text();
    text.remove('&');
    if (text.endsWith("...")) text.chop(3);
    return text;
}

QString KeysText(const QAction& action) {
    QStringList keys;
    for (const QKeySequence& sequence : action.shortcuts())
        keys.append(sequence.toString(QKeySequence::NativeText));
    return keys.join(", ");
}

} // namespace

std::vector<TListedAction> ListActions(const QWidget& window, const QList<TActionPlace>& places) {
    std::vector<TListedAction> listed;
    const auto add = [&](QAction* action, const QString& where) {
        if (action->isSeparator() || action->text().isEmpty()) return;
        auto found = std::find_if(listed.begin(), listed.end(),
                                  [action](const TListedAction& a) { return a.Action == action; });
        if (found == listed.end()) {
            listed.push_back({action, CommandText(*action), KeysText(*action), {}});
            found = listed.end() - 1;
        }
        if (!where.isEmpty() && !found->Where.contains(where)) found->Where.append(where);
    };
    for (const TActionPlace& place : places)
        for (QAction* action : ActionsOf(*place.Widget))
            add(action, place.Name);
    for (QAction* action : window.actions())
        add(action, {});
    return listed;
}

TShortcutList::TShortcutList(const QWidget& window, QList<TActionPlace> places, QWidget* parent)
    : QDialog(parent), FWindow(window), FPlaces(std::move(places)) {
    setObjectName("ShortcutList");
    setWindowTitle("Keyboard Shortcuts");
    auto* layout = new QVBoxLayout(this);
    FTable = new QTableWidget(0, 3, this);
    FTable->setObjectName("ShortcutTable");
    FTable->setHorizontalHeaderLabels({"Command", "Keys", "Where"});
    FTable->verticalHeader()->hide();
    FTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    FTable->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(FTable);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(520, 460);
}

void TShortcutList::ShowList() {
    const std::vector<TListedAction> listed = ListActions(FWindow, FPlaces);
    FTable->setRowCount(static_cast<int>(listed.size()));
    for (int row = 0; row < FTable->rowCount(); ++row) {
        const TListedAction& action = listed[static_cast<std::size_t>(row)];
        const QString cells[] = {action.Command, action.Keys, action.Where.join(", ")};
        for (int column = 0; column < 3; ++column)
            FTable->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    FTable->resizeColumnsToContents();
    show();
    raise();
    activateWindow();
}
