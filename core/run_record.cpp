#include "core/run_record.h"

#include "core/form.h"
#include "core/laws.h"
#include "core/symbols.h"

#include <algorithm>

int RunRecord::rightCount() const {
    return static_cast<int>(
        std::ranges::count_if(answers, [](const Answer& a) { return a.right; }));
}

std::string_view modeWord(Mode m) {
    return m == Mode::test ? "test" : "trainer";
}

std::string_view modeShown(Mode m) {
    return m == Mode::test ? "Тест" : "Тренажёр";
}

std::string_view endingWord(RunEnding e) {
    switch (e) {
    case RunEnding::going:
        return "going";
    case RunEnding::finished:
        return "finished";
    case RunEnding::restarted:
        return "restarted";
    case RunEnding::modeChanged:
        return "mode-changed";
    case RunEnding::closed:
        return "closed";
    case RunEnding::cutShort:
        return "cut-short";
    }
    return "going";
}

std::string_view endingShown(RunEnding e) {
    switch (e) {
    case RunEnding::going:
        return "идёт";
    case RunEnding::finished:
        return "пройден до конца";
    case RunEnding::restarted:
        return "начат заново (Старт)";
    case RunEnding::modeChanged:
        return "сменён режим";
    case RunEnding::closed:
        return "окно закрыто";
    case RunEnding::cutShort:
        return "прерван (не закрыт)";
    }
    return "";
}

// Symbols apart by a blank, except inside brackets: "(x ∨ y) • z".
std::string keyText(std::string_view key) {
    const auto glyphs = splitKey(key);
    if (!glyphs) return std::string(key);
    std::string text;
    Glyph before = Glyph::openBracket;
    for (Glyph g : *glyphs) {
        if (!text.empty() && before != Glyph::openBracket && g != Glyph::closeBracket) text += ' ';
        text += symbolOf(g).sign;
        before = g;
    }
    return text;
}

std::vector<ReviewRow> reviewRows(const RunRecord& run) {
    std::vector<ReviewRow> rows;
    const bool showAccepted = run.ending == RunEnding::finished;
    for (const Answer& a : run.answers) {
        ReviewRow row;
        row.number = a.law;
        const bool known = a.law >= 1 && a.law <= kLawCount;
        row.lawName = known ? law(a.law).name : "";
        row.answer = a.key.empty() ? "(пусто)" : keyText(a.key);
        row.verdict = a.right ? kVerdictRight : kVerdictWrong;
        if (showAccepted && !a.right && known)
            row.accepted = keyText(run.mode == Mode::test ? std::string(law(a.law).key)
                                                          : lawSides(a.law).rightKey);
        rows.push_back(std::move(row));
    }
    return rows;
}
