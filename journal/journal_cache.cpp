#include "journal/journal_cache.h"

#include "journal/lesson_file.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::int64_t kLargestRunFile = 64 << 10; // far above a run's few kilobytes
// A folder whose listing has not changed is not looked into file by file, but every so many
// refreshes it is, for a file rewritten in place; nor is a listing trusted that changed so
// short a time before it was read that another change could bear the same time.
constexpr int kFullEvery = 10;
constexpr std::int64_t kSettledNs = 2'000'000'000;
constexpr int kProgressStep = 256;
// Files a thread takes at a time, and fewer than how many are read by one thread alone.
constexpr std::size_t kTurn = 64;
constexpr std::size_t kReadAlone = 512;

std::int64_t nanosecondsOf(const timespec& t) {
    return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

bool isRunFileName(const std::string& name) {
    constexpr std::string_view extension = kJournalExtension;
    return name.size() > extension.size() && name.ends_with(extension);
}

QString unreadable(int error) {
    return QStringLiteral("не читается: ") + qt_error_string(error);
}

bool isDenied(int error) {
    return error == EACCES || error == EPERM;
}

std::int64_t nowNs() {
    timespec t{};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return nanosecondsOf(t);
}

// The folder's names, hidden ones aside (".name.tmp" is a run being written), sorted, each
// with what the listing says it is.
struct Name {
    std::string name;
    unsigned char type;
};
std::optional<std::vector<Name>> namesIn(DIR* folder) {
    std::vector<Name> names;
    errno = 0;
    while (const dirent* e = ::readdir(folder)) {
        // Hidden files and the class's lesson file are no runs, nor anything to report.
        if (e->d_name[0] != '.' && std::strcmp(e->d_name, kLessonFileName) != 0)
            names.push_back({e->d_name, e->d_type});
        errno = 0;
    }
    if (errno != 0) return std::nullopt;
    std::sort(names.begin(), names.end(),
              [](const Name& a, const Name& b) { return a.name < b.name; });
    return names;
}

// A file (or a link to one), not a folder, a pipe or a device; only files can be runs.
bool isFile(int dirFd, const Name& n) {
    if (n.type == DT_REG) return true;
    if (n.type != DT_LNK && n.type != DT_UNKNOWN) return false;
    struct stat st {};
    return ::fstatat(dirFd, n.name.c_str(), &st, 0) == 0 && S_ISREG(st.st_mode);
}

// Reads the whole file, up to one byte more than kLargestRunFile, into `buffer` (kept from file
// to file); nothing on a read error (errno says).
std::optional<QByteArray> bytesOf(int fd, std::int64_t size, QByteArray& buffer) {
    const auto wanted = qsizetype(std::clamp<std::int64_t>(size + 1, 4096, kLargestRunFile + 1));
    if (buffer.size() < wanted) buffer.resize(wanted);
    qsizetype total = 0;
    while (true) {
        const ssize_t got = ::read(fd, buffer.data() + total, std::size_t(buffer.size() - total));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        total += got;
        if (total < buffer.size()) {
            if (total >= size) break; // short of the buffer at the size the file had: its end
            continue;
        }
        if (total > kLargestRunFile) break;
        buffer.resize(std::min<qsizetype>(buffer.size() * 2, kLargestRunFile + 1));
    }
    return QByteArray::fromRawData(buffer.constData(), total);
}

// A file as read, before the cache keeps it: what any thread may do with it.
struct FileRead {
    std::int64_t size = -1;
    std::int64_t mtimeNs = -1;
    std::optional<JournalRun> run;
    QString skipped;     // why the file is no run, where it is none
    bool denied = false; // this user may not read it
    unsigned uid = 0;
};

QString tooLarge() {
    return QStringLiteral("больше %1 КиБ: не файл журнала, не прочитан").arg(kLargestRunFile >> 10);
}

// Reads a run's file; nothing when it is gone since the folder was listed. `buffer` holds the
// bytes, kept from file to file.
std::optional<FileRead> readFile(int dirFd, const std::string& name, QByteArray& buffer) {
    FileRead file;
    const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) return std::nullopt;
        file.denied = isDenied(errno);
        file.skipped = unreadable(errno);
        return file;
    }
    struct stat st {};
    std::optional<QByteArray> bytes;
    const bool known = ::fstat(fd, &st) == 0;
    // One too large is never read: kept by its size and time like a run, so never opened again
    // while it stays as it is.
    if (known && st.st_size <= kLargestRunFile) bytes = bytesOf(fd, st.st_size, buffer);
    const int error = errno;
    ::close(fd);
    if (known && (st.st_size > kLargestRunFile || (bytes && bytes->size() > kLargestRunFile))) {
        file.size = st.st_size;
        file.mtimeNs = nanosecondsOf(st.st_mtim);
        file.skipped = tooLarge();
        return file;
    }
    if (!bytes) {
        file.skipped = unreadable(error);
        return file;
    }
    file.size = st.st_size;
    file.mtimeNs = nanosecondsOf(st.st_mtim);
    file.uid = st.st_uid;
    JournalReading reading = parseJournal(*bytes);
    if (!reading.run) {
        file.skipped = reading.problem;
        return file;
    }
    file.run = std::move(reading.run);
    file.run->fileName = QFile::decodeName(name.c_str());
    file.run->writtenMs = file.mtimeNs / 1'000'000;
    return file;
}

} // namespace

