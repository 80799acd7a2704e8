#include "core/review_rows.h"

#include "core/answer_reason.h"
#include "core/laws.h"
#include "core/symbols.h"

#include <algorithm>

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
    const bool showAccepted = run.completed();
    // A test's reasons would give the answers away while it is still being asked.
    const bool showReasons = run.mode == Mode::trainer || run.ending != RunEnding::going;
    int number = 0;
    for (const Answer& a : run.answers) {
        ReviewRow row;
        row.number = ++number;
        row.law = a.law;
        const bool known = a.law >= 1 && a.law <= kLawCount;
        row.lawName = known ? law(a.law).name : "";
        row.answer = a.key.empty() ? "(пусто)" : keyText(a.key);
        row.verdict = a.right ? kVerdictRight : kVerdictWrong;
        if (!a.right && known) {
            if (showAccepted)
                row.accepted = keyText(run.mode == Mode::test ? std::string(law(a.law).key)
                                                              : lawSides(a.law).rightKey);
            if (showReasons) row.reason = whyWrong(a.law, run.mode, a.key);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<int> wrongLaws(const RunRecord& run) {
    std::vector<int> laws;
    if (!run.completed()) return laws;
    for (const Answer& a : run.answers)
        if (!a.right && a.law >= 1 && a.law <= kLawCount) laws.push_back(a.law);
    // Classic algorithms: clang's fuzzing build cannot compile libstdc++'s ranges::unique.
    std::sort(laws.begin(), laws.end());
    laws.erase(std::unique(laws.begin(), laws.end()), laws.end());
    return laws;
}
