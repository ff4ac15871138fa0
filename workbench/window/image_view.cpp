#include "workbench/window/image_view.h"

#include <QPainter>

TImageView::TImageView(vesk::TBitmapImage& image, QWidget* parent)
    : QWidget(parent), FImage(image) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(0, 0);
}

QSize TImageView::sizeHint() const {
    return {vesk::TBitmapImage::DefaultWidth, vesk::TBitmapImage::DefaultHeight};
}

void TImageView::paintEvent(QPaintEvent*) {
    if (!FImage.HasBitmap()) return;
    QPainter painter(this);
    // Nearest-neighbour stretching keeps the curves' colours pure.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), FImage.Bitmap());
}

void TImageView::resizeEvent(QResizeEvent* event) {
    FImage.SetClientSize(width(), height());
    QWidget::resizeEvent(event);
}
