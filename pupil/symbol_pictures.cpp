#include "pupil/symbol_pictures.h"

#include "pupil/symbol_drawing.h"

#include <QPainter>
#include <QPixmapCache>

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
        QPainter painter(&pixmap);
        drawSymbol(painter, picture.glyph, picture.ink, side);
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(cacheKey, pixmap);
    return pixmap;
}
