// Loading the window, choosing the mode and starting a run.
#include "app/form1.h"

#include <chrono>

namespace {

constexpr std::string_view kTrainerInstructions = "1. Напишите формулу после знака равенства."
                                                  "\r\n 2. Можно использовать кнопку Подсказка."
                                                  "\r\n 3. Нажмите кнопку Проверка.";
constexpr std::string_view kTestInstructions = "1. Напишите формулу в строке ввода."
                                               "\r\n 2. Нажмите кнопку Проверка.";

std::uint64_t clockNow() {
    return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

} // namespace

Form1::Form1() : clockSeed(clockNow) {}

void Form1::Form_Load() {
    state.runStarted = false;
    SelectOption1(0);
    state.label6 = kStartPrompt;
    state.label6BackColor = kCyan;
}

void Form1::SelectOption1(int index) {
    if (index < 0 || index > 1) return;
    const auto i = static_cast<std::size_t>(index);
    if (state.option1[i]) return; // clicking the selected option changes nothing
    state.option1 = {};
    state.option1[i] = true;
    Option1_Click(index);
}

void Form1::Option1_Click(int index) {
    if (index == 0 || index == 1) state.workMode = static_cast<std::int16_t>(index);
    state.command3Visible = state.option1[0];
    state.command3Enabled = state.option1[0];
    state.label6Visible = true;
    ClearSlots();
    state.label2 = state.lawTable[1];
    ShowQuestionAndCounts(1, 0, 0);
}

void Form1::Cmd3_Start_Click() {
    PrepareRun();
    state.runStarted = true;
    state.label6Visible = false;
    state.label9Visible = true;
    const bool trainer = state.option1[0] && state.questionNumber == 1;

    colourGenerator.seed(clockSeed());
    // A uniform r in [0, 1) from 53 random bits, scaled to a 24-bit colour &H00BBGGRR.
    const double r = static_cast<double>(colourGenerator() >> 11) * 0x1.0p-53;
    state.label9BackColor = static_cast<ColorValue>(r * 16777216.0);

    state.label9 = trainer ? kTrainerInstructions : kTestInstructions;
}
