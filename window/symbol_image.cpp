#include "window/symbol_image.h"

#include "window/symbol_drag.h"
#include "window/symbol_pictures.h"

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

namespace {
// One drag at a time. A press that arrives while a drag is still winding down (a click on one
// symbol, then at once a press on another) reaches its symbol from inside the first drag's
// loop; a drag started there would nest in it and leave the pointer stuck in a drag.
bool dragRunning = false;
} // namespace

void SymbolImage::mousePressEvent(QMouseEvent* event) {
    if (dragTag.isEmpty() || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (dragRunning) return;
    dragRunning = true;
    auto* drag = new QDrag(this);
    drag->setMimeData(makeSymbolMimeData(token, dragTag));
    drag->setPixmap(symbolPixmap(shown, devicePixelRatioF()));
    drag->setHotSpot(event->position().toPoint());
    drag->exec(Qt::CopyAction);
    dragRunning = false;
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
