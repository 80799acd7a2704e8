#include "pupil/control_table.h"

namespace {

using K = ControlKind;
using R = ControlRole;
constexpr std::uint32_t kDarkGreen = 0x008000;
constexpr std::uint32_t kLightBlue = 0xC0C0FF;

// A palette symbol: its text is the tag it carries when dragged.
constexpr ControlEntry paletteSymbol(std::string_view name, int left, int top,
                                     std::string_view tag) {
    return {name, K::image, R::paletteSymbol, {}, left, top, 480, 480, tag};
}
// A hidden picture of a hint symbol in red: its text is the symbol's tag.
constexpr ControlEntry hintPicture(std::string_view name, int left, int top, std::string_view tag) {
    ControlEntry c{name, K::image, R::hintPicture, {}, left, top, 480, 480, tag};
    c.visible = false;
    return c;
}
// Slot k of the row: no tag.
constexpr ControlEntry slot(std::string_view name, int k, int left) {
    ControlEntry c{name, K::image, R::slot, {}, left, 2520, 480, 480};
    c.slot = k;
    return c;
}
constexpr ControlEntry outline(std::string_view name, int left) {
    return {name, K::shape, R::none, {}, left, 2520, 495, 480};
}

// clang-format off
constexpr ControlEntry kControls[]{
    {"Command4", K::commandButton, R::rulesButton, {}, 8880, 3120, 495, 495, "?", 26},
    {"Text4", K::textBox, R::none, {}, 3360, 1680, 975, 285, "Г. Лейбниц", 25},
    {"Text3", K::textBox, R::none, {}, 1800, 1680, 1095, 285, "О. де Морган", 24},
    {"Text2", K::textBox, R::none, {}, 480, 1680, 975, 285, "Дж. Буль", 23},
    {"Picture3", K::pictureBox, R::none, {}, 3240, 120, 1215, 1455, ":/portraits/leibniz.png", 22},
    {"Picture2", K::pictureBox, R::none, {}, 1800, 120, 1215, 1455, ":/portraits/de_morgan.png",
     21},
    {"Picture1", K::pictureBox, R::none, {}, 360, 120, 1215, 1455, ":/portraits/boole.png", 20},
    {"Command3", K::commandButton, R::hintButton, {}, 3000, 4080, 1455, 495, "Подсказка", 17},
    {"Option1(1)", K::optionButton, R::testOption, {}, 5400, 5520, 255, 255, "Option1", 16},
    {"Option1(0)", K::optionButton, R::trainerOption, {}, 5400, 5160, 255, 255, "Option1", 15},
    {"Cmd3_Start", K::commandButton, R::startButton, {}, 8160, 3720, 1215, 495, "Старт", 11},
    {"Command2", K::commandButton, R::clearButton, {}, 5040, 3720, 1215, 495, "Очистить", 2},
    {"Text1", K::textBox, R::verdict, {}, 6480, 3720, 1455, 495, {}, 1, 9.75},
    {"Command1", K::commandButton, R::checkButton, {}, 5040, 3120, 3615, 495,
     "Проверить и перейти к следующему вопросу", 0},
    {"Frame3", K::frame, R::none, {}, 8280, 0, 975, 735, "Ошибок", 7},
    {"Label5", K::label, R::wrongCount, "Frame3", 240, 240, 495, 375, {}, 10, 12},
    {"Frame2", K::frame, R::none, {}, 6840, 0, 1215, 735, "Правильных", 6},
    {"Label4", K::label, R::rightCount, "Frame2", 360, 240, 495, 375, {}, 9, 12},
    {"Frame1", K::frame, R::none, {}, 5160, 0, 1455, 735, "Номер вопроса", 5},
    {"Label3", K::label, R::questionNumber, "Frame1", 480, 240, 495, 375, {}, 8, 12},
    {"Frame4", K::frame, R::none, {}, 5280, 4920, 1695, 975, "Выбор  режима", 12},
    {"Label8", K::label, R::none, "Frame4", 480, 600, 855, 255, "Тест", 14},
    {"Label7", K::label, R::none, "Frame4", 480, 240, 975, 255, "Тренажер", 13},
    {"Label9", K::label, R::instructions, {}, 360, 5040, 4695, 855, {}, 19, 9.75},
    outline("Shape2(10)", 8880),
    {"Label6", K::label, R::prompt, {}, 5880, 4320, 3495, 375, {}, 18},
    hintPicture("Image48", 2520, 5400, "ноль"),
    hintPicture("Image47", 1920, 5400, "один"),
    hintPicture("Image46", 1440, 5400, "no_y"),
    hintPicture("Image45", 840, 5400, "no_x"),
    hintPicture("Image44", 240, 5400, "z"),
    hintPicture("Image43", 2520, 4680, "sz"),
    hintPicture("Image42", 1920, 4680, "so"),
    hintPicture("Image41", 1440, 4680, "и"),
    hintPicture("Image40", 840, 4680, "или"),
    hintPicture("Image39", 240, 4680, "y"),
    hintPicture("Image38", 3120, 4680, "x"),
    {"Image37", K::image, R::blankPicture, {}, 2880, 4080, 480, 480},
    outline("Shape2(8)", 7920),
    outline("Shape2(7)", 6960),
    outline("Shape2(6)", 6000),
    outline("Shape2(5)", 5040),
    outline("Shape2(4)", 4080),
    outline("Shape2(3)", 3120),
    outline("Shape2(2)", 2160),
    outline("Shape2(1)", 1200),
    outline("Shape2(0)", 240),
    paletteSymbol("Image36", 1200, 3600, "ekv"),
    paletteSymbol("Image35", 1200, 3120, "imp"),
    slot("Image34", 19, 8880),
    slot("Image33", 18, 8400),
    {"Label2", K::label, R::lawName, {}, 120, 2040, 9375, 375, {}, 4, 18, false, kDarkGreen},
    {"Label1", K::label, R::none, {}, 4800, 1080, 4095, 615, "Законы логики", 3, 24, true,
     kDarkGreen},
    slot("Image32", 17, 7920),
    slot("Image31", 16, 7440),
    slot("Image30", 15, 6960),
    slot("Image29", 14, 6480),
    slot("Image28", 13, 6000),
    slot("Image27", 12, 5520),
    slot("Image26", 11, 5040),
    slot("Image25", 10, 4560),
    slot("Image24", 9, 4080),
    slot("Image23", 8, 3600),
    slot("Image22", 7, 3120),
    slot("Image21", 6, 2640),
    slot("Image20", 5, 2160),
    slot("Image19", 4, 1680),
    slot("Image18", 3, 1200),
    slot("Image17", 2, 720),
    slot("Image16", 1, 240),
    paletteSymbol("Image15", 3240, 3600, "no_i"),
    paletteSymbol("Image14", 2880, 3600, "no_ili"),
    paletteSymbol("Image13", 2280, 4080, "z"),
    paletteSymbol("Image12", 4440, 3600, "sz"),
    paletteSymbol("Image11", 3240, 3120, "и"),
    paletteSymbol("Image10", 4440, 3120, "so"),
    paletteSymbol("Image9", 2280, 3600, "no_y"),
    paletteSymbol("Image8", 2280, 3120, "y"),
    paletteSymbol("Image7", 3600, 3120, "равно"),
    paletteSymbol("Image6", 4080, 3600, "ноль"),
    paletteSymbol("Image5", 4080, 3120, "один"),
    paletteSymbol("Image4", 2880, 3120, "или"),
    paletteSymbol("Image3", 1800, 4080, "no_no_x"),
    paletteSymbol("Image2", 1800, 3600, "no_x"),
    paletteSymbol("Image1", 1800, 3120, "x"),
    // Beside the mode's frame, where the form has room: shown only while a test has a time limit.
    {"TimeLeft", K::label, R::timeLeft, {}, 7200, 5040, 2280, 450, {}, -1, 12, false, kDarkGreen,
     kNoColor, false},
    {"Shape1", K::shape, R::rowBand, {}, 240, 2520, 9135, 480, {}, -1, 0, false, kNoColor,
     kLightBlue},
};
// clang-format on

} // namespace

std::span<const ControlEntry> controlTable() {
    return kControls;
}
