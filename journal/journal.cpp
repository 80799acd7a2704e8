#include "journal/journal.h"

#include "core/laws.h"
#include "journal/qt_text.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

namespace {

constexpr char kMagic[] = "zakony-logiki-journal";
constexpr char kExtension[] = ".txt";

// Names and machine names go on one line of the file and into a file name.
QString oneLine(QString text) {
    for (QChar& c : text)
        if (c.isSpace() || c.category() == QChar::Other_Control) c = QLatin1Char(' ');
    return text.simplified();
}

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

std::optional<Mode> modeNamed(const QString& word) {
    for (Mode m : {Mode::trainer, Mode::test})
        if (word == qs(modeWord(m))) return m;
    return std::nullopt;
}

std::optional<RunEnding> endingNamed(const QString& word) {
    for (RunEnding e : {RunEnding::going, RunEnding::finished, RunEnding::restarted,
                        RunEnding::modeChanged, RunEnding::closed, RunEnding::cutShort})
        if (word == qs(endingWord(e))) return e;
    return std::nullopt;
}

// One answer line's value: "<law> right|wrong <time> <key>"; the key may be empty.
std::optional<Answer> answerFrom(const QString& value) {
    const QStringList parts = value.split(QLatin1Char(' '));
    if (parts.size() < 3 || parts.size() > 4) return std::nullopt;
    bool isNumber = false;
    const int lawNumber = parts[0].toInt(&isNumber);
    if (!isNumber || lawNumber < 1 || lawNumber > kLawCount) return std::nullopt;
    if (parts[1] != "right" && parts[1] != "wrong") return std::nullopt;
    const auto at = journalTimeMs(parts[2]);
    if (!at) return std::nullopt;
    return Answer{lawNumber, parts.size() == 4 ? parts[3].toStdString() : std::string(),
                  parts[1] == "right", *at};
}

// The lines every run's file has, each once; the "answer" lines are counted by "answers".
const QStringList kHeadLines{"program", "user",  "machine", "mode",
                             "started", "ended", "ending",  "answers"};

// A line's name: lower-case Latin letters, digits and hyphens, from a letter. Anything else is
// no line of a journal's file, whatever version wrote it.
bool isLineName(const QString& name) {
    if (name.isEmpty() || name[0] < 'a' || name[0] > 'z') return false;
    for (QChar c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
    return true;
}

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    return '"' + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + '"';
}

void csvLine(QByteArray& csv, const QStringList& fields) {
    QStringList quoted;
    for (const QString& f : fields)
        quoted << csvField(f);
    csv += quoted.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

QString csvTime(std::int64_t ms) {
    return ms ? QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
              : QString();
}

QByteArray withByteOrderMark() {
    return QByteArray("\xEF\xBB\xBF");
}

} // namespace

QString journalTime(std::int64_t ms) {
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms);
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

std::optional<std::int64_t> journalTimeMs(const QString& text) {
    const QDateTime t = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!t.isValid()) return std::nullopt;
    return t.toMSecsSinceEpoch();
}

QByteArray journalText(const JournalRun& entry) {
    const RunRecord& run = entry.run;
    QString text;
    text += QStringLiteral("%1 %2\n").arg(QLatin1String(kMagic)).arg(kJournalFormat);
    text += "program: " + oneLine(entry.program) + '\n';
    text += "user: " + oneLine(entry.user) + '\n';
    text += "machine: " + oneLine(entry.machine) + '\n';
    text += "mode: " + qs(modeWord(run.mode)) + '\n';
    text += "started: " + journalTime(run.startedMs) + '\n';
    text += "ended: " + (run.endedMs ? journalTime(run.endedMs) : QString()) + '\n';
    text += "ending: " + qs(endingWord(run.ending)) + '\n';
    text += QStringLiteral("answers: %1\n").arg(run.answers.size());
    for (const Answer& a : run.answers)
        text += QStringLiteral("answer: %1 %2 %3 %4\n")
                    .arg(a.law)
                    .arg(a.right ? "right" : "wrong", journalTime(a.atMs), oneLine(qs(a.key)));
    return text.toUtf8();
}

