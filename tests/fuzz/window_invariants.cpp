// The invariants checked after every event: the window against the model, plus the ranges and
// sums that must hold whatever the model says.
#include "window_model.h"

#include "laws/law_catalogue.h"
#include "support/law_keys.h"

#include <algorithm>

namespace fuzz {
namespace {

constexpr int kMaxAnswers = kLawCount;

std::string counters(int q, int cursor, int right, int wrong, int hints) {
    return "question " + std::to_string(q) + ", cursor " + std::to_string(cursor) + ", right " +
           std::to_string(right) + ", wrong " + std::to_string(wrong) + ", hints " +
           std::to_string(hints);
}

std::string quoted(const std::string& s) {
    return "\"" + s + "\"";
}

bool isQuestionShown(const std::string& label) {
    if (label.empty() || label.size() > 2 || label[0] == '0') return false;
    if (!std::all_of(label.begin(), label.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const int n = std::stoi(label);
    return n >= 1 && n <= kLawCount;
}

// A slot with a tag shows its symbol in blue, or a red hint picture drawn over it.
bool showsItsTag(const Slot& slot) {
    if (slot.picture.ink == Picture::Ink::red) return true;
    for (const SymbolRow& row : kVocabulary)
        if (row.tag == slot.tag) return slot.picture == Picture::blue(row.glyph);
    return false;
}

std::string rangesBroken(const FormState& s, const ExpectedWindow& e) {
    if (s.questionNumber < 0 || s.questionNumber > kLawCount + 2)
        return "question number out of range";
    if (s.lawCursor < -1 || s.lawCursor > 2 * (kLawCount + 2) - 3) return "law cursor out of range";
    if (s.hintPresses < 0) return "hint counter wrapped";
    if (s.rightCount < 0 || s.wrongCount < 0) return "a count went negative";
    if (s.rightCount + s.wrongCount > kMaxAnswers) return "more than 23 answers counted";
    if (s.runStarted && s.rightCount + s.wrongCount != std::min(e.checksSinceStart, kMaxAnswers))
        return "counts do not add up to the answers given since Start (" +
               std::to_string(e.checksSinceStart) + " checks)";
    if (!isQuestionShown(s.label3)) return "question label shows " + quoted(s.label3);
    return {};
}

std::string runBroken(const FormState& s, const ExpectedWindow& e) {
    if (s.option1 != e.option1) return "another option is selected";
    if (s.workMode != e.workMode) return "work mode is " + std::to_string(s.workMode);
    if (s.command3Visible != e.command3Visible) return "hint button visibility is wrong";
    if (s.runStarted != e.runStarted) return "run started flag is wrong";
    if (s.questionNumber != e.questionNumber || s.lawCursor != e.lawCursor ||
        s.rightCount != e.rightCount || s.wrongCount != e.wrongCount ||
        s.hintPresses != e.hintPresses)
        return "counters differ from the events; expected " +
               counters(e.questionNumber, e.lawCursor, e.rightCount, e.wrongCount, e.hintPresses);
    if (s.label3 != e.label3)
        return "question label shows " + quoted(s.label3) + ", not " + quoted(e.label3);
    if (s.label4 != e.label4 || s.label5 != e.label5)
        return "counts shown " + quoted(s.label4) + "/" + quoted(s.label5) + ", not " +
               quoted(e.label4) + "/" + quoted(e.label5);
    if (s.text1 != e.text1) return "verdict " + quoted(s.text1) + ", not " + quoted(e.text1);
    return {};
}

std::string rowBroken(const Form1& form, const ExpectedWindow& e) {
    const FormState& s = form.state;
    std::string joined;
    for (int k = 1; k <= kSlotCount; ++k) {
        const Slot& slot = slotAt(s, k);
        const std::string& expected = e.tags[static_cast<std::size_t>(k - 1)];
        const auto where = [k] { return "slot " + std::to_string(k) + " "; };
        if (!slot.tag.empty() && !law_keys::isTag(slot.tag))
            return where() + "holds the foreign tag " + quoted(slot.tag);
        if (slot.tag != expected)
            return where() + "holds " + quoted(slot.tag) + ", not " + quoted(expected);
        if (!slot.tag.empty() && !showsItsTag(slot))
            return where() + "shows another picture than its tag " + quoted(slot.tag);
        joined += slot.tag;
    }
    if (form.FormulaKey() != joined)
        return "FormulaKey() " + quoted(form.FormulaKey()) + " is not the row " + quoted(joined);
    if (s.formulaKey != e.formulaKey)
        return "stored formula key " + quoted(s.formulaKey) + " is not the row at the last " +
               "Check " + quoted(e.formulaKey);
    return {};
}

} // namespace

std::string brokenInvariant(const Form1& form, const WindowModel& model) {
    const FormState& s = form.state;
    const ExpectedWindow& e = model.expected();
    std::string broken = rangesBroken(s, e);
    if (broken.empty()) broken = runBroken(s, e);
    if (broken.empty()) broken = rowBroken(form, e);
    if (broken.empty()) return {};
    return broken + " [window: " +
           counters(s.questionNumber, s.lawCursor, s.rightCount, s.wrongCount, s.hintPresses) + "]";
}

} // namespace fuzz
