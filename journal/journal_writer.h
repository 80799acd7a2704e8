// Writing one window's runs into the journal folder, a file per run.
#pragma once

#include "core/run_record.h"

#include <QByteArray>
#include <QString>
#include <functional>

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
