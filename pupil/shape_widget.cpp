#include "pupil/shape_widget.h"

#include <QPainter>

ShapeWidget::ShapeWidget(QColor fill, QWidget* parent) : QWidget(parent), fill(fill) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::setLineWidth(int pixels) {
    if (pixels == lineWidth) return;
    lineWidth = pixels;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal half = lineWidth / 2.0;
    const QRectF box = QRectF(rect()).adjusted(half, half, -half, -half);
    if (fill.isValid()) painter.fillRect(rect(), fill);
    painter.setPen(QPen(palette().color(QPalette::WindowText), lineWidth));
    painter.drawRect(box);
}
