// The fuzz target: one window driven by the events the input decodes into (input_events.h), its
// invariants checked after every event against a model fed the same events. A broken invariant
// is reported on stderr and traps, so libFuzzer keeps the input.
#include "input_events.h"
#include "window_model.h"

#include <cstdio>
#include <cstdlib>

namespace {

bool tracing() {
    static const bool on = [] {
        const char* v = std::getenv("ZL_FUZZ_TRACE");
        return v != nullptr && *v != '\0' && *v != '0';
    }();
    return on;
}

[[noreturn]] void fail(std::size_t index, const fuzz::Event& e, const std::string& what) {
    std::fprintf(stderr, "zl-fuzz: invariant broken after event %zu (%s): %s\n", index,
                 fuzz::describe(e).c_str(), what.c_str());
    std::fprintf(stderr, "zl-fuzz: replay with ZL_FUZZ_TRACE=1 to see every event\n");
    __builtin_trap();
}

// Runs one event on both the window and the model. Returns what the event itself broke (a
// handler that must change nothing, or must keep the tags, did change them), or empty.
std::string apply(const fuzz::Event& e, Form1& form, fuzz::WindowModel& model) {
    using K = fuzz::Event::Kind;
    switch (e.kind) {
    case K::load:
        form.Form_Load();
        model.load();
        break;
    case K::selectOption:
        form.SelectOption1(e.number);
        model.selectOption(e.number);
        break;
    case K::optionClick:
        form.Option1_Click(e.number);
        model.optionClick(e.number);
        break;
    case K::start:
        form.Cmd3_Start_Click();
        model.start();
        break;
    case K::check:
        form.Command1_Click();
        model.check();
        break;
    case K::clear:
        form.Command2_Click();
        model.clear();
        break;
    case K::hint:
    case K::hintBurst: {
        const auto tagsBefore = model.expected().tags;
        const int presses = e.kind == K::hint ? 1 : e.number;
        for (int i = 0; i < presses; ++i)
            form.Command3_Click();
        model.hints(presses);
        for (int k = 1; k <= kSlotCount; ++k)
            if (slotAt(form.state, k).tag != tagsBefore[static_cast<std::size_t>(k - 1)])
                return "the hint wrote or cleared the tag of slot " + std::to_string(k);
        break;
    }
    case K::rules: {
        const FormState before = form.state;
        const MessageBoxText box = form.Command4_Click();
        if (!(form.state == before)) return "the rules text changed the window";
        if (box.text != Form1::RulesText() || box.title.empty()) return "the rules box is wrong";
        break;
    }
    case K::drop:
        form.Image_DragDrop(e.number, e.tag);
        model.drop(e.number, e.tag);
        break;
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<fuzz::Event> events = fuzz::decodeEvents(data, size);
    Form1 form;
    form.clockSeed = [] { return std::uint64_t{20050206}; };
    fuzz::WindowModel model;
    // The window always runs its load handler before anything else can happen.
    const fuzz::Event load{fuzz::Event::Kind::load};
    apply(load, form, model);
    if (const std::string broken = fuzz::brokenInvariant(form, model); !broken.empty())
        fail(0, load, broken);
    for (std::size_t i = 0; i < events.size(); ++i) {
        const fuzz::Event& e = events[i];
        if (tracing()) std::fprintf(stderr, "zl-fuzz: event %zu: %s\n", i + 1, describe(e).c_str());
        std::string broken = apply(e, form, model);
        if (tracing()) {
            const FormState& st = form.state;
            std::fprintf(stderr,
                         "zl-fuzz:   question %d, right %d, wrong %d, hints %d, row \"%s\"\n",
                         st.questionNumber, st.rightCount, st.wrongCount, st.hintPresses,
                         form.FormulaKey().c_str());
        }
        if (broken.empty()) broken = fuzz::brokenInvariant(form, model);
        if (!broken.empty()) fail(i + 1, e, broken);
    }
    return 0;
}
