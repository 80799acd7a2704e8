// The hint button: the expected right-hand side drawn in red pictures that carry no tag.
#include "board/hint.h"

#include "app/form1.h"

#include <limits>

const std::array<HintRow, 23> hintLayout{{
    {20, {39, 40, 38}},                                 // y ∨ x
    {20, {39, 41, 38}},                                 // y • x
    {24, {42, 38, 40, 39, 43, 40, 44}},                 // ( x ∨ y ) ∨ z
    {24, {42, 38, 41, 39, 43, 41, 44}},                 // ( x • y ) • z
    {24, {42, 38, 41, 39, 43, 40, 42, 38, 41, 44, 43}}, // ( x • y ) ∨ ( x • z )
    {24, {42, 38, 40, 39, 43, 41, 42, 38, 40, 44, 43}}, // ( x ∨ y ) • ( x ∨ z )
    {20, {45, 41, 46}},                                 // x̄ • ȳ
    {20, {45, 40, 46}},                                 // x̄ ∨ ȳ
    {20, {38}},                                         // x
    {20, {38}},                                         // x
    {24, {38}},                                         // x
    {24, {38}},                                         // x
    {28, {39}},                                         // y
    {28, {39}},                                         // y
    {20, {47}},                                         // 1
    {20, {48}},                                         // 0
    {20, {38}},                                         // x
    {20, {47}},                                         // 1
    {20, {48}},                                         // 0
    {20, {38}},                                         // x
    {18, {38}},                                         // x
    {20, {45, 40, 39}},                                 // x̄ ∨ y
    {20, {42, 45, 40, 39, 43, 41, 42, 46, 40, 38, 43}}, // ( x̄ ∨ y ) • ( ȳ ∨ x )
}};

void Form1::Command3_Click() {
    if (state.questionNumber > 2) state.label9Visible = false;
    // The press count is kept since Start; it stops at its ceiling instead of wrapping.
    if (state.hintPresses < std::numeric_limits<std::int16_t>::max()) ++state.hintPresses;
    const int question = state.questionNumber;
    if (question < 1 || question > static_cast<int>(hintLayout.size())) return;
    const HintRow& row = hintLayout[static_cast<std::size_t>(question - 1)];
    int k = row.firstSlotImage - kFirstSlotImage + 1;
    for (int image : row.redImages) {
        if (image == 0) break;
        slotAt(state, k++).picture = hintPicture(image);
    }
}
