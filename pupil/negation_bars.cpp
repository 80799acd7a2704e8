#include "pupil/negation_bars.h"

#include <QPainter>

namespace {
// Where the bar lies in every barred drawing of a 32-unit picture: over the white field from
// x = 8 to 23, 2 units thick around y = 9.
constexpr qreal kPictureUnits = 32;
constexpr qreal kBarStart = 8, kBarEnd = 23, kBarTop = 8, kBarThickness = 2;
} // namespace

bool joinsNegationBar(const Picture& picture) {
    return picture.showsGlyph() && joinsNegationBar(picture.glyph);
}

NegationBars::NegationBars(int slotCount, QWidget* parent)
    : QWidget(parent), gapInk(static_cast<std::size_t>(slotCount - 1), Picture::Ink::none) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void NegationBars::setRow(std::span<const Slot> row) {
    bool changed = false;
    for (std::size_t gap = 0; gap < gapInk.size() && gap + 1 < row.size(); ++gap) {
        const Picture& left = row[gap].picture;
        const Picture& right = row[gap + 1].picture;
        const bool join =
            joinsNegationBar(left) && joinsNegationBar(right) && left.ink == right.ink;
        const Picture::Ink ink = join ? left.ink : Picture::Ink::none;
        changed = changed || ink != gapInk[gap];
        gapInk[gap] = ink;
    }
    if (changed) update();
}

void NegationBars::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal slotWidth = qreal(width()) / qreal(gapInk.size() + 1);
    const qreal unit = slotWidth / kPictureUnits;
    for (std::size_t gap = 0; gap < gapInk.size(); ++gap) {
        if (gapInk[gap] == Picture::Ink::none) continue;
        // The same blue and red as the drawings.
        const QColor ink =
            gapInk[gap] == Picture::Ink::red ? QColor(0xff, 0, 0) : QColor(0, 0, 0xff);
        const qreal from = qreal(gap) * slotWidth + kBarEnd * unit;
        const qreal to = qreal(gap + 1) * slotWidth + kBarStart * unit;
        painter.fillRect(QRectF(from, kBarTop * unit, to - from, kBarThickness * unit), ink);
    }
}
