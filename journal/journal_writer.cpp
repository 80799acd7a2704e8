#include "journal/journal_writer.h"

#include "journal/journal_defaults.h"
#include "journal/journal_file.h"
#include "journal/platform_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSysInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

// Each write, for an administrator watching a machine's journal (off unless the logging rules
// turn it on: QT_LOGGING_RULES="zakony.journal.info=true").
Q_LOGGING_CATEGORY(journalWrites, "zakony.journal", QtWarningMsg)

namespace {

constexpr QFileDevice::Permissions kRunFileMode =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;

QString forFileName(const QString& text) {
    QString safe;
    for (QChar c : text)
        safe += c.isLetterOrNumber() || c == '-' || c == '_' ? c : QChar('_');
    return safe.left(40).isEmpty() ? QStringLiteral("_") : safe.left(40);
}

QString errnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

JournalWriter::JournalWriter(QString folder, std::function<void(const QString&)> report,
                             JournalFolderOrigin origin)
    : dir(std::move(folder)), report(std::move(report)), origin(origin), user(currentUserName()),
      machine(QSysInfo::machineHostName()) {}

void JournalWriter::setPupil(const QString& name) {
    nextPupil = name;
}

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
        pupil = nextPupil;
        // The start time, the machine, the user, the process and a random part; and a name
        // already taken (cloned machines share names and users) is never written over.
        fileName = newFileName(run);
        onDisk = false;
    }
    JournalRun entry;
    entry.run = run;
    entry.user = user;
    entry.machine = machine;
    entry.pupil = pupil;
    entry.program = QCoreApplication::applicationVersion();
    QString problem;
    Written written = write(journalText(entry), problem);
    for (int tries = 0; written == Written::nameTaken && tries < 8; ++tries) {
        fileName = newFileName(run);
        written = write(journalText(entry), problem);
    }
    if (written == Written::yes) {
        onDisk = true;
        lastProblem.clear();
        qCInfo(journalWrites).noquote() << QStringLiteral("прохождение %1 записано: ответов %2, %3")
                                               .arg(run.number)
                                               .arg(run.answers.size())
                                               .arg(QDir(dir).filePath(fileName));
        return;
    }
    if (written == Written::nameTaken) problem = QStringLiteral("имена файлов заняты");
    if (problem == lastProblem) return;
    lastProblem = problem;
    if (report)
        report(QStringLiteral("журнал не записан: %1; тренажёр работает дальше").arg(problem));
}

// Written aside, flushed to the disk and renamed over the old file by QSaveFile: the file is
// always whole. A run's first write goes to a hidden name of its own and is then placed only
// where no file has the run's name; reserving the name with an empty file first would leave
// that empty file behind when the program is killed before the rename.
JournalWriter::Written JournalWriter::write(const QByteArray& text, QString& problem) {
    const auto fail = [&](const QString& what, const QString& why) {
        problem = what + QStringLiteral(": ") + why;
        return Written::no;
    };
    if (!QFileInfo(dir).isDir()) {
        if (origin == JournalFolderOrigin::configured) {
            problem = QStringLiteral("папки журнала нет: ") + dir;
            return Written::no;
        }
        // Made again if it went away during the run: the whole run is in every write.
        errno = 0;
        if (!QDir().mkpath(dir)) {
            errno = errno ? errno : EACCES;
            return fail(QStringLiteral("папка %1 не создаётся").arg(dir), errnoText());
        }
    }
    const QString path = QDir(dir).filePath(fileName);
    const QString target = onDisk ? path : QDir(dir).filePath('.' + fileName + ".tmp");
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) return fail(path, file.errorString());
    // The folder's group may read it (the teacher's, in a shared folder), whatever the umask;
    // a file system without modes keeps its own.
    file.setPermissions(kRunFileMode);
    if (file.write(text) != text.size() || !file.flush()) return fail(path, file.errorString());
    if (const QString why = syncToDisk(file); !why.isEmpty()) return fail(path, why);
    if (!file.commit()) return fail(path, file.errorString());
    if (onDisk) return Written::yes;
    switch (placeNewFile(target, path, problem)) {
    case Placed::yes:
        return Written::yes;
    case Placed::nameTaken:
        return Written::nameTaken;
    case Placed::failed:
        break;
    }
    return fail(path, problem);
}
