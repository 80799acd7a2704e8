// What a screen reader says for a slot: its position and what it holds.
#pragma once

#include "core/form.h"

#include <string>

// "Ячейка 7: y", "Ячейка 7: пусто", "Ячейка 20: подсказка y".
std::string slotSpokenName(int k, const Slot& slot);
