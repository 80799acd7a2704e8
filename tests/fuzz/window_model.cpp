#include "window_model.h"

#include "support/law_keys.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace fuzz {
namespace {

constexpr int kLastQuestion = kLawCount + 2; // the press after the last answer stops here
constexpr int kFirstSmallName = 22;          // the two long names at the end are set smaller
constexpr int kHintCeiling = std::numeric_limits<std::int16_t>::max();

const Law& lawAt(int n) {
    return kLaws[static_cast<std::size_t>(n - 1)];
}

bool isLaw(int n) {
    return n >= 1 && n <= kLawCount;
}

// Law n's tags left of "=" (the "=" included) or right of it.
std::vector<std::string_view> side(int law, bool left) {
    const auto tags = law_keys::lawTags(law);
    const auto cut = tags.begin() + law_keys::leftSideLength(law);
    return left ? std::vector<std::string_view>(tags.begin(), cut)
                : std::vector<std::string_view>(cut, tags.end());
}

std::string joined(const std::vector<std::string_view>& tags) {
    std::string key;
    for (std::string_view t : tags)
        key += t;
    return key;
}

} // namespace

void WindowModel::showCounts(int question, int right, int wrong) {
    w_.questionShown = std::to_string(question);
    w_.rightShown = std::to_string(right);
    w_.wrongShown = std::to_string(wrong);
}

void WindowModel::clearRow() {
    w_.slots.fill({Picture::Ink::blank, {}, {}});
    w_.verdict.clear();
}

// Pictures without tags: the drawn side never counts in the formula key.
void WindowModel::drawLeftSide(int law) {
    int k = 1;
    for (std::string_view t : side(law, true))
        slot(k++) = {Picture::Ink::blue, std::string(t), {}};
}

void WindowModel::load() {
    showMode(Mode::trainer);
    w_.prompt = kStartPrompt;
    w_.promptColoured = true;
}

bool WindowModel::selectMode(Mode m) {
    if (m == w_.mode) return false;
    showMode(m);
    return true;
}

// The run ends: until the next Start the window is as before the first one, with no question
// to judge, count, clear back to or hint. The board and the counts go back to how a run begins;
// the answers counted and the hint presses stay as they were, and so does the name's size.
void WindowModel::showMode(Mode m) {
    w_.mode = m;
    w_.runGoing = false;
    w_.question = 0;
    w_.hintButtonVisible = m == Mode::trainer;
    w_.promptVisible = true;
    clearRow();
    w_.lawName = w_.lawNamesLoaded ? std::string(lawAt(1).name) : std::string();
    showCounts(1, 0, 0);
}

void WindowModel::start() {
    clearRow();
    w_.runGoing = true;
    w_.lawNamesLoaded = true;
    w_.question = 1;
    w_.rightCount = w_.wrongCount = 0;
    w_.hintPresses = 0;
    w_.checksSinceStart = 0;
    ++w_.starts;
    w_.startedIn = w_.mode;
    w_.lawName = lawAt(1).name;
    w_.lawNamePt = kNamePt; // whatever size the last run ended in
    showCounts(1, 0, 0);
    if (w_.mode == Mode::trainer) drawLeftSide(1);
    w_.promptVisible = false;
    w_.instructionsVisible = true;
}

bool WindowModel::accepted(int law, const std::string& key) const {
    if (w_.mode == Mode::trainer) return key == joined(side(law, false));
    const Law& l = lawAt(law);
    return key == l.key || (!l.otherForm.empty() && key == l.otherForm);
}

// The row is read, the answer judged against the law on screen at the press, and the next law
// shown; after the 23rd answer the test is over and further presses count nothing.
void WindowModel::check() {
    w_.instructionsVisible = false;
    if (!w_.runGoing) return;
    ++w_.checksSinceStart;
    w_.checkedKey.clear();
    for (const ExpectedSlot& s : w_.slots)
        w_.checkedKey += s.tag;
    const int answered = w_.question;
    const int next = answered + 1;
    w_.question = std::min(next, kLastQuestion);
    if (isLaw(next)) {
        w_.lawName = lawAt(next).name;
        w_.questionShown = std::to_string(next);
        if (w_.mode == Mode::test) w_.lawNamePt = kNamePt;
        if (next >= kFirstSmallName) w_.lawNamePt = kSmallNamePt;
        if (w_.mode == Mode::trainer) {
            clearRow();
            drawLeftSide(next);
        }
    } else {
        w_.lawName = kEndMessage;
        w_.questionShown = std::to_string(kLawCount);
        w_.lawNamePt = kNamePt;
    }
    if (isLaw(answered)) {
        const bool right = accepted(answered, w_.checkedKey);
        ++(right ? w_.rightCount : w_.wrongCount);
        w_.verdict = right ? kVerdictRight : kVerdictWrong;
    } else {
        w_.verdict.clear();
    }
    w_.rightShown = std::to_string(w_.rightCount);
    w_.wrongShown = std::to_string(w_.wrongCount);
}

void WindowModel::clear() {
    if (w_.mode == Mode::test) {
        clearRow();
        return;
    }
    // The trainer keeps the drawn left-hand side of the question shown, and the verdict.
    if (!isLaw(w_.question)) return;
    for (int k = law_keys::leftSideLength(w_.question) + 1; k <= kSlotCount; ++k)
        slot(k) = {Picture::Ink::blank, {}, {}};
}

// Each press draws the same red pictures over the right-hand side, leaving every tag as it is.
void WindowModel::hints(int presses) {
    if (presses <= 0) return;
    if (w_.question > 2) w_.instructionsVisible = false;
    w_.hintPresses = std::min(kHintCeiling, w_.hintPresses + presses);
    if (!isLaw(w_.question)) return;
    int k = law_keys::leftSideLength(w_.question) + 1;
    for (std::string_view t : side(w_.question, false)) {
        ExpectedSlot& s = slot(k++);
        s.ink = Picture::Ink::red;
        s.drawn = t;
    }
}

bool WindowModel::drop(int k, std::string_view tag) {
    if (k < 1 || k > kSlotCount || !law_keys::isTag(tag)) return false;
    slot(k) = {Picture::Ink::blue, std::string(tag), std::string(tag)};
    return true;
}

} // namespace fuzz
