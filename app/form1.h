// The window as data: the run variables and everything the logic writes into the controls,
// with the event handlers and procedures that change them. No toolkit here; the Qt window
// forwards its events to Form1 and renders FormState.
#pragma once

#include "board/symbols.h"

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

inline constexpr int kSlotCount = 19; // Image16 … Image34
inline constexpr int kFirstSlotImage = 16;
inline constexpr int kLawTableSize = 101; // indices 0 … 100

// Colours as the window stores them: &H00BBGGRR, or &H800000nn for system colour nn.
using ColorValue = std::uint32_t;
inline constexpr ColorValue kButtonFaceColor = 0x8000000F;
inline constexpr ColorValue k3DLightColor = 0x80000016;
inline constexpr ColorValue kCyan = 0x00FFFF00;

inline constexpr double kNormalNamePt = 18.0;
inline constexpr double kSmallNamePt = 14.0;

inline constexpr std::string_view kVerdictRight = "правильно";
inline constexpr std::string_view kVerdictWrong = "не правильно";
inline constexpr std::string_view kEndMessage = "Тест окончен. Позовите учителя";
inline constexpr std::string_view kStartPrompt = "  Для начала работы нажмите кнопку Старт";

struct Slot {
    Picture picture;
    std::string tag;
    friend bool operator==(const Slot&, const Slot&) = default;
};

struct FormState {
    // Run variables.
    std::int16_t workMode = 0; // 0 trainer, 1 test
    bool runStarted = false;
    std::int16_t questionNumber = 0;
    std::int16_t lawCursor = 0;
    std::int16_t rightCount = 0;
    std::int16_t wrongCount = 0;
    std::int16_t hintPresses = 0;
    std::string formulaKey;
    std::array<std::string, kLawTableSize> lawTable{};

    // What the controls show, as far as the logic writes it.
    std::array<Slot, kSlotCount> slotRow{}; // slotRow[k - 1] is slot k, control Image(15 + k)
    std::array<bool, 2> option1{};          // Option1(0) trainer, Option1(1) test
    std::string label2, label3, label4, label5, label6, label9, text1;
    double label2FontPt = kNormalNamePt;
    bool label6Visible = true;
    bool label9Visible = true;
    ColorValue label6BackColor = kButtonFaceColor;
    ColorValue label9BackColor = k3DLightColor;
    bool command3Visible = true;
    bool command3Enabled = true;

    friend bool operator==(const FormState&, const FormState&) = default;
};

struct MessageBoxText {
    std::string title;
    std::string text;
};

class Form1 {
  public:
    FormState state;
    // Seeds the colour generator at each Start; the clock by default, a constant in tests.
    std::function<std::uint64_t()> clockSeed;

    Form1();

    // Event handlers.
    void Form_Load();
    void Option1_Click(int index);
    void Cmd3_Start_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    MessageBoxText Command4_Click() const; // the rules box to show; changes nothing
    void Image_DragDrop(int slotImage, std::string_view sourceTag); // slotImage 16 … 34

    // Selecting an option button (the pupil's click, or the load handler): sets the values
    // and fires Option1_Click when the selection changes.
    void SelectOption1(int index);

    // Procedures.
    void PrepareRun();
    void ClearSlots();
    void ClearRightSide();
    void DropOnSlot(Slot& slot, std::string_view sourceTag);
    void CheckRightSide();
    void CheckWholeFormula();

    // The formula key of the row: the slots' tags joined in slot order.
    std::string FormulaKey() const;
    static std::string RulesText();

  private:
    struct CheckerSteps {
        void (Form1::*fontRule)();
        void (Form1::*prepareNextQuestion)();
        bool (Form1::*accepts)(int law) const;
    };
    void RunCheckCycle(const CheckerSteps& steps);
    void TrainerFontRule();
    void TestFontRule();
    void PredrawNextLeftSide();
    void LeaveRowAsBuilt() {}
    bool RightSideAccepted(int law) const;
    bool WholeFormulaAccepted(int law) const;
    void DrawLeftSide(int law);
    void ShowQuestionAndCounts(int question, int right, int wrong);

    std::mt19937_64 colourGenerator;
};

// Slot k (1 … 19) of a state; control Image(15 + k).
inline Slot& slotAt(FormState& s, int k) {
    return s.slotRow[static_cast<std::size_t>(k - 1)];
}
inline const Slot& slotAt(const FormState& s, int k) {
    return s.slotRow[static_cast<std::size_t>(k - 1)];
}
