#include "teacher/window_font.h"

#include <QApplication>

QFont windowFont() {
    QFont font(QString::fromLatin1(kWindowFontFamily));
    font.setPointSizeF(kWindowFontPt);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void installWindowFont() {
    QApplication::setFont(windowFont());
}
