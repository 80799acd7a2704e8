// Writing a formula without dragging: a picked symbol placed by clicks, the caret of the
// keyboard, and typed keys. Each places or empties slots exactly as a drop does.
#include "core/form.h"

#include <algorithm>

namespace {

// The symbol a typed character stands for, or "" when it stands for none. The Russian layout
// types ч, н, я, м on the keys that bear x, y, z, v, and ю, б, ё on those of >, < and ~, so
// those letters count as well.
std::string_view tagOfKey(char32_t key) {
    switch (key) {
    case U'x':
    case U'X':
    case U'ч':
    case U'Ч':
        return "x";
    case U'y':
    case U'Y':
    case U'н':
    case U'Н':
        return "y";
    case U'z':
    case U'Z':
    case U'я':
    case U'Я':
        return "z";
    case U'0':
        return "ноль";
    case U'1':
        return "один";
    case U'(':
        return "so";
    case U')':
        return "sz";
    case U'=':
        return "равно";
    case U'v':
    case U'V':
    case U'м':
    case U'М':
    case U'|':
    case U'+':
        return "или";
    case U'*':
    case U'&':
    case U'.':
        return "и";
    case U'>':
    case U'ю':
    case U'Ю':
        return "imp";
    case U'<':
    case U'~':
    case U'б':
    case U'Б':
    case U'ё':
    case U'Ё':
        return "ekv";
    default:
        return "";
    }
}

// The barred symbol for a symbol under one bar ("!x") or two ("!!x"), or "" where there is none.
std::string_view barred(std::string_view tag, int bars) {
    if (bars == 1) {
        if (tag == "x") return "no_x";
        if (tag == "y") return "no_y";
        if (tag == "или") return "no_ili";
        if (tag == "и") return "no_i";
    }
    if (bars == 2 && tag == "x") return "no_no_x";
    return "";
}

} // namespace

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
    if (key == U'!' || key == U'-') {
        // A third bar has no symbol to go with: the bars typed so far are dropped.
        state.barsTyped = state.barsTyped < 2 ? state.barsTyped + 1 : 0;
        return true;
    }
    const std::string_view tag = tagOfKey(key);
    const int bars = state.barsTyped;
    state.barsTyped = 0;
    if (tag.empty()) return bars > 0; // a key that cannot follow "!" drops it
    if (bars == 0) {
        placeAtCaret(tag);
        return true;
    }
    if (const std::string_view withBars = barred(tag, bars); !withBars.empty())
        placeAtCaret(withBars);
    return true;
}
