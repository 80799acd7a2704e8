// What the program asks that each system answers its own way: platform_posix.cpp and
// platform_windows.cpp, one of them in the build.
#pragma once
#include <QSettings>
#include <QString>
#include <QStringList>

// The command line as the user typed it, in Unicode whatever the system's code page.
QStringList commandLine(int argc, char* argv[]);

// The format of the pupil's own settings and of the teacher's system-wide file: an INI file on
// every system (Windows's native one would be the registry).
QSettings::Format settingsFormat();

// The teacher's system-wide settings file, whose lock binds the pupil's window: where the
// program was built to look, never where an environment variable the pupil sets points.
QString systemSettingsPath();
