// The fuzzer's input read as a sequence of window events.
//
// Each event is an opcode byte (its value % 16) followed by the operand bytes it takes:
//    0  Form_Load                          8  Command3_Click (hint)
//    1  SelectOption1(0)                   9  Command4_Click (rules text)
//    2  SelectOption1(1)                  10  T S     drop known tag T % 17 on slot byte S
//    3  I16 SelectOption1(I16)            11  F S     drop near-miss tag F % 16 on slot byte S
//    4  I16 Option1_Click(I16)            12  N B… S  drop the next N % 16 input bytes as a tag
//    5  Cmd3_Start_Click                  13  T I32   drop known tag T % 17 on image I32
//    6  Command1_Click (check)            14  U16     press the hint U16 times in a row
//    7  Command2_Click (clear)            15  C       press Check C % 32 times (each an event)
// I16, U16 and I32 are little-endian. The known tags, in order: x y z no_x no_y no_no_x или и
// no_ili no_i imp ekv so sz равно ноль один. Slot byte S: 0x00…0xBF is image 16 + S % 19 (so
// byte k − 1 is slot k); 0xC0…0xFF is an image off the row, kOffRowImages[S % 16].
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

// Image numbers beside, far from or wrapping onto the slot row (Image16 … Image34).
inline constexpr std::array<int, 16> kOffRowImages{
    0, 1, 15, 35, 36, 37, 38, 48, -1, -16, -34, 100, 255, 65536 + 16, INT_MIN, INT_MAX};

struct Event {
    enum class Kind {
        load,
        selectOption,
        optionClick,
        start,
        check,
        clear,
        hint,
        rules,
        drop,
        hintBurst,
    };
    Event(Kind k, int n = 0, std::string t = {}) : kind(k), number(n), tag(std::move(t)) {}
    Kind kind;
    int number;      // option index, image number, or presses in a hint burst
    std::string tag; // for drops
};

std::vector<Event> decodeEvents(const std::uint8_t* data, std::size_t size);

// One line a person can read, for traces and failure messages.
std::string describe(const Event& e);

} // namespace fuzz
