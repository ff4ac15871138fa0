#pragma once
// The Hexa String strip over the plot: its caption and the combo box of pattern texts.

#include <QFrame>

#include "workbench/session.h"

class QComboBox;

// The combo box keeps its designed distances to the strip's right and bottom edges as the strip
// is resized, narrowing no further than about forty digits. Its list holds the session's items;
// Enter in it asks for the text to be shown and a double click for it to be appended to the list.
class THexaStrip : public QFrame {
    Q_OBJECT

public:
    explicit THexaStrip(QWidget* parent = nullptr);

    QComboBox* Combo() const { return HexaComboBox; }
    QString Text() const;
    void SetText(const QString& text);
    // Shows the session's list items and text.
    void Show(const vesk::TWorkbenchSession& session);
    // While a search runs, the text takes no edits and the list cannot be stepped through.
    void SetReadOnly(bool readOnly);
    // The narrowest the strip becomes keeping the box about forty digits wide.
    int LeastWidth() const;

signals:
    void TextChanged(const QString& text);
    void Entered();
    void DoubleClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The narrowest the box becomes: about forty digits and the drop-down arrow.
    int ComboLeast() const;
    void PlaceHexaComboBox();
    // Whether an event would step through the list or open it.
    bool StepsTheList(const QObject* watched, const QEvent& event) const;

    QComboBox* HexaComboBox;
    bool FReadOnly = false;
};
