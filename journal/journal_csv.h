// The journal as CSV for a spreadsheet, and --export-journal.
#pragma once

#include "journal/journal_file.h"

#include <QByteArray>
#include <QString>
#include <vector>

// CSV for a spreadsheet: UTF-8 with a byte order mark, one header row, commas, fields quoted
// where needed, lines ended by CR LF, times as "2026-12-08 15:54:10".
QByteArray runsCsv(const std::vector<JournalRun>& runs);
QByteArray answersCsv(const JournalRun& entry);

// --export-journal: the folder's runs as CSV into `csvPath`, what was skipped on `errors`.
// 0 when written, 1 when the folder cannot be read or the file cannot be written.
class QTextStream;
int exportJournal(const QString& folder, const QString& csvPath, QTextStream& out,
                  QTextStream& errors);
