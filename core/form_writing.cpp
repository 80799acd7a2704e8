// Writing a formula without dragging: a picked symbol placed by clicks, the caret of the
// keyboard, and typed keys. Each places or empties slots exactly as a drop does.
#include "core/form.h"

#include <algorithm>

int Form::caretHome() const {
    const int n = askedLaw();
    if (state.mode == Mode::trainer && n) return static_cast<int>(lawSides(n).left.size()) + 1;
    return 1;
}

void Form::resetWriting() {
    state.picked.clear();
    state.barsTyped = 0;
    state.caret = caretHome();
    state.answerMarked = false;
}

void Form::removeMarkedAnswer() {
    state.answerMarked = false;
    for (int k = firstWritableSlot(); k <= kSlotCount; ++k)
        state.slot(k) = Slot{Picture::blank(), ""};
    state.caret = firstWritableSlot();
}

void Form::pick(std::string_view tag) {
    const Symbol* symbol = symbolByTag(tag);
    if (!symbol) return;
    state.picked = state.picked == symbol->tag ? "" : std::string(symbol->tag);
}

void Form::unpick() {
    state.picked.clear();
    state.barsTyped = 0;
}

void Form::placePicked(int slot) {
    if (!state.picked.empty()) drop(slot, state.picked);
}

void Form::emptySlot(int slot) {
    if (slot < 1 || slot > kSlotCount) return;
    const Slot empty{Picture::blank(), ""};
    if (state.slot(slot) == empty) return;
    state.slot(slot) = empty;
    state.answerMarked = false;
}

// In trainer mode the drawn left-hand side is the program's: the keyboard never enters it.
int Form::firstWritableSlot() const {
    return caretHome();
}

void Form::moveCaret(int slot) {
    state.answerMarked = false;
    state.caret = std::clamp(slot, firstWritableSlot(), kSlotCount);
}

void Form::placeAtCaret(std::string_view tag) {
    if (state.answerMarked) removeMarkedAnswer();
    drop(state.caret, tag);
    moveCaret(state.caret + 1); // stays on the last slot: a held key never runs past the row
}

void Form::placePickedAtCaret() {
    if (!state.picked.empty()) placeAtCaret(state.picked);
}

void Form::deleteAtCaret() {
    if (state.answerMarked) return removeMarkedAnswer();
    if (state.caret >= firstWritableSlot()) emptySlot(state.caret);
}

void Form::backspace() {
    if (state.answerMarked) return removeMarkedAnswer();
    if (state.caret <= firstWritableSlot()) return;
    moveCaret(state.caret - 1);
    emptySlot(state.caret);
}

bool Form::type(char32_t key) {
    if (kBarKeys.find(key) != std::u32string_view::npos) {
        // A third bar has no symbol to go with: the bars typed so far are dropped.
        state.barsTyped = state.barsTyped < 2 ? state.barsTyped + 1 : 0;
        return true;
    }
    const Symbol* symbol = symbolByKey(key);
    const int bars = state.barsTyped;
    state.barsTyped = 0;
    if (!symbol) return bars > 0; // a key that cannot follow "!" drops it
    if (bars == 0) {
        placeAtCaret(symbol->tag);
        return true;
    }
    if (const Symbol* withBars = barredForm(symbol->glyph, bars)) placeAtCaret(withBars->tag);
    return true;
}
