// A journal folder read off the window's thread: a class's shared folder may hold many
// thousands of runs, or sit on a slow network, and the window must never wait for it.
#pragma once

#include "journal/journal_cache.h"

#include <QObject>
#include <QString>
#include <QThread>
#include <stop_token>

// Owns a JournalCache worked in a thread of its own; its signals come in the owner's thread.
class JournalLoader : public QObject {
    Q_OBJECT
  public:
    explicit JournalLoader(const QString& folder, QObject* parent = nullptr);
    ~JournalLoader() override; // stops a refresh under way and waits for the thread

    // Reads the folder again (only what changed since the last time). Asked while a refresh
    // runs, one more follows it, however often it was asked.
    void reload();

  signals:
    // Now and then during a refresh: files read of those it has to read.
    void progress(int done, int total);
    void loaded(const JournalListing& listing);

  private:
    void start();

    QThread thread;
    QObject* worker; // lives in `thread`; the cache is touched there alone
    JournalCache* cache;
    std::stop_source stopping;
    bool running = false, again = false;
};
