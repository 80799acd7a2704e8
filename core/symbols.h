// The symbol vocabulary: the 17 symbols a pupil writes with, their tags (the text a symbol adds
// to a formula key), their drawings and what a screen reader says for them; and the picture
// values a slot or an image holds. Plain C++: the window turns these values into pixmaps.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One drawing per symbol; a hint picture is the same drawing in red.
enum class Glyph : std::uint8_t {
    x,
    y,
    z,
    notX,
    notY,
    notNotX,
    orSign,
    andSign,
    notOrSign, // "или" under a negation bar
    notAndSign,
    implies,
    equivalent,
    openBracket,
    closeBracket,
    equals,
    zero,
    one,
};

// A symbol's tag is its short name in a formula key: a law's key, and an answer as the check
// reads it, is the tags of its symbols run together ("xилиyравноyилиx" is x ∨ y = y ∨ x). The
// tags are the trainer's stored names for the symbols and appear in every journal file: they
// never change.
struct Symbol {
    std::string_view tag; // what the symbol adds to a formula key
    Glyph glyph;
    std::string_view drawing; // file stem of its drawing among the symbol pictures
    std::string_view spoken;  // what a screen reader says for it
    std::string_view sign;    // how it is written in plain text
};

// Indexed by Glyph.
inline constexpr std::array<Symbol, 17> kSymbols{{
    {"x", Glyph::x, "x", "x", "x"},
    {"y", Glyph::y, "y", "y", "y"},
    {"z", Glyph::z, "z", "z", "z"},
    {"no_x", Glyph::notX, "no_x", "не x", "x̄"},
    {"no_y", Glyph::notY, "no_y", "не y", "ȳ"},
    {"no_no_x", Glyph::notNotX, "no_no_x", "не не x", "x̿"},
    {"или", Glyph::orSign, "ili", "или", "∨"},
    {"и", Glyph::andSign, "i", "и", "•"},
    {"no_ili", Glyph::notOrSign, "no_ili", "или под чертой отрицания", "∨̄"},
    {"no_i", Glyph::notAndSign, "no_i", "и под чертой отрицания", "•̄"},
    {"imp", Glyph::implies, "imp", "импликация", "→"},
    {"ekv", Glyph::equivalent, "ekv", "эквиваленция", "↔"},
    {"so", Glyph::openBracket, "so", "открывающая скобка", "("},
    {"sz", Glyph::closeBracket, "sz", "закрывающая скобка", ")"},
    {"равно", Glyph::equals, "ravno", "равно", "="},
    {"ноль", Glyph::zero, "nol", "ноль", "0"},
    {"один", Glyph::one, "odin", "один", "1"},
}};

inline constexpr std::string_view kEqualsTag = "равно";

constexpr const Symbol& symbolOf(Glyph g) {
    return kSymbols[static_cast<std::size_t>(g)];
}

// The symbol with this tag, or nullptr for any other text.
constexpr const Symbol* symbolByTag(std::string_view tag) {
    for (const Symbol& s : kSymbols)
        if (s.tag == tag) return &s;
    return nullptr;
}

// Splits a formula key into symbols, longest tag first where two could start there ("или"
// before "и"); nullopt when some part of the key is no tag.
std::optional<std::vector<Glyph>> splitKey(std::string_view key);

// Joins the symbols' tags into a formula key.
std::string joinTags(const std::vector<Glyph>& glyphs);

struct Picture {
    enum class Ink : std::uint8_t {
        none,  // no picture at all
        blank, // the empty slot's picture
        blue,  // the pupil's symbol: as the palette shows it, and wherever the pupil put it
        red,   // the hint's symbol: drawn by Подсказка, carrying no tag
    };
    Ink ink = Ink::none;
    Glyph glyph = Glyph::x; // meaningful only for blue and red

    static constexpr Picture nothing() { return {}; }
    static constexpr Picture blank() { return {Ink::blank, Glyph::x}; }
    static constexpr Picture blue(Glyph g) { return {Ink::blue, g}; }
    static constexpr Picture red(Glyph g) { return {Ink::red, g}; }
    constexpr bool showsGlyph() const { return ink == Ink::blue || ink == Ink::red; }
    friend constexpr bool operator==(const Picture&, const Picture&) = default;
};
