#include "workbench/window/search_panel.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
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

const char* const ProblemStyle = "color: #b00000";

} // namespace

TSearchPanel::TSearchPanel(vesk::TSearchSetup& setup, QWidget* parent)
    : QDialog(parent), FSetup(setup) {
    setObjectName("SearchPanel");
    setWindowTitle("Search Settings");
    auto* form = new QFormLayout;
    for (const vesk::TSearchOption& option : vesk::SearchOptions()) {
        if (!option.TakenBy(vesk::TFrontEnd::Session)) continue;
        const QString label = QString::fromStdString(option.Label);
        const QString name = Capitalised(option.Key);
        QWidget* editor = nullptr;
        if (option.Kind == vesk::TOptionKind::Word) {
            auto* box = new QComboBox;
            for (const std::string& word : vesk::SearchSettingWords(option))
                box->addItem(QString::fromStdString(word));
            box->setObjectName(name + "Box");
            editor = box;
        } else if (option.Kind == vesk::TOptionKind::Flag) {
            auto* box = new QCheckBox(label);
            box->setObjectName(name + "Box");
            editor = box;
        } else {
            auto* field = new QLineEdit;
            field->setObjectName(name + "Field");
            const QString byDefault =
                QString::fromStdString(vesk::OptionDefault(option, vesk::EvolveBudget));
            field->setPlaceholderText(byDefault);
            // Wide enough to show its default whole while it is empty: the room a line edit
            // keeps around its text (what its size hint adds to its 17 characters), and the text.
            const QFontMetrics metrics = field->fontMetrics();
            const int frame = field->sizeHint().width() - 17 * metrics.horizontalAdvance('x');
            field->setMinimumWidth(frame + metrics.horizontalAdvance(byDefault));
            editor = field;
        }
        editor->setToolTip(QString::fromStdString(
            vesk::OptionHelp(option, vesk::TFrontEnd::Session, vesk::EvolveBudget)));
        // The field and, under it, what is wrong with its value (hidden while nothing is).
        auto* cell = new QWidget;
        auto* column = new QVBoxLayout(cell);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        column->addWidget(editor);
        auto* problem = new QLabel;
        problem->setObjectName(name + "Problem");
        problem->setStyleSheet(ProblemStyle);
        problem->setWordWrap(true);
        problem->hide();
        column->addWidget(problem);
        if (option.Kind == vesk::TOptionKind::Flag)
            form->addRow(cell);
        else
            form->addRow(label, cell);
        FRows.push_back({&option, editor, problem});
    }
    FProblem = new QLabel;
    FProblem->setObjectName("SearchProblemLabel");
    FProblem->setStyleSheet(ProblemStyle);
    FProblem->setWordWrap(true);
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
    Mark({});
}

std::vector<vesk::TSearchSetting> TSearchPanel::Settings() const {
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
    return settings;
}

QString TSearchPanel::Apply() {
    const std::vector<vesk::TSearchSetting> settings = Settings();
    const std::string problem = vesk::ApplySearchSettings(FSetup, settings);
    std::vector<QString> marks(FRows.size());
    if (!problem.empty()) {
        const std::vector<std::string> problems = vesk::SettingProblems(FSetup, settings);
        for (std::size_t i = 0; i < marks.size(); ++i)
            marks[i] = QString::fromStdString(problems[i]);
    }
    Mark(marks);
    return QString::fromStdString(problem);
}

void TSearchPanel::Mark(const std::vector<QString>& problems) {
    QWidget* first = nullptr;
    for (std::size_t i = 0; i < FRows.size(); ++i) {
        const QString problem = i < problems.size() ? problems[i] : QString();
        FRows[i].Problem->setText(problem);
        FRows[i].Problem->setVisible(!problem.isEmpty());
        if (!problem.isEmpty() && first == nullptr) first = FRows[i].Editor;
    }
    if (first != nullptr) first->setFocus(Qt::OtherFocusReason);
    // The marks wrap to the fields' width: the panel grows to show all their lines, which its
    // least size, taken without wrapping, would not.
    layout()->activate();
    const int needed = layout()->totalHeightForWidth(width());
    if (needed > height()) resize(width(), needed);
}

void TSearchPanel::accept() {
    const QString problem = Apply();
    FProblem->setText(problem);
    if (problem.isEmpty()) QDialog::accept();
}
