#include "workbench/window/image_view.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>

TImageView::TImageView(vesk::TBitmapImage& image, QWidget* parent)
    : QWidget(parent), FImage(image) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(0, 0);
    setMouseTracking(true);
}

void TImageView::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    if (!FImage.HasBitmap() || width() <= 0) return;
    const int x = static_cast<int>(event->position().x() * FImage.Bitmap().width() / width());
    emit PointerOverColumn(std::clamp(x, 0, FImage.Bitmap().width() - 1));
}

void TImageView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit PointerLeft();
}

QSize TImageView::sizeHint() const {
    return {vesk::TBitmapImage::DefaultWidth, vesk::TBitmapImage::DefaultHeight};
}

void TImageView::paintEvent(QPaintEvent*) {
    if (!FImage.HasBitmap()) return;
    QPainter painter(this);
    const QImage& bitmap = FImage.Bitmap();
    if (bitmap.width() > width() || bitmap.height() > height()) {
        if (FScaledKey != bitmap.cacheKey() || FScaled.size() != size()) {
            FScaled = bitmap.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            FScaledKey = bitmap.cacheKey();
        }
        painter.drawImage(0, 0, FScaled);
        return;
    }
    // Nearest-neighbour stretching keeps the curves' colours pure.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), bitmap);
}

void TImageView::resizeEvent(QResizeEvent* event) {
    FImage.SetClientSize(width(), height());
    QWidget::resizeEvent(event);
}
