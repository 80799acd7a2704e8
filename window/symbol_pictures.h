// Pixmaps of the symbol pictures, drawn from their SVG drawings at a screen's pixel ratio.
#pragma once

#include "core/symbols.h"

#include <QPixmap>

inline constexpr int kSymbolPixels = 32; // logical size of every symbol picture

// The picture as a pixmap of 32 × 32 logical pixels at the given device pixel ratio; a null
// pixmap for "no picture". Cached: each picture is drawn once per ratio.
QPixmap symbolPixmap(Picture picture, qreal devicePixelRatio);
