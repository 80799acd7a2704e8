// The window as data: the run and everything the window shows, with the handlers of every
// event. No toolkit here; the Qt window forwards its events to Form and renders FormState.
#pragma once

#include "core/colour.h"
#include "core/laws.h"
#include "core/run_record.h"
#include "core/symbols.h"

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kSlotCount = 19;
inline constexpr double kNamePt = 18.0;
inline constexpr double kSmallNamePt = 14.0; // long names at the end of the catalogue
inline constexpr int kSmallNameFrom = 22;    // the first law whose name is shown small

inline constexpr std::string_view kEndMessage = "Тест окончен. Позовите учителя";
inline constexpr std::string_view kTimeUpMessage = "Время вышло. Позовите учителя";
inline constexpr std::string_view kStartPrompt = "  Для начала работы нажмите кнопку Старт";
inline constexpr Colour kPromptColour = Colour::ofRgb(0x00FFFF); // cyan

// One slot of the row: the picture it shows and the tag it adds to the formula key. A picture
// drawn by the program (the trainer's left-hand side, the hint) carries no tag.
struct Slot {
    Picture picture;
    std::string tag;
    friend bool operator==(const Slot&, const Slot&) = default;
};

struct FormState {
    // The run.
    Mode mode = Mode::trainer;
    bool runGoing = false;       // from the first Start on; until then Check judges nothing
    bool lawNamesLoaded = false; // the catalogue's names are shown from the first Start on
    int question = 0; // 1 … k while asking a run of k laws; k + 1 after the last answer, then k + 2
    int rightCount = 0;
    int wrongCount = 0;
    int hintPresses = 0;
    std::string checkedKey; // the formula key as the last Check read it

    // What the window shows.
    std::array<Slot, kSlotCount> row{}; // row[k - 1] is slot k
    std::string lawName;                // the question line: a law's name or the end message
    double lawNamePt = kNamePt;
    std::string questionShown, rightShown, wrongShown;
    std::string prompt;
    bool promptVisible = true;
    Colour promptBack = Colour::buttonFace();
    std::string instructions;
    bool instructionsVisible = true;
    Colour instructionsBack = Colour::light();
    Colour instructionsInk = kBlack; // black or white, whichever reads better on the back colour
    std::string verdict;
    bool hintButtonVisible = true; // shown and enabled in trainer mode only
    // The time a timed test has left, "mm:ss" rounded up to whole seconds; "00:00" once it ran
    // out, until the next Start or mode change; empty for any other run and before Start.
    std::string timeLeft;

    // Writing without dragging.
    int caret = 1;      // the slot the keyboard writes into next, 1 … kSlotCount
    std::string picked; // the tag of the palette symbol picked by a click; empty: none
    int barsTyped = 0;  // "!" typed and waiting for the symbol they bar: 0, 1 or 2
    // Check in test mode leaves the answer in the row, marked as a whole: the next symbol typed
    // or placed at the caret replaces it, and Backspace or Delete empties the row. Moving the
    // caret, or a drop or click that changes the row, ends the mark and keeps the row.
    bool answerMarked = false;

    // Slot k, k = 1 … kSlotCount.
    Slot& slot(int k) { return row[static_cast<std::size_t>(k - 1)]; }
    const Slot& slot(int k) const { return row[static_cast<std::size_t>(k - 1)]; }

    friend bool operator==(const FormState&, const FormState&) = default;
};

inline constexpr std::string_view kRulesTitle = "Законы логики";

class Form {
  public:
    FormState state;
    // Seeds the instructions' colour at each Start: the clock by default, a constant in tests.
    std::function<std::uint64_t()> clockSeed;
    // The run being asked, or the last one once it has ended: what the review shows.
    RunRecord run;
    // The time of a Start, an answer or an end, in milliseconds since 1970: the clock by default.
    std::function<std::int64_t()> clockMs;
    // Told after every change of the run's record: its Start, each answer, its end. A run
    // replaced by a new Start is told as ended before the new one is told as begun.
    std::function<void(const RunRecord&)> runChanged;
    // Each test-mode Start draws its own order of the laws; off, tests ask the catalogue's order.
    bool shuffledTests = false;
    // Seeds that order: the clock by default, a constant in tests.
    std::function<std::uint64_t()> orderSeed;
    // The lesson the teacher set, asked at every Start: the laws a run asks, and for a test its
    // order, time limit and marks. Unset: the default lesson (every law, no limit).
    std::function<Lesson()> lesson;

    Form();

    // The events of the window.
    void load();             // the window opens
    void selectMode(Mode m); // a click on an option button; the selected one changes nothing
    void start();            // Старт
    void check();            // the check button
    void clear();            // Очистить
    void hint();             // Подсказка
    void drop(int slot, std::string_view tag); // a palette symbol onto slot 1 … 19
    void close();                              // the window closes: a run going ends
    // The clock moves on (a few times a second): the time left of a timed test, and its end
    // once the time is up.
    void tick();
    // Работа над ошибками: a trainer run over only these laws (1 … kLawCount, in the order
    // given), asked and counted as usual and ended after the last of them.
    void startMistakes(std::vector<int> laws);

    // Writing without dragging: every route places and empties slots as a drop does.
    void pick(std::string_view tag); // a click on a palette symbol; on the picked one, unpicks
    void unpick();                   // Escape: no symbol picked, no "!" waiting
    void placePicked(int slot);      // a click on a slot: the picked symbol goes there
    void emptySlot(int slot);        // blank picture, no tag
    void moveCaret(int slot);        // kept within the row
    void placePickedAtCaret();       // Space or Enter in the row; the caret moves on
    void deleteAtCaret();            // Delete
    void backspace();                // empties the slot before the caret and moves there
    // A typed character: a symbol's key places it at the caret and moves the caret on; "!" (or
    // "-") bars the symbol typed next. False when the character means nothing here.
    bool type(char32_t key);
    // Where the caret goes after Start, Check, Clear and a mode change: in trainer mode the
    // slot after the drawn "=", otherwise slot 1.
    int caretHome() const;
    // The law asked at the question shown; 0 when none is (before Start, after the last answer).
    int askedLaw() const;
    // The first slot the keyboard may write or empty: in trainer mode the one after the drawn
    // "=", otherwise slot 1.
    int firstWritableSlot() const;

    // The slots' tags joined in slot order.
    std::string formulaKey() const;
    // The text of the rules box behind "?".
    static std::string rulesText();

  private:
    void applyMode(Mode m);
    void beginRun(std::vector<int> asked, int limitMinutes = 0, Marks marks = {});
    bool timeRanOut();
    std::int64_t deadline() const;
    void showTimeLeft(std::int64_t ms);
    void prepareRun();
    int lawAt(int question) const;
    void judgeAnswer();
    bool accepts(int lawNumber) const;
    void clearRow();
    void drawLeftSide(int lawNumber);
    void showCounts(int question, int right, int wrong);
    void resetWriting();
    void placeAtCaret(std::string_view tag);
    void removeMarkedAnswer();
    void endRun(RunEnding ending);
    void tellRun();

    std::mt19937_64 colourGenerator;
};
