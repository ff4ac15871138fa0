#pragma once
// The window's designed geometry: where the designed controls sit and how large they are when
// the window first opens. The window is built from these figures and its tests hold it to them.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace DesignedGeometry {

constexpr QRect WindowBounds{83, 131, 854, 329}; // the outer frame, on the screen
constexpr int FontPixels = 10;
constexpr int ValueFontPixels = 15; // the controls panel's four measures, bold
// The room kept between a control and the right or bottom edge of its panel.
constexpr int EdgeGap = 8;

// The command tool bar down the left edge, a button a row.
constexpr int ToolBarWidth = 97;
constexpr QSize ToolButtonSize{71, 21};

// The controls panel right of the tool bar: captions on the left, the fields and the measures
// beside them.
constexpr int ControlsPanelWidth = 136;
constexpr QRect ElementsSpinEdit{72, 8, 57, 26};
constexpr QRect BlocksSpinEdit{72, 40, 57, 26};
constexpr QPoint ElementsCaption{8, 16};
constexpr QPoint BlocksCaption{16, 48};
constexpr QPoint CardinalityCaption{8, 72};
constexpr QPoint SubsethoodCaption{8, 96};
constexpr QPoint HammingCaption{8, 120};
constexpr QPoint FitnessCaption{8, 144};
constexpr QPoint CardinalityValue{64, 72};
constexpr QPoint SubsethoodValue{72, 96};
constexpr QPoint HammingValue{64, 120};
constexpr QPoint FitnessValue{48, 144};

// The Hexa String strip over the plot, 611 wide as designed; the combo box keeps its distances
// to the strip's right and bottom edges when the strip is resized.
constexpr int HexaStripHeight = 32;
constexpr int HexaStripWidth = 611;
constexpr QPoint HexaCaption{8, 8};
constexpr QRect HexaComboBox{72, 8, 310, 21};
constexpr int HexaComboRightGap = HexaStripWidth - (HexaComboBox.left() + HexaComboBox.width());
constexpr int HexaComboBottomGap = HexaStripHeight - (HexaComboBox.top() + HexaComboBox.height());
// The narrowest the Hexa String box (in hex digits) and the plot become.
constexpr int HexaComboLeastDigits = 40;
constexpr int PlotLeastWidth = 300;

// Below: the progress bar of a search (shown only while one runs) and the status bar with its
// caption panel and the read-out panel.
constexpr int ProgressBarHeight = 11;
constexpr int StatusBarHeight = 21;
constexpr int StatusCaptionWidth = 200;
constexpr int StatusReadOutWidth = 339;

} // namespace DesignedGeometry
