#include "board/symbols.h"

namespace {

struct GlyphWords {
    std::string_view fileStem;
    std::string_view spoken;
};

// Indexed by Glyph.
constexpr std::array<GlyphWords, 17> kGlyphWords{{
    {"x", "x"},
    {"no_x", "не x"},
    {"no_no_x", "не не x"},
    {"ili", "или"},
    {"ravno", "равно"},
    {"y", "y"},
    {"so", "открывающая скобка"},
    {"sz", "закрывающая скобка"},
    {"i", "и"},
    {"nol", "ноль"},
    {"odin", "один"},
    {"z", "z"},
    {"no_ili", "или под чертой отрицания"},
    {"no_i", "и под чертой отрицания"},
    {"no_y", "не y"},
    {"imp", "импликация"},
    {"ekv", "эквиваленция"},
}};

// The hidden red pictures Image38 … Image48, in that order.
constexpr std::array<Glyph, 11> kHintGlyphs{Glyph::x,    Glyph::y,    Glyph::ili, Glyph::i,
                                            Glyph::so,   Glyph::sz,   Glyph::z,   Glyph::no_x,
                                            Glyph::no_y, Glyph::odin, Glyph::nol};

} // namespace

const SymbolRow* paletteSymbol(int paletteImage) {
    for (const SymbolRow& row : kVocabulary)
        if (row.paletteImage == paletteImage) return &row;
    return nullptr;
}

Picture palettePicture(int paletteImage) {
    const SymbolRow* row = paletteSymbol(paletteImage);
    return row ? Picture::blue(row->glyph) : Picture::nothing();
}

Picture hintPicture(int hintImage) {
    if (hintImage < 38 || hintImage > 48) return Picture::nothing();
    return Picture::red(kHintGlyphs[static_cast<std::size_t>(hintImage - 38)]);
}

std::string_view glyphFileStem(Glyph g) {
    return kGlyphWords[static_cast<std::size_t>(g)].fileStem;
}

std::string_view glyphSpokenName(Glyph g) {
    return kGlyphWords[static_cast<std::size_t>(g)].spoken;
}
