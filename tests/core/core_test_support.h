// Shared helpers of the core tests: the symbol vocabulary as the pupil sees it, a key splitter,
// ready-made windows and a readable difference of two states.
#pragma once

#include "app/form1.h"
#include "laws/law_catalogue.h"
#include "support/law_keys.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace core_test {

using Tags = std::vector<std::string>;

inline constexpr int kTrainer = 0;
inline constexpr int kTest = 1;

// The 17 palette symbols: tag, palette control ImageN, drawing, and the hidden red control that
// draws the same glyph (0 where the window has no red twin).
struct SymbolFact {
    std::string_view tag;
    int paletteImage;
    Glyph glyph;
    int redImage;
};
inline constexpr std::array<SymbolFact, 17> kSymbols{{
    {"x", 1, Glyph::x, 38},
    {"y", 8, Glyph::y, 39},
    {"z", 13, Glyph::z, 44},
    {"no_x", 2, Glyph::no_x, 45},
    {"no_y", 9, Glyph::no_y, 46},
    {"no_no_x", 3, Glyph::no_no_x, 0},
    {"или", 4, Glyph::ili, 40},
    {"и", 11, Glyph::i, 41},
    {"no_ili", 14, Glyph::no_ili, 0},
    {"no_i", 15, Glyph::no_i, 0},
    {"imp", 35, Glyph::imp, 0},
    {"ekv", 36, Glyph::ekv, 0},
    {"so", 10, Glyph::so, 42},
    {"sz", 12, Glyph::sz, 43},
    {"равно", 7, Glyph::ravno, 0},
    {"ноль", 6, Glyph::nol, 48},
    {"один", 5, Glyph::odin, 47},
}};

// The same 17 tags, in the same order, as the plain list the fuzzer and benchmarks use.
static_assert([] {
    for (std::size_t i = 0; i < kSymbols.size(); ++i)
        if (kSymbols[i].tag != law_keys::kTags[i]) return false;
    return kSymbols.size() == law_keys::kTags.size();
}());

inline const SymbolFact& symbol(std::string_view tag) {
    for (const SymbolFact& s : kSymbols)
        if (s.tag == tag) return s;
    static const SymbolFact none{"", 0, Glyph::x, 0};
    return none;
}

// Splits a formula key into tags, longest matching tag first; nullopt if some part is no tag.
inline std::optional<Tags> splitKey(std::string_view key) {
    const auto tags = law_keys::splitKey(key);
    if (!tags) return std::nullopt;
    return Tags(tags->begin(), tags->end());
}

inline std::string joinTags(const Tags& tags) {
    std::string key;
    for (const std::string& t : tags)
        key += t;
    return key;
}

inline Tags lawTags(int law) {
    return *splitKey(kLaws[static_cast<std::size_t>(law - 1)].key);
}

