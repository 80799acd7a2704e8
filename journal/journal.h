// The journal: one small UTF-8 text file per run in a journal folder, rewritten whole after
// every answer (written aside, flushed to the disk, then renamed over the old one), so a kill or
// a power cut loses at most the answer being written and never leaves half a file. Reading
// lists every run found, newest first, and says which files it skipped and why.
//
// The file, format 1 (lines "name: value", each ended by a newline; the eight lines of the head
// each once; unknown names of lower-case letters, digits and hyphens are passed over, any other
// line is damage):
//   zakony-logiki-journal 1
//   program: 1.3.0
//   user: ivanov
//   machine: class-07
//   mode: test                      (trainer | test)
//   started: 2026-12-08T15:54:10.123+03:00
//   ended: 2026-12-08T16:10:02.480+03:00    (empty while the run goes on)
//   ending: finished                (going | finished | restarted | mode-changed | closed;
//                                    cut-short in a run read back as never closed, written again)
//   answers: 23
//   answer: 1 right 2026-12-08T15:55:01.002+03:00 xилиyравноyилиx
//   …one "answer:" line per check: law, right|wrong, time, the formula key as written
// A run whose file still says "going" when read by anyone but its own window was cut short.
#pragma once

#include "core/run_record.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

inline constexpr int kJournalFormat = 1;

struct JournalRun {
    RunRecord run;
    QString user, machine, program;
    QString fileName; // in the journal folder; empty for a run not read from a file
};

// A run's file, and a file read back: the run, or why it cannot be read.
QByteArray journalText(const JournalRun& entry);
struct JournalReading {
    std::optional<JournalRun> run;
    QString problem; // in Russian, for the teacher: "пустой файл", "формат 2 новее этой программы"
};
JournalReading parseJournal(const QByteArray& text);

struct SkippedFile {
    QString fileName;
    QString why;
};
struct JournalListing {
    std::vector<JournalRun> runs; // newest first
    std::vector<SkippedFile> skipped;
    QString problem; // the folder itself cannot be read; empty when it can
};
// Every run in the folder. A run whose file says "going" is shown cut short, except the one in
// `ownFile`, which this window is writing now.
JournalListing readJournal(const QString& folder, const QString& ownFile = {});

// CSV for a spreadsheet: UTF-8 with a byte order mark, one header row, commas, fields quoted
// where needed, lines ended by CR LF, times as "2026-12-08 15:54:10".
QByteArray runsCsv(const std::vector<JournalRun>& runs);
QByteArray answersCsv(const JournalRun& entry);

// --export-journal: the folder's runs as CSV into `csvPath`, what was skipped on `errors`.
// 0 when written, 1 when the folder cannot be read or the file cannot be written.
class QTextStream;
int exportJournal(const QString& folder, const QString& csvPath, QTextStream& out,
                  QTextStream& errors);

// Local time as the journal writes it, and back; nothing for a text that is no such time.
QString journalTime(std::int64_t ms);
std::optional<std::int64_t> journalTimeMs(const QString& text);

// The folder used when neither the command line nor the settings name one.
QString defaultJournalFolder();
QString currentUserName();

// Writes the runs of one window. Failures never stop the program: each is one line given to
// `report` (stderr by default), told once until writing works again.
class JournalWriter {
  public:
    explicit JournalWriter(QString folder,
                           std::function<void(const QString&)> report = reportOnStderr);
    // Writes the run's file; a run with a new number gets a new file.
    void record(const RunRecord& run);
    // The file of the run written last; empty before the first.
    QString currentFile() const { return fileName; }
    const QString& folder() const { return dir; }
    bool lastWriteFailed() const { return !reported.isEmpty(); }

    static void reportOnStderr(const QString& line);

  private:
    enum class Written { yes, no, nameTaken };
    Written write(const QByteArray& text, QString& problem);
    QString newFileName(const RunRecord& run) const;

    QString dir;
    std::function<void(const QString&)> report;
    QString user, machine;
    int runNumber = 0;
    QString fileName;
    bool onDisk = false; // the run's file has been written once: later writes replace it
    QString reported;    // the last problem told; empty once a write succeeds
};
