#include "core/run_record.h"

#include "core/laws.h"

#include <algorithm>

int RunRecord::questionCount() const {
    return asked.empty() ? kLawCount : static_cast<int>(asked.size());
}

int RunRecord::rightCount() const {
    return static_cast<int>(
        std::ranges::count_if(answers, [](const Answer& a) { return a.right; }));
}

int RunRecord::mark() const {
    return mode == Mode::test && completed() ? markFor(rightCount(), questionCount(), marks) : 0;
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
    case RunEnding::timeUp:
        return "time-up";
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
    case RunEnding::timeUp:
        return "время вышло";
    }
    return "";
}
