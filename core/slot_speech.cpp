#include "core/slot_speech.h"

namespace {

std::string tagSpokenName(const std::string& tag) {
    const Symbol* symbol = symbolByTag(tag);
    return symbol ? std::string(symbol->spoken) : tag;
}

} // namespace

std::string slotSpokenName(int k, const Slot& slot) {
    std::string said = "Ячейка " + std::to_string(k) + ": ";
    const Picture& picture = slot.picture;
    if (!picture.showsGlyph()) return said + (slot.tag.empty() ? "пусто" : tagSpokenName(slot.tag));
    if (picture.ink == Picture::Ink::red) said += "подсказка ";
    said += symbolOf(picture.glyph).spoken;
    // A hint drawn over a dropped symbol hides it; the formula still holds the symbol.
    if (!slot.tag.empty() && picture.ink == Picture::Ink::red)
        said += ", в формуле " + tagSpokenName(slot.tag);
    return said;
}
