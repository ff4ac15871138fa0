#include "workbench/window/search_panel.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// "seed" as the rows' object names have it: "Seed".
QString Capitalised(const std::string& key) {
    QString name = QString::fromStdString(key);
    if (!name.isEmpty()) name[0] = name[0].toUpper();
    return name;
}

} // namespace

TSearchPanel::TSearchPanel(vesk::TSearchSetup& setup, QWidget* parent)
    : QDialog(parent), FSetup(setup) {
    setObjectName("SearchPanel");
    setWindowTitle("Search Settings");
    auto* form = new QFormLayout;
    for (const vesk::TSearchOption& option : vesk::SearchOptions()) {
        if (!option.TakenBy(vesk::TFrontEnd::Session)) continue;
        const QString label = QString::fromStdString(option.Label);
        QWidget* editor = nullptr;
        if (option.Kind == vesk::TOptionKind::Word) {
            auto* box = new QComboBox;
            for (const std::string& word : vesk::SearchSettingWords(option))
                box->addItem(QString::fromStdString(word));
            box->setObjectName(Capitalised(option.Key) + "Box");
            form->addRow(label, box);
            editor = box;
        } else if (option.Kind == vesk::TOptionKind::Flag) {
            auto* box = new QCheckBox(label);
            box->setObjectName(Capitalised(option.Key) + "Box");
            form->addRow(box);
            editor = box;
        } else {
            auto* field = new QLineEdit;
            field->setObjectName(Capitalised(option.Key) + "Field");
            field->setPlaceholderText(
                QString::fromStdString(vesk::OptionDefault(option, vesk::EvolveBudget)));
            form->addRow(label, field);
            editor = field;
        }
        editor->setToolTip(QString::fromStdString(
            vesk::OptionHelp(option, vesk::TFrontEnd::Session, vesk::EvolveBudget)));
        FRows.push_back({&option, editor});
    }
    FProblem = new QLabel;
    FProblem->setObjectName("SearchProblemLabel");
    FProblem->setStyleSheet("color: #b00000");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSearchPanel::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TSearchPanel::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(FProblem);
    layout->addWidget(buttons);
    Load();
}

void TSearchPanel::Load() {
    for (const TRow& row : FRows) {
        const QString shown = QString::fromStdString(row.Option->Shown(FSetup));
        if (auto* box = qobject_cast<QComboBox*>(row.Editor))
            box->setCurrentIndex(std::max(box->findText(shown), 0)); // not given: the default
        else if (auto* check = qobject_cast<QCheckBox*>(row.Editor))
            check->setChecked(shown == "on");
        else if (auto* field = qobject_cast<QLineEdit*>(row.Editor))
            field->setText(shown);
    }
    FProblem->clear();
}

QString TSearchPanel::Apply() {
    std::vector<vesk::TSearchSetting> settings;
    for (const TRow& row : FRows) {
        std::string value;
        if (auto* box = qobject_cast<QComboBox*>(row.Editor))
            value = box->currentText().toStdString();
        else if (auto* check = qobject_cast<QCheckBox*>(row.Editor))
            value = check->isChecked() ? "on" : "off";
        else if (auto* field = qobject_cast<QLineEdit*>(row.Editor))
            value = field->text().trimmed().toStdString();
        if (value.empty()) value = row.Option->Unset; // an empty field: the option not given
        settings.emplace_back(row.Option->Key, value);
    }
    return QString::fromStdString(vesk::ApplySearchSettings(FSetup, settings));
}

void TSearchPanel::accept() {
    const QString problem = Apply();
    FProblem->setText(problem);
    if (problem.isEmpty()) QDialog::accept();
}
