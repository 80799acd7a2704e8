// The symbol vocabulary: the 17 symbols a pupil writes with, their tags (the text a symbol adds
// to a formula key), their drawings, what a screen reader says for them, the keys that type them
// and their negation bars; and the picture values a slot or an image holds. Plain C++: the window
// turns these values into pixmaps.
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
    // The characters that type it, the usual one first. The Russian layout types ч, н, я, м on
    // the keys that bear x, y, z, v, and ю, б, ё on those of >, < and ~, so those letters count
    // as well. A barred symbol has none: it is typed as its bars before a key of what it bars.
    std::u32string_view keys = {};
    // A barred symbol's negation bars (1 or 2) and the symbol drawn under them; 0 for the others.
    int bars = 0;
    Glyph underBars = Glyph::x; // meaningful only where bars > 0
};

// Indexed by Glyph.
inline constexpr std::array<Symbol, 17> kSymbols{{
    {"x", Glyph::x, "x", "x", "x", U"xXчЧ"},
    {"y", Glyph::y, "y", "y", "y", U"yYнН"},
    {"z", Glyph::z, "z", "z", "z", U"zZяЯ"},
    {"no_x", Glyph::notX, "no_x", "не x", "x̄", {}, 1, Glyph::x},
    {"no_y", Glyph::notY, "no_y", "не y", "ȳ", {}, 1, Glyph::y},
    {"no_no_x", Glyph::notNotX, "no_no_x", "не не x", "x̿", {}, 2, Glyph::x},
    {"или", Glyph::orSign, "ili", "или", "∨", U"vVмМ|+"},
    {"и", Glyph::andSign, "i", "и", "•", U"*&."},
    {"no_ili", Glyph::notOrSign, "no_ili", "или под чертой отрицания", "∨̄", {}, 1, Glyph::orSign},
    {"no_i", Glyph::notAndSign, "no_i", "и под чертой отрицания", "•̄", {}, 1, Glyph::andSign},
    {"imp", Glyph::implies, "imp", "импликация", "→", U">юЮ"},
    {"ekv", Glyph::equivalent, "ekv", "эквиваленция", "↔", U"~<бБёЁ"},
    {"so", Glyph::openBracket, "so", "открывающая скобка", "(", U"("},
    {"sz", Glyph::closeBracket, "sz", "закрывающая скобка", ")", U")"},
    {"равно", Glyph::equals, "ravno", "равно", "=", U"="},
    {"ноль", Glyph::zero, "nol", "ноль", "0", U"0"},
    {"один", Glyph::one, "odin", "один", "1", U"1"},
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

// A bar typed before a symbol ("!x" is x̄, "!!x" is x̿).
inline constexpr std::u32string_view kBarKeys = U"!-";

// The symbol a typed character stands for (never a barred one), or nullptr for any other.
constexpr const Symbol* symbolByKey(char32_t key) {
    for (const Symbol& s : kSymbols)
        if (s.keys.find(key) != std::u32string_view::npos) return &s;
    return nullptr;
}

// The barred symbol drawn as g under `bars` negation bars, or nullptr where there is none.
constexpr const Symbol* barredForm(Glyph g, int bars) {
    for (const Symbol& s : kSymbols)
        if (s.bars == bars && s.bars > 0 && s.underBars == g) return &s;
    return nullptr;
}

// The symbols under a single bar, which joins a neighbour's (x̄ ∨̄ ȳ is one bar over x ∨ y);
// x̿ has two bars of its own and stands alone.
constexpr bool joinsNegationBar(Glyph g) {
    return symbolOf(g).bars == 1;
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
