// The catalogue of the 23 laws and the per-law tables of the question board.
#pragma once

#include <array>
#include <string_view>

inline constexpr int kLawCount = 23;

struct Law {
    std::string_view name;
    std::string_view key; // the whole law as a formula key: tags joined, "равно" for "="
};

// Law n (1 … 23) is kLaws[n - 1].
extern const std::array<Law, kLawCount> kLaws;

// The palette images whose pictures draw law n's left-hand side up to and including "=",
// into Image16, Image17, … Entry n - 1; unused places are 0.
using LeftSideLayout = std::array<int, 12>;
extern const std::array<LeftSideLayout, kLawCount> kLeftSideLayouts;

// How many slots from Image16 the Clear button keeps in trainer mode, by question number 1 … 23.
extern const std::array<int, kLawCount> kKeptSlots;
