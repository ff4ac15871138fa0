#include "workbench/window/history_panel.h"

#include <algorithm>

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QStringList Headers{"When",    "Source",          "Blocks", "Distance",
                          "Fitness", "Target distance", "Pattern"};

} // namespace

THistoryPanel::THistoryPanel(std::vector<vesk::THistoryEntry>& history, QWidget* parent)
    : QWidget(parent), FHistory(history) {
    setObjectName("HistoryPanel");
    FTable = new QTableWidget(0, static_cast<int>(Headers.size()), this);
    FTable->setObjectName("HistoryTable");
    FTable->setHorizontalHeaderLabels(Headers);
    // The measures as wide as they need; the pattern takes the rest, cut short in the middle
    // when it is longer (Copy Hex copies it whole), so the table never scrolls sideways.
    FTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    FTable->horizontalHeader()->setSectionResizeMode(static_cast<int>(Headers.size()) - 1,
                                                     QHeaderView::Stretch);
    FTable->setTextElideMode(Qt::ElideMiddle);
    FTable->setWordWrap(false);
    FTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    FTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* show = new QPushButton("Show", this);
    show->setObjectName("HistoryShowButton");
    auto* remove = new QPushButton("Remove", this);
    remove->setObjectName("HistoryRemoveButton");
    auto* copy = new QPushButton("Copy Hex", this);
    copy->setObjectName("HistoryCopyButton");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(show);
    buttons->addWidget(remove);
    buttons->addWidget(copy);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(FTable, 1);
    layout->addLayout(buttons);

    connect(FTable, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (Selected().size() == 1 && row < static_cast<int>(FHistory.size()))
            emit ShowRequested(QString::fromStdString(FHistory[static_cast<std::size_t>(row)].Hex));
    });
    connect(show, &QPushButton::clicked, this, [this] {
        const std::vector<int> rows = Selected();
        if (!rows.empty())
            emit ShowRequested(
                QString::fromStdString(FHistory[static_cast<std::size_t>(rows.back())].Hex));
    });
    connect(FTable, &QTableWidget::itemSelectionChanged, this, [this] {
        QStringList hexes;
        const std::vector<int> rows = Selected();
        if (rows.size() == 2)
            for (int row : rows)
                hexes << QString::fromStdString(FHistory[static_cast<std::size_t>(row)].Hex);
        emit OverlayRequested(hexes);
    });
    connect(remove, &QPushButton::clicked, this, &THistoryPanel::RemoveSelected);
    connect(copy, &QPushButton::clicked, this, &THistoryPanel::CopySelected);
}

void THistoryPanel::Refresh() {
    FTable->setRowCount(static_cast<int>(FHistory.size()));
    for (int row = 0; row < FTable->rowCount(); ++row) {
        const vesk::THistoryEntry& e = FHistory[static_cast<std::size_t>(row)];
        const QString cells[] = {
            QString::fromStdString(e.When),
            QString::fromStdString(e.Source),
            QString::number(e.Blocks),
            QString::number(e.Distance, 'f', 2),
            QString::number(e.Fitness),
            e.TargetDistance ? QString::number(*e.TargetDistance, 'f', 2) : QString(),
            QString::fromStdString(e.Hex),
        };
        for (int column = 0; column < FTable->columnCount(); ++column)
            FTable->setItem(row, column, new QTableWidgetItem(cells[column]));
        FTable->item(row, FTable->columnCount() - 1)->setToolTip(cells[FTable->columnCount() - 1]);
    }
    FTable->scrollToBottom();
}

std::vector<int> THistoryPanel::Selected() const {
    std::vector<int> rows;
    for (const QModelIndex& index : FTable->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void THistoryPanel::RemoveSelected() {
    const std::vector<int> rows = Selected();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        FHistory.erase(FHistory.begin() + *row);
    Refresh();
}

void THistoryPanel::CopySelected() {
    QStringList hexes;
    for (int row : Selected())
        hexes << QString::fromStdString(FHistory[static_cast<std::size_t>(row)].Hex);
    QGuiApplication::clipboard()->setText(hexes.join('\n'));
}
