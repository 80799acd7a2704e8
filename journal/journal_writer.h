// Writing one window's runs into the journal folder, a file per run.
#pragma once

#include "core/run_record.h"

#include <QByteArray>
#include <QString>
#include <functional>

// Whose folder the journal is in: the program's own per-user folder is made when missing (and
// made again if it goes during a run); a folder the teacher named never is, since a missing
// one is a mistake or a share not mounted, and a folder made in its place would hide that.
enum class JournalFolderOrigin { perUserDefault, configured };

// Writes the runs of one window. Failures never stop the program: each is one line given to
// `report` (stderr by default), told once until writing works again.
class JournalWriter {
  public:
    explicit JournalWriter(QString folder,
                           std::function<void(const QString&)> report = reportOnStderr,
                           JournalFolderOrigin origin = JournalFolderOrigin::perUserDefault);
    // The pupil's name for the runs started from now on; empty: none. A run going stays the
    // pupil's who started it: a new name is written from the next run on.
    void setPupil(const QString& name);
    // The name the run being written was started with.
    const QString& runPupil() const { return pupil; }
    // Writes the run's file; a run with a new number gets a new file.
    void record(const RunRecord& run);
    // The file of the run written last; empty before the first.
    QString currentFile() const { return fileName; }
    const QString& folder() const { return dir; }
    // Why the last write failed, in Russian, one line («папки журнала нет: /srv/журнал»); empty
    // once a write succeeds.
    const QString& problem() const { return lastProblem; }

    static void reportOnStderr(const QString& line);

  private:
    enum class Written { yes, no, nameTaken };
    Written write(const QByteArray& text, QString& problem);
    QString newFileName(const RunRecord& run) const;

    QString dir;
    std::function<void(const QString&)> report;
    JournalFolderOrigin origin;
    QString user, machine;
    QString pupil, nextPupil; // of the run being written; of the runs started from now on
    int runNumber = 0;
    QString fileName;
    bool onDisk = false; // the run's file has been written once: later writes replace it
    QString lastProblem; // told once; empty once a write succeeds
};
