#include "pupil/symbol_image.h"

#include "pupil/symbol_drag.h"
#include "pupil/symbol_pictures.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
// One drag at a time. A press that arrives while a drag is still winding down (a click on one
// symbol, then at once a press on another) reaches its symbol from inside the first drag's
// loop; a drag started there would nest in it and leave the pointer stuck in a drag.
bool dragRunning = false;

const QColor kPickFrame(0xE0, 0x60, 0x00); // orange: apart from the blue and red of the symbols
const QColor kFocusFrame(0x00, 0x00, 0x00);
const QColor kMarkInk(0x40, 0x40, 0x40);
} // namespace

SymbolImage::SymbolImage(QWidget* parent) : QWidget(parent) {}

bool SymbolImage::dragInProgress() {
    return dragRunning;
}

void SymbolImage::setPicture(Picture picture) {
    if (picture == shown) return;
    shown = picture;
    update();
}

void SymbolImage::setPicked(bool on) {
    if (on == picked) return;
    picked = on;
    update();
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void SymbolImage::setMark(const QString& text) {
    if (text == mark) return;
    mark = text;
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
    QPainter painter(this);
    // Drawn from the SVG at the image's own size: crisp at every zoom and pixel ratio.
    const QPixmap pixmap = symbolPixmap(shown, devicePixelRatioF(), width());
    if (!pixmap.isNull()) painter.drawPixmap(0, 0, pixmap);
    const QRectF box = QRectF(rect());
    const qreal unit = box.width() / 32.0;
    if (inMarkedAnswer) {
        QColor tint = palette().color(QPalette::Highlight);
        tint.setAlpha(96);
        painter.fillRect(box, tint);
    }
    if (picked) { // a frame in the margin around the white field, 2 units wide
        painter.setPen(QPen(kPickFrame, 2 * unit));
        painter.drawRect(box.adjusted(unit, unit, -unit, -unit));
    }
    if (hasFocus() || caretMarked) {
        painter.setPen(QPen(kFocusFrame, unit, Qt::DashLine));
        painter.drawRect(box.adjusted(3.5 * unit, 0.5 * unit, -3.5 * unit, -0.5 * unit));
    }
    if (!mark.isEmpty()) { // large and centred: the caret's slot is where the symbol will go
        QFont font = painter.font();
        font.setPixelSize(qRound(20 * unit));
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(kMarkInk);
        painter.drawText(box, Qt::AlignCenter, mark);
    }
}

void SymbolImage::setInMarkedAnswer(bool marked) {
    if (inMarkedAnswer == marked) return;
    inMarkedAnswer = marked;
    update();
}

void SymbolImage::setCaretMarked(bool marked) {
    if (caretMarked == marked) return;
    caretMarked = marked;
    update();
}

void SymbolImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || (isPaletteSymbol() && dragRunning)) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressed = true;
    pressAt = event->position().toPoint();
}

void SymbolImage::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed || !isPaletteSymbol() || !(event->buttons() & Qt::LeftButton)) return;
    if ((event->position().toPoint() - pressAt).manhattanLength() <
        QApplication::startDragDistance())
        return;
    pressed = false;
    startDrag();
}

void SymbolImage::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed && event->button() == Qt::LeftButton;
    pressed = false;
    if (click && rect().contains(event->position().toPoint())) emit clicked();
}

QMimeData* SymbolImage::dragData() const {
    return makeSymbolMimeData(token, dragTag);
}

void SymbolImage::startDrag() {
    if (dragRunning) return;
    dragRunning = true;
    auto* drag = new QDrag(this);
    drag->setMimeData(dragData());
    drag->setPixmap(symbolPixmap(shown, devicePixelRatioF(), width()));
    drag->setHotSpot(pressAt);
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

void SymbolImage::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void SymbolImage::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

namespace {

// A palette symbol tells a screen reader whether it is the picked one.
class SymbolAccessible : public QAccessibleWidget {
  public:
    explicit SymbolAccessible(SymbolImage* image)
        : QAccessibleWidget(image, image->isPaletteSymbol() ? QAccessible::CheckBox
                                                            : QAccessible::Client) {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const auto* image = static_cast<const SymbolImage*>(widget());
        if (image->isPaletteSymbol()) {
            s.checkable = true;
            s.checked = image->isPicked();
        }
        return s;
    }
};

QAccessibleInterface* symbolAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("SymbolImage") && object && object->isWidgetType())
        return new SymbolAccessible(static_cast<SymbolImage*>(object));
    return nullptr;
}

} // namespace

void SymbolImage::installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(symbolAccessibleFactory);
        return true;
    }();
    (void)installed;
}
