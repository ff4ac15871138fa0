#include "workbench/window/controls_panel.h"

#include <algorithm>
#include <QLabel>

#include "workbench/window/designed_geometry.h"
#include "workbench/window/designed_widgets.h"
#include "workbench/window/spin_edit.h"

namespace {

namespace Designed = DesignedGeometry;

struct TLabelPlace {
    const char* Name;
    const char* Caption;
    QPoint Position;
};

// The captions that never change.
const TLabelPlace PlainLabels[] = {
    {"XLabel", "FS Elements:", Designed::ElementsCaption},
    {"Label1", "FS Blocks", Designed::BlocksCaption},
    {"Label2", "Cardinality:", Designed::CardinalityCaption},
    {"Label3", "Subsethood:", Designed::SubsethoodCaption},
    {"Label4", "Hamming", Designed::HammingCaption},
    {"Label5", "Fitness", Designed::FitnessCaption},
};

} // namespace

TControlsPanel::TControlsPanel(vesk::TWorkbenchSession& session, QWidget* parent) : QFrame(parent) {
    FrameAsPanel(this, "FSControlsPanel");
    setFixedWidth(Designed::ControlsPanelWidth);

    for (const TLabelPlace& place : PlainLabels)
        MakeLabel(this, place.Name, place.Caption, place.Position);

    XElementsSpinEdit = new TSpinEdit(session.Elements, this);
    XElementsSpinEdit->setObjectName("XElementsSpinEdit");
    XElementsSpinEdit->setGeometry(Designed::ElementsSpinEdit);
    NBlocksSpinEdit = new TSpinEdit(session.Blocks, this);
    NBlocksSpinEdit->setObjectName("NBlocksSpinEdit");
    NBlocksSpinEdit->setGeometry(Designed::BlocksSpinEdit);

    QFont valueFont = font();
    valueFont.setPixelSize(Designed::ValueFontPixels);
    valueFont.setBold(true);
    const auto valueLabel = [&](const char* name, QPoint position) {
        QLabel* label = MakeLabel(this, name, {}, position);
        label->setFont(valueFont);
        return label;
    };
    CardinalityLabel = valueLabel("CardinalityLabel", Designed::CardinalityValue);
    SubSethoodLabel = valueLabel("SubSethoodLabel", Designed::SubsethoodValue);
    HammingLabel = valueLabel("HammingLabel", Designed::HammingValue);
    FitnessLabel = valueLabel("FitnessLabel", Designed::FitnessValue);
    // However small the window, every caption and read-out shows whole.
    setMinimumHeight(childrenRect().bottom() + Designed::EdgeGap);

    connect(XElementsSpinEdit, &QAbstractSpinBox::editingFinished, this,
            &TControlsPanel::ElementsEdited);
}

void TControlsPanel::Store() {
    XElementsSpinEdit->StoreText();
    NBlocksSpinEdit->StoreText();
}

void TControlsPanel::Show(const vesk::TWorkbenchSession& session) {
    XElementsSpinEdit->LoadText();
    NBlocksSpinEdit->LoadText();
    SetCaption(CardinalityLabel, session.CardinalityCaption);
    SetCaption(SubSethoodLabel, session.SubsethoodCaption);
    SetCaption(HammingLabel, session.HammingCaption);
    SetCaption(FitnessLabel, session.FitnessCaption);
}

void TControlsPanel::SetReadOnly(bool readOnly) {
    for (TSpinEdit* field : {XElementsSpinEdit, NBlocksSpinEdit}) {
        field->setReadOnly(readOnly);
        ShowReadOnly(field, readOnly);
    }
}

std::int32_t TControlsPanel::ShownElements() const {
    const vesk::TSpinField& model = XElementsSpinEdit->Model();
    return std::clamp(vesk::ParseSpinInteger(XElementsSpinEdit->text().toStdString()).value_or(1),
                      model.Minimum, model.Maximum);
}

QString TControlsPanel::ElementsText() const {
    return XElementsSpinEdit->text();
}

QString TControlsPanel::BlocksText() const {
    return NBlocksSpinEdit->text();
}
