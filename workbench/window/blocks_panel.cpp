#include "workbench/window/blocks_panel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "fuzzyset/operator_kernels.h"
#include "fuzzyset/shapes.h"
#include "vesk/hex_text.h"
#include "vesk/pattern_description.h"

namespace {

// A column a field, in the fields' order, then the elements the block covers.
constexpr int ElementsColumn = vesk::FieldsPerBlock;
const QStringList Headers{"Shape", "Centre", "Spread", "Repeats", "Operator", "Elements"};

} // namespace

TBlocksPanel::TBlocksPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("BlocksPanel");
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    FProblem = new QLabel(this);
    FProblem->setObjectName("BlocksProblemLabel");
    FProblem->hide();
    layout->addWidget(FProblem);
    FTable = new QTableWidget(0, static_cast<int>(Headers.size()), this);
    FTable->setObjectName("BlocksTable");
    FTable->setHorizontalHeaderLabels(Headers);
    FTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    FTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every column shows (the panel is as wide as they are), so a chosen cell never scrolls
    // the table sideways.
    FTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    FTable->setAutoScroll(false);
    layout->addWidget(FTable, 1);
    FitColumns();
}

int TBlocksPanel::ColumnsWidth() const {
    return FTable->verticalHeader()->sizeHint().width() + FTable->horizontalHeader()->length() +
           FTable->verticalScrollBar()->sizeHint().width() + 2 * FTable->frameWidth();
}

void TBlocksPanel::FitColumns() {
    FTable->resizeColumnsToContents();
    const QMargins margins = contentsMargins() + layout()->contentsMargins();
    setMinimumWidth(ColumnsWidth() + margins.left() + margins.right());
}

void TBlocksPanel::ShowText(const QString& text, int elementCount) {
    FText = text;
    FElementCount = elementCount;
    const vesk::TPatternDescription description =
        vesk::DescribePattern(text.toStdString(), elementCount);
    FFilling = true;
    FProblem->setVisible(description.Problem.has_value());
    if (description.Problem)
        FProblem->setText(QString::fromStdString("Cannot be read: " + *description.Problem));
    FTable->setRowCount(static_cast<int>(description.Blocks.size()));
    for (int row = 0; row < FTable->rowCount(); ++row) {
        const vesk::TBlockDescription& d = description.Blocks[static_cast<std::size_t>(row)];
        FTable->setVerticalHeaderItem(row, new QTableWidgetItem(QString::number(d.Index)));
        for (int field = 0; field < vesk::FieldsPerBlock; ++field) {
            QWidget* editor = nullptr;
            if (field == vesk::ShapeField || field == vesk::OpField) {
                auto* box = new QComboBox;
                for (int code = 0; code <= vesk::FieldHighest(field); ++code)
                    box->addItem(QString("%1 %2").arg(code).arg(
                        field == vesk::ShapeField
                            ? vesk::ShapeNames[static_cast<std::size_t>(code)]
                            : vesk::kernels::OperatorNames[static_cast<std::size_t>(code)]));
                box->setCurrentIndex(vesk::FieldOf(d.Block, field));
                connect(box, &QComboBox::currentIndexChanged, this,
                        [this, row, field](int value) { EditField(row, field, value); });
                editor = box;
            } else {
                auto* spin = new QSpinBox;
                spin->setRange(0, vesk::FieldHighest(field));
                spin->setValue(vesk::FieldOf(d.Block, field));
                connect(spin, &QSpinBox::valueChanged, this,
                        [this, row, field](int value) { EditField(row, field, value); });
                editor = spin;
            }
            editor->setEnabled(!d.Dropped);
            FTable->setCellWidget(row, field, editor);
        }
        QString note =
            d.Dropped ? "dropped (beyond 32 blocks)" : QString("%1..%2").arg(d.First).arg(d.Last);
        if (d.Zeroed) note += "  (not a valid block: reads as 00000)";
        FTable->setItem(row, ElementsColumn, new QTableWidgetItem(note));
    }
    FFilling = false;
    FitColumns();
}

void TBlocksPanel::EditField(int group, int field, int value) {
    if (FFilling) return;
    const vesk::TPatternDescription description =
        vesk::DescribePattern(FText.toStdString(), FElementCount);
    if (group >= static_cast<int>(description.Blocks.size())) return;
    vesk::TFuzzyBlock block = description.Blocks[static_cast<std::size_t>(group)].Block;
    vesk::FieldOf(block, field) = value;
    QString text = FText;
    text.replace(group * vesk::FieldsPerBlock, vesk::FieldsPerBlock,
                 QString::fromStdString(vesk::BlockHex(block)));
    emit TextEdited(text);
}
