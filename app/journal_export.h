// The journal written to a file from the command line, with no window.
#pragma once

#include <QString>

class QTextStream;

// --export-journal: the folder's runs into `path`, a workbook where it ends in ".xlsx", CSV
// otherwise; what was skipped on `errors`. A folder not made yet is an empty journal. 0 when
// written, 1 when the folder cannot be read or the file cannot be written, 2 when written
// without some runs whose files could not be read (said on `errors`, with what to do).
int exportJournal(const QString& folder, const QString& path, QTextStream& out,
                  QTextStream& errors);