JournalCache::JournalCache(QString folder) : dir(std::move(folder)) {}

QString JournalCache::ownerName(unsigned uid) {
    if (const auto it = owners.constFind(uid); it != owners.constEnd()) return *it;
    passwd pw{};
    passwd* found = nullptr;
    char buffer[4096];
    QString name;
    if (::getpwuid_r(uid, &pw, buffer, sizeof buffer, &found) == 0 && found && pw.pw_name)
        name = QString::fromLocal8Bit(pw.pw_name);
    // A uid with no name here (an account of another machine) is shown as its number.
    if (name.isEmpty()) name = QString::number(uid);
    owners.insert(uid, name);
    return name;
}

JournalListing JournalCache::refresh(const Progress& progress, std::stop_token stop) {
    JournalListing listing;
    const int dirFd =
        ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        const int error = errno;
        entries.clear();
        last.reset();
        if (error == EACCES)
            listing.hiddenFromPupil = true; // a class's drop box: pupils may write, not list
        else if (error == ENOENT)
            listing.problem = QStringLiteral("папки журнала нет: ") + dir;
        else
            listing.problem = QStringLiteral("папка журнала не читается: %1: %2")
                                  .arg(dir, qt_error_string(error));
        return listing;
    }
    struct stat dirStat {};
    const bool stamped = ::fstat(dirFd, &dirStat) == 0;
    const FolderStamp stamp{dirStat.st_dev, dirStat.st_ino, nanosecondsOf(dirStat.st_mtim)};
    if (stamped && last && stamp == lastStamp && lastSettled && ++unlooked < kFullEvery) {
        ::close(dirFd);
        return *last;
    }
    DIR* folder = ::fdopendir(dirFd);
    const auto names = folder ? namesIn(folder) : std::nullopt;
    if (!names) {
        listing.problem =
            QStringLiteral("папка журнала не читается: %1: %2").arg(dir, qt_error_string(errno));
        folder ? ::closedir(folder) : ::close(dirFd);
        return listing;
    }

    // First what changed: new names are read at once, known ones only when their size or
    // modification time moved.
    std::vector<const Name*> runFiles, toRead;
    entries.reserve(names->size()); // a first read fills it at once, without rehashing
    for (const Name& n : *names) {
        if (!isFile(dirFd, n)) continue;
        if (!isRunFileName(n.name)) {
            listing.skipped.push_back(
                {QFile::decodeName(n.name.c_str()), QStringLiteral("не файл журнала")});
            continue;
        }
        runFiles.push_back(&n);
        const auto known = entries.find(n.name);
        if (known == entries.end() || known->second.size < 0) {
            toRead.push_back(&n);
            continue;
        }
        struct stat st {};
        if (::fstatat(dirFd, n.name.c_str(), &st, 0) != 0 || st.st_size != known->second.size ||
            nanosecondsOf(st.st_mtim) != known->second.mtimeNs)
            toRead.push_back(&n);
    }
    // This thread reads them and, when there are many (a first read of a class's folder), a
    // second one beside it, each taking the next few in turn: the files' system calls and their
    // parsing then share a lab machine's two cores.
    const int total = int(toRead.size());
    if (progress) progress(0, total);
    struct Slot {
        bool reached = false;
        std::optional<FileRead> file; // nothing: gone
    };
    std::vector<Slot> read(toRead.size());
    std::atomic<std::size_t> next{0};
    std::atomic<int> done{0};
    const auto work = [&](QByteArray& bytes, bool reports) {
        int reported = 0;
        for (std::size_t from; (from = next.fetch_add(kTurn)) < toRead.size();) {
            const std::size_t to = std::min(from + kTurn, toRead.size());
            for (std::size_t i = from; i < to; ++i) {
                if (stop.stop_requested()) return;
                read[i] = {true, readFile(dirFd, toRead[i]->name, bytes)};
            }
            const int now = done += int(to - from);
            if (reports && progress && now < total && now / kProgressStep > reported) {
                reported = now / kProgressStep;
                progress(now, total);
            }
        }
    };
    {
        QByteArray helperBuffer;
        std::optional<std::jthread> helper;
        if (toRead.size() >= kReadAlone && std::thread::hardware_concurrency() > 1)
            helper.emplace([&] { work(helperBuffer, false); });
        work(buffer, true);
    } // the helper has ended
    ::closedir(folder);
    if (progress) progress(done, total);
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (!read[i].reached) continue; // the refresh was stopped first
        const std::string& name = toRead[i]->name;
        if (!read[i].file) {
            entries.erase(name);
            continue;
        }
        FileRead& file = *read[i].file;
        Entry& entry = entries[name];
        entry.size = file.size;
        entry.mtimeNs = file.mtimeNs;
        entry.skipped = std::move(file.skipped);
        entry.denied = file.denied;
        entry.run.reset();
        if (file.run) {
            file.run->owner = ownerName(file.uid);
            entry.run = std::make_shared<const JournalRun>(std::move(*file.run));
        }
    }

    // Files gone are forgotten; the rest listed, runs newest first.
    std::vector<JournalRuns::Shared> runs;
    runs.reserve(runFiles.size());
    ++generation;
    for (const Name* n : runFiles) {
        const auto it = entries.find(n->name);
        if (it == entries.end()) continue; // gone, or not read: the refresh was stopped
        Entry& e = it->second;
        e.generation = generation;
        if (e.run)
            runs.push_back(e.run);
        else
            listing.skipped.push_back({QFile::decodeName(n->name.c_str()), e.skipped});
        listing.unreadable += e.denied;
    }
    std::erase_if(entries, [&](const auto& e) { return e.second.generation != generation; });
    std::stable_sort(runs.begin(), runs.end(),
                     [](const JournalRuns::Shared& a, const JournalRuns::Shared& b) {
                         return a->run.startedMs > b->run.startedMs;
                     });
    listing.runs.reserve(runs.size());
    for (JournalRuns::Shared& r : runs)
        listing.runs.push_back(std::move(r));
    // Kept for the refreshes that find the folder as it was; not one stopped half way.
    last.reset();
    if (stamped && !stop.stop_requested()) {
        last = listing;
        lastStamp = stamp;
        lastSettled = nowNs() - stamp.mtimeNs > kSettledNs;
        unlooked = 0;
    }
    return listing;
}

JournalListing readJournal(const QString& folder) {
    return JournalCache(folder).refresh();
}

QString noAccessText(const JournalListing& listing, const QString& folder) {
    const int n = listing.unreadable;
    if (n == 0) return {};
    const bool one = n % 10 == 1 && n % 100 != 11;
    const QFileInfo info(folder);
    const QString group = info.group().isEmpty() ? QString::number(info.groupId()) : info.group();
    return QStringLiteral("Журнал прочитан не весь: нет доступа к %1 %2. Учитель должен быть в "
                          "группе папки журнала («%3») и войти в систему заново: новая группа "
                          "действует только с нового входа.")
        .arg(n)
        .arg(one ? QStringLiteral("файлу") : QStringLiteral("файлам"), group);
}
