// Starting a run, emptying the slot row and drawing a law's left-hand side.
#include "app/form1.h"
#include "laws/law_catalogue.h"

#include <string>

void Form1::ClearSlots() {
    for (Slot& slot : state.slotRow)
        slot.picture = Picture::blank();
    for (Slot& slot : state.slotRow)
        slot.tag.clear();
    state.text1.clear();
}

void Form1::PrepareRun() {
    ClearSlots();
    state.hintPresses = 0;
    state.lawCursor = -1;
    state.questionNumber = 1;
    state.wrongCount = 0;
    state.rightCount = 0;
    for (int n = 1; n <= kLawCount; ++n) {
        const Law& law = kLaws[static_cast<std::size_t>(n - 1)];
        state.lawTable[static_cast<std::size_t>(2 * n - 1)] = law.name;
        state.lawTable[static_cast<std::size_t>(2 * n)] = law.key;
    }
    state.label2 = state.lawTable[1]; // the font size stays as it was
    ShowQuestionAndCounts(state.questionNumber, state.rightCount, state.wrongCount);
    if (state.workMode == 0) DrawLeftSide(1);
}

void Form1::ShowQuestionAndCounts(int question, int right, int wrong) {
    state.label3 = std::to_string(question);
    state.label4 = std::to_string(right);
    state.label5 = std::to_string(wrong);
}

// Pictures only: the drawn slots keep their empty tags, so the left-hand side is never part of
// the formula key.
void Form1::DrawLeftSide(int law) {
    if (law < 1 || law > kLawCount) return;
    int k = 1;
    for (int image : kLeftSideLayouts[static_cast<std::size_t>(law - 1)]) {
        if (image == 0) break;
        slotAt(state, k++).picture = palettePicture(image);
    }
}
