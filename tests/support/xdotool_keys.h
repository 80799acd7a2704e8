// What a pupil types, as xdotool key names: each palette symbol's keys (README, "Keyboard"), from
// the symbol table, and a whole answer, right or wrong. For the end-to-end tests that drive the
// real program.
#pragma once

#include "core/mode.h"
#include "support/law_keys.h"

#include <QPoint>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <map>
#include <string_view>

namespace xdotool_keys {

// A click of the first button at `at` in `window`'s own coordinates.
inline QStringList clickAt(std::uint64_t window, QPoint at) {
    return {"mousemove",
            "--window",
            QString::number(window),
            QString::number(at.x()),
            QString::number(at.y()),
            "click",
            "1"};
}

// The xdotool keys that type a tag, one for each character of its usual keys.
inline QStringList keysOf(std::string_view tag) {
    // X's names of the characters that are no letter or digit.
    static const std::map<char32_t, QString> kNamed{
        {U'!', "exclam"},    {U'*', "asterisk"},   {U'>', "greater"}, {U'~', "asciitilde"},
        {U'(', "parenleft"}, {U')', "parenright"}, {U'=', "equal"}};
    QStringList keys;
    for (char32_t c : law_keys::typedKeys(tag)) {
        const auto named = kNamed.find(c);
        keys << (named != kNamed.end() ? named->second : QString::fromUcs4(&c, 1));
    }
    return keys;
}

// The trainer asks for the right-hand side, the test for the whole law. A wrong answer ends in
// a constant the law does not end in.
inline QStringList answerKeys(Mode mode, int law, bool right) {
    law_keys::Tags tags =
        mode == Mode::test ? law_keys::lawTags(law) : law_keys::rightSideTags(law);
    if (!right) tags.back() = tags.back() == "ноль" ? "один" : "ноль";
    QStringList keys;
    for (std::string_view tag : tags)
        keys += keysOf(tag);
    return keys;
}

} // namespace xdotool_keys
