// A symbol's drawing painted into a square: from its SVG where Qt has Svg
// (symbol_drawing_svg.cpp), else from PNGs drawn from the same SVGs at build time at the sizes
// the zoom steps show (symbol_drawing_png.cpp).
#pragma once

#include "core/symbols.h"

class QPainter;

// Fills the square of `side` pixels at the painter's origin with the drawing in `ink` (a hint
// picture is the blue drawing in red).
void drawSymbol(QPainter& painter, Glyph glyph, Picture::Ink ink, int side);
