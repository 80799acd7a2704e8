// Shared helpers of the core tests: ready-made forms, drops of tag lists, the row as the trainer
// draws a law, and a readable difference of two states. The tags and the key splitter come from
// support/law_keys.h, the tests' one list of the vocabulary.
#pragma once

#include "core/form.h"
#include "support/law_keys.h"

#include <QString>
#include <QStringList>

#include <array>
#include <string>
#include <vector>

namespace core_test {

using law_keys::glyphOf;
using law_keys::lawTags;
using law_keys::leftSideTags;
using law_keys::rightSideTags;
using law_keys::Tags;

inline const char* modeName(Mode m) {
    return m == Mode::trainer ? "trainer" : "test";
}

// Splits an expression at its one top-level binary operator and exchanges the operands; empty
// when there is no such operator.
inline Tags operandsExchanged(const Tags& t) {
    int depth = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        depth += (t[i] == "so") - (t[i] == "sz");
        const bool binary = t[i] == "или" || t[i] == "и" || t[i] == "imp" || t[i] == "ekv";
        if (depth == 0 && binary) {
            Tags out(t.begin() + static_cast<long>(i) + 1, t.end());
            out.push_back(t[i]);
            out.insert(out.end(), t.begin(), t.begin() + static_cast<long>(i));
            return out;
        }
    }
    return {};
}

inline std::string lawName(int n) {
    return std::string(law(n).name);
}

// A form after its load handler, with a constant seed for the instruction colour.
inline Form loadedForm(std::uint64_t seed = 7) {
    Form f;
    f.clockSeed = [seed] { return seed; };
    f.load();
    return f;
}

inline Form startedForm(Mode mode, std::uint64_t seed = 7) {
    Form f = loadedForm(seed);
    f.selectMode(mode);
    f.start();
    return f;
}

// Presses Check on whatever the row holds until the given question is asked.
inline void advanceTo(Form& f, int question) {
    while (f.state.question < question)
        f.check();
}

// Drops tags[i] on slot places[i].
inline void dropAt(Form& f, const Tags& tags, const std::vector<int>& places) {
    for (std::size_t i = 0; i < tags.size(); ++i)
        f.drop(places[i], tags[i]);
}

inline void dropFrom(Form& f, const Tags& tags, int firstSlot) {
    for (std::size_t i = 0; i < tags.size(); ++i)
        f.drop(firstSlot + static_cast<int>(i), tags[i]);
}

// The row as the trainer draws a law: its left-hand side as blue pictures without tags, the
// rest blank.
inline std::array<Slot, kSlotCount> predrawnRow(int n) {
    std::array<Slot, kSlotCount> row;
    row.fill(Slot{Picture::blank(), ""});
    const Tags lhs = leftSideTags(n);
    for (std::size_t i = 0; i < lhs.size(); ++i)
        row[i].picture = Picture::blue(glyphOf(lhs[i]));
    return row;
}

inline QString q(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

inline QString describe(const Picture& p) {
    static constexpr std::array<const char*, 4> inks{"none", "blank", "blue", "red"};
    QString s = QString::fromLatin1(inks[static_cast<std::size_t>(p.ink)]);
    if (p.showsGlyph()) s += QLatin1Char(' ') + q(law_keys::tagOf(p.glyph));
    return s;
}

// The fields in which two states differ, for failure messages.
inline QString stateDiff(const FormState& a, const FormState& b) {
    QStringList d;
    auto field = [&](const char* name, bool same) {
        if (!same) d << QString::fromLatin1(name);
    };
    field("mode", a.mode == b.mode);
    field("runGoing", a.runGoing == b.runGoing);
    field("lawNamesLoaded", a.lawNamesLoaded == b.lawNamesLoaded);
    field("question", a.question == b.question);
    field("rightCount", a.rightCount == b.rightCount);
    field("wrongCount", a.wrongCount == b.wrongCount);
    field("hintPresses", a.hintPresses == b.hintPresses);
    field("checkedKey", a.checkedKey == b.checkedKey);
    for (int k = 1; k <= kSlotCount; ++k) {
        const Slot &x = a.slot(k), &y = b.slot(k);
        if (!(x == y))
            d << QStringLiteral("slot %1 (%2 '%3' vs %4 '%5')")
                     .arg(k)
                     .arg(describe(x.picture), q(x.tag), describe(y.picture), q(y.tag));
    }
    field("lawName", a.lawName == b.lawName);
    field("lawNamePt", a.lawNamePt == b.lawNamePt);
    field("questionShown", a.questionShown == b.questionShown);
    field("rightShown", a.rightShown == b.rightShown);
    field("wrongShown", a.wrongShown == b.wrongShown);
    field("prompt", a.prompt == b.prompt);
    field("promptVisible", a.promptVisible == b.promptVisible);
    field("promptBack", a.promptBack == b.promptBack);
    field("instructions", a.instructions == b.instructions);
    field("instructionsVisible", a.instructionsVisible == b.instructionsVisible);
    field("instructionsBack", a.instructionsBack == b.instructionsBack);
    field("verdict", a.verdict == b.verdict);
    field("hintButtonVisible", a.hintButtonVisible == b.hintButtonVisible);
    field("timeLeft", a.timeLeft == b.timeLeft);
    return QStringLiteral("states differ in: ") + d.join(QStringLiteral(", "));
}

} // namespace core_test

#define COMPARE_STATES(actual, expected)                                                           \
    QVERIFY2((actual) == (expected), qPrintable(core_test::stateDiff((actual), (expected))))
