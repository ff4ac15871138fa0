#pragma once
// The "Blocks" panel: the blocks of the Hexa String text in words, editable cell by cell (the
// window shows it in a dock titled "Blocks").

#include <QFrame>

class QLabel;
class QTableWidget;

// Lists each group of the text: index, shape (code and name), centre, spread, repeats,
// operator (code and name) and the elements the block covers at the current element count.
// Editing a cell (a drop-down for shape and operator, a bounded spin box for the others)
// rewrites that group's digits and reports the new text through TextEdited.
class TBlocksPanel : public QFrame {
    Q_OBJECT

public:
    explicit TBlocksPanel(QWidget* parent = nullptr);

    // Shows text's blocks on elementCount elements.
    void ShowText(const QString& text, int elementCount);
    QTableWidget* Table() const { return FTable; }
    // The width the table needs to show every column without scrolling.
    int ColumnsWidth() const;

signals:
    void TextEdited(const QString& text);

private:
    void EditField(int group, int field, int value);
    void FitColumns();

    QTableWidget* FTable;
    QLabel* FProblem;
    QString FText;
    int FElementCount = 100;
    bool FFilling = false;
};