JournalReading parseJournal(const QByteArray& bytes) {
    if (bytes.isEmpty()) return {std::nullopt, QStringLiteral("пустой файл")};
    const QString text = QString::fromUtf8(bytes);
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QStringList first = lines[0].split(QLatin1Char(' '));
    if (first.size() != 2 || first[0] != kMagic)
        return {std::nullopt, QStringLiteral("не файл журнала")};
    bool isNumber = false;
    const int format = first[1].toInt(&isNumber);
    if (!isNumber || format < 1) return {std::nullopt, QStringLiteral("не файл журнала")};
    if (format > kJournalFormat)
        return {std::nullopt,
                QStringLiteral("формат %1 новее этой программы (она читает формат %2)")
                    .arg(format)
                    .arg(kJournalFormat)};
    JournalRun entry;
    RunRecord& run = entry.run;
    int answersSaid = -1;
    auto damaged = [](const QString& what) {
        return JournalReading{std::nullopt, QStringLiteral("файл повреждён: ") + what};
    };
    const auto badLine = [&](qsizetype i) {
        return damaged(QStringLiteral("строка %1").arg(i + 1));
    };
    // Every file written ends its last line; one that does not was cut off.
    if (!bytes.endsWith('\n')) return damaged(QStringLiteral("оборван"));
    QStringList seen; // of the head's lines
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty()) continue;
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        if (colon < 0 && !line.endsWith(':')) return badLine(i);
        const QString name = colon < 0 ? line.chopped(1) : line.left(colon);
        if (!isLineName(name)) return badLine(i);
        const QString value = colon < 0 ? QString() : line.mid(colon + 2);
        if (kHeadLines.contains(name)) {
            if (seen.contains(name)) return badLine(i);
            seen << name;
        }
        if (name == "program")
            entry.program = value;
        else if (name == "user")
            entry.user = value;
        else if (name == "machine")
            entry.machine = value;
        else if (name == "mode") {
            const auto m = modeNamed(value);
            if (!m) return badLine(i);
            run.mode = *m;
        } else if (name == "started") {
            const auto t = journalTimeMs(value);
            if (!t) return badLine(i);
            run.startedMs = *t;
        } else if (name == "ended") {
            const auto t = journalTimeMs(value);
            if (!value.isEmpty() && !t) return badLine(i);
            run.endedMs = t.value_or(0);
        } else if (name == "ending") {
            const auto e = endingNamed(value);
            if (!e) return badLine(i);
            run.ending = *e;
        } else if (name == "answers") {
            answersSaid = value.toInt(&isNumber);
            if (!isNumber) return badLine(i);
        } else if (name == "answer") {
            const auto a = answerFrom(value);
            if (!a) return badLine(i);
            run.answers.push_back(*a);
        }
    }
    if (seen.size() != kHeadLines.size()) return damaged(QStringLiteral("нет начала записи"));
    if (answersSaid != static_cast<int>(run.answers.size()))
        return damaged(QStringLiteral("не все ответы на месте"));
    run.number = 1;
    return {entry, {}};
}

JournalListing readJournal(const QString& folder, const QString& ownFile) {
    JournalListing listing;
    const QDir dir(folder);
    if (!dir.exists()) {
        listing.problem = QStringLiteral("папки журнала нет: ") + folder;
        return listing;
    }
    if (!dir.isReadable()) {
        listing.problem = QStringLiteral("папка журнала не читается: ") + folder;
        return listing;
    }
    // Hidden files are runs being written (".name.tmp"), or no business of the journal's.
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile file(dir.filePath(name));
        if (!name.endsWith(QLatin1String(kExtension))) {
            listing.skipped.push_back({name, QStringLiteral("не файл журнала")});
            continue;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            listing.skipped.push_back({name, QStringLiteral("не читается: ") + file.errorString()});
            continue;
        }
        const QByteArray bytes = file.read(1 << 20);
        if (file.error() != QFileDevice::NoError) {
            listing.skipped.push_back({name, QStringLiteral("не читается: ") + file.errorString()});
            continue;
        }
        JournalReading reading = parseJournal(bytes);
        if (!reading.run) {
            listing.skipped.push_back({name, reading.problem});
            continue;
        }
        reading.run->fileName = name;
        if (reading.run->run.ending == RunEnding::going && name != ownFile)
            reading.run->run.ending = RunEnding::cutShort;
        listing.runs.push_back(std::move(*reading.run));
    }
    std::stable_sort(
        listing.runs.begin(), listing.runs.end(),
        [](const JournalRun& a, const JournalRun& b) { return a.run.startedMs > b.run.startedMs; });
    return listing;
}

