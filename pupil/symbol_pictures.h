// Pixmaps of the symbol pictures, drawn from their SVG drawings at a screen's pixel ratio.
#pragma once

#include "core/symbols.h"

#include <QPixmap>

inline constexpr int kSymbolPixels = 32; // logical size of every symbol picture

// The picture as a pixmap of side × side logical pixels (32 at 100 %) at the given device pixel
// ratio, drawn from its SVG at that size; a null pixmap for "no picture". Cached: each picture
// is drawn once per size and ratio and kept in Qt's pixmap cache.
QPixmap symbolPixmap(Picture picture, qreal devicePixelRatio, int side = kSymbolPixels);
