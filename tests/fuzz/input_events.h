// The fuzzer's input read as a sequence of window events.
//
// Each event is an opcode byte (its value % 16) followed by the operand bytes it takes:
//    0  load                                8  hint
//    1  selectMode(trainer)                 9  the selected mode's option clicked again
//    2  selectMode(test)                   10  T S     drop known tag T % 17 on slot byte S
//    3  I16 selectMode(the mode I16 names) 11  F S     drop near-miss tag F % 16 on slot byte S
//    4  I16 the mode I16 names, redrawn:   12  N B… S  drop the next N % 16 input bytes as a tag
//           the other mode, then it        13  T I32   drop known tag T % 17 on slot I32
//    5  start                              14  U16     press the hint U16 times in a row
//    6  check                              15  C       press Check C % 32 times (each an event)
//    7  clear
// I16, U16 and I32 are little-endian. An I16 names the trainer when even, the test when odd (so
// 0 and 1 are the option buttons' indices). The known tags, in order: x y z no_x no_y no_no_x
// или и no_ili no_i imp ekv so sz равно ноль один. Slot byte S: 0x00…0xBF is slot S % 19 + 1 (so
// byte k − 1 is slot k); 0xC0…0xFF is a number off the row, kOffRowSlots[S % 16]. I32 is the slot
// number itself, whatever it is.
// An event whose operands run past the end of the input is dropped.
// Set ZL_FUZZ_TRACE=1 to have every decoded event printed while an input runs.
#pragma once

#include "support/law_keys.h"

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fuzz {

// The 17 tags a palette symbol carries, in the order known-tag operands name them.
inline constexpr const auto& kKnownTags = law_keys::kTags;

// Tags no palette symbol carries, close to those that do.
inline constexpr std::string_view kTagWithNul("x\0", 2);
inline constexpr std::array<std::string_view, 16> kNearMissTags{
    "",    "X",     "или ",      " и",           "ИЛИ",   "no_z", "Ноль",  "один ",
    "no_", "no_xx", kTagWithNul, "\xd0\xb8\xd0", "xилиy", "IMP",  "ravno", "равно\n"};

// Slot numbers beside the row (1 … 19), far from it, at the ends of int, or ones that a
// narrowing to 8 or 16 bits would wrap onto the row.
inline constexpr std::array<int, 16> kOffRowSlots{
    0,       -1,        20,         21,         38,      -18,         100,     -100,
    256 + 1, 65536 + 1, 65536 + 19, -65536 + 1, INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 18};

struct Event {
    enum class Kind {
        load,
        selectMode, // number: 0 trainer, 1 test
        reselect,   // the option of the mode already selected
        start,
        check,
        clear,
        hint,
        hintBurst, // number: presses
        drop,      // number: slot
    };
    Event(Kind k, int n = 0, std::string t = {}) : kind(k), number(n), tag(std::move(t)) {}
    Kind kind;
    int number;
    std::string tag; // for drops
};

std::vector<Event> decodeEvents(const std::uint8_t* data, std::size_t size);

// One line a person can read, for traces and failure messages.
std::string describe(const Event& e);

} // namespace fuzz
