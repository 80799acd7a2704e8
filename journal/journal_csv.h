// The journal as CSV for a spreadsheet.
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
