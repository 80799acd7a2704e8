#include "core/symbols.h"

#include <algorithm>
#include <string>

std::optional<std::vector<Glyph>> splitKey(std::string_view key) {
    std::vector<Glyph> glyphs;
    while (!key.empty()) {
        const Symbol* longest = nullptr;
        for (const Symbol& s : kSymbols)
            if (key.starts_with(s.tag) && (!longest || s.tag.size() > longest->tag.size()))
                longest = &s;
        if (!longest) return std::nullopt;
        glyphs.push_back(longest->glyph);
        key.remove_prefix(longest->tag.size());
    }
    return glyphs;
}

std::string joinTags(const std::vector<Glyph>& glyphs) {
    std::string key;
    for (Glyph g : glyphs)
        key += symbolOf(g).tag;
    return key;
}
