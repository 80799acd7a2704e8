#include "window_model.h"

#include "check/accepted_keys.h"
#include "input_events.h"
#include "laws/law_catalogue.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace fuzz {
namespace {

constexpr int kLastCountedQuestion = 24; // the 23rd answer moves the run to question 24
constexpr int kLastQuestion = 25;        // one more Check moves it here, uncounted; then it stays

// What follows "равно" in law n's key: what the trainer accepts.
std::string rightSide(int law) {
    const std::string_view key = kLaws[static_cast<std::size_t>(law - 1)].key;
    return std::string(key.substr(key.find(law_keys::kEquals) + law_keys::kEquals.size()));
}

} // namespace

void WindowModel::showQuestionAndCounts(int question, int right, int wrong) {
    w_.label3 = std::to_string(question);
    w_.label4 = std::to_string(right);
    w_.label5 = std::to_string(wrong);
}

void WindowModel::clearSlots() {
    w_.tags.fill({});
    w_.text1.clear();
}

void WindowModel::load() {
    w_.runStarted = false;
    selectOption(0);
}

void WindowModel::selectOption(int index) {
    if (index != 0 && index != 1) return;
    if (w_.option1[static_cast<std::size_t>(index)]) return;
    w_.option1 = {};
    w_.option1[static_cast<std::size_t>(index)] = true;
    optionClick(index);
}

// A mode change redraws the board and the counts on screen, and leaves the run itself alone.
void WindowModel::optionClick(int index) {
    if (index == 0 || index == 1) w_.workMode = index;
    w_.command3Visible = w_.option1[0];
    clearSlots();
    showQuestionAndCounts(1, 0, 0);
}

void WindowModel::start() {
    clearSlots();
    w_.runStarted = true;
    w_.questionNumber = 1;
    w_.lawCursor = -1;
    w_.rightCount = w_.wrongCount = 0;
    w_.hintPresses = 0;
    w_.checksSinceStart = 0;
    showQuestionAndCounts(1, 0, 0);
}

bool WindowModel::accepted(int law, const std::string& key) const {
    if (w_.workMode == 0) return key == rightSide(law);
    const std::string_view second = alternativeKeys[static_cast<std::size_t>(law - 1)];
    return key == kLaws[static_cast<std::size_t>(law - 1)].key ||
           (!second.empty() && key == second);
}

void WindowModel::check() {
    if (!w_.runStarted) return;
    ++w_.checksSinceStart;
    w_.formulaKey.clear();
    for (const std::string& t : w_.tags)
        w_.formulaKey += t;
    w_.text1.clear();
    if (w_.questionNumber < kLastQuestion) {
        ++w_.questionNumber;
        w_.lawCursor += 2;
    }
    const int q = w_.questionNumber;
    w_.label3 = std::to_string(std::min(q, kLawCount));
    // The trainer draws the next question's left-hand side on an empty row.
    if (w_.workMode == 0 && q >= 2 && q <= kLawCount) clearSlots();
    if (q <= kLastCountedQuestion) {
        const bool right = accepted(q - 1, w_.formulaKey); // the law just answered
        ++(right ? w_.rightCount : w_.wrongCount);
        w_.text1 = right ? kVerdictRight : kVerdictWrong;
    } else {
        w_.text1.clear();
    }
    w_.label4 = std::to_string(w_.rightCount);
    w_.label5 = std::to_string(w_.wrongCount);
}

void WindowModel::clear() {
    if (!w_.option1[0]) {
        clearSlots();
        return;
    }
    // The trainer keeps the drawn left-hand side of the question shown.
    const int q = w_.questionNumber;
    if (q < 1 || q > kLawCount) return;
    for (int k = law_keys::leftSideLength(q) + 1; k <= kSlotCount; ++k)
        w_.tags[static_cast<std::size_t>(k - 1)].clear();
}

void WindowModel::hints(int presses) {
    const int ceiling = std::numeric_limits<std::int16_t>::max();
    w_.hintPresses = std::min(ceiling, w_.hintPresses + presses);
}

void WindowModel::drop(int slotImage, std::string_view tag) {
    const long k = static_cast<long>(slotImage) - kFirstSlotImage + 1;
    if (k < 1 || k > kSlotCount || !law_keys::isTag(tag)) return;
    w_.tags[static_cast<std::size_t>(k - 1)] = tag;
}

} // namespace fuzz
