// The two ways a run asks: its own header, so the catalogue can judge without the run record.
#pragma once

#include <cstdint>

enum class Mode : std::uint8_t {
    trainer, // the left-hand side is drawn; the pupil writes the right-hand side, with a hint
    test,    // the pupil writes the whole law
};
