// Reading a journal folder: every run's file in it, newest first, and what was skipped and why.
#pragma once

#include "journal/journal_file.h"
#include "journal/journal_runs.h"

#include <QString>
#include <vector>

struct SkippedFile {
    QString fileName;
    QString why;
};
struct JournalListing {
    JournalRuns runs; // newest first
    std::vector<SkippedFile> skipped;
    // Of those skipped, the files this user may not read (in `skipped` with why): a teacher not
    // yet in the folder's group, or not logged in again since being put in it.
    int unreadable = 0;
    QString problem; // the folder itself cannot be read; empty when it can
    // The folder is there but may not be listed: a class's drop box, which its pupils write
    // into and only the teacher reads. No problem of the pupil's.
    bool hiddenFromPupil = false;
};
// Every run in the folder, read at once (a window reading a class's folder again and again
// keeps a JournalCache, or a JournalLoader off its thread). A run whose file says "going" stays
// going: it may be going or cut short, and only its writer can tell.
JournalListing readJournal(const QString& folder);

// One run's file read from its text: what parseJournal makes of it, several times faster for
// the files the writer writes.
JournalReading readRunText(const QByteArray& bytes);

// What the teacher is told of the files the listing could not read for want of access, with
// what to do; empty when there are none.
QString noAccessText(const JournalListing& listing, const QString& folder);

// The folder used when neither the command line nor the settings name one.
QString defaultJournalFolder();
QString currentUserName();
