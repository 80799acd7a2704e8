// What a teacher sets for a lesson: the laws a run asks, the test's time limit, the order and
// the marks. Read from the settings, the command line and the class's lesson file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The least share right, in per cent, for a 5, a 4 and a 3; below the last, a 2.
struct Marks {
    int five = 90;
    int four = 75;
    int three = 50;
    friend bool operator==(const Marks&, const Marks&) = default;
};

struct Lesson {
    std::vector<int> laws; // the laws asked, ascending, each once; empty: all of them
    int minutes = 0;       // a test's time limit; 0: none
    bool shuffled = false; // each test run asks its laws in an order of its own
    Marks marks;
    friend bool operator==(const Lesson&, const Lesson&) = default;
};

inline constexpr int kMaxMinutes = 600;

// "1-12,15": numbers and ranges of laws 1 … 23 apart by commas, blanks allowed; a law named
// twice is asked once. Nothing for an empty, reversed or out-of-range list or anything else.
std::optional<std::vector<int>> parseLawList(std::string_view text);
// The laws back as the shortest such list ("1-12,15"); with `dash` between a range's ends.
std::string lawListText(const std::vector<int>& laws, std::string_view dash = "-");
// A test's time limit in whole minutes, 0 (none) … kMaxMinutes, blanks around allowed.
std::optional<int> parseMinutes(std::string_view text);
// "90,75,50": three shares 0 … 100, each below the one before. Nothing otherwise.
std::optional<Marks> parseMarks(std::string_view text);
std::string marksText(const Marks& marks);
// The mark for `right` of `asked` laws: 5, 4, 3 or 2; 0 when nothing was asked.
int markFor(int right, int asked, const Marks& marks);
