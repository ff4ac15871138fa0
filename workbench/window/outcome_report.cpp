#include "workbench/window/outcome_report.h"

#include <QMessageBox>

namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const std::string& text) {
    QMessageBox box(icon, QString::fromUtf8(vesk::ProgramTitle), QString::fromStdString(text),
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

void ReportOutcome(QWidget* parent, const vesk::TCommandOutcome& outcome) {
    if (outcome.Error) ShowBox(parent, QMessageBox::Critical, *outcome.Error);
    if (outcome.Message) ShowBox(parent, QMessageBox::NoIcon, *outcome.Message);
    if (outcome.Information) ShowBox(parent, QMessageBox::Information, *outcome.Information);
}
