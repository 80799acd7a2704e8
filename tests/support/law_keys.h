// The 17 tags of the palette as the tests know them, written out apart from the product's own
// vocabulary, and law keys split into them. No Qt: the core tests, the fuzzer and the benchmarks
// all use it.
#pragma once

#include "laws/law_catalogue.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace law_keys {

inline constexpr std::array<std::string_view, 17> kTags{
    "x",    "y",   "z",   "no_x", "no_y", "no_no_x", "или",  "и",   "no_ili",
    "no_i", "imp", "ekv", "so",   "sz",   "равно",   "ноль", "один"};

inline constexpr std::string_view kEquals = "равно";

inline bool isTag(std::string_view text) {
    return std::find(kTags.begin(), kTags.end(), text) != kTags.end();
}

// Splits a formula key into tags, longest matching tag first ("или" before "и"); nullopt if
// some part is no tag.
inline std::optional<std::vector<std::string_view>> splitKey(std::string_view key) {
    std::array<std::string_view, kTags.size()> byLength = kTags;
    std::stable_sort(byLength.begin(), byLength.end(),
                     [](std::string_view a, std::string_view b) { return a.size() > b.size(); });
    std::vector<std::string_view> tags;
    while (!key.empty()) {
        const auto it = std::find_if(byLength.begin(), byLength.end(),
                                     [&](std::string_view t) { return key.starts_with(t); });
        if (it == byLength.end()) return std::nullopt;
        tags.push_back(*it);
        key.remove_prefix(it->size());
    }
    return tags;
}

// Law n's (1 … 23) key as tags.
inline std::vector<std::string_view> lawTags(int law) {
    return splitKey(kLaws[static_cast<std::size_t>(law - 1)].key)
        .value_or(std::vector<std::string_view>{});
}

// How many of law n's tags make its left-hand side, "равно" included.
inline int leftSideLength(int law) {
    const auto tags = lawTags(law);
    return static_cast<int>(std::find(tags.begin(), tags.end(), kEquals) - tags.begin()) + 1;
}

} // namespace law_keys
