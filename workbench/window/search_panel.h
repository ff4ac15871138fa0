#pragma once
// "Search Settings": the settings of "Evolve" in a dialog, each named and checked as the option
// of `vesk evolve` that gives it.

#include <QDialog>

#include "workbench/search_setup.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// Shows a setup's settings as fields; Accept takes them into the setup only when every one is
// accepted, and otherwise shows what the tool would say of the first one refused and keeps the
// dialog open. An empty field means the option is not given (every island, no time limit).
class TSearchPanel : public QDialog {
    Q_OBJECT

public:
    TSearchPanel(vesk::TSearchSetup& setup, QWidget* parent = nullptr);

    // Shows the setup's settings again (the dialog is kept between openings).
    void Load();
    // What the fields say, as "settings" lines would give it: "" when taken.
    QString Apply();

    void accept() override;

private:
    vesk::TSearchSetup& FSetup;
    QComboBox* FObjective;
    QComboBox* FAlgorithm;
    QLineEdit* FEvaluations;
    QLineEdit* FSeconds;
    QLineEdit* FDistance;
    QLineEdit* FIslands;
    QLineEdit* FSeed;
    QLineEdit* FShapes;
    QLineEdit* FOperators;
    QCheckBox* FStart;
    QLabel* FProblem;
};
