// Helpers shared by the window tests: finding controls, clicking them through the window as a
// pointer would, and the window's control names grouped by kind.
#pragma once

#include "app/form1_window.h"

#include "board/symbol_image.h"

#include <QString>
#include <QStringList>
#include <QTest>
#include <QWindow>

inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// How a text of the core appears in a widget: Qt breaks lines at LF.
inline QString shownText(std::string_view text) {
    return qs(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

template <class T = QWidget> T* controlAs(const Form1Window& window, const QString& name) {
    return qobject_cast<T*>(window.control(name));
}

// Slot k (1 … 19) is control Image(15 + k).
inline SymbolImage* slotImage(const Form1Window& window, int k) {
    return controlAs<SymbolImage>(window, QStringLiteral("Image%1").arg(kFirstSlotImage - 1 + k));
}

// Where a control's centre lies in window coordinates.
inline QPoint centreInWindow(const Form1Window& window, const QWidget* widget) {
    return widget->mapTo(&window, widget->rect().center());
}

// A left click at the control's centre, delivered to the window so that it reaches whatever
// control the pointer is over there, as a real click does.
inline void clickThroughWindow(Form1Window& window, const QString& name) {
    QWidget* widget = window.control(name);
    QVERIFY2(widget, qPrintable(name));
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, centreInWindow(window, widget));
}

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
inline const QStringList kLabels = numbered("Label", 1, 9);
inline const QStringList kImages = numbered("Image", 1, 48);

inline QStringList shapeNames() {
    QStringList names{"Shape1"};
    for (int index : {0, 1, 2, 3, 4, 5, 6, 7, 8, 10})
        names << QStringLiteral("Shape2(%1)").arg(index);
    return names;
}

// The 17 palette images: Image1 … Image15, Image35, Image36.
inline QStringList paletteNames() {
    return numbered("Image", 1, 15) << "Image35"
                                    << "Image36";
}

inline QStringList hintImageNames() {
    return numbered("Image", 38, 48);
}
