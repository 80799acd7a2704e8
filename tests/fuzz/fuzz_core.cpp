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

// The clock a Start seeds the instructions' colour with: a different reading at every Start,
// drawn from the input's bytes, so the fuzzer reaches every back colour and a replay repeats it.
class FakeClock {
  public:
    FakeClock(const std::uint8_t* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i)
            state_ = (state_ ^ data[i]) * 0x100000001B3u; // FNV-1a
    }
    std::uint64_t next() { // splitmix64
        std::uint64_t z = state_ += 0x9E3779B97F4A7C15u;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }

  private:
    std::uint64_t state_ = 0xCBF29CE484222325u;
};

Mode modeOf(int number) {
    return number == 0 ? Mode::trainer : Mode::test;
}

// Runs one event on both the window and the model. Returns what the event itself broke (an
// event that must change nothing did change something, or the hint touched a tag), or empty.
std::string apply(const fuzz::Event& e, Form& form, fuzz::WindowModel& model) {
    using K = fuzz::Event::Kind;
    const FormState before = form.state;
    bool changes = true;
    switch (e.kind) {
    case K::load:
        form.load();
        model.load();
        break;
    case K::selectMode:
    case K::reselect: {
        const Mode m = e.kind == K::reselect ? model.expected().mode : modeOf(e.number);
        form.selectMode(m);
        changes = model.selectMode(m);
        break;
    }
    case K::start:
        form.start();
        model.start();
        break;
    case K::check:
        form.check();
        model.check();
        break;
    case K::clear:
        form.clear();
        model.clear();
        break;
    case K::hint:
    case K::hintBurst: {
        const int presses = e.kind == K::hint ? 1 : e.number;
        for (int i = 0; i < presses; ++i)
            form.hint();
        model.hints(presses);
        changes = presses > 0;
        for (int k = 1; k <= kSlotCount; ++k)
            if (form.state.slot(k).tag != before.slot(k).tag)
                return "the hint wrote or cleared the tag of slot " + std::to_string(k);
        break;
    }
    case K::drop:
        form.drop(e.number, e.tag);
        changes = model.drop(e.number, e.tag);
        break;
    }
    if (!changes && !(form.state == before)) return "the event changed the window";
    if (e.kind != K::start && (form.state.instructionsBack != before.instructionsBack ||
                               form.state.instructionsInk != before.instructionsInk))
        return "the instructions changed colour without a Start";
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<fuzz::Event> events = fuzz::decodeEvents(data, size);
    Form form;
    FakeClock clock(data, size);
    form.clockSeed = [&clock] { return clock.next(); };
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
                         st.question, st.rightCount, st.wrongCount, st.hintPresses,
                         form.formulaKey().c_str());
        }
        if (broken.empty()) broken = fuzz::brokenInvariant(form, model);
        if (!broken.empty()) fail(i + 1, e, broken);
    }
    return 0;
}
