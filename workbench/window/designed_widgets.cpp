#include "workbench/window/designed_widgets.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QPoint position) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // the value captions keep their leading blanks
    label->move(position);
    label->adjustSize();
    return label;
}

void FrameAsPanel(QFrame* panel, const char* name) {
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
}

void SetCaption(QLabel* label, const std::string& caption) {
    const QString text = QString::fromStdString(caption);
    if (label->text() == text) return;
    label->setText(text);
    label->adjustSize();
}

void ShowReadOnly(QWidget* field, bool readOnly) {
    QPalette palette = field->palette();
    palette.setBrush(QPalette::Base, readOnly ? palette.window() : QPalette().base());
    field->setPalette(palette);
}
