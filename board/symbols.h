// The symbol vocabulary: the 17 palette symbols, their tags and drawings, and the picture values
// that slots and images hold. Plain C++: the window turns these values into pixmaps.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// One drawing per symbol; a hint picture is the same drawing in red.
enum class Glyph : std::uint8_t {
    x,
    no_x,
    no_no_x,
    ili,
    ravno,
    y,
    so,
    sz,
    i,
    nol,
    odin,
    z,
    no_ili,
    no_i,
    no_y,
    imp,
    ekv
};

struct Picture {
    enum class Ink : std::uint8_t { none, blank, blue, red };
    Ink ink = Ink::none;
    Glyph glyph = Glyph::x; // meaningful only for blue and red

    static constexpr Picture nothing() { return {}; }
    static constexpr Picture blank() { return {Ink::blank, Glyph::x}; }
    static constexpr Picture blue(Glyph g) { return {Ink::blue, g}; }
    static constexpr Picture red(Glyph g) { return {Ink::red, g}; }
    constexpr bool showsGlyph() const { return ink == Ink::blue || ink == Ink::red; }
    friend constexpr bool operator==(const Picture&, const Picture&) = default;
};

// A row of the vocabulary, in the order the drop rule tests them.
struct SymbolRow {
    std::string_view tag;
    int paletteImage; // the number N of the palette control ImageN
    Glyph glyph;
};

inline constexpr std::array<SymbolRow, 17> kVocabulary{{
    {"x", 1, Glyph::x},
    {"no_x", 2, Glyph::no_x},
    {"no_no_x", 3, Glyph::no_no_x},
    {"или", 4, Glyph::ili},
    {"равно", 7, Glyph::ravno},
    {"y", 8, Glyph::y},
    {"so", 10, Glyph::so},
    {"sz", 12, Glyph::sz},
    {"и", 11, Glyph::i},
    {"ноль", 6, Glyph::nol},
    {"один", 5, Glyph::odin},
    {"z", 13, Glyph::z},
    {"no_ili", 14, Glyph::no_ili},
    {"no_i", 15, Glyph::no_i},
    {"no_y", 9, Glyph::no_y},
    {"imp", 35, Glyph::imp},
    {"ekv", 36, Glyph::ekv},
}};

// The palette symbol shown by palette control ImageN; nullptr when ImageN is not a palette image.
const SymbolRow* paletteSymbol(int paletteImage);
// The blue picture of palette control ImageN (nothing when it is not a palette image).
Picture palettePicture(int paletteImage);
// The red picture held by hidden hint control ImageN, N = 38 … 48 (nothing otherwise).
Picture hintPicture(int hintImage);
// The glyph's file name stem among the symbol drawings ("no_x", "ili"…).
std::string_view glyphFileStem(Glyph g);
// What a screen reader says for the glyph ("не x", "или", "открывающая скобка"…).
std::string_view glyphSpokenName(Glyph g);
