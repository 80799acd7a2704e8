// Trainer mode: the right-hand side alone is judged, and the next left-hand side is drawn.
#include "app/form1.h"
#include "check/accepted_keys.h"

const std::array<std::string_view, kLawCount> rightSideKeys{
    "yилиx",
    "yиx",
    "soxилиyszилиz",
    "soxиyszиz",
    "soxиyszилиsoxиzsz",
    "soxилиyszиsoxилиzsz",
    "no_xиno_y",
    "no_xилиno_y",
    "x",
    "x",
    "x",
    "x",
    "y",
    "y",
    "один",
    "ноль",
    "x",
    "один",
    "ноль",
    "x",
    "x",
    "no_xилиy",
    "sono_xилиyszиsono_yилиxsz",
};

void Form1::CheckRightSide() {
    RunCheckCycle(
        {&Form1::TrainerFontRule, &Form1::PredrawNextLeftSide, &Form1::RightSideAccepted});
}

void Form1::PredrawNextLeftSide() {
    const int next = state.questionNumber;
    if (next < 2 || next > kLawCount) return; // after the last answer the row stays as it is
    ClearSlots();
    DrawLeftSide(next);
}

bool Form1::RightSideAccepted(int law) const {
    return state.formulaKey == rightSideKeys[static_cast<std::size_t>(law - 1)];
}
