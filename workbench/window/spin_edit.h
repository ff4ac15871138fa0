#pragma once
// The numeric spin field of the workbench window, a view over a TSpinField.

#include <QAbstractSpinBox>

#include "workbench/spin_field.h"

class QKeyEvent;

// A text field with spin buttons. Typing is filtered (digits, signs, the decimal separator and
// control keys; anything else, Enter included, is refused with a beep), pasting is not. The arrow
// keys and the buttons step the value by one, clamped; losing the focus clamps an out-of-bounds
// value. The model's text is only synchronised at those points and by StoreText / LoadText.
class TSpinEdit : public QAbstractSpinBox {
    Q_OBJECT

public:
    TSpinEdit(vesk::TSpinField& model, QWidget* parent = nullptr);

    vesk::TSpinField& Model() const { return FModel; }
    // Copies the shown text into the model.
    void StoreText();
    // Shows the model's text.
    void LoadText();

    void stepBy(int steps) override;

signals:
    // A typed key was refused (the field has beeped).
    void KeyRefused();

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    vesk::TSpinField& FModel;
};

// Whether the field's typing filter lets this key through.
bool SpinEditAcceptsKey(const QKeyEvent& event);
