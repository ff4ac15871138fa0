#pragma once
// The workbench's image control: shows the session's bitmap stretched to the control.

#include <QImage>
#include <QWidget>

#include "workbench/bitmap_image.h"

// Paints the bitmap over the whole control (nothing, so the panel shows through, while there is
// none) and tells the image its client size whenever the control is resized. A bitmap larger
// than the control is scaled down smoothly (each pixel the mean of those it covers), so that
// thin curves stay whole instead of breaking into dots; one no larger is stretched pixel for
// pixel, keeping its colours pure.
class TImageView : public QWidget {
    Q_OBJECT

public:
    TImageView(vesk::TBitmapImage& image, QWidget* parent = nullptr);

    QSize sizeHint() const override;

signals:
    // The pointer is over bitmap column x (the bitmap stretched to the control), or has left.
    void PointerOverColumn(int x);
    void PointerLeft();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    vesk::TBitmapImage& FImage;
    QImage FScaled; // the bitmap scaled down, for FScaledKey at the control's size
    qint64 FScaledKey = 0;
};
