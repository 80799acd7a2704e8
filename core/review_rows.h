// The review of a run as rows of text, and the laws a run over one's mistakes asks again.
#pragma once

#include "core/run_record.h"

#include <string>
#include <string_view>
#include <vector>

// A formula key as text with the usual signs: "x ∨ y = y ∨ x", "x̄ ∨̄ ȳ". Parts of the key that
// are no symbol's tag are shown as they are.
std::string keyText(std::string_view key);

// One line of the review of a run.
struct ReviewRow {
    int number = 0; // the question, 1 … the laws asked
    int law = 0;    // the law's number in the catalogue
    std::string lawName;
    std::string answer;  // as written, in signs; "(пусто)" for an empty row
    std::string verdict; // "правильно" or "не правильно"
    std::string
        accepted;       // the accepted form of a wrong answer once the run is finished; else empty
    std::string reason; // why a wrong answer is wrong, where it may be shown; else empty
};

// The review's rows of a run, in the order asked. The accepted forms are shown only for a run
// answered to its end, never while it goes on. Why an answer is wrong is shown at once in the
// trainer, and in a test only once the run has ended, however it ended.
std::vector<ReviewRow> reviewRows(const RunRecord& run);

// The laws a finished run got wrong, each once, in the catalogue's order; none for a run that
// did not reach its end.
std::vector<int> wrongLaws(const RunRecord& run);
