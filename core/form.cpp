// Every handler of the window, each following its steps in order: the order is behaviour (the
// verdict is written after the row is emptied, the counts read the verdict back).
#include "core/form.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>

namespace {

constexpr std::string_view kTrainerInstructions = "1. Напишите формулу после знака равенства."
                                                  "\n 2. Можно использовать кнопку Подсказка."
                                                  "\n 3. Нажмите кнопку Проверка.";
constexpr std::string_view kTestInstructions = "1. Напишите формулу в строке ввода."
                                               "\n 2. Нажмите кнопку Проверка.";

constexpr int kHintPressCeiling = 32767;

std::uint64_t clockNow() {
    return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

std::int64_t clockNowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace

Form::Form() : clockSeed(clockNow), clockMs(clockNowMs), orderSeed(clockNow) {}

void Form::load() {
    state.runGoing = false;
    applyMode(Mode::trainer);
    state.prompt = kStartPrompt;
    state.promptBack = kPromptColour;
}

void Form::selectMode(Mode m) {
    if (m != state.mode) applyMode(m);
}

// A mode change ends the run: until the next Start nothing is judged, counted or drawn for a
// question, as before the first Start, which is what the display and the prompt invite.
void Form::applyMode(Mode m) {
    timeRanOut();
    endRun(RunEnding::modeChanged);
    state.timeLeft.clear();
    state.mode = m;
    state.runGoing = false;
    state.question = 0;
    state.hintButtonVisible = m == Mode::trainer;
    state.promptVisible = true;
    clearRow();
    state.lawName = state.lawNamesLoaded ? law(1).name : "";
    showCounts(1, 0, 0);
    resetWriting();
}

// The lesson's laws in the catalogue's order, or a test's order of its own; recorded as asked
// unless they are the whole catalogue in order.
void Form::start() {
    const Lesson set = lesson ? lesson() : Lesson{};
    std::vector<int> order = set.laws;
    std::erase_if(order, [](int n) { return n < 1 || n > kLawCount; });
    if (order.empty()) {
        order.resize(kLawCount);
        std::iota(order.begin(), order.end(), 1);
    }
    const bool test = state.mode == Mode::test;
    if (test && (set.shuffled || shuffledTests)) {
        std::mt19937_64 generator(orderSeed());
        std::shuffle(order.begin(), order.end(), generator);
    }
    if (order.size() == std::size_t(kLawCount) && std::ranges::is_sorted(order)) order.clear();
    beginRun(std::move(order), test ? set.minutes : 0, test ? set.marks : Marks{});
}

void Form::startMistakes(std::vector<int> laws) {
    std::erase_if(laws, [](int n) { return n < 1 || n > kLawCount; });
    if (laws.empty()) return;
    state.mode = Mode::trainer;
    state.hintButtonVisible = true;
    beginRun(std::move(laws));
}

// An empty `asked` is the whole catalogue in order, as the record keeps it for old readers.
void Form::beginRun(std::vector<int> asked, int limitMinutes, Marks marks) {
    timeRanOut();
    endRun(RunEnding::restarted);
    run =
        RunRecord{run.number + 1, state.mode, clockMs(), 0, RunEnding::going, {}, std::move(asked)};
    run.limitMinutes = std::max(limitMinutes, 0);
    run.marks = marks;
    state.timeLeft.clear();
    if (run.limitMinutes > 0) showTimeLeft(std::int64_t{run.limitMinutes} * 60'000);
    tellRun();
    prepareRun();
    state.runGoing = true;
    state.promptVisible = false;
    state.instructionsVisible = true;

    colourGenerator.seed(clockSeed());
    // A uniform r in [0, 1) from 53 random bits, scaled to one of the 2^24 colours; the drawn
    // number holds red in its low byte and blue in its high one.
    const double r = static_cast<double>(colourGenerator() >> 11) * 0x1.0p-53;
    const auto drawn = static_cast<std::uint32_t>(r * 16777216.0);
    state.instructionsBack =
        Colour::ofRgb((drawn & 0xFFu) << 16 | (drawn & 0xFF00u) | (drawn >> 16 & 0xFFu));
    state.instructionsInk = readableTextOn(state.instructionsBack.rgb);

    state.instructions = state.mode == Mode::trainer ? kTrainerInstructions : kTestInstructions;
    resetWriting();
}

void Form::prepareRun() {
    clearRow();
    state.hintPresses = 0;
    state.question = 1;
    state.wrongCount = 0;
    state.rightCount = 0;
    state.lawNamesLoaded = true;
    const int first = lawAt(1);
    state.lawName = law(first).name;
    // Whatever size the last run ended in.
    state.lawNamePt = first >= kSmallNameFrom ? kSmallNamePt : kNamePt;
    showCounts(state.question, state.rightCount, state.wrongCount);
    if (state.mode == Mode::trainer) drawLeftSide(first);
}

// Question n asks asked[n - 1], or law n when the run asks the catalogue in order.
int Form::lawAt(int question) const {
    if (question < 1 || question > run.questionCount()) return 0;
    return run.asked.empty() ? question : run.asked[static_cast<std::size_t>(question - 1)];
}

int Form::askedLaw() const {
    return lawAt(state.question);
}

void Form::check() {
    // An answer checked after the time ran out is not judged, even before the clock's tick.
    timeRanOut();
    if (state.runGoing && run.ending != RunEnding::timeUp) judgeAnswer();
    state.instructionsVisible = false;
    resetWriting();
    // The test leaves the answer judged in the row and the caret at its start: typed over, it
    // would mix with the next one.
    state.answerMarked = state.runGoing && state.mode == Mode::test && !formulaKey().empty();
}

void Form::judgeAnswer() {
    state.checkedKey = formulaKey();
    state.verdict.clear();
    // The question moves on at once; the answer read above is judged against the one before.
    // After the last answer the question number shows the run is over; one press later it
    // stops where it is, so further presses all behave alike.
    const int length = run.questionCount();
    const int afterLastAnswer = length + 1;
    const int over = length + 2;
    if (state.question < over) ++state.question;
    const int asked = state.question;
    const int askedLaw = lawAt(asked);
    state.lawName = askedLaw ? law(askedLaw).name : "";
    if (asked < afterLastAnswer) {
        state.questionShown = std::to_string(asked);
        if (state.mode == Mode::test) state.lawNamePt = kNamePt;
        if (askedLaw >= kSmallNameFrom) state.lawNamePt = kSmallNamePt;
    } else {
        state.questionShown = std::to_string(length);
        state.lawNamePt = kNamePt;
        state.lawName = kEndMessage;
    }
    // The trainer draws the next law's left-hand side; after the last answer the row stays.
    if (state.mode == Mode::trainer && asked >= 2 && askedLaw) {
        clearRow();
        drawLeftSide(askedLaw);
    }
    const int answered = asked - 1;
    const int judged = lawAt(answered);
    state.verdict = judged && accepts(judged) ? kVerdictRight : kVerdictWrong;
    if (asked < over) {
        const bool right = state.verdict == kVerdictRight;
        if (right)
            ++state.rightCount;
        else
            ++state.wrongCount;
        run.answers.push_back(Answer{judged, state.checkedKey, right, clockMs()});
        if (answered == length) {
            run.ending = RunEnding::finished;
            run.endedMs = run.answers.back().atMs;
            state.timeLeft.clear();
        }
        tellRun();
    } else {
        state.lawName = kEndMessage;
        state.questionShown = std::to_string(length);
        state.verdict.clear();
    }
    state.rightShown = std::to_string(state.rightCount);
    state.wrongShown = std::to_string(state.wrongCount);
}

bool Form::accepts(int lawNumber) const {
    return acceptsAnswer(lawNumber, state.mode, state.checkedKey);
}

// The pupil's symbols go; in trainer mode the drawn left-hand side stays.
void Form::clear() {
    resetWriting();
    if (state.mode == Mode::test) {
        clearRow();
        return;
    }
    const int asked = askedLaw();
    if (!asked) return;
    const int kept = static_cast<int>(lawSides(asked).left.size());
    for (int k = kept + 1; k <= kSlotCount; ++k)
        state.slot(k) = Slot{Picture::blank(), ""};
}

// The expected right-hand side in red, from the slot after "="; the pictures carry no tags, so
// whatever the pupil dropped there still counts.
void Form::hint() {
    if (state.question > 2) state.instructionsVisible = false;
    if (state.hintPresses < kHintPressCeiling) ++state.hintPresses;
    const int asked = askedLaw();
    if (!asked) return;
    const LawSides& sides = lawSides(asked);
    int k = static_cast<int>(sides.left.size()) + 1;
    for (Glyph g : sides.right)
        state.slot(k++).picture = Picture::red(g);
}

void Form::drop(int slot, std::string_view tag) {
    if (slot < 1 || slot > kSlotCount) return;
    const Symbol* symbol = symbolByTag(tag);
    if (!symbol) return;
    const Slot placed{Picture::blue(symbol->glyph), std::string(symbol->tag)};
    if (state.slot(slot) == placed) return;
    state.slot(slot) = placed;
    state.answerMarked = false;
}

void Form::close() {
    timeRanOut();
    endRun(RunEnding::closed);
}

void Form::tick() {
    if (timeRanOut() || run.number == 0 || run.ending != RunEnding::going || !run.limitMinutes)
        return;
    showTimeLeft(deadline() - clockMs());
}

std::int64_t Form::deadline() const {
    return run.startedMs + std::int64_t{run.limitMinutes} * 60'000;
}

void Form::showTimeLeft(std::int64_t ms) {
    const std::int64_t seconds = (std::max<std::int64_t>(ms, 0) + 999) / 1000;
    char text[24];
    std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    state.timeLeft = text;
}

// A timed test whose time is up ends then, at its deadline, whichever event finds it so: the
// question line calls the teacher and nothing more is judged until the next Start.
bool Form::timeRanOut() {
    if (run.number == 0 || run.ending != RunEnding::going || !run.limitMinutes ||
        clockMs() < deadline())
        return false;
    run.ending = RunEnding::timeUp;
    run.endedMs = deadline();
    state.question = run.questionCount() + 1;
    state.lawName = kTimeUpMessage;
    state.lawNamePt = kNamePt;
    showTimeLeft(0);
    resetWriting();
    tellRun();
    return true;
}

// A run still being asked ends here; a finished one keeps its ending.
void Form::endRun(RunEnding ending) {
    if (run.number == 0 || run.ending != RunEnding::going) return;
    run.ending = ending;
    run.endedMs = clockMs();
    tellRun();
}

void Form::tellRun() {
    if (runChanged) runChanged(run);
}

std::string Form::formulaKey() const {
    std::string key;
    for (const Slot& slot : state.row)
        key += slot.tag;
    return key;
}

void Form::clearRow() {
    for (Slot& slot : state.row)
        slot = Slot{Picture::blank(), ""};
    state.verdict.clear();
}

// Pictures only: the drawn slots keep their empty tags, so the left-hand side is never part of
// the formula key.
void Form::drawLeftSide(int lawNumber) {
    int k = 1;
    for (Glyph g : lawSides(lawNumber).left)
        state.slot(k++).picture = Picture::blue(g);
}

void Form::showCounts(int question, int right, int wrong) {
    state.questionShown = std::to_string(question);
    state.rightShown = std::to_string(right);
    state.wrongShown = std::to_string(wrong);
}

std::string Form::rulesText() {
    return "Правила работы:\n\n"
           "1. Для начала работы нажмите кнопку Старт.\n"
           "2. Соберите формулу в строке ввода.\n"
           "3. В режиме тренажера можно пользоваться кнопкой Подсказка .\n"
           "4. Нажмите кнопку Проверка.  \n\n"
           "Программа написана учителем информатики для уроков математической логики.\n"
           "Автор — учитель информатики средней общеобразовательной школы.\n"
           "Вопросы и пожелания передайте своему учителю. Версия 1.2 6.02.2005";
}
