// The catalogue of laws a run asks, in order, and what follows from each law's key: the
// left-hand side the trainer draws, the right-hand side it accepts, and the hint.
#pragma once

#include "core/mode.h"
#include "core/symbols.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

struct Law {
    std::string_view name;           // the question line
    std::string_view key;            // the whole law as a formula key, "равно" for "="
    std::string_view otherForm = {}; // a second form test mode accepts; empty where none
};

inline constexpr std::array<Law, 23> kLaws{{
    {"Переместительный закон для ИЛИ", "xилиyравноyилиx", "yилиxравноxилиy"},
    {"Переместительный закон для И", "xиyравноyиx", "yиxравноxиy"},
    {"Сочетательный закон для ИЛИ", "xилиsoyилиzszравноsoxилиyszилиz",
     "soxилиyszилиzравноxилиsoyилиzsz"},
    {"Сочетательный закон для И", "xиsoyиzszравноsoxиyszиz", "soxиyszиzравноxиsoyиzsz"},
    {"Распределительный закон для ИЛИ", "xиsoyилиzszравноsoxиyszилиsoxиzsz",
     "xиsoyилиzszравноxиyилиxиz"},
    {"Распределительный закон для И", "xилиsoyиzszравноsoxилиyszиsoxилиzsz",
     "xилиyиzравноsoxилиyszиsoxилиzsz"},
    {"Правила де Моргана для ИЛИ", "no_xno_ilino_yравноno_xиno_y", "no_yno_ilino_xравноno_yиno_x"},
    {"Правила де Моргана для И", "no_xno_ino_yравноno_xилиno_y", "no_yno_ino_xравноno_yилиno_x"},
    {"Закон идемпотентности для ИЛИ", "xилиxравноx"},
    {"Закон идемпотентности для И", "xиxравноx"},
    {"Закон поглощения для ИЛИ", "xилиsoxиyszравноx", "xилиxиyравноx"},
    {"Закон поглощения для И", "xиsoxилиyszравноx"},
    {"Закон склеивания для ИЛИ", "soxиyszилиsono_xиyszравноy"},
    {"Закон склеивания для И", "soxилиyszиsono_xилиyszравноy"},
    {"Операция переменной с её инверсией для ИЛИ", "xилиno_xравноодин", "no_xилиxравноодин"},
    {"Операция переменной с её инверсией для И", "xиno_xравноноль", "no_xиxравноноль"},
    {"Операция для ИЛИ с константой 0", "xилинольравноx", "нольилиxравноx"},
    {"Операция для ИЛИ с константой 1", "xилиодинравноодин", "одинилиxравноодин"},
    {"Операция для И с константой 0", "xинольравноноль", "нольиxравноноль"},
    {"Операция для И с константой 1", "xиодинравноx", "одиниxравноx"},
    {"Закон двойного отрицания", "no_no_xравноx", "xравноno_no_x"},
    {"Запишите импликацию как отрицание и дизъюнкцию", "ximpyравноno_xилиy", "ximpyравноyилиno_x"},
    {"Запишите эквиваленцию как отрицание, дизъюнкцию и конъюнкцию",
     "xekvyравноsono_xилиyszиsono_yилиxsz", "xekvyравноsono_xилиyszиsoxилиno_ysz"},
}};

inline constexpr int kLawCount = static_cast<int>(kLaws.size());

// Law n, n = 1 … kLawCount.
constexpr const Law& law(int n) {
    return kLaws[static_cast<std::size_t>(n - 1)];
}

// A law's key taken apart at its "=".
struct LawSides {
    std::vector<Glyph> left;  // the left-hand side with the "=" that ends it
    std::vector<Glyph> right; // what follows the "="
    std::string rightKey;     // the right-hand side as a formula key
};

// Law n's sides, n = 1 … kLawCount; worked out once from its key.
const LawSides& lawSides(int n);

// Whether a key answers law n (1 … kLawCount): in trainer mode the right-hand side alone (the
// drawn left side carries no tags), in test mode the whole law in either of its forms.
bool acceptsAnswer(int n, Mode mode, std::string_view key);
