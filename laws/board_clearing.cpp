// The Clear button: the pupil's symbols go, the drawn left-hand side stays in trainer mode.
#include "app/form1.h"
#include "laws/law_catalogue.h"

void Form1::ClearRightSide() {
    const int question = state.questionNumber;
    if (question < 1 || question > kLawCount) return;
    const int kept = kKeptSlots[static_cast<std::size_t>(question - 1)];
    for (int k = kept + 1; k <= kSlotCount; ++k) {
        Slot& slot = slotAt(state, k);
        slot.picture = Picture::blank();
        slot.tag.clear();
    }
}

void Form1::Command2_Click() {
    if (state.option1[0])
        ClearRightSide();
    else
        ClearSlots();
}
