// Why a wrong answer is wrong, in one short line for the pupil: what keeps it from being a
// formula, where its sides differ, or which law it is instead.
#pragma once

#include "core/formula.h"
#include "core/mode.h"

#include <string>
#include <string_view>

// Empty for an answer the catalogue accepts for law n (1 … kLawCount). In trainer mode the key
// holds what the pupil wrote after the drawn left-hand side; an answer with its own "=" (written
// over the drawn side) is read as it stands.
std::string whyWrong(int law, Mode mode, std::string_view answerKey);

// What keeps a row from being a formula: «два знака подряд: ∨ •».
std::string problemText(const FormulaProblem& problem);
