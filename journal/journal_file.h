// The journal: one small UTF-8 text file per run in a journal folder, rewritten whole after
// every answer (written aside, flushed to the disk, then renamed over the old one), so a kill or
// a power cut loses at most the answer being written and never leaves half a file. The files
// are 0640: the folder's group (the teacher's, in a shared folder) may read them. Reading lists
// every run found, newest first, and says which files it skipped and why.
//
// The file, format 1 (lines "name: value", each ended by a newline; the eight lines of the head
// each once, "pupil", "asked", "limit" and "marks" at most once; unknown names of lower-case
// letters, digits and hyphens are passed over, any other line is damage):
//   zakony-logiki-journal 1
//   program: 1.3.0
//   user: ivanov
//   machine: class-07
//   pupil: Пётр Иванов              (only where the pupil gave a name)
//   mode: test                      (trainer | test)
//   asked: 3 7 12 …                 (only where the laws were not asked 1 … 23 in order)
//   limit: 20                       (a test's time limit in minutes; only where it had one)
//   marks: 90,75,50                 (test runs: the least per cent right for a 5, a 4, a 3)
//   started: 2026-12-08T15:54:10.123+03:00
//   ended: 2026-12-08T16:10:02.480+03:00    (empty while the run goes on)
//   ending: finished                (going | finished | restarted | mode-changed | closed |
//                                    time-up; cut-short in a run read back as never closed,
//                                    written again; a word of a later version reads as cut-short)
//   answers: 23
//   answer: 1 right 2026-12-08T15:55:01.002+03:00 xилиyравноyилиx
//   …one "answer:" line per check: law, right|wrong, time, the formula key as written
// A reader older than "pupil" and "asked" passes over both: it shows the run under its login
// only, and its answers as they stand (each line names its law). One older than "limit" and
// "marks" passes over them too, but takes a file ending "time-up" for a damaged one. A file
// without "marks" is marked by the default thresholds.
// A run whose file still says "going" when read by anyone but its own window was cut short.
// Every answer is judged again from its key when read; the verdict follows that judgement and a
// file whose stored verdicts disagree is flagged as forged.
#pragma once

#include "core/run_record.h"

#include <QByteArray>
#include <QString>
#include <optional>

inline constexpr int kJournalFormat = 1;
inline constexpr char kJournalExtension[] = ".txt"; // a run's file; any other is no run

struct JournalRun {
    RunRecord run;
    QString user, machine, program;
    QString pupil;    // the name the pupil gave at Start; empty where none was asked
    QString fileName; // in the journal folder; empty for a run not read from a file
    // Read from the disk: the file's owner and its last write (ms since 1970), and whether a
    // stored verdict disagreed with the catalogue's judgement of its answer (the count follows
    // the catalogue).
    QString owner;
    std::int64_t writtenMs = 0;
    bool verdictsForged = false;
};

// Who the run is by: the name the pupil gave, or the login where no name was asked.
QString pupilOf(const JournalRun& entry);

// A run's file, and a file read back: the run, or why it cannot be read.
QByteArray journalText(const JournalRun& entry);
struct JournalReading {
    std::optional<JournalRun> run;
    QString problem; // in Russian, for the teacher: "пустой файл", "формат 2 новее этой программы"
};
JournalReading parseJournal(const QByteArray& text);

// Local time as the journal writes it, and back; nothing for a text that is no such time.
QString journalTime(std::int64_t ms);
std::optional<std::int64_t> journalTimeMs(const QString& text);

// A name or a machine's name as one line of the file.
QString oneLine(QString text);
// The most letters a name has where it is asked for.
inline constexpr int kNameLetters = 80;
// A name read from a file as the teacher's windows may show it: on one line, without control
// or direction characters (a planted right-to-left override shows a name reversed), and cut to
// kNameLetters.
QString shownName(const QString& text);
// The run's login, machine and pupil's name made shown names.
void cleanNames(JournalRun& entry);
