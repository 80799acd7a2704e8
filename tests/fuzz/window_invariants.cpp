// The invariants checked after every event: the window against the model, plus the ranges and
// sums that must hold whatever the model says.
#include "window_model.h"

#include "support/law_keys.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace fuzz {
namespace {

constexpr int kMaxAnswers = kLawCount;
constexpr int kLastQuestion = kLawCount + 2;
constexpr std::uint32_t kBlackRgb = 0x000000, kWhiteRgb = 0xFFFFFF;
constexpr double kLeastReadableContrast = 4.5; // WCAG AA for body text

// Relative luminance of an sRGB colour (WCAG 2.x, with the sRGB standard's 0.04045 knee: no
// 8-bit channel value lies between it and the older 0.03928). The channels are linearised once:
// the check runs after every event.
double relativeLuminance(std::uint32_t rgb) {
    static const std::array<double, 256> linear = [] {
        std::array<double, 256> table{};
        for (std::size_t byte = 0; byte < table.size(); ++byte) {
            const double v = static_cast<double>(byte) / 255.0;
            table[byte] = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        }
        return table;
    }();
    return 0.2126 * linear[rgb >> 16 & 0xFFu] + 0.7152 * linear[rgb >> 8 & 0xFFu] +
           0.0722 * linear[rgb & 0xFFu];
}

double contrast(std::uint32_t a, std::uint32_t b) {
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::string hexRgb(std::uint32_t rgb) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string text = "#";
    for (int shift = 20; shift >= 0; shift -= 4)
        text += hex[rgb >> shift & 0xFu];
    return text;
}

std::string counters(int q, int right, int wrong, int hints) {
    return "question " + std::to_string(q) + ", right " + std::to_string(right) + ", wrong " +
           std::to_string(wrong) + ", hints " + std::to_string(hints);
}

std::string quoted(const std::string& s) {
    return "\"" + s + "\"";
}

std::string yesNo(bool b) {
    return b ? "yes" : "no";
}

bool isQuestionShown(const std::string& label) {
    if (label.empty() || label.size() > 2 || label[0] == '0') return false;
    if (!std::all_of(label.begin(), label.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const int n = std::stoi(label);
    return n >= 1 && n <= kLawCount;
}

// The tag of the symbol a picture draws; empty for a blank or no picture, "?" for a glyph that
// names no symbol.
std::string drawnTag(const Picture& p) {
    if (!p.showsGlyph()) return {};
    const auto g = static_cast<std::size_t>(p.glyph);
    return g < kSymbols.size() ? std::string(kSymbols[g].tag) : "?";
}

std::string shown(Picture::Ink ink, const std::string& tag) {
    static constexpr const char* kInks[] = {"no picture", "blank", "blue", "red"};
    const auto i = static_cast<std::size_t>(ink);
    std::string text = i < std::size(kInks) ? kInks[i] : "bad ink";
    if (!tag.empty()) text.append(" \"").append(tag).append("\"");
    return text;
}

std::string rangesBroken(const FormState& s, const ExpectedWindow& e) {
    if (s.question < 0 || s.question > kLastQuestion) return "question number out of range";
    if (s.runGoing != (s.question != 0))
        return s.runGoing ? "a run going on question 0" : "a question asked with no run going";
    if (s.hintPresses < 0) return "hint counter wrapped";
    if (s.rightCount < 0 || s.wrongCount < 0) return "a count went negative";
    if (s.rightCount + s.wrongCount > kMaxAnswers) return "more than 23 answers counted";
    if (s.runGoing && s.rightCount + s.wrongCount != std::min(e.checksSinceStart, kMaxAnswers))
        return "counts do not add up to the answers given since Start (" +
               std::to_string(e.checksSinceStart) + " checks)";
    if (!isQuestionShown(s.questionShown)) return "question label shows " + quoted(s.questionShown);
    if (s.lawNamePt != kNamePt && s.lawNamePt != kSmallNamePt) return "law name in a third size";
    return {};
}

std::string runBroken(const FormState& s, const ExpectedWindow& e) {
    if (s.mode != e.mode) return e.mode == Mode::trainer ? "in test mode" : "in trainer mode";
    if (s.hintButtonVisible != e.hintButtonVisible)
        return "hint button shown: " + yesNo(s.hintButtonVisible);
    if (s.runGoing != e.runGoing) return "run going: " + yesNo(s.runGoing);
    if (s.lawNamesLoaded != e.lawNamesLoaded) return "law names loaded: " + yesNo(s.lawNamesLoaded);
    if (s.question != e.question || s.rightCount != e.rightCount || s.wrongCount != e.wrongCount ||
        s.hintPresses != e.hintPresses)
        return "counters differ from the events; expected " +
               counters(e.question, e.rightCount, e.wrongCount, e.hintPresses);
    return {};
}

// The instructions' text is black until the first Start; from then on black or white, whichever
// contrasts more with the back colour that Start drew (either one on an exact tie).
std::string inkBroken(const FormState& s, const ExpectedWindow& e) {
    const Colour ink = s.instructionsInk;
    const bool blackOrWhite =
        ink.role == Colour::Role::rgb && (ink.rgb == kBlackRgb || ink.rgb == kWhiteRgb);
    if (!blackOrWhite)
        return "instructions in ink " + hexRgb(ink.rgb) + ", neither black nor white";
    if (e.starts == 0) return ink.rgb == kBlackRgb ? "" : "instructions in white before Start";
    const std::uint32_t back = s.instructionsBack.rgb;
    const std::uint32_t other = ink.rgb == kBlackRgb ? kWhiteRgb : kBlackRgb;
    const double chosen = contrast(ink.rgb, back), missed = contrast(other, back);
    const auto on = [&] {
        return " on " + hexRgb(back) + " (" + std::to_string(chosen) + " against " +
               std::to_string(missed) + ")";
    };
    if (chosen < missed)
        return "instructions in " + hexRgb(ink.rgb) + ", the less readable ink" + on();
    if (chosen < kLeastReadableContrast) return "instructions hard to read" + on();
    return {};
}

std::string shownBroken(const FormState& s, const ExpectedWindow& e) {
    if (s.questionShown != e.questionShown)
        return "question label shows " + quoted(s.questionShown) + ", not " +
               quoted(e.questionShown);
    if (s.rightShown != e.rightShown || s.wrongShown != e.wrongShown)
        return "counts shown " + quoted(s.rightShown) + "/" + quoted(s.wrongShown) + ", not " +
               quoted(e.rightShown) + "/" + quoted(e.wrongShown);
    if (s.verdict != e.verdict)
        return "verdict " + quoted(s.verdict) + ", not " + quoted(e.verdict);
    if (s.lawName != e.lawName)
        return "law name " + quoted(s.lawName) + ", not " + quoted(e.lawName);
    if (s.lawNamePt != e.lawNamePt)
        return "law name in " + std::to_string(s.lawNamePt) + " pt, not " +
               std::to_string(e.lawNamePt);
    if (s.prompt != e.prompt) return "prompt " + quoted(s.prompt);
    if (s.promptVisible != e.promptVisible) return "prompt shown: " + yesNo(s.promptVisible);
    if (s.promptBack != (e.promptColoured ? kPromptColour : Colour::buttonFace()))
        return "prompt in the wrong colour";
    if (s.instructionsVisible != e.instructionsVisible)
        return "instructions shown: " + yesNo(s.instructionsVisible);
    // The instructions are those of the mode of the last Start: only the trainer's name the
    // hint button. Their colour is drawn at random at each Start, from the desktop's before.
    if ((e.starts == 0) != s.instructions.empty()) return "instructions " + quoted(s.instructions);
    const bool namesHint = s.instructions.find("Подсказка") != std::string::npos;
    if (e.starts > 0 && namesHint != (e.startedIn == Mode::trainer))
        return "instructions of the other mode: " + quoted(s.instructions);
    if (s.instructionsBack.role != (e.starts == 0 ? Colour::Role::light : Colour::Role::rgb))
        return "instructions in the wrong kind of colour";
    return inkBroken(s, e);
}

std::string rowBroken(const Form& form, const ExpectedWindow& e) {
    const FormState& s = form.state;
    std::string joined;
    for (int k = 1; k <= kSlotCount; ++k) {
        const Slot& slot = s.slot(k);
        const ExpectedSlot& expected = e.slots[static_cast<std::size_t>(k - 1)];
        const auto where = [k] { return "slot " + std::to_string(k) + " "; };
        if (!slot.tag.empty() && !law_keys::isTag(slot.tag))
            return where() + "holds the foreign tag " + quoted(slot.tag);
        if (slot.tag != expected.tag)
            return where() + "holds " + quoted(slot.tag) + ", not " + quoted(expected.tag);
        if (slot.picture.ink != expected.ink || drawnTag(slot.picture) != expected.drawn)
            return where() + "shows " + shown(slot.picture.ink, drawnTag(slot.picture)) + ", not " +
                   shown(expected.ink, expected.drawn);
        // A symbol the pupil dropped shows in blue, unless a hint was drawn over it.
        if (!slot.tag.empty() && slot.picture.ink != Picture::Ink::red &&
            drawnTag(slot.picture) != slot.tag)
            return where() + "shows another picture than its tag " + quoted(slot.tag);
        joined += slot.tag;
    }
    if (form.formulaKey() != joined)
        return "formulaKey() " + quoted(form.formulaKey()) + " is not the row " + quoted(joined);
    if (s.checkedKey != e.checkedKey)
        return "checked key " + quoted(s.checkedKey) + " is not the row at the last Check " +
               quoted(e.checkedKey);
    return {};
}

// The run's record agrees with the counts: one answer per counted check, in question order,
// the last one the key the last Check read; ended as soon as no run is going, finished at 23.
std::string recordBroken(const Form& form, const ExpectedWindow& e) {
    const FormState& s = form.state;
    const RunRecord& run = form.run;
    if (run.number != e.starts)
        return "run record number " + std::to_string(run.number) + " after " +
               std::to_string(e.starts) + " Starts";
    if (e.starts == 0) return run.answers.empty() ? "" : "answers recorded before any Start";
    if (s.runGoing) {
        const int counted = s.rightCount + s.wrongCount;
        if (static_cast<int>(run.answers.size()) != counted)
            return "run record holds " + std::to_string(run.answers.size()) + " answers, " +
                   std::to_string(counted) + " counted";
        if (run.rightCount() != s.rightCount) return "run record's right answers differ";
        for (std::size_t i = 0; i < run.answers.size(); ++i)
            if (run.answers[i].law != static_cast<int>(i) + 1)
                return "answer " + std::to_string(i + 1) + " recorded for law " +
                       std::to_string(run.answers[i].law);
        // Once the test is over a Check reads the row but records nothing.
        const bool lastCheckCounted = s.question <= kMaxAnswers + 1;
        if (lastCheckCounted && !run.answers.empty() && run.answers.back().key != s.checkedKey)
            return "the last recorded answer is not the key the last Check read";
        const bool finished = counted == kMaxAnswers;
        if ((run.ending == RunEnding::finished) != finished ||
            (!finished && run.ending != RunEnding::going))
            return "run going with ending " + std::string(endingWord(run.ending));
    } else if (run.ending == RunEnding::going) {
        return "no run going but its record still open";
    }
    return {};
}

} // namespace

std::string brokenInvariant(const Form& form, const WindowModel& model) {
    const FormState& s = form.state;
    const ExpectedWindow& e = model.expected();
    std::string broken = rangesBroken(s, e);
    if (broken.empty()) broken = runBroken(s, e);
    if (broken.empty()) broken = shownBroken(s, e);
    if (broken.empty()) broken = rowBroken(form, e);
    if (broken.empty()) broken = recordBroken(form, e);
    if (broken.empty()) return {};
    return broken + " [window: " + counters(s.question, s.rightCount, s.wrongCount, s.hintPresses) +
           "]";
}

} // namespace fuzz
