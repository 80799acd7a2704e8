#include "pupil/fitted_label.h"

#include <QFontMetricsF>
#include <QPainter>

qreal FittedLabel::fittedBaseline() const {
    const QString line = text();
    if (line.isEmpty() || line.contains('\n')) return -1;
    const QFontMetricsF metrics(font());
    const QRectF box = contentsRect();
    if (metrics.horizontalAdvance(line) > box.width()) return -1; // wraps: QLabel draws it
    const QRectF ink = metrics.tightBoundingRect(line);
    if (metrics.ascent() + ink.bottom() <= box.height()) return -1; // hangs from the top whole
    return box.top() + (box.height() - ink.top() - ink.bottom()) / 2;
}

void FittedLabel::paintEvent(QPaintEvent* event) {
    const qreal baseline = fittedBaseline();
    if (baseline < 0) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.setFont(font());
    painter.drawText(QPointF(contentsRect().left(), baseline), text());
}
