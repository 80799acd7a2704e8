// A law's formula key split into the palette's tags, longest tag first.
#pragma once

#include "board/symbols.h"
#include "laws/law_catalogue.h"

#include <string>
#include <string_view>
#include <vector>

namespace bench {

inline std::vector<std::string> tagsOf(std::string_view key) {
    std::vector<std::string> tags;
    while (!key.empty()) {
        std::string_view best;
        for (const SymbolRow& row : kVocabulary)
            if (key.starts_with(row.tag) && row.tag.size() > best.size()) best = row.tag;
        if (best.empty()) return {}; // not a key
        tags.emplace_back(best);
        key.remove_prefix(best.size());
    }
    return tags;
}

// What follows "=" in law n's key: the answer a pupil writes in the trainer.
inline std::vector<std::string> rightSideOf(int law) {
    std::vector<std::string> tags = tagsOf(kLaws[static_cast<std::size_t>(law - 1)].key);
    std::erase_if(tags, [seen = false](const std::string& t) mutable {
        const bool left = !seen;
        if (t == "равно") seen = true;
        return left;
    });
    return tags;
}

} // namespace bench
