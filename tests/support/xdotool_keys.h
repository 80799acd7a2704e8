// What a pupil types, as xdotool key names: each palette symbol's keys (README, "Keyboard") and
// a whole answer, right or wrong. For the end-to-end tests that drive the real program.
#pragma once

#include "core/mode.h"
#include "support/law_keys.h"

#include <QPoint>
#include <QStringList>
#include <algorithm>
#include <cstdint>
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

// The keys of each of law_keys::kTags in turn.
inline const QStringList kTagKeys =
    QStringLiteral("x|y|z|exclam x|exclam y|exclam exclam x|v|asterisk|exclam v|exclam asterisk|"
                   "greater|asciitilde|parenleft|parenright|equal|0|1")
        .split('|');

inline QStringList keysOf(std::string_view tag) {
    const auto at = std::find(law_keys::kTags.begin(), law_keys::kTags.end(), tag);
    return kTagKeys.at(at - law_keys::kTags.begin()).split(' ');
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
