#include "pupil/control_table.h"

#include <array>

namespace {

using K = ControlKind;
constexpr std::uint32_t kDarkGreen = 0x008000;
constexpr std::uint32_t kLightBlue = 0xC0C0FF;

// A palette symbol: its text is the tag it carries when dragged.
constexpr ControlEntry paletteSymbol(std::string_view name, int left, int top,
                                     std::string_view tag) {
    return {name, K::image, {}, left, top, 480, 480, tag};
}
// A hidden picture of a hint symbol in red: its text is the symbol's tag.
constexpr ControlEntry hintPicture(std::string_view name, int left, int top, std::string_view tag) {
    return {name, K::image, {}, left, top, 480, 480, tag, -1, 0, false, kNoColor, kNoColor, false};
}
// A slot of the row, or the blank picture: no tag.
constexpr ControlEntry image(std::string_view name, int left, int top) {
    return {name, K::image, {}, left, top, 480, 480};
}
constexpr ControlEntry outline(std::string_view name, int left) {
    return {name, K::shape, {}, left, 2520, 495, 480, {}, -1, 0, false, kNoColor, kNoColor};
}

constexpr std::array kControls{
    ControlEntry{"Command4", K::commandButton, {}, 8880, 3120, 495, 495, "?", 26},
    ControlEntry{"Text4", K::textBox, {}, 3360, 1680, 975, 285, "Г. Лейбниц", 25},
    ControlEntry{"Text3", K::textBox, {}, 1800, 1680, 1095, 285, "О. де Морган", 24},
    ControlEntry{"Text2", K::textBox, {}, 480, 1680, 975, 285, "Дж. Буль", 23},
    ControlEntry{
        "Picture3", K::pictureBox, {}, 3240, 120, 1215, 1455, ":/portraits/leibniz.png", 22},
    ControlEntry{
        "Picture2", K::pictureBox, {}, 1800, 120, 1215, 1455, ":/portraits/de_morgan.png", 21},
    ControlEntry{"Picture1", K::pictureBox, {}, 360, 120, 1215, 1455, ":/portraits/boole.png", 20},
    ControlEntry{"Command3", K::commandButton, {}, 3000, 4080, 1455, 495, "Подсказка", 17},
    ControlEntry{"Option1(1)", K::optionButton, {}, 5400, 5520, 255, 255, "Option1", 16},
    ControlEntry{"Option1(0)", K::optionButton, {}, 5400, 5160, 255, 255, "Option1", 15},
    ControlEntry{"Cmd3_Start", K::commandButton, {}, 8160, 3720, 1215, 495, "Старт", 11},
    ControlEntry{"Command2", K::commandButton, {}, 5040, 3720, 1215, 495, "Очистить", 2},
    ControlEntry{"Text1", K::textBox, {}, 6480, 3720, 1455, 495, {}, 1, 9.75},
    ControlEntry{"Command1",
                 K::commandButton,
                 {},
                 5040,
                 3120,
                 3615,
                 495,
                 "Проверить и перейти к следующему вопросу",
                 0},
    ControlEntry{"Frame3", K::frame, {}, 8280, 0, 975, 735, "Ошибок", 7},
    ControlEntry{"Label5", K::label, "Frame3", 240, 240, 495, 375, {}, 10, 12},
    ControlEntry{"Frame2", K::frame, {}, 6840, 0, 1215, 735, "Правильных", 6},
    ControlEntry{"Label4", K::label, "Frame2", 360, 240, 495, 375, {}, 9, 12},
    ControlEntry{"Frame1", K::frame, {}, 5160, 0, 1455, 735, "Номер вопроса", 5},
    ControlEntry{"Label3", K::label, "Frame1", 480, 240, 495, 375, {}, 8, 12},
    ControlEntry{"Frame4", K::frame, {}, 5280, 4920, 1695, 975, "Выбор  режима", 12},
    ControlEntry{"Label8", K::label, "Frame4", 480, 600, 855, 255, "Тест", 14},
    ControlEntry{"Label7", K::label, "Frame4", 480, 240, 975, 255, "Тренажер", 13},
    ControlEntry{"Label9", K::label, {}, 360, 5040, 4695, 855, {}, 19, 9.75},
    outline("Shape2(10)", 8880),
    ControlEntry{"Label6", K::label, {}, 5880, 4320, 3495, 375, {}, 18},
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
    image("Image37", 2880, 4080),
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
    image("Image34", 8880, 2520),
    image("Image33", 8400, 2520),
    ControlEntry{"Label2", K::label, {}, 120, 2040, 9375, 375, {}, 4, 18, false, kDarkGreen},
    ControlEntry{
        "Label1", K::label, {}, 4800, 1080, 4095, 615, "Законы логики", 3, 24, true, kDarkGreen},
    image("Image32", 7920, 2520),
    image("Image31", 7440, 2520),
    image("Image30", 6960, 2520),
    image("Image29", 6480, 2520),
    image("Image28", 6000, 2520),
    image("Image27", 5520, 2520),
    image("Image26", 5040, 2520),
    image("Image25", 4560, 2520),
    image("Image24", 4080, 2520),
    image("Image23", 3600, 2520),
    image("Image22", 3120, 2520),
    image("Image21", 2640, 2520),
    image("Image20", 2160, 2520),
    image("Image19", 1680, 2520),
    image("Image18", 1200, 2520),
    image("Image17", 720, 2520),
    image("Image16", 240, 2520),
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
    ControlEntry{
        "Shape1", K::shape, {}, 240, 2520, 9135, 480, {}, -1, 0, false, kNoColor, kLightBlue},
};

} // namespace

std::span<const ControlEntry> controlTable() {
    return kControls;
}
