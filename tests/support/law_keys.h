// The 17 tags of the palette as the tests know them, written out apart from the product's own
// vocabulary together with the drawing each stands for, as they are stored in every journal;
// law keys split into them; and the keys a pupil types for each, read from the product's
// symbol table. No Qt: the core tests, the fuzzer and the benchmarks all use it.
#pragma once

#include "core/laws.h"
#include "core/symbols.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace law_keys {

inline constexpr std::array<std::string_view, 17> kTags{
    "x",    "y",   "z",   "no_x", "no_y", "no_no_x", "или",  "и",   "no_ili",
    "no_i", "imp", "ekv", "so",   "sz",   "равно",   "ноль", "один"};

// kTagGlyphs[i] is the drawing a dropped kTags[i] shows.
inline constexpr std::array<Glyph, 17> kTagGlyphs{
    Glyph::x,       Glyph::y,          Glyph::z,           Glyph::notX,         Glyph::notY,
    Glyph::notNotX, Glyph::orSign,     Glyph::andSign,     Glyph::notOrSign,    Glyph::notAndSign,
    Glyph::implies, Glyph::equivalent, Glyph::openBracket, Glyph::closeBracket, Glyph::equals,
    Glyph::zero,    Glyph::one};

inline constexpr std::string_view kEquals = "равно";

using Tags = std::vector<std::string_view>; // views into kTags or into string literals

inline bool isTag(std::string_view text) {
    return std::find(kTags.begin(), kTags.end(), text) != kTags.end();
}

// The drawing of a known tag; Glyph::x for any other text (check isTag first).
inline Glyph glyphOf(std::string_view tag) {
    const auto it = std::find(kTags.begin(), kTags.end(), tag);
    return it == kTags.end() ? Glyph::x : kTagGlyphs[static_cast<std::size_t>(it - kTags.begin())];
}

// The tag whose drawing is g.
inline std::string_view tagOf(Glyph g) {
    const auto it = std::find(kTagGlyphs.begin(), kTagGlyphs.end(), g);
    return kTags[static_cast<std::size_t>(it - kTagGlyphs.begin())];
}

// What a pupil types for a tag: a "!" for each bar and the usual key of the symbol under them;
// with `other`, "-" for each bar and the symbol's last key, which means the same.
inline std::u32string typedKeys(std::string_view tag, bool other = false) {
    const Symbol* symbol = symbolByTag(tag);
    if (!symbol) return {};
    std::u32string keys(static_cast<std::size_t>(symbol->bars), other ? U'-' : U'!');
    const Symbol& typed = symbol->bars > 0 ? symbolOf(symbol->underBars) : *symbol;
    return keys + (other ? typed.keys.back() : typed.keys.front());
}

// Splits a formula key into tags, longest matching tag first ("или" before "и"); nullopt if
// some part is no tag. The tags returned are views into kTags, whatever the key's storage.
inline std::optional<Tags> splitKey(std::string_view key) {
    std::array<std::string_view, kTags.size()> byLength = kTags;
    std::stable_sort(byLength.begin(), byLength.end(),
                     [](std::string_view a, std::string_view b) { return a.size() > b.size(); });
    Tags tags;
    while (!key.empty()) {
        const auto it = std::find_if(byLength.begin(), byLength.end(),
                                     [&](std::string_view t) { return key.starts_with(t); });
        if (it == byLength.end()) return std::nullopt;
        tags.push_back(*it);
        key.remove_prefix(it->size());
    }
    return tags;
}

inline std::string joinTags(const Tags& tags) {
    std::string key;
    for (std::string_view t : tags)
        key += t;
    return key;
}

// Law n's (1 … 23) key as tags.
inline Tags lawTags(int law) {
    return splitKey(kLaws[static_cast<std::size_t>(law - 1)].key).value_or(Tags{});
}

// How many of law n's tags make its left-hand side, "равно" included.
inline int leftSideLength(int law) {
    const auto tags = lawTags(law);
    return static_cast<int>(std::find(tags.begin(), tags.end(), kEquals) - tags.begin()) + 1;
}

// Law n's left-hand side with its "равно", and what follows the "равно".
inline Tags leftSideTags(int law) {
    Tags t = lawTags(law);
    t.resize(static_cast<std::size_t>(leftSideLength(law)));
    return t;
}
inline Tags rightSideTags(int law) {
    const Tags t = lawTags(law);
    return Tags(t.begin() + leftSideLength(law), t.end());
}

} // namespace law_keys
