#include "workbench/window/plot_area.h"

#include <algorithm>
#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QVBoxLayout>

#include "workbench/plot_export.h"
#include "workbench/saved_file.h"
#include "workbench/window/curve_chart.h"
#include "workbench/window/designed_geometry.h"
#include "workbench/window/designed_widgets.h"
#include "workbench/window/hexa_strip.h"
#include "workbench/window/image_view.h"

namespace {

// The format follows the filter, in the order of these formats.
const QStringList ExportFilters{"PNG image (*.png)", "SVG drawing (*.svg)", "bitmap files (*.bmp)"};
constexpr vesk::TImageFormat ExportFormats[] = {vesk::TImageFormat::Png, vesk::TImageFormat::Svg,
                                                vesk::TImageFormat::Bmp};

} // namespace

TPlotArea::TPlotArea(vesk::TWorkbenchSession& session, THexaStrip* strip, TCommandRunner run,
                     QWidget* parent)
    : QFrame(parent), FSession(session), FRun(std::move(run)) {
    FrameAsPanel(this, "ImagePanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip);
    FSImage = new TImageView(FSession.Image, this);
    FSImage->setObjectName("FSImage");
    layout->addWidget(FSImage, 1);
    FChart = new TCurveChart(this);
    FChart->hide(); // the window opens on the designed plot
    layout->addWidget(FChart, 1);
    setMinimumWidth(std::max(DesignedGeometry::PlotLeastWidth, strip->LeastWidth()));

    PlotMenu = new QMenu(this);
    PlotMenu->setObjectName("PlotMenu");
    PlotMenu->addAction("Copy Image", this, &TPlotArea::CopyPlotImage)
        ->setObjectName("CopyImageAction");
    PlotMenu->addAction("Copy Data as CSV", this, &TPlotArea::CopyPlotData)
        ->setObjectName("CopyDataAction");
    PlotMenu->addAction("Save Image As...", this, &TPlotArea::ExportPlot)
        ->setObjectName("ExportAction");
    PlotMenu->addSeparator();
    PlotMenu->addAction(FChart->StepBackAction());
    PlotMenu->addAction(FChart->ShowAllAction());
    PlotMenu->addSeparator();
    for (QWidget* view : {static_cast<QWidget*>(FSImage), static_cast<QWidget*>(FChart)}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](QPoint at) { PlotMenu->popup(view->mapToGlobal(at)); });
    }
    ExportDialog = new QFileDialog(this, "Save Image As");
    ExportDialog->setObjectName("ExportDialog");
    ExportDialog->setOption(QFileDialog::DontUseNativeDialog);
    ExportDialog->setAcceptMode(QFileDialog::AcceptSave);
    ExportDialog->setFileMode(QFileDialog::AnyFile);
    ExportDialog->setNameFilters(ExportFilters);

    connect(FSImage, &TImageView::PointerOverColumn, this, [this](int column) {
        ShowElement(vesk::PlottedElementAt(column, FSession.Image.Bitmap().width(),
                                           FSession.ReferenceSet.Count()));
    });
    connect(FSImage, &TImageView::PointerLeft, this, &TPlotArea::PointerLeft);
    connect(FChart, &TCurveChart::PointerOverElement, this, &TPlotArea::ShowElement);
    connect(FChart, &TCurveChart::PointerLeft, this, &TPlotArea::PointerLeft);
}

bool TPlotArea::ChartShown() const {
    return !FChart->isHidden();
}

void TPlotArea::ShowChart(bool chart) {
    FChart->setVisible(chart);
    FSImage->setVisible(!chart);
    layout()->activate();
    FChart->ShowSets(FSession.ReferenceSet, FSession.PatternSet);
}

void TPlotArea::ShowSets(const vesk::TFuzzySet& reference, const vesk::TFuzzySet& pattern) {
    FSImage->update();
    FChart->ShowSets(reference, pattern);
}

void TPlotArea::ImagePanelResize() {
    FSImage->update();
}

void TPlotArea::resizeEvent(QResizeEvent* event) {
    ImagePanelResize();
    QFrame::resizeEvent(event);
}

void TPlotArea::ShowElement(int element) {
    const vesk::TFuzzySet& pattern = FSession.PatternSet;
    const vesk::TFuzzySet& reference = FSession.ReferenceSet;
    if (element < 0 || element >= reference.Count()) {
        emit PointerRead({});
        return;
    }
    QString text = QString("element %1: pattern ").arg(element);
    text += element < pattern.Count() ? QString::number(pattern.GetDegree(element)) : "-";
    text += QString(", reference %1").arg(reference.GetDegree(element));
    emit PointerRead(text);
}

QImage TPlotArea::ShownPicture() const {
    return ChartShown() ? FChart->Picture() : FSession.Image.Bitmap();
}

void TPlotArea::CopyPlotImage() {
    if (FSession.Image.HasBitmap() || ChartShown())
        QGuiApplication::clipboard()->setImage(ShownPicture());
}

void TPlotArea::CopyPlotData() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(
        vesk::PlotDataCsv(FSession.ReferenceSet, FSession.PatternSet,
                          FSession.Search.Target ? &*FSession.Search.Target : nullptr)));
}

void TPlotArea::ExportPlot() {
    if (!FSession.Image.HasBitmap()) {
        FRun([this] { return FSession.SaveImage({}); }); // says there is nothing yet
        return;
    }
    if (ExportDialog->exec() != QDialog::Accepted || ExportDialog->selectedFiles().isEmpty())
        return;
    const auto filter =
        std::max<qsizetype>(0, ExportFilters.indexOf(ExportDialog->selectedNameFilter()));
    const vesk::TImageFormat format = ExportFormats[filter];
    QString name = ExportDialog->selectedFiles().first();
    const QString extension = vesk::ImageFormatExtension(format);
    if (!name.endsWith(extension, Qt::CaseInsensitive)) name += extension;
    const std::string path = QFile::encodeName(name).toStdString();
    FRun([this, format, &path] {
        vesk::TCommandOutcome outcome;
        if (ChartShown() && format == vesk::TImageFormat::Svg)
            outcome.Error = vesk::SaveDrawingFile(path, FChart->SvgDocument());
        else if (ChartShown() && format == vesk::TImageFormat::Png)
            outcome.Error = vesk::SaveImageFile(path, ShownPicture(), "PNG");
        else
            outcome.Error = vesk::SavePlot(path, format, FSession.Image, FSession.ReferenceSet,
                                           FSession.PatternSet);
        return outcome;
    });
}
