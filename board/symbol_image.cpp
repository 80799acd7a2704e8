#include "board/symbol_image.h"

#include "board/symbol_drag.h"
#include "board/symbol_pictures.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QMouseEvent>
#include <QPainter>

SymbolImage::SymbolImage(QWidget* parent) : QWidget(parent) {}

void SymbolImage::setPicture(Picture picture) {
    if (picture == shown) return;
    shown = picture;
    update();
}

void SymbolImage::makeDragSource(const QString& tag, const QByteArray& windowToken) {
    dragTag = tag;
    token = windowToken;
    setCursor(Qt::OpenHandCursor);
}

void SymbolImage::makeDropTarget(const QByteArray& windowToken) {
    token = windowToken;
    setAcceptDrops(true);
}

void SymbolImage::paintEvent(QPaintEvent*) {
    const QPixmap pixmap = symbolPixmap(shown, devicePixelRatioF());
    if (pixmap.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, pixmap); // unscaled: 32 logical pixels
}

void SymbolImage::mousePressEvent(QMouseEvent* event) {
    if (dragTag.isEmpty() || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(makeSymbolMimeData(token, dragTag));
    drag->setPixmap(symbolPixmap(shown, devicePixelRatioF()));
    drag->setHotSpot(event->position().toPoint());
    drag->exec(Qt::CopyAction);
}

void SymbolImage::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptDrops() && symbolTagFrom(event->mimeData(), token))
        event->acceptProposedAction();
    else
        event->ignore();
}

void SymbolImage::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptDrops() && symbolTagFrom(event->mimeData(), token))
        event->acceptProposedAction();
    else
        event->ignore();
}

void SymbolImage::dropEvent(QDropEvent* event) {
    const auto tag = acceptDrops() ? symbolTagFrom(event->mimeData(), token) : std::nullopt;
    if (!tag) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit symbolDropped(*tag);
}
