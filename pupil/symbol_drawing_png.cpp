#include "pupil/symbol_drawing.h"

#include "journal/qt_text.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <algorithm>

// The PNGs are named "<drawing>-<side>.png", in a folder per ink. The one of the side asked is
// drawn as it is; between the sizes drawn, the next larger one is scaled down.
void drawSymbol(QPainter& painter, Glyph glyph, Picture::Ink ink, int side) {
    const QString folder = ink == Picture::Ink::red ? QStringLiteral(":/symbol_pngs/red/")
                                                    : QStringLiteral(":/symbol_pngs/blue/");
    const QString stem = qs(symbolOf(glyph).drawing) + QLatin1Char('-');
    int larger = 0, largest = 0;
    for (const QString& name : QDir(folder).entryList({stem + QStringLiteral("*.png")})) {
        const int drawn = name.mid(stem.size()).chopped(4).toInt();
        if (drawn >= side && (larger == 0 || drawn < larger)) larger = drawn;
        largest = std::max(largest, drawn);
    }
    const int best = larger ? larger : largest;
    if (best == 0) return;
    const QImage image(folder + stem + QString::number(best) + QStringLiteral(".png"));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, side, side), image);
}
