// The hint's layouts: the expected right-hand side of each question as red pictures.
#pragma once

#include <array>

struct HintRow {
    int firstSlotImage;            // Image20, Image24…: the slot right after the law's "="
    std::array<int, 11> redImages; // hidden hint images Image38 … Image48; unused places are 0
};

// Question n (1 … 23) is hintLayout[n - 1].
extern const std::array<HintRow, 23> hintLayout;
