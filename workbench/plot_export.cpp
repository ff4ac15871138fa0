#include "workbench/plot_export.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include "workbench/saved_file.h"

namespace vesk {

namespace {

constexpr struct {
    TImageFormat Format;
    const char* Extension;
} Formats[] = {
    {TImageFormat::Bmp, ".bmp"},
    {TImageFormat::Png, ".png"},
    {TImageFormat::Svg, ".svg"},
};

// The set's curve through the page: element i at x = i * (width - 1) / (n - 1), degree d at
// y = (height - 1) * (1 - d / 100), the degrees outside 0..100 clipped to the page's edges.
QPainterPath CurveOf(const TFuzzySet& set, std::int32_t elements, QSizeF page) {
    QPainterPath path;
    const double across = elements > 1 ? (page.width() - 1) / (elements - 1) : 0;
    for (std::int32_t i = 0; i < set.Count(); ++i) {
        const double degree = std::clamp(set.GetDegree(i), -10, 110);
        const QPointF point(i * across, (page.height() - 1) * (1 - degree / 100.0));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    return path;
}

// The SVG document of the two sets, drawn in memory; empty when it cannot be drawn.
QByteArray PlotSvg(QSize size, const TFuzzySet& reference, const TFuzzySet& pattern) {
    QByteArray document;
    QBuffer buffer(&document);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle("Vesk pattern and reference");
    QPainter painter;
    if (!painter.begin(&svg)) return {};
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    const std::int32_t elements = std::max(reference.Count(), pattern.Count());
    painter.setPen(QPen(Qt::blue, 1));
    painter.drawPath(CurveOf(reference, elements, size));
    painter.setPen(QPen(Qt::red, 1));
    painter.drawPath(CurveOf(pattern, elements, size));
    if (!painter.end()) return {};
    return document;
}

} // namespace

TImageFormat ImageFormatOfFile(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos)
        return TImageFormat::Bmp;
    std::string extension(path.substr(dot));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& f : Formats)
        if (extension == f.Extension) return f.Format;
    return TImageFormat::Bmp;
}

const char* ImageFormatExtension(TImageFormat format) {
    for (const auto& f : Formats)
        if (f.Format == format) return f.Extension;
    return ".bmp";
}

std::string PlotDataCsv(const TFuzzySet& reference, const TFuzzySet& pattern,
                        const TFuzzySet* target) {
    std::vector<const TFuzzySet*> columns{&reference, &pattern};
    std::string csv = "element,reference,pattern";
    if (target != nullptr) {
        columns.push_back(target);
        csv += ",target";
    }
    csv += "\n";
    std::int32_t elements = 0;
    for (const TFuzzySet* set : columns)
        elements = std::max(elements, set->Count());
    for (std::int32_t i = 0; i < elements; ++i) {
        csv += std::to_string(i);
        for (const TFuzzySet* set : columns) {
            csv += ",";
            if (i < set->Count()) csv += std::to_string(set->GetDegree(i));
        }
        csv += "\n";
    }
    return csv;
}

std::optional<std::string> SavePlot(const std::string& path, TImageFormat format,
                                    const TBitmapImage& image, const TFuzzySet& reference,
                                    const TFuzzySet& pattern) {
    if (!image.HasBitmap()) return CannotCreateFileMessage(path, "nothing is plotted");
    switch (format) {
    case TImageFormat::Png:
        return SaveImageFile(path, image.Bitmap(), "PNG");
    case TImageFormat::Svg:
        return SaveDrawingFile(path, PlotSvg(image.Bitmap().size(), reference, pattern));
    default:
        return image.SaveBmp(path);
    }
}

} // namespace vesk
