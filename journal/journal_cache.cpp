#include "journal/journal_cache.h"

#include "journal/lesson_file.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <thread>
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

bool isRunFileName(const std::string& name) {
    constexpr std::string_view extension = kJournalExtension;
    return name.size() > extension.size() && name.ends_with(extension);
}

// A file as read, before the cache keeps it: what any thread may do with it.
struct FileRead {
    std::int64_t size = -1;
    std::int64_t mtimeNs = -1;
    std::optional<JournalRun> run;
    QString skipped;              // why the file is no run, where it is none
    bool denied = false;          // this user may not read it
    std::optional<QString> owner; // the file's owner's number or SID, where known
};

QString tooLarge() {
    return QStringLiteral("больше %1 КиБ: не файл журнала, не прочитан").arg(kLargestRunFile >> 10);
}

// Reads a run's file; nothing when it is gone since the folder was listed. `buffer` holds the
// bytes, kept from file to file.
std::optional<FileRead> readFile(const JournalFolder& folder, const std::string& name,
                                 QByteArray& buffer) {
    FileRead file;
    JournalFolder::Read read = folder.read(name, kLargestRunFile, buffer);
    if (read.gone) return std::nullopt;
    // One too large is never read: kept by its size and time like a run, so never opened again
    // while it stays as it is.
    if (read.size > kLargestRunFile || (read.bytes && read.bytes->size() > kLargestRunFile)) {
        file.size = read.size;
        file.mtimeNs = read.mtimeNs;
        file.skipped = tooLarge();
        return file;
    }
    if (!read.bytes) {
        file.denied = read.denied;
        file.skipped = read.unreadable;
        return file;
    }
    file.size = read.size;
    file.mtimeNs = read.mtimeNs;
    file.owner = read.owner;
    JournalReading reading = parseJournal(*read.bytes);
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

QString JournalCache::ownerName(const QString& owner) {
    if (const auto it = owners.constFind(owner); it != owners.constEnd()) return *it;
    QString name = userNameOf(owner);
    // An account with no name here (one of another machine) is shown as its number or SID.
    if (name.isEmpty()) name = owner;
    owners.insert(owner, name);
    return name;
}

JournalListing JournalCache::refresh(const Progress& progress, std::stop_token stop) {
    JournalListing listing;
    JournalFolder folder(dir);
    if (folder.opened() != JournalFolder::Opened::yes) {
        entries.clear();
        last.reset();
        if (folder.opened() == JournalFolder::Opened::denied)
            listing.hiddenFromPupil = true; // a class's drop box: pupils may write, not list
        else if (folder.opened() == JournalFolder::Opened::missing)
            listing.problem = QStringLiteral("папки журнала нет: ") + dir;
        else
            listing.problem =
                QStringLiteral("папка журнала не читается: %1: %2").arg(dir, folder.problem());
        return listing;
    }
    const std::optional<JournalFolder::Stamp> stamp = folder.stamp();
    if (stamp && last && *stamp == lastStamp && lastSettled && ++unlooked < kFullEvery)
        return *last;
    const auto names = folder.fileNames(kLessonFileName);
    if (!names) {
        listing.problem =
            QStringLiteral("папка журнала не читается: %1: %2").arg(dir, folder.problem());
        return listing;
    }

    // First what changed: new names are read at once, known ones only when their size or
    // modification time moved.
    std::vector<const std::string*> runFiles, toRead;
    entries.reserve(names->size()); // a first read fills it at once, without rehashing
    for (const std::string& name : *names) {
        if (!isRunFileName(name)) {
            listing.skipped.push_back(
                {QFile::decodeName(name.c_str()), QStringLiteral("не файл журнала")});
            continue;
        }
        runFiles.push_back(&name);
        const auto known = entries.find(name);
        if (known == entries.end() || known->second.size < 0) {
            toRead.push_back(&name);
            continue;
        }
        const auto times = folder.times(name);
        if (!times || times->size != known->second.size || times->mtimeNs != known->second.mtimeNs)
            toRead.push_back(&name);
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
                read[i] = {true, readFile(folder, *toRead[i], bytes)};
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
    if (progress) progress(done, total);
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (!read[i].reached) continue; // the refresh was stopped first
        const std::string& name = *toRead[i];
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
            if (file.owner) file.run->owner = ownerName(*file.owner);
            entry.run = std::make_shared<const JournalRun>(std::move(*file.run));
        }
    }

    // Files gone are forgotten; the rest listed, runs newest first.
    std::vector<JournalRuns::Shared> runs;
    runs.reserve(runFiles.size());
    ++generation;
    for (const std::string* name : runFiles) {
        const auto it = entries.find(*name);
        if (it == entries.end()) continue; // gone, or not read: the refresh was stopped
        Entry& e = it->second;
        e.generation = generation;
        if (e.run)
            runs.push_back(e.run);
        else
            listing.skipped.push_back({QFile::decodeName(name->c_str()), e.skipped});
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
    if (stamp && !stop.stop_requested()) {
        last = listing;
        lastStamp = *stamp;
        lastSettled = JournalFolder::nowNs() - stamp->mtimeNs > kSettledNs;
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
