#include "workbench/window/controls_panel.h"

#include <algorithm>
#include <optional>
#include <QLabel>

#include "vesk/agent.h"
#include "workbench/text_format.h"

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

// The captions that never change: the fields', then the measures'.
const TLabelPlace FieldLabels[] = {
    {"XLabel", "FS Elements:", Designed::ElementsCaption},
    {"Label1", "FS Blocks", Designed::BlocksCaption},
};
const TLabelPlace MeasureLabels[] = {
    {"Label2", "Cardinality:", Designed::CardinalityCaption},
    {"Label3", "Subsethood:", Designed::SubsethoodCaption},
    {"Label4", "Hamming", Designed::HammingCaption},
    {"Label5", "Fitness", Designed::FitnessCaption},
};

// The rows for a target of one's own under the designed four, at their spacing: a heading, then
// the distance and the fitness to the target.
constexpr int RowStep = Designed::FitnessCaption.y() - Designed::HammingCaption.y();
constexpr QPoint TargetRow(int row) {
    return Designed::FitnessCaption + QPoint(0, (row + 1) * RowStep);
}
const TLabelPlace TargetCaptions[] = {
    {"TargetLabel", "To target:", TargetRow(0)},
    {"TargetHammingCaption", "Hamming", TargetRow(1)},
    {"TargetFitnessCaption", "Fitness", TargetRow(2)},
};
const QString AgainstReference = "Measured against the designed reference";
const QString AgainstTarget = "Measured against the target of one's own, which Evolve fits";

} // namespace

TControlsPanel::TControlsPanel(vesk::TWorkbenchSession& session, QWidget* parent) : QFrame(parent) {
    FrameAsPanel(this, "FSControlsPanel");
    setFixedWidth(Designed::ControlsPanelWidth);

    for (const TLabelPlace& place : FieldLabels)
        MakeLabel(this, place.Name, place.Caption, place.Position);
    for (const TLabelPlace& place : MeasureLabels)
        MakeLabel(this, place.Name, place.Caption, place.Position)->setToolTip(AgainstReference);
    for (const TLabelPlace& place : TargetCaptions)
        TargetRows << MakeLabel(this, place.Name, place.Caption, place.Position);

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
    for (QLabel* value : {CardinalityLabel, SubSethoodLabel, HammingLabel, FitnessLabel})
        value->setToolTip(AgainstReference);
    TargetHammingLabel = valueLabel("TargetHammingLabel",
                                    {Designed::HammingValue.x(), TargetCaptions[1].Position.y()});
    TargetFitnessLabel = valueLabel("TargetFitnessLabel",
                                    {Designed::FitnessValue.x(), TargetCaptions[2].Position.y()});
    TargetRows << TargetHammingLabel << TargetFitnessLabel;
    for (QLabel* row : TargetRows) {
        row->setToolTip(AgainstTarget);
        row->hide(); // the window opens without a target of its own
    }
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
    // No pattern yet (an empty Hexa String text): nothing to measure against the target.
    const std::optional<double> distance =
        session.HexaText.empty() ? std::nullopt : session.TargetDistance();
    if (distance) {
        SetCaption(TargetHammingLabel, vesk::FormatReal8_2(static_cast<float>(*distance)));
        SetCaption(TargetFitnessLabel,
                   vesk::FormatInteger(
                       vesk::FitnessOfDistance(*distance, session.Search.Target->Count()), 10));
    }
    if (TargetRows.first()->isHidden() == distance.has_value()) {
        for (QLabel* row : TargetRows)
            row->setVisible(distance.has_value());
        setMinimumHeight(childrenRect().bottom() + Designed::EdgeGap);
    }
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
