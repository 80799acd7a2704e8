// Dropping a palette symbol on a slot, and the formula key the row spells.
#include "app/form1.h"

void Form1::DropOnSlot(Slot& slot, std::string_view sourceTag) {
    // Every row is tested, with no early exit; the tags are distinct, so at most one matches.
    for (const SymbolRow& row : kVocabulary) {
        if (sourceTag == row.tag) {
            slot.picture = palettePicture(row.paletteImage);
            slot.tag = paletteSymbol(row.paletteImage)->tag;
        }
    }
}

void Form1::Image_DragDrop(int slotImage, std::string_view sourceTag) {
    const int k = slotImage - kFirstSlotImage + 1;
    if (k < 1 || k > kSlotCount) return;
    DropOnSlot(slotAt(state, k), sourceTag);
}

std::string Form1::FormulaKey() const {
    std::string key;
    for (const Slot& slot : state.slotRow)
        key += slot.tag;
    return key;
}
