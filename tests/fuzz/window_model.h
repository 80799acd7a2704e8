// What the harness expects the window to hold, worked out from the events alone: the run's
// counters, the slots' tags, the counts and texts shown. It never reads the window it is compared
// with; the only product data it uses are the catalogue of laws and the test's second accepted
// forms.
#pragma once

#include "app/form1.h"

#include <array>
#include <string>
#include <string_view>

namespace fuzz {

struct ExpectedWindow {
    std::array<bool, 2> option1{};
    int workMode = 0;
    bool command3Visible = true;
    bool runStarted = false;
    int questionNumber = 0;
    int lawCursor = 0;
    int rightCount = 0;
    int wrongCount = 0;
    int hintPresses = 0;
    int checksSinceStart = 0; // presses of Check while the run was on
    std::array<std::string, kSlotCount> tags{};
    std::string formulaKey;
    std::string label3, label4, label5, text1; // empty until the load handler writes them
};

class WindowModel {
  public:
    void load();
    void selectOption(int index);
    void optionClick(int index);
    void start();
    void check();
    void clear();
    void hints(int presses);
    void drop(int slotImage, std::string_view tag);

    const ExpectedWindow& expected() const { return w_; }

  private:
    void clearSlots();
    void showQuestionAndCounts(int question, int right, int wrong);
    bool accepted(int law, const std::string& key) const;
    ExpectedWindow w_;
};

// The first invariant the window breaks against the model, or empty when all hold.
std::string brokenInvariant(const Form1& form, const WindowModel& model);

} // namespace fuzz
