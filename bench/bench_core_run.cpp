// A whole 23-question run through the core, with every answer right, in each mode: Start, then
// for each law the drops that write the answer and Check. Prints figures only.
#include "bench_stats.h"
#include "core/form.h"
#include "support/law_keys.h"

#include <array>
#include <chrono>
#include <cstdio>

namespace {

struct Answer {
    int firstSlot;
    law_keys::Tags tags;
};

// Trainer: the right-hand side after the drawn left-hand side; test: the whole law from slot 1.
std::array<Answer, kLawCount> answers(Mode mode) {
    std::array<Answer, kLawCount> out;
    for (int n = 1; n <= kLawCount; ++n) {
        const auto tags = law_keys::lawTags(n);
        const int skipped = mode == Mode::test ? 0 : law_keys::leftSideLength(n);
        out[static_cast<std::size_t>(n - 1)] = {1 + skipped,
                                                law_keys::Tags(tags.begin() + skipped, tags.end())};
    }
    return out;
}

// One run; returns the number of right answers, so the work cannot be optimised away.
int wholeRun(Form& form, const std::array<Answer, kLawCount>& perLaw) {
    form.start();
    for (const Answer& answer : perLaw) {
        form.clear(); // the test leaves the last answer in the row
        int slot = answer.firstSlot;
        for (std::string_view tag : answer.tags)
            form.drop(slot++, tag);
        form.check();
    }
    return form.state.rightCount;
}

} // namespace

int main(int argc, char* argv[]) {
    const int runs = bench::runsFromArgs(argc, argv, 2001);
    std::printf("a whole 23-question run through the core, all answers right, %d runs:\n", runs);
    for (Mode mode : {Mode::trainer, Mode::test}) {
        Form form;
        form.clockSeed = [] { return 1u; };
        form.load();
        form.selectMode(mode);
        const auto perLaw = answers(mode);
        std::vector<double> us;
        int right = 0;
        for (int i = 0; i < runs; ++i) {
            const auto start = std::chrono::steady_clock::now();
            right = wholeRun(form, perLaw);
            const auto end = std::chrono::steady_clock::now();
            us.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
        std::printf("  %-8s median %7.1f µs per run, worst %7.1f µs  (%d of 23 right)\n",
                    mode == Mode::trainer ? "trainer" : "test", bench::median(us),
                    bench::maximum(us), right);
        if (right != kLawCount) return 1; // the answers no longer match the laws
    }
    return 0;
}
