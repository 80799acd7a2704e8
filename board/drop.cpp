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
    // Range first: the slot number is computed only for an image of the row, so no image
    // number, however far off, can overflow it.
    if (slotImage < kFirstSlotImage || slotImage >= kFirstSlotImage + kSlotCount) return;
    DropOnSlot(slotAt(state, slotImage - kFirstSlotImage + 1), sourceTag);
}

std::string Form1::FormulaKey() const {
    std::string key;
    for (const Slot& slot : state.slotRow)
        key += slot.tag;
    return key;
}
