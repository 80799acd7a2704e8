#include "journal/law_statistics.h"

#include "core/laws.h"
#include "core/review_rows.h"

#include <algorithm>
#include <map>
#include <utility>

bool RunFilter::admits(const RunRecord& run) const {
    return (!mode || run.mode == *mode) && run.startedMs >= fromMs && run.startedMs < toMs;
}

std::optional<double> LawStatistics::shareRight() const {
    if (answers == 0) return std::nullopt;
    return double(right) / answers;
}

std::string WrongAnswer::shown() const {
    return mode == Mode::trainer ? "… = " + written : written;
}

std::vector<LawStatistics> lawStatistics(const JournalRuns& runs, const RunFilter& filter) {
    std::vector<LawStatistics> table(kLawCount);
    std::vector<std::map<std::pair<std::string, Mode>, int>> wrong(kLawCount);
    for (int n = 1; n <= kLawCount; ++n) {
        table[std::size_t(n - 1)].law = n;
        table[std::size_t(n - 1)].name = law(n).name;
    }
    for (const JournalRun& entry : runs) {
        if (!filter.admits(entry.run)) continue;
        for (const Answer& a : entry.run.answers) {
            if (a.law < 1 || a.law > kLawCount) continue;
            LawStatistics& s = table[std::size_t(a.law - 1)];
            ++s.answers;
            if (a.right)
                ++s.right;
            else
                ++wrong[std::size_t(a.law - 1)]
                       [{a.key.empty() ? "(пусто)" : keyText(a.key), entry.run.mode}];
        }
    }
    for (LawStatistics& s : table) {
        for (const auto& [answer, count] : wrong[std::size_t(s.law - 1)])
            s.commonWrong.push_back({answer.second, answer.first, count});
        // Most often first; equally often in the order of their text, so the table is stable.
        std::stable_sort(
            s.commonWrong.begin(), s.commonWrong.end(),
            [](const WrongAnswer& a, const WrongAnswer& b) { return a.count > b.count; });
        if (s.commonWrong.size() > kCommonWrongShown) s.commonWrong.resize(kCommonWrongShown);
    }
    std::stable_sort(table.begin(), table.end(),
                     [](const LawStatistics& a, const LawStatistics& b) {
                         const auto x = a.shareRight(), y = b.shareRight();
                         if (x.has_value() != y.has_value()) return x.has_value();
                         return x && *x < *y;
                     });
    return table;
}