QByteArray runsCsv(const std::vector<JournalRun>& runs) {
    QByteArray csv = withByteOrderMark();
    csvLine(csv, {QStringLiteral("Начало"), QStringLiteral("Конец"), QStringLiteral("Ученик"),
                  QStringLiteral("Компьютер"), QStringLiteral("Режим"), QStringLiteral("Ответов"),
                  QStringLiteral("Правильно"), QStringLiteral("Неправильно"),
                  QStringLiteral("Как окончен"), QStringLiteral("Файл")});
    for (const JournalRun& e : runs)
        csvLine(csv, {csvTime(e.run.startedMs), csvTime(e.run.endedMs), e.user, e.machine,
                      qs(modeShown(e.run.mode)), QString::number(e.run.answers.size()),
                      QString::number(e.run.rightCount()), QString::number(e.run.wrongCount()),
                      qs(endingShown(e.run.ending)), e.fileName});
    return csv;
}

QByteArray answersCsv(const JournalRun& entry) {
    QByteArray csv = withByteOrderMark();
    csvLine(csv,
            {QStringLiteral("Вопрос"), QStringLiteral("Закон"), QStringLiteral("Ответ"),
             QStringLiteral("Оценка"), QStringLiteral("Принятая форма"),
             QStringLiteral("Время ответа"), QStringLiteral("Ученик"), QStringLiteral("Компьютер"),
             QStringLiteral("Режим"), QStringLiteral("Начало"), QStringLiteral("Ключ ответа")});
    const std::vector<ReviewRow> rows = reviewRows(entry.run);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ReviewRow& r = rows[i];
        const Answer& a = entry.run.answers[i];
        csvLine(csv, {QString::number(r.number), qs(r.lawName), qs(r.answer), qs(r.verdict),
                      qs(r.accepted), csvTime(a.atMs), entry.user, entry.machine,
                      qs(modeShown(entry.run.mode)), csvTime(entry.run.startedMs), qs(a.key)});
    }
    return csv;
}

int exportJournal(const QString& folder, const QString& csvPath, QTextStream& out,
                  QTextStream& errors) {
    const JournalListing listing = readJournal(folder);
    if (!listing.problem.isEmpty()) {
        errors << "zakony-logiki: " << listing.problem << Qt::endl;
        return 1;
    }
    for (const SkippedFile& s : listing.skipped)
        errors << "zakony-logiki: пропущен " << QDir(folder).filePath(s.fileName) << ": " << s.why
               << Qt::endl;
    QSaveFile file(csvPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(runsCsv(listing.runs)) < 0 ||
        !file.commit()) {
        errors << "zakony-logiki: " << csvPath << " не записан: " << file.errorString() << Qt::endl;
        return 1;
    }
    out << "Прохождений в " << csvPath << ": " << listing.runs.size() << Qt::endl;
    return 0;
}

QString defaultJournalFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/zakony-logiki/journal");
}

QString currentUserName() {
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER", QStringLiteral("?"));
}

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
        .arg(QLatin1String(kExtension));
}

void JournalWriter::record(const RunRecord& run) {
    if (run.number != runNumber || fileName.isEmpty()) {
        runNumber = run.number;
        // The start time, the machine, the user, the process and a random part; and a name
        // already taken (cloned machines share names and users) is never written over.
        fileName = newFileName(run);
        onDisk = false;
    }
    JournalRun entry{run, user, machine, QCoreApplication::applicationVersion(), {}};
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
