#pragma once
// "Search Settings": the settings of "Evolve" in a dialog, a row for each option the session's
// settings take, named, explained and checked as the option of `vesk evolve` that gives it.

#include <vector>

#include <QDialog>

#include "workbench/search_setup.h"

class QLabel;

// Shows a setup's settings as fields; Accept takes them into the setup only when every one is
// accepted, and otherwise shows what the tool would say of the first one refused, marks each
// field to blame with its own problem under it, and keeps the dialog open. An empty field means the
// option is not given (every island, no time limit, the default budget).
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
    // An option's row: a combo box for a word, a check box for a flag, else a text field.
    struct TRow {
        const vesk::TSearchOption* Option;
        QWidget* Editor;
        QLabel* Problem; // under the editor, shown while its value is refused
    };

    std::vector<vesk::TSearchSetting> Settings() const;
    // Shows each row's problem ("" for none) and takes the focus to the first row refused.
    void Mark(const std::vector<QString>& problems);

    vesk::TSearchSetup& FSetup;
    std::vector<TRow> FRows;
    QLabel* FProblem;
};
