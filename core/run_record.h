// The record of one run, from its Start to its end: every answer as the pupil wrote it, the law
// it was judged against and the verdict. The review and the journal are both drawn from it.
#pragma once

#include "core/lesson.h"
#include "core/mode.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The verdict on an answer, as the window and the review write it.
inline constexpr std::string_view kVerdictRight = "правильно";
inline constexpr std::string_view kVerdictWrong = "не правильно";

// How a run ended. `going` is a run still asked; a record read back that still says so was
// never closed: the program was killed or the machine lost power (`cutShort`). A timed test
// whose time ran out ends `timeUp`.
enum class RunEnding : std::uint8_t {
    going,
    finished,
    restarted,
    modeChanged,
    closed,
    cutShort,
    timeUp
};

struct Answer {
    int law = 0;           // the law judged, 1 … 23: the one asked at its question
    std::string key;       // the formula key as the check read it
    bool right = false;    // the verdict
    std::int64_t atMs = 0; // when it was checked, milliseconds since 1970 (UTC)
    friend bool operator==(const Answer&, const Answer&) = default;
};

struct RunRecord {
    int number = 0; // the runs started in this window so far; 0: none yet
    Mode mode = Mode::trainer;
    std::int64_t startedMs = 0;
    std::int64_t endedMs = 0; // 0 while going
    RunEnding ending = RunEnding::going;
    std::vector<Answer> answers;
    // The laws asked, in the order asked; empty: all of them in the catalogue's order.
    std::vector<int> asked;
    int limitMinutes = 0; // a test's time limit; 0: none
    Marks marks{};        // the thresholds its mark is worked out by

    // The run came to its own end: its last law answered, or its time up. Its review may then
    // show the accepted forms and offer its mistakes again.
    bool completed() const { return ending == RunEnding::finished || ending == RunEnding::timeUp; }
    // The mark of a test that was finished or ran out of time, from the laws it asked; 0 for
    // any other run.
    int mark() const;

    // The questions it asks: every law, or those in `asked`.
    int questionCount() const;
    int rightCount() const;
    int wrongCount() const { return static_cast<int>(answers.size()) - rightCount(); }
    friend bool operator==(const RunRecord&, const RunRecord&) = default;
};

// Names used in the journal's files (English, stable) and on screen (Russian).
std::string_view modeWord(Mode m);         // "trainer", "test"
std::string_view endingWord(RunEnding e);  // "going", "finished", "restarted", …
std::string_view modeShown(Mode m);        // "Тренажёр", "Тест"
std::string_view endingShown(RunEnding e); // "идёт", "пройден до конца", …
