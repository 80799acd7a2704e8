// What each process of the many-writers test answers: run r of writer w has its own start time,
// mode, number of answers and verdicts, so the test can tell every run read back from the others
// and check each answer. Shared by journal_writer_tool and the test.
#pragma once

#include "core/run_record.h"

#include <cstdint>

namespace writer_plan {

inline constexpr int kWriters = 4;
inline constexpr int kRuns = 50;
inline constexpr std::int64_t kBase = 1'790'000'000'000; // 2026-09-21, in ms
inline constexpr std::int64_t kWriterSpan = 100'000'000;
inline constexpr std::int64_t kRunSpan = 100'000;
inline constexpr std::int64_t kAnswerSpan = 1'000;

inline std::int64_t startOf(int writer, int run) {
    return kBase + writer * kWriterSpan + run * kRunSpan;
}
inline Mode modeOf(int writer) {
    return writer % 2 ? Mode::trainer : Mode::test;
}
inline int answersOf(int writer, int run) {
    return 1 + (writer + run) % 4;
}
// Answer i (1 …) of a run.
inline bool rightOf(int writer, int run, int i) {
    return (writer + run + i) % 3 != 0;
}
inline std::int64_t answerTimeOf(int writer, int run, int i) {
    return startOf(writer, run) + i * kAnswerSpan;
}
// Each run but the last is ended by the next Start; the last by closing the window, here.
inline std::int64_t closeTimeOf(int writer) {
    return startOf(writer, kRuns - 1) + kRunSpan / 2;
}

} // namespace writer_plan
