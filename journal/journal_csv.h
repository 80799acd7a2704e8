// The journal as CSV for a spreadsheet, and --export-journal.
#pragma once

#include "journal/journal_runs.h"

#include <QByteArray>
#include <QString>

// CSV as a Russian spreadsheet reads it: UTF-8 with a byte order mark, one header row, fields
// apart by ";", quoted where needed, lines ended by CR LF, times as "2026-12-08 15:54:10". A
// text that a spreadsheet would take for a formula (= + - @, a tab or CR first) is written
// after an apostrophe, so that it stays text.
QByteArray runsCsv(const JournalRuns& runs);
QByteArray answersCsv(const JournalRun& entry);

// --export-journal: the folder's runs into `path`, a workbook where it ends in ".xlsx", CSV
// otherwise; what was skipped on `errors`. A folder not made yet is an empty journal. 0 when
// written, 1 when the folder cannot be read or the file cannot be written, 2 when written
// without some runs whose files could not be read (said on `errors`, with what to do).
class QTextStream;
int exportJournal(const QString& folder, const QString& path, QTextStream& out,
                  QTextStream& errors);
