// Helpers shared by the window tests and the end-to-end test: finding controls, clicking them
// through the window as a pointer would, the window's control names grouped by kind, and where
// the palette shows each symbol.
#pragma once

#include "journal/qt_text.h"
#include "pupil/main_window.h"
#include "pupil/symbol_drag.h"
#include "pupil/symbol_image.h"
#include "support/law_keys.h"

#include <QMimeData>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWindow>
#include <array>
#include <memory>
#include <string>
#include <string_view>

template <class T = QWidget> T* controlAs(const MainWindow& window, const QString& name) {
    return qobject_cast<T*>(window.control(name));
}

inline QString imageName(int n) {
    return QStringLiteral("Image%1").arg(n);
}

// Slot k (1 … 19) is control Image(15 + k).
inline QString slotName(int k) {
    return imageName(15 + k);
}

inline SymbolImage* slotImage(const MainWindow& window, int k) {
    return controlAs<SymbolImage>(window, slotName(k));
}

// Where a control's centre lies in window coordinates.
inline QPoint centreInWindow(const MainWindow& window, const QWidget* widget) {
    return widget->mapTo(&window, widget->rect().center());
}

// A left click at the control's centre, delivered to the window so that it reaches whatever
// control the pointer is over there, as a real click does.
inline void clickThroughWindow(MainWindow& window, const QString& name) {
    QWidget* widget = window.control(name);
    QVERIFY2(widget, qPrintable(name));
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, centreInWindow(window, widget));
}

// The zooms the window tests lay the window out at, in per cent.
inline constexpr std::array<int, 4> kTestedZooms{100, 150, 200, 300};

// A length in twips as pixels at a zoom in per cent, rounded half up, in whole numbers.
inline int pixelsAt(int twips, int zoom) {
    return (2 * twips * zoom + 1500) / 3000;
}

// Zooms the window; false when it does not take the zoom (the screen is too small for it: the
// tests that need a large screen run on one given by their CMake entry).
inline bool zoomTo(MainWindow& window, int zoom) {
    window.setZoom(zoom);
    return window.zoomPercent() == zoom;
}

#define ZOOM_TO(window, zoom)                                                                      \
    QVERIFY2(zoomTo(window, zoom),                                                                 \
             qPrintable(QStringLiteral("zoom %1 % not taken; the screen fits %2 % at most")        \
                            .arg(zoom)                                                             \
                            .arg((window).largestFittingZoom())))

inline QStringList numbered(const QString& stem, int first, int last) {
    QStringList names;
    for (int n = first; n <= last; ++n)
        names << QStringLiteral("%1%2").arg(stem).arg(n);
    return names;
}

// The window's controls by kind, as the pupil and the other parts of the program know them.
inline const QStringList kCommandButtons{"Command1", "Command2", "Command3", "Command4",
                                         "Cmd3_Start"};
inline const QStringList kTextBoxes = numbered("Text", 1, 4);
inline const QStringList kPictureBoxes = numbered("Picture", 1, 3);
inline const QStringList kOptionButtons{"Option1(0)", "Option1(1)"};
inline const QStringList kFrames = numbered("Frame", 1, 4);
// With the time left of a timed test, beside the mode's frame.
inline const QStringList kLabels = numbered("Label", 1, 9) << QStringLiteral("TimeLeft");
inline const QStringList kImages = numbered("Image", 1, 48);

inline QStringList shapeNames() {
    QStringList names{"Shape1"};
    for (int index : {0, 1, 2, 3, 4, 5, 6, 7, 8, 10})
        names << QStringLiteral("Shape2(%1)").arg(index);
    return names;
}

// Where the palette shows each of the 17 symbols: palette control ImageN and the tag it carries.
// Written out apart from the window's control table, which the layout test checks against it.
struct PlacedSymbol {
    int image;
    std::string_view tag;
};
inline constexpr std::array<PlacedSymbol, 17> kPaletteLayout{{
    {1, "x"},
    {2, "no_x"},
    {3, "no_no_x"},
    {4, "или"},
    {5, "один"},
    {6, "ноль"},
    {7, "равно"},
    {8, "y"},
    {9, "no_y"},
    {10, "so"},
    {11, "и"},
    {12, "sz"},
    {13, "z"},
    {14, "no_ili"},
    {15, "no_i"},
    {35, "imp"},
    {36, "ekv"},
}};

// The hidden red pictures Image38 … Image48, in that order, by their symbols' tags.
inline constexpr std::array<std::string_view, 11> kHintImageTags{
    "x", "y", "или", "и", "so", "sz", "z", "no_x", "no_y", "один", "ноль"};
inline constexpr int kFirstHintImage = 38;

// The palette control carrying the tag ("Image4" for "или"); empty for any other text.
inline QString paletteImageOf(std::string_view tag) {
    for (const PlacedSymbol& placed : kPaletteLayout)
        if (placed.tag == tag) return imageName(placed.image);
    return {};
}

// What the pupil drags from the palette image of `tag`, as the palette makes it.
inline std::unique_ptr<QMimeData> paletteData(const MainWindow& window, std::string_view tag) {
    return std::unique_ptr<QMimeData>(
        controlAs<SymbolImage>(window, paletteImageOf(tag))->dragData());
}

// The token the window's palette drags carry, for data forged around it.
inline QByteArray dragTokenOf(const MainWindow& window) {
    const QByteArray payload = paletteData(window, "x")->data(kSymbolMimeType);
    return payload.left(payload.indexOf('\n'));
}

// The 17 palette images: Image1 … Image15, Image35, Image36.
inline QStringList paletteNames() {
    QStringList names;
    for (const PlacedSymbol& placed : kPaletteLayout)
        names << imageName(placed.image);
    return names;
}

inline QStringList hintImageNames() {
    return numbered("Image", kFirstHintImage, kFirstHintImage + int(kHintImageTags.size()) - 1);
}

// The glyph the product draws for a tag; a tag it does not know ends the test program.
inline Glyph glyphOfTag(std::string_view tag) {
    const Symbol* symbol = symbolByTag(tag);
    if (!symbol) qFatal("no symbol has the tag %s", std::string(tag).c_str());
    return symbol->glyph;
}

// The colour a state's colour should show as, worked out apart from the window: RGB as
// 0xRRGGBB, the two roles from the window's palette.
inline QColor expectedColour(Colour colour, const QPalette& palette) {
    switch (colour.role) {
    case Colour::Role::buttonFace:
        return palette.color(QPalette::Button);
    case Colour::Role::light:
        return palette.color(QPalette::Midlight);
    case Colour::Role::rgb:
        break;
    }
    return QColor(int(colour.rgb >> 16 & 0xFF), int(colour.rgb >> 8 & 0xFF),
                  int(colour.rgb & 0xFF));
}
