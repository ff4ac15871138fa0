#include "workbench/window/search_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QString CodeList(const std::vector<std::int32_t>& codes) {
    QStringList items;
    for (std::int32_t code : codes)
        items << QString::number(code);
    return items.join(',');
}

QLineEdit* Field(const char* name) {
    auto* field = new QLineEdit;
    field->setObjectName(name);
    return field;
}

} // namespace

TSearchPanel::TSearchPanel(vesk::TSearchSetup& setup, QWidget* parent)
    : QDialog(parent), FSetup(setup) {
    setObjectName("SearchPanel");
    setWindowTitle("Search Settings");
    auto* form = new QFormLayout;
    FObjective = new QComboBox;
    FObjective->setObjectName("ObjectiveBox");
    FObjective->addItems({"distance", "sweep"});
    FAlgorithm = new QComboBox;
    FAlgorithm->setObjectName("AlgorithmBox");
    for (vesk::TAlgorithm algorithm : vesk::SearchAlgorithms())
        if (algorithm != vesk::ParetoAlgorithm) FAlgorithm->addItem(vesk::AlgorithmName(algorithm));
    FEvaluations = Field("EvaluationsField");
    FSeconds = Field("SecondsField");
    FSeconds->setPlaceholderText("no limit");
    FDistance = Field("DistanceField");
    FDistance->setPlaceholderText("none");
    FIslands = Field("IslandsField");
    FIslands->setPlaceholderText("every hardware thread");
    FSeed = Field("SeedField");
    FShapes = Field("ShapesField");
    FShapes->setPlaceholderText("all, or a list like 0-7,12");
    FOperators = Field("OperatorsField");
    FOperators->setPlaceholderText("all, or a list like 0-3,10");
    FStart = new QCheckBox("start from the current pattern");
    FStart->setObjectName("StartBox");
    form->addRow("Objective", FObjective);
    form->addRow("Algorithm", FAlgorithm);
    form->addRow("Evaluations", FEvaluations);
    form->addRow("Seconds", FSeconds);
    form->addRow("Stop at distance", FDistance);
    form->addRow("Islands", FIslands);
    form->addRow("Seed", FSeed);
    form->addRow("Shapes", FShapes);
    form->addRow("Operators", FOperators);
    form->addRow(FStart);
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
    FObjective->setCurrentIndex(FSetup.Objective == vesk::TObjective::Sweep ? 1 : 0);
    FAlgorithm->setCurrentText(
        vesk::AlgorithmName(FSetup.Algorithm.value_or(vesk::SearchAlgorithms().front())));
    FEvaluations->setText(QString::number(FSetup.Evaluations));
    FSeconds->setText(FSetup.Seconds ? QString::number(*FSetup.Seconds) : QString());
    FDistance->setText(FSetup.Distance ? QString::number(*FSetup.Distance) : QString());
    FIslands->setText(FSetup.Islands > 0 ? QString::number(FSetup.Islands) : QString());
    FSeed->setText(QString::number(FSetup.Seed));
    FShapes->setText(CodeList(FSetup.Shapes));
    FOperators->setText(CodeList(FSetup.Operators));
    FStart->setChecked(FSetup.Start);
    FProblem->clear();
}

QString TSearchPanel::Apply() {
    vesk::TSearchSetup changed = FSetup;
    changed.Islands = 0;
    const auto text = [](const QLineEdit* field, const char* empty) {
        const QString value = field->text().trimmed();
        return value.isEmpty() ? std::string(empty) : value.toStdString();
    };
    const std::pair<const char*, std::string> settings[] = {
        {"objective", FObjective->currentText().toStdString()},
        {"algorithm", FAlgorithm->currentText().toStdString()},
        {"evaluations", text(FEvaluations, "")},
        {"seconds", text(FSeconds, "off")},
        {"distance", text(FDistance, "off")},
        {"seed", text(FSeed, "")},
        {"shapes", text(FShapes, "all")},
        {"operators", text(FOperators, "all")},
        {"start", FStart->isChecked() ? "on" : "off"},
    };
    for (const auto& [key, value] : settings)
        if (std::string problem = vesk::ApplySearchSetting(changed, key, value); !problem.empty())
            return QString::fromStdString(problem);
    if (!FIslands->text().trimmed().isEmpty())
        if (std::string problem = vesk::ApplySearchSetting(changed, "islands", text(FIslands, ""));
            !problem.empty())
            return QString::fromStdString(problem);
    FSetup = std::move(changed);
    return {};
}

void TSearchPanel::accept() {
    const QString problem = Apply();
    FProblem->setText(problem);
    if (problem.isEmpty()) QDialog::accept();
}
