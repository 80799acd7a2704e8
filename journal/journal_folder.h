// Reading a journal folder: every run's file in it, newest first, and what was skipped and why.
#pragma once

#include "journal/journal_file.h"

#include <QString>
#include <vector>

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

// The folder used when neither the command line nor the settings name one.
QString defaultJournalFolder();
QString currentUserName();
