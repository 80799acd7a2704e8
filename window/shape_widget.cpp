#include "window/shape_widget.h"

#include <QPainter>

ShapeWidget::ShapeWidget(QColor fill, QWidget* parent) : QWidget(parent), fill(fill) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (fill.isValid()) painter.fillRect(rect(), fill);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.drawRect(box);
}
