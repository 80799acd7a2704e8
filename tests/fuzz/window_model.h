// What the harness expects the window to hold, worked out from the events alone: the run's
// counters, every slot's picture and tag, the texts and flags shown. It never reads the window it
// is compared with; the only product data it uses are the catalogue of laws (names, keys and the
// test's second accepted forms) and the texts and sizes the window shows as they are. The
// instructions' back colour is drawn at random, so the model does not predict it: the invariants
// work out the ink it needs themselves, by the WCAG contrast ratio.
#pragma once

#include "core/form.h"

#include <array>
#include <string>
#include <string_view>

namespace fuzz {

// A slot as the model sees it: the ink, the tag of the symbol drawn (empty when none is) and
// the tag the slot adds to the formula key.
struct ExpectedSlot {
    Picture::Ink ink = Picture::Ink::none;
    std::string drawn;
    std::string tag;
};

struct ExpectedWindow {
    Mode mode = Mode::trainer;
    bool hintButtonVisible = true;
    bool runGoing = false;
    bool lawNamesLoaded = false;
    int question = 0;
    int rightCount = 0;
    int wrongCount = 0;
    int hintPresses = 0;
    int checksSinceStart = 0; // presses of Check while the run was on
    int starts = 0;
    Mode startedIn = Mode::trainer; // the mode of the last Start
    std::array<ExpectedSlot, kSlotCount> slots{};
    std::string checkedKey;
    std::string lawName;
    double lawNamePt = kNamePt;
    std::string questionShown, rightShown, wrongShown, verdict; // empty until load writes them
    std::string prompt;
    bool promptVisible = true;
    bool promptColoured = false; // cyan from load on
    bool instructionsVisible = true;
};

class WindowModel {
  public:
    void load();
    // selectMode and drop tell whether the event changes anything at all.
    bool selectMode(Mode m);
    void start();
    void check();
    void clear();
    void hints(int presses);
    bool drop(int slot, std::string_view tag);

    const ExpectedWindow& expected() const { return w_; }

  private:
    void showMode(Mode m);
    void clearRow();
    void drawLeftSide(int law);
    void showCounts(int question, int right, int wrong);
    bool accepted(int law, const std::string& key) const;
    ExpectedSlot& slot(int k) { return w_.slots[static_cast<std::size_t>(k - 1)]; }
    ExpectedWindow w_;
};

// The first invariant the window breaks against the model, or empty when all hold.
std::string brokenInvariant(const Form& form, const WindowModel& model);

} // namespace fuzz
