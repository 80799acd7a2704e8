// How big the window is shown: the zoom and full screen, from the system-wide defaults a teacher
// can set, the pupil's own remembered choice, and the command line, in rising order of weight.
#pragma once

#include <QSettings>
#include <QStringList>
#include <QTextStream>
#include <memory>
#include <optional>

// Where the journal of runs is kept: off, or a folder (empty: the user's data folder).
struct JournalOptions {
    bool on = true;
    QString folder;
    QString exportTo; // --export-journal FILE.csv: the journal's list written there, no window
    friend bool operator==(const JournalOptions&, const JournalOptions&) = default;
};

struct DisplayOptions {
    int zoomPercent = 100;
    bool fullScreen = false;
    JournalOptions journal;
    friend bool operator==(const DisplayOptions&, const DisplayOptions&) = default;
};

// The settings file: per user (~/.config/zakony-logiki/zakony-logiki.conf), falling back to the
// system-wide one (/etc/xdg/zakony-logiki/zakony-logiki.conf); keys "zoom", "fullscreen",
// "journal/folder" and "journal/enabled".
std::unique_ptr<QSettings> displaySettings();

// Reads the settings, then the command line (--zoom PERCENT, --fullscreen, --journal DIR,
// --no-journal, --export-journal FILE). A bad value is one
// line on `errors` and the nearest sensible value is used. Nothing when --help or --version was
// asked for: its text is then on `out`, and the program ends.
std::optional<DisplayOptions> readDisplayOptions(const QStringList& arguments, QSettings& settings,
                                                 QTextStream& out, QTextStream& errors);

// True when the arguments ask for --help, --version or --export-journal: done without opening
// a window, so without a display.
bool onlyPrintsText(const QStringList& arguments);

// Remembers the pupil's choice in the per-user settings.
void rememberDisplay(QSettings& settings, const DisplayOptions& options);
