// The one font of the pupil's and the teacher's windows: a sans-serif drawn for Cyrillic, small
// enough for every text; and the toolkit's own texts (file dialogs, standard buttons) in Russian,
// like the program's.
#pragma once

#include <QFont>

inline constexpr char kWindowFontFamily[] = "PT Sans";
inline constexpr double kWindowFontPt = 8.0;

QFont windowFont();
// Makes the window's font the application's, for the window and its message box alike.
void installWindowFont();
// Qt's own Russian translations (Debian's qt6-translations-l10n), where they are installed;
// false where they are not, and Qt's texts stay English.
bool installToolkitRussian();
