// How the program starts: the zoom and full screen, the journal, and what a teacher set for the
// class (names asked, a test order of one's own, the class view alone) — from the system-wide
// defaults a teacher can set, the pupil's own settings and the command line, in rising order of
// weight, except where the system-wide file locks the journal.
#pragma once

#include "core/lesson.h"
#include "journal/lesson_file.h"

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
    bool configured = false; // the folder was named by a setting or --journal: never created
    friend bool operator==(const JournalOptions&, const JournalOptions&) = default;
};

struct StartOptions {
    int zoomPercent = 100;
    bool fullScreen = false;
    JournalOptions journal;
    bool askName = false;       // the first Start asks the pupil's name
    bool shuffledTests = false; // every test run asks the laws in its own order
    bool classView = false;     // --class: the class view alone, for the teacher's machine
    // The pupil's own lesson (the settings and --laws, --minutes; the order as shuffledTests
    // says), under the class's lesson file at each Start; and over both, what a locked
    // system-wide file sets of the lesson.
    Lesson lesson{};
    LessonSettings lockedLesson{};
    friend bool operator==(const StartOptions&, const StartOptions&) = default;
};

// The settings file: per user (~/.config/zakony-logiki/zakony-logiki.conf), falling back to the
// system-wide one (/etc/xdg/zakony-logiki/zakony-logiki.conf); keys "zoom", "fullscreen",
// "journal/folder", "journal/enabled", "journal/locked" (system-wide only), "class/askName" and
// "test/order" (= shuffled), "test/laws", "test/minutes" and "test/marks". The lock and what it
// locks are read from the system-wide file at the path the program was built for alone.
std::unique_ptr<QSettings> programSettings();

// Reads the settings, then the command line (--zoom PERCENT, --fullscreen, --journal DIR,
// --no-journal, --export-journal FILE, --ask-name, --shuffle, --laws LIST, --minutes N, --class). A
// lock binds the pupil's window; --class and --export-journal still read the folder --journal
// names. A bad value is one line on `errors` and the nearest sensible value is used. Nothing when
// --help or --version was asked for: its text is then on `out`, and the program ends.
std::optional<StartOptions> readStartOptions(const QStringList& arguments, QSettings& settings,
                                             QTextStream& out, QTextStream& errors);

// True when the arguments ask for --help, --version or --export-journal: done without opening
// a window, so without a display.
bool onlyPrintsText(const QStringList& arguments);

// Remembers the pupil's choice in the per-user settings.
void rememberDisplay(QSettings& settings, const StartOptions& options);
