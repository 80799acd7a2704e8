#include "pupil/symbol_drawing.h"

#include "journal/qt_text.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace {

QByteArray drawingOf(Glyph glyph, Picture::Ink ink) {
    QFile file(QStringLiteral(":/symbols/%1.svg").arg(qs(symbolOf(glyph).drawing)));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray svg = file.readAll();
    // A hint picture is the blue drawing in red ink.
    if (ink == Picture::Ink::red) svg.replace("#0000ff", "#ff0000");
    return svg;
}

} // namespace

void drawSymbol(QPainter& painter, Glyph glyph, Picture::Ink ink, int side) {
    QSvgRenderer renderer(drawingOf(glyph, ink));
    renderer.render(&painter, QRectF(0, 0, side, side));
}
