// The journal as a workbook that any spreadsheet opens as it is meant (.xlsx): a sheet of the
// runs with a column per law, the per-law statistics and every answer.
#pragma once

#include "journal/journal_runs.h"

#include <QString>

// Writes the workbook at `path` (whole or not at all); empty when written, else why not.
QString writeJournalWorkbook(const QString& path, const JournalRuns& runs);
