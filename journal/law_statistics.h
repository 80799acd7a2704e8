// Per law, over a class's runs: how often it was answered and answered right, and the wrong
// answers written most often — where the class stumbles, worst first.
#pragma once

#include "journal/journal_runs.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The runs counted: of one mode or both, started within [fromMs, toMs).
struct RunFilter {
    std::optional<Mode> mode;
    std::int64_t fromMs = std::numeric_limits<std::int64_t>::min();
    std::int64_t toMs = std::numeric_limits<std::int64_t>::max();
    bool admits(const RunRecord& run) const;
};

// A wrong answer as written, in one mode: a test's is a whole law, a trainer's the right-hand
// side alone, written after the drawn left side. The same signs in the two modes are two
// different mistakes, counted apart.
struct WrongAnswer {
    Mode mode = Mode::test;
    std::string written; // in signs, as keyText shows it; "(пусто)" for an empty row
    int count = 0;
    // As a teacher reads it among the others: a test's answer as written, a trainer's after
    // "… = ", the left side it was given.
    std::string shown() const;
};

struct LawStatistics {
    int law = 0;
    std::string_view name;
    int answers = 0, right = 0;
    std::vector<WrongAnswer> commonWrong; // most often first, at most kCommonWrongShown
    // 0 … 1; nothing for a law never answered.
    std::optional<double> shareRight() const;
};

inline constexpr std::size_t kCommonWrongShown = 5;

// Every law of the catalogue once, the lowest share right first and laws never answered last.
// Each answer counts for the law it was judged against, in whatever order the laws were asked.
std::vector<LawStatistics> lawStatistics(const JournalRuns& runs, const RunFilter& filter = {});