// The law's left-hand side up to and including "равно", and what follows it.
inline Tags leftSideTags(int law) {
    Tags t = lawTags(law);
    t.erase(std::find(t.begin(), t.end(), "равно") + 1, t.end());
    return t;
}
inline Tags rightSideTags(int law) {
    Tags t = lawTags(law);
    t.erase(t.begin(), std::find(t.begin(), t.end(), "равно") + 1);
    return t;
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

inline std::string lawName(int law) {
    return std::string(kLaws[static_cast<std::size_t>(law - 1)].name);
}

// A window after its load handler, with a constant seed for the instruction colour.
inline Form1 loadedForm(std::uint64_t seed = 7) {
    Form1 f;
    f.clockSeed = [seed] { return seed; };
    f.Form_Load();
    return f;
}

inline Form1 startedForm(int mode, std::uint64_t seed = 7) {
    Form1 f = loadedForm(seed);
    f.SelectOption1(mode);
    f.Cmd3_Start_Click();
    return f;
}

// Presses Check on whatever the row holds until the given question is shown.
inline void advanceTo(Form1& f, int question) {
    while (f.state.questionNumber < question)
        f.Command1_Click();
}

// Drops tags[i] on slot places[i] (slot k is control Image(15 + k)).
inline void dropAt(Form1& f, const Tags& tags, const std::vector<int>& places) {
    for (std::size_t i = 0; i < tags.size(); ++i)
        f.Image_DragDrop(kFirstSlotImage - 1 + places[i], tags[i]);
}

inline void dropFrom(Form1& f, const Tags& tags, int firstSlot) {
    for (std::size_t i = 0; i < tags.size(); ++i)
        f.Image_DragDrop(kFirstSlotImage - 1 + firstSlot + static_cast<int>(i), tags[i]);
}

// The row as the trainer draws a law: its left-hand side as blue pictures without tags, the
// rest blank.
inline std::array<Slot, kSlotCount> predrawnRow(int law) {
    std::array<Slot, kSlotCount> row;
    row.fill(Slot{Picture::blank(), ""});
    const Tags lhs = leftSideTags(law);
    for (std::size_t i = 0; i < lhs.size(); ++i)
        row[i].picture = palettePicture(symbol(lhs[i]).paletteImage);
    return row;
}

inline QString q(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

inline QString describe(const Picture& p) {
    static constexpr std::array<const char*, 4> inks{"none", "blank", "blue", "red"};
    QString s = QString::fromLatin1(inks[static_cast<std::size_t>(p.ink)]);
    if (p.showsGlyph()) s += QLatin1Char(' ') + q(glyphFileStem(p.glyph));
    return s;
}

// The fields in which two states differ, for failure messages.
inline QString stateDiff(const FormState& a, const FormState& b) {
    QStringList d;
    auto field = [&](const char* name, bool same) {
        if (!same) d << QString::fromLatin1(name);
    };
    field("workMode", a.workMode == b.workMode);
    field("runStarted", a.runStarted == b.runStarted);
    field("questionNumber", a.questionNumber == b.questionNumber);
    field("lawCursor", a.lawCursor == b.lawCursor);
    field("rightCount", a.rightCount == b.rightCount);
    field("wrongCount", a.wrongCount == b.wrongCount);
    field("hintPresses", a.hintPresses == b.hintPresses);
    field("formulaKey", a.formulaKey == b.formulaKey);
    field("lawTable", a.lawTable == b.lawTable);
    for (int k = 1; k <= kSlotCount; ++k) {
        const Slot &x = slotAt(a, k), &y = slotAt(b, k);
        if (!(x == y))
            d << QStringLiteral("slot %1 (%2 '%3' vs %4 '%5')")
                     .arg(k)
                     .arg(describe(x.picture), q(x.tag), describe(y.picture), q(y.tag));
    }
    field("option1", a.option1 == b.option1);
    field("label2", a.label2 == b.label2);
    field("label3", a.label3 == b.label3);
    field("label4", a.label4 == b.label4);
    field("label5", a.label5 == b.label5);
    field("label6", a.label6 == b.label6);
    field("label9", a.label9 == b.label9);
    field("text1", a.text1 == b.text1);
    field("label2FontPt", a.label2FontPt == b.label2FontPt);
    field("label6Visible", a.label6Visible == b.label6Visible);
    field("label9Visible", a.label9Visible == b.label9Visible);
    field("label6BackColor", a.label6BackColor == b.label6BackColor);
    field("label9BackColor", a.label9BackColor == b.label9BackColor);
    field("command3Visible", a.command3Visible == b.command3Visible);
    field("command3Enabled", a.command3Enabled == b.command3Enabled);
    return QStringLiteral("states differ in: ") + d.join(QStringLiteral(", "));
}

} // namespace core_test

#define COMPARE_STATES(actual, expected)                                                           \
    QVERIFY2((actual) == (expected), qPrintable(core_test::stateDiff((actual), (expected))))
