#pragma once
// The plot area: the Hexa String strip over the designed plot or the chart, the plot's own menu,
// and the read-out of the element under the pointer.

#include <QFrame>

#include "workbench/session.h"
#include "workbench/window/command_runner.h"

class QFileDialog;
class QMenu;
class TCurveChart;
class THexaStrip;
class TImageView;

// Shows the session's bitmap (the designed plot) or the same sets as a chart. Its menu (right
// click on either) copies the picture shown or the sets as CSV, saves the picture as PNG, SVG or
// BMP, and steps the chart's view back or shows all of it; the window adds its own view actions
// below.
class TPlotArea : public QFrame {
    Q_OBJECT

public:
    // strip: the row above the plot.
    TPlotArea(vesk::TWorkbenchSession& session, THexaStrip* strip, TCommandRunner run,
              QWidget* parent = nullptr);

    TCurveChart* Chart() const { return FChart; }
    QMenu* Menu() const { return PlotMenu; }
    bool ChartShown() const;
    void ShowChart(bool chart);
    // Shows these sets: the bitmap repainted, the chart redrawn.
    void ShowSets(const vesk::TFuzzySet& reference, const vesk::TFuzzySet& pattern);
    // The image keeps its bitmap; the view repaints it stretched to its new size.
    void ImagePanelResize();

    void CopyPlotImage();
    void CopyPlotData();
    void ExportPlot();

signals:
    // What the pointer is over: "element N: pattern P, reference R", or nothing outside the sets.
    void PointerRead(const QString& text);
    void PointerLeft();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowElement(int element);
    // What the area shows now, as a picture: the plot's bitmap, or the chart.
    QImage ShownPicture() const;

    vesk::TWorkbenchSession& FSession;
    TCommandRunner FRun;
    TImageView* FSImage;
    TCurveChart* FChart;
    QMenu* PlotMenu;
    QFileDialog* ExportDialog;
};
