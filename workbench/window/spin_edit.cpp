#include "workbench/window/spin_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

TSpinEdit::TSpinEdit(vesk::TSpinField& model, QWidget* parent)
    : QAbstractSpinBox(parent), FModel(model) {
    setKeyboardTracking(true);
    setAccelerated(false);
    LoadText();
}

void TSpinEdit::StoreText() {
    FModel.Text = lineEdit()->text().toStdString();
}

void TSpinEdit::LoadText() {
    const QString text = QString::fromStdString(FModel.Text);
    if (lineEdit()->text() != text) lineEdit()->setText(text);
}

void TSpinEdit::stepBy(int steps) {
    StoreText();
    FModel.Step(steps);
    LoadText();
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const {
    // The value may lie anywhere while typed, so both directions always stay available.
    return StepUpEnabled | StepDownEnabled;
}

bool SpinEditAcceptsKey(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return false;
    // Shortcuts such as Ctrl+V (paste) and Ctrl+A are control keys.
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return true;
    const QString text = event.text();
    if (text.isEmpty()) return true; // arrows, Home, End, Delete and the like
    const QString separator = QLocale().decimalPoint();
    for (const QChar c : text) {
        const bool control = c.unicode() < 0x20 || c.unicode() == 0x7f;
        const bool allowed =
            (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || separator.contains(c);
        if (!control && !allowed) return false;
    }
    return true;
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // Only the single steps of the arrow keys move the value.
        QWidget::keyPressEvent(event);
        return;
    default:
        break;
    }
    if (!SpinEditAcceptsKey(*event)) {
        event->accept();
        QApplication::beep();
        emit KeyRefused();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusOutEvent(event);
    StoreText();
    FModel.Commit();
    LoadText();
}

void TSpinEdit::wheelEvent(QWheelEvent* event) {
    // The wheel does not step the field; let the parent have it.
    QWidget::wheelEvent(event);
}
