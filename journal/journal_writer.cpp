#include "journal/journal_writer.h"

#include "journal/journal_file.h"
#include "journal/journal_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSysInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString forFileName(const QString& text) {
    QString safe;
    for (QChar c : text)
        safe += c.isLetterOrNumber() || c == '-' || c == '_' ? c : QChar('_');
    return safe.left(40).isEmpty() ? QStringLiteral("_") : safe.left(40);
}

// The first write of a run's file: renamed into place only where no file has that name (EEXIST
// otherwise). Where the file system cannot say so in one step, it is asked first.
int placeNew(const char* aside, const char* path) {
    if (::renameat2(AT_FDCWD, aside, AT_FDCWD, path, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return -1;
    if (::access(path, F_OK) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(aside, path);
}

QString errnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

JournalWriter::JournalWriter(QString folder, std::function<void(const QString&)> report)
    : dir(std::move(folder)), report(std::move(report)), user(currentUserName()),
      machine(QSysInfo::machineHostName()) {}

void JournalWriter::reportOnStderr(const QString& line) {
    std::fprintf(stderr, "zakony-logiki: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

QString JournalWriter::newFileName(const RunRecord& run) const {
    return QStringLiteral("%1_%2_%3_%4_%5%6")
        .arg(QDateTime::fromMSecsSinceEpoch(run.startedMs)
                 .toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")),
             forFileName(machine), forFileName(user))
        .arg(QCoreApplication::applicationPid())
        .arg(QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16, QChar('0'))
        .arg(QLatin1String(kJournalExtension));
}

void JournalWriter::record(const RunRecord& run) {
    if (run.number != runNumber || fileName.isEmpty()) {
        runNumber = run.number;
        // The start time, the machine, the user, the process and a random part; and a name
        // already taken (cloned machines share names and users) is never written over.
        fileName = newFileName(run);
        onDisk = false;
    }
    JournalRun entry;
    entry.run = run;
    entry.user = user;
    entry.machine = machine;
    entry.program = QCoreApplication::applicationVersion();
    QString problem;
    Written written = write(journalText(entry), problem);
    for (int tries = 0; written == Written::nameTaken && tries < 8; ++tries) {
        fileName = newFileName(run);
        written = write(journalText(entry), problem);
    }
    if (written == Written::yes) {
        onDisk = true;
        reported.clear();
        return;
    }
    if (written == Written::nameTaken)
        problem =
            QStringLiteral("журнал не записан: имена файлов заняты; тренажёр работает дальше");
    if (problem == reported) return;
    reported = problem;
    if (report) report(problem);
}

// Aside, flushed to the disk, renamed over the old file: the file is always whole.
JournalWriter::Written JournalWriter::write(const QByteArray& text, QString& problem) {
    const auto fail = [&](const QString& what) {
        problem = QStringLiteral("журнал не записан (%1): %2; тренажёр работает дальше")
                      .arg(what, errnoText());
        return Written::no;
    };
    // Made again if it went away during the run: the whole run is in every write.
    if (!QDir().mkpath(dir)) {
        errno = errno ? errno : EACCES;
        return fail(QStringLiteral("папка %1 не создаётся").arg(dir));
    }
    const QString path = QDir(dir).filePath(fileName);
    const QString aside = QDir(dir).filePath('.' + fileName + QStringLiteral(".tmp"));
    const QByteArray asideName = QFile::encodeName(aside);
    const int fd = ::open(asideName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return fail(path);
    qsizetype done = 0;
    while (done < text.size()) {
        const ssize_t n =
            ::write(fd, text.constData() + done, static_cast<size_t>(text.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int saved = errno ? errno : ENOSPC;
            ::close(fd);
            ::unlink(asideName.constData());
            errno = saved;
            return fail(path);
        }
        done += n;
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const int saved = errno;
        ::unlink(asideName.constData());
        errno = saved;
        return fail(path);
    }
    const QByteArray pathName = QFile::encodeName(path);
    const int placed = onDisk ? ::rename(asideName.constData(), pathName.constData())
                              : placeNew(asideName.constData(), pathName.constData());
    if (placed != 0) {
        const int saved = errno;
        ::unlink(asideName.constData());
        if (saved == EEXIST) return Written::nameTaken;
        errno = saved;
        return fail(path);
    }
    return Written::yes;
}
