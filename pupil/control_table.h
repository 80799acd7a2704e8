// Every control of the window, in the order the window stores them (first = drawn on top among
// the windowless ones), with positions in twips and the properties fixed when it is created.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

enum class ControlKind {
    commandButton,
    textBox,
    pictureBox,
    optionButton,
    frame,
    label,
    shape,
    image
};

// What a control is to the window, so that no code reads it from the control's name.
enum class ControlRole : std::uint8_t {
    none, // drawn and laid out only: frames, captions, portraits, the slots' outlines
    checkButton,
    clearButton,
    startButton,
    hintButton,
    rulesButton,
    trainerOption,
    testOption,
    lawName,
    questionNumber,
    rightCount,
    wrongCount,
    prompt,
    instructions,
    verdict,
    rowBand,       // the tinted band behind the row
    slot,          // slot `slot` of the row
    paletteSymbol, // its text is the tag it carries when dragged
    hintPicture,   // hidden; its text is the tag of the red symbol it shows
    blankPicture,
    timeLeft, // a timed test's time left; hidden for any other run
};

// Positions and sizes are in twips, a twentieth of a typographic point: 1,440 to the inch, so 15
// to a pixel of a 96-dpi screen at 100 %. The layout scales them by the zoom from there.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr std::uint32_t kNoColor = 0xFFFFFFFF;

struct ControlEntry {
    std::string_view name; // the widget's objectName; arrays as "Option1(0)", "Shape2(10)"
    ControlKind kind;
    ControlRole role;
    std::string_view container;   // empty: the window
    int left, top, width, height; // twips, from the container's top left corner
    // Caption or text; for a picture box, its picture's resource; for a palette symbol or a
    // hidden hint picture, the symbol's tag.
    std::string_view text = {};
    int tabIndex = -1;
    double fontPt = 0; // 0: the window's font size
    bool italic = false;
    std::uint32_t foreColor = kNoColor; // 0xRRGGBB
    std::uint32_t backColor = kNoColor;
    bool visible = true;
    int slot = 0; // 1 … 19 for a slot of the row
};

inline constexpr int kClientWidthTwips = 9645;
inline constexpr int kClientHeightTwips = 6075;

std::span<const ControlEntry> controlTable();

// Windowed controls are always drawn above the windowless ones (images, shapes, labels).
constexpr bool isWindowed(ControlKind kind) {
    return kind != ControlKind::image && kind != ControlKind::shape && kind != ControlKind::label;
}
