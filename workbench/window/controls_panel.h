#pragma once
// The controls panel: the element and block fields and the four measures of the pattern shown
// (against the designed reference), and with a target of one's own its distance and fitness to
// that target below them.

#include <QFrame>
#include <QList>

#include "workbench/session.h"

class QLabel;
class TSpinEdit;

// Its fields edit the session's Elements and Blocks; the session takes their texts only when
// told (Store), as a command commits them first.
class TControlsPanel : public QFrame {
    Q_OBJECT

public:
    explicit TControlsPanel(vesk::TWorkbenchSession& session, QWidget* parent = nullptr);

    // Hands the fields' texts to the session.
    void Store();
    // Shows the session's field texts and measures.
    void Show(const vesk::TWorkbenchSession& session);
    // While a search runs, the fields that feed it take no edits, visibly.
    void SetReadOnly(bool readOnly);
    // The element count as the field shows it, read as a command would read it.
    std::int32_t ShownElements() const;
    // The fields' texts as shown, typed or not.
    QString ElementsText() const;
    QString BlocksText() const;

signals:
    // The element field's text was committed (Enter, or the focus left it).
    void ElementsEdited();

private:
    TSpinEdit* XElementsSpinEdit;
    TSpinEdit* NBlocksSpinEdit;
    QLabel* CardinalityLabel;
    QLabel* SubSethoodLabel;
    QLabel* HammingLabel;
    QLabel* FitnessLabel;
    // Shown only with a target of one's own: a heading, two captions and the two values.
    QList<QLabel*> TargetRows;
    QLabel* TargetHammingLabel;
    QLabel* TargetFitnessLabel;
};
