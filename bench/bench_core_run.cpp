// A whole 23-question run through the core, with every answer right, in each mode: Start, then
// for each law the drops that write the answer and Check. Prints figures only.
#include "app/form1.h"
#include "bench_stats.h"
#include "support/law_keys.h"

#include <array>
#include <chrono>
#include <cstdio>

namespace {

struct Answer {
    int firstSlotImage;
    std::vector<std::string> tags;
};

// Trainer: the right-hand side after the drawn left-hand side; test: the whole law from slot 1.
std::array<Answer, kLawCount> answers(int mode) {
    std::array<Answer, kLawCount> out;
    for (int law = 1; law <= kLawCount; ++law) {
        const auto tags = law_keys::lawTags(law);
        const int skipped = mode == 1 ? 0 : law_keys::leftSideLength(law);
        out[static_cast<std::size_t>(law - 1)] = {
            kFirstSlotImage + skipped,
            std::vector<std::string>(tags.begin() + skipped, tags.end())};
    }
    return out;
}

// One run; returns the number of right answers, so the work cannot be optimised away.
int wholeRun(Form1& form, const std::array<Answer, kLawCount>& perLaw) {
    form.Cmd3_Start_Click();
    for (const Answer& answer : perLaw) {
        form.Command2_Click(); // the test leaves the last answer in the row
        int image = answer.firstSlotImage;
        for (const std::string& tag : answer.tags)
            form.Image_DragDrop(image++, tag);
        form.Command1_Click();
    }
    return form.state.rightCount;
}

} // namespace

int main(int argc, char* argv[]) {
    const int runs = bench::runsFromArgs(argc, argv, 2001);
    std::printf("a whole 23-question run through the core, all answers right, %d runs:\n", runs);
    for (int mode : {0, 1}) {
        Form1 form;
        form.clockSeed = [] { return 1u; };
        form.Form_Load();
        form.SelectOption1(mode);
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
                    mode == 0 ? "trainer" : "test", bench::median(us), bench::maximum(us), right);
        if (right != kLawCount) return 1; // the answers no longer match the laws
    }
    return 0;
}
