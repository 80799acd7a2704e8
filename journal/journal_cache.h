// Reading a journal folder: every run's file in it, newest first, and what was skipped and why.
// A folder read again and again (a class writing into it during a lesson) keeps a JournalCache:
// only the files whose name, size or modification time changed since the last refresh are read
// again.
#pragma once

#include "journal/journal_file.h"
#include "journal/journal_runs.h"
#include "journal/platform_files.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <unordered_map>
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

// What the teacher is told of the files the listing could not read for want of access, with
// what to do; empty when there are none.
QString noAccessText(const JournalListing& listing, const QString& folder);

class JournalCache {
  public:
    explicit JournalCache(QString folder);

    // Called now and then with the files read so far of those this refresh has to read.
    using Progress = std::function<void(int done, int total)>;
    // The folder's runs as they are now. A stop asked for ends the refresh early with what was
    // read by then; the next refresh goes on from there.
    JournalListing refresh(const Progress& progress = {}, std::stop_token stop = {});

    const QString& folder() const { return dir; }

  private:
    struct Entry {
        std::int64_t size = -1;
        std::int64_t mtimeNs = -1;
        JournalRuns::Shared run;      // none where the file is no run
        QString skipped;              // why the file is no run, where it is none
        bool denied = false;          // this user may not read it
        std::uint64_t generation = 0; // the last refresh that found the file
    };
    QString ownerName(const QString& owner);

    QString dir;
    std::unordered_map<std::string, Entry> entries; // by the file's name as the disk has it
    QHash<QString, QString> owners;                 // accounts' names, each looked up once
    std::uint64_t generation = 0;                   // refreshes so far
    QByteArray buffer;                              // a file's bytes, kept from file to file
    std::optional<JournalListing> last;             // the last whole refresh's listing
    JournalFolder::Stamp lastStamp;                 // and the folder as it found it
    bool lastSettled = false; // the folder unchanged long enough before that refresh
    int unlooked = 0;         // refreshes since that passed over the files
};
