#include "workbench/window/hexa_strip.h"

#include <algorithm>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>

#include "workbench/window/designed_geometry.h"
#include "workbench/window/designed_widgets.h"

namespace Designed = DesignedGeometry;

THexaStrip::THexaStrip(QWidget* parent) : QFrame(parent) {
    FrameAsPanel(this, "Panel1");
    setFixedHeight(Designed::HexaStripHeight);
    MakeLabel(this, "Label6", "Hexa String:", Designed::HexaCaption);
    HexaComboBox = new QComboBox(this);
    HexaComboBox->setObjectName("HexaComboBox");
    HexaComboBox->setEditable(true);
    HexaComboBox->setInsertPolicy(QComboBox::NoInsert); // Enter does not add to the list
    HexaComboBox->setCompleter(nullptr);                // typed text stays as typed
    HexaComboBox->setGeometry(Designed::HexaComboBox);

    HexaComboBox->installEventFilter(this);
    HexaComboBox->lineEdit()->installEventFilter(this);
    connect(HexaComboBox, &QComboBox::editTextChanged, this, &THexaStrip::TextChanged);
    connect(HexaComboBox->lineEdit(), &QLineEdit::returnPressed, this, &THexaStrip::Entered);
}

QString THexaStrip::Text() const {
    return HexaComboBox->currentText();
}

void THexaStrip::SetText(const QString& text) {
    HexaComboBox->setEditText(text);
}

void THexaStrip::Show(const vesk::TWorkbenchSession& session) {
    QStringList items;
    for (const std::string& item : session.HexaItems)
        items << QString::fromStdString(item);
    bool same = HexaComboBox->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i)
        same = HexaComboBox->itemText(i) == items[i];
    if (!same) {
        HexaComboBox->clear();
        HexaComboBox->addItems(items);
        HexaComboBox->setCurrentIndex(-1);
    }
    const QString text = QString::fromStdString(session.HexaText);
    if (HexaComboBox->currentText() != text) HexaComboBox->setEditText(text);
}

void THexaStrip::SetReadOnly(bool readOnly) {
    FReadOnly = readOnly;
    HexaComboBox->lineEdit()->setReadOnly(readOnly);
    ShowReadOnly(HexaComboBox->lineEdit(), readOnly);
}

int THexaStrip::LeastWidth() const {
    return Designed::HexaComboBox.left() + ComboLeast() + Designed::EdgeGap;
}

int THexaStrip::ComboLeast() const {
    // Forty digits of the mean hex digit's width, and the drop-down arrow.
    const int sixteen = HexaComboBox->fontMetrics().horizontalAdvance("0123456789ABCDEF");
    const QStyle* style = HexaComboBox->style();
    return sixteen * Designed::HexaComboLeastDigits / 16 +
           style->pixelMetric(QStyle::PM_ScrollBarExtent) +
           2 * style->pixelMetric(QStyle::PM_ComboBoxFrameWidth) + 8;
}

void THexaStrip::PlaceHexaComboBox() {
    // The designed distance to the strip's right edge, given up on a narrow strip as far as it
    // takes to keep the box about forty digits wide.
    const QRect designed = Designed::HexaComboBox;
    int width = std::max(0, this->width() - designed.left() - Designed::HexaComboRightGap);
    if (width < ComboLeast())
        width = std::min(ComboLeast(), this->width() - designed.left() - Designed::EdgeGap);
    const int height = std::max(0, this->height() - designed.top() - Designed::HexaComboBottomGap);
    HexaComboBox->setGeometry(designed.left(), designed.top(), width, height);
}

void THexaStrip::resizeEvent(QResizeEvent* event) {
    PlaceHexaComboBox();
    QFrame::resizeEvent(event);
}

bool THexaStrip::StepsTheList(const QObject* watched, const QEvent& event) const {
    switch (event.type()) {
    case QEvent::Wheel:
        return true;
    case QEvent::MouseButtonPress:
        return watched == HexaComboBox;
    case QEvent::KeyPress: {
        const int key = static_cast<const QKeyEvent&>(event).key();
        return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
               key == Qt::Key_PageDown || key == Qt::Key_F4;
    }
    default:
        return false;
    }
}

bool THexaStrip::eventFilter(QObject* watched, QEvent* event) {
    if (FReadOnly && StepsTheList(watched, *event)) return true;
    if (event->type() == QEvent::MouseButtonDblClick) emit DoubleClicked();
    return QFrame::eventFilter(watched, event);
}
