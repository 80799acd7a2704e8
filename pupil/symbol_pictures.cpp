#include "pupil/symbol_pictures.h"

#include "journal/qt_text.h"

#include <QFile>
#include <QPainter>
#include <QPixmapCache>
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

QPixmap symbolPixmap(Picture picture, qreal devicePixelRatio, int logicalSide) {
    if (picture.ink == Picture::Ink::none) return {};
    const QString cacheKey = QStringLiteral("symbol/%1/%2/%3/%4")
                                 .arg(static_cast<int>(picture.ink))
                                 .arg(static_cast<int>(picture.glyph))
                                 .arg(devicePixelRatio)
                                 .arg(logicalSide);
    QPixmap pixmap;
    if (QPixmapCache::find(cacheKey, &pixmap)) return pixmap;

    const int side = qCeil(logicalSide * devicePixelRatio);
    pixmap = QPixmap(side, side);
    pixmap.fill(Qt::transparent);
    if (picture.showsGlyph()) {
        QSvgRenderer renderer(drawingOf(picture.glyph, picture.ink));
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(0, 0, side, side));
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(cacheKey, pixmap);
    return pixmap;
}
