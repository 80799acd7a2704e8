// The one font of the window: a sans-serif drawn for Cyrillic, small enough for every text.
#pragma once

#include <QFont>

inline constexpr char kWindowFontFamily[] = "PT Sans";
inline constexpr double kWindowFontPt = 8.0;

QFont windowFont();
// Makes the window's font the application's, for the window and its message box alike.
void installWindowFont();
