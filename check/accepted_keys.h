// The keys the two checkers accept besides the catalogue, one table per checker.
#pragma once

#include "laws/law_catalogue.h"

#include <array>
#include <string_view>

// Trainer mode: law n's right-hand side, entry n - 1.
extern const std::array<std::string_view, kLawCount> rightSideKeys;
// Test mode: a second accepted form of law n, entry n - 1; empty where the law has none.
extern const std::array<std::string_view, kLawCount> alternativeKeys;

// The law judged at a check, n = (lawCursor + 1) / 2, or 0 when lawCursor names no law.
int lawJudgedAt(int lawCursor);
