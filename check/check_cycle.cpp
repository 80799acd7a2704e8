// The Check button and the cycle both checkers run: key, advance, next question, verdict, score.
#include "app/form1.h"
#include "check/accepted_keys.h"

#include <string>

namespace {
constexpr int kNextQuestionBound = 24; // a next question exists while questionNumber < 24
constexpr int kCountedBound = 25;      // an answer counts while questionNumber < 25
constexpr int kSmallNameFrom = 22;
} // namespace

int lawJudgedAt(int lawCursor) {
    if (lawCursor < 1 || lawCursor > 2 * kLawCount - 1 || lawCursor % 2 == 0) return 0;
    return (lawCursor + 1) / 2;
}

void Form1::Command1_Click() {
    if (state.workMode == 0)
        CheckRightSide();
    else if (state.workMode == 1)
        CheckWholeFormula();
    state.label9Visible = false;
}

void Form1::RunCheckCycle(const CheckerSteps& steps) {
    if (!state.runStarted) return;
    state.formulaKey = FormulaKey();
    state.text1.clear();
    // Once the test is over the counters stop where they are: further presses behave alike,
    // and the counters can neither wrap nor lead the name look-up past the table.
    if (state.questionNumber < kCountedBound) {
        state.lawCursor = static_cast<std::int16_t>(state.lawCursor + 2);
        state.questionNumber = static_cast<std::int16_t>(state.questionNumber + 1);
    }
    const int nextName = state.lawCursor + 2;
    state.label2 = nextName >= 0 && nextName < kLawTableSize
                       ? state.lawTable[static_cast<std::size_t>(nextName)]
                       : std::string();
    if (state.questionNumber < kNextQuestionBound) {
        state.label3 = std::to_string(state.questionNumber);
        (this->*steps.fontRule)();
    } else {
        state.label3 = std::to_string(kLawCount);
        state.label2FontPt = kNormalNamePt;
        state.label2 = kEndMessage;
    }
    (this->*steps.prepareNextQuestion)();
    const int law = lawJudgedAt(state.lawCursor);
    const bool accepted = law != 0 && (this->*steps.accepts)(law);
    state.text1 = accepted ? kVerdictRight : kVerdictWrong;
    if (state.questionNumber < kCountedBound) {
        if (state.text1 == kVerdictRight)
            ++state.rightCount;
        else
            ++state.wrongCount;
    } else {
        state.label2 = kEndMessage;
        state.label3 = std::to_string(kLawCount);
        state.text1.clear();
    }
    state.label4 = std::to_string(state.rightCount);
    state.label5 = std::to_string(state.wrongCount);
}

void Form1::TrainerFontRule() {
    if (state.questionNumber >= kSmallNameFrom) state.label2FontPt = kSmallNamePt;
}

void Form1::TestFontRule() {
    state.label2FontPt = kNormalNamePt;
    if (state.questionNumber >= kSmallNameFrom) state.label2FontPt = kSmallNamePt;
}
