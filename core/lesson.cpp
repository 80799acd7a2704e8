#include "core/lesson.h"

#include "core/laws.h"

#include <algorithm>
#include <charconv>

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// A whole number and nothing else.
std::optional<int> number(std::string_view s) {
    s = trimmed(s);
    int value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || error != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

// The comma-separated pieces of `text`, empty ones included.
std::vector<std::string_view> pieces(std::string_view text) {
    std::vector<std::string_view> out;
    for (std::size_t from = 0;;) {
        const std::size_t comma = text.find(',', from);
        out.push_back(text.substr(from, comma - from));
        if (comma == std::string_view::npos) return out;
        from = comma + 1;
    }
}

} // namespace

std::optional<std::vector<int>> parseLawList(std::string_view text) {
    std::vector<int> laws;
    for (std::string_view piece : pieces(text)) {
        const std::size_t dash = piece.find('-');
        const auto first = number(piece.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : number(piece.substr(dash + 1));
        if (!first || !last || *first < 1 || *last > kLawCount || *first > *last)
            return std::nullopt;
        for (int law = *first; law <= *last; ++law)
            laws.push_back(law);
    }
    std::sort(laws.begin(), laws.end());
    laws.erase(std::unique(laws.begin(), laws.end()), laws.end());
    return laws;
}

std::string lawListText(const std::vector<int>& laws, std::string_view dash) {
    std::string text;
    for (std::size_t i = 0; i < laws.size();) {
        std::size_t j = i;
        while (j + 1 < laws.size() && laws[j + 1] == laws[j] + 1)
            ++j;
        if (!text.empty()) text += ',';
        text += std::to_string(laws[i]);
        if (j > i) text += std::string(j == i + 1 ? "," : dash) + std::to_string(laws[j]);
        i = j + 1;
    }
    return text;
}

std::optional<int> parseMinutes(std::string_view text) {
    const auto minutes = number(text);
    if (!minutes || *minutes < 0 || *minutes > kMaxMinutes) return std::nullopt;
    return minutes;
}

std::optional<Marks> parseMarks(std::string_view text) {
    const auto parts = pieces(text);
    if (parts.size() != 3) return std::nullopt;
    int shares[3];
    for (int i = 0; i < 3; ++i) {
        const auto share = number(parts[static_cast<std::size_t>(i)]);
        if (!share || *share < 0 || *share > 100 || (i > 0 && *share >= shares[i - 1]))
            return std::nullopt;
        shares[i] = *share;
    }
    return Marks{shares[0], shares[1], shares[2]};
}

std::string marksText(const Marks& marks) {
    return std::to_string(marks.five) + ',' + std::to_string(marks.four) + ',' +
           std::to_string(marks.three);
}

int markFor(int right, int asked, const Marks& marks) {
    if (asked <= 0) return 0;
    // right / asked ≥ share / 100, in whole numbers
    auto reaches = [&](int share) { return right * 100 >= share * asked; };
    return reaches(marks.five) ? 5 : reaches(marks.four) ? 4 : reaches(marks.three) ? 3 : 2;
}
