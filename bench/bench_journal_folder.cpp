// Reading a class's journal folder: N run files in the writer's format in a temporary folder,
// then the bare cost of listing it and of reading every file's bytes, beside the cache's full
// read, its refresh with nothing changed and with 30 files changed, and readJournal.
// Prints figures only. --quick: 2,000 files; --files N: N; else 100,000.
#include "bench_files.h"
#include "core/laws.h"
#include "journal/journal_cache.h"
#include "journal/journal_file.h"

#include <QDir>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::int64_t kFirstStart = 1'790'000'000'000; // 2026-09-21

int filesFromArgs(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) return 2'000;
        if (std::strcmp(argv[i], "--files") == 0 && i + 1 < argc)
            return std::max(1, std::atoi(argv[i + 1]));
    }
    return 100'000;
}

// Run i: 30 pupils of a class, test or trainer, 1 … 23 answers, about a third wrong.
JournalRun runNumbered(int i) {
    JournalRun entry;
    entry.user = QStringLiteral("pupil%1").arg(i % 30, 2, 10, QChar('0'));
    entry.machine = QStringLiteral("class-%1").arg(i % 30, 2, 10, QChar('0'));
    entry.program = QStringLiteral("1.2.0");
    RunRecord& run = entry.run;
    run.mode = i % 2 ? Mode::trainer : Mode::test;
    run.startedMs = kFirstStart + std::int64_t{i} * 60'000;
    const int count = i % 4 == 0 ? 7 : kLawCount;
    for (int n = 1; n <= count; ++n) {
        const bool right = (i + n) % 3 != 0;
        std::string key(law(n).key);
        if (!right) key.resize(key.size() - 1);
        run.answers.push_back({n, key, right, run.startedMs + n * 20'000});
    }
    run.ending = count == kLawCount ? RunEnding::finished : RunEnding::going;
    run.endedMs = count == kLawCount ? run.answers.back().atMs + 1'000 : 0;
    return entry;
}

// Wall-clock and processor time (user and system) of some work, in ms: on a busy machine the
// second tells more.
struct Took {
    double wall = 0, processor = 0;
};
double processorMs() {
    rusage use{};
    ::getrusage(RUSAGE_SELF, &use);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(use.ru_utime) + ms(use.ru_stime);
}
Took timeOf(const std::function<void()>& work) {
    const double processorBefore = processorMs();
    const auto start = std::chrono::steady_clock::now();
    work();
    return {
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
        processorMs() - processorBefore};
}

// Every name in the folder, as readdir gives them.
std::vector<std::string> listed(const QByteArray& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.constData())) {
        while (const dirent* e = ::readdir(dir))
            if (e->d_name[0] != '.') names.emplace_back(e->d_name);
        ::closedir(dir);
    }
    return names;
}

// Every name with its size and modification time, as any check for changes needs.
std::size_t listedWithTimes(const QByteArray& folder) {
    std::size_t total = 0;
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    for (const std::string& name : listed(folder)) {
        struct stat st {};
        if (::fstatat(fd, name.c_str(), &st, 0) == 0) total += std::size_t(st.st_size);
    }
    ::close(fd);
    return total;
}

// Every file's bytes, with nothing made of them: the floor for any reader.
std::size_t plainRead(const QByteArray& folder) {
    std::size_t total = 0;
    char buffer[1 << 16];
    for (const std::string& name : listed(folder)) {
        const int fd = ::open((folder + '/' + name.c_str()).constData(), O_RDONLY);
        if (fd < 0) continue;
        for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
            total += std::size_t(got);
        ::close(fd);
    }
    return total;
}

void line(const char* what, const Took& took, int files) {
    std::printf("  %-44s %9.1f ms %7.2f µs a file   processor %9.1f ms %7.2f µs a file\n", what,
                took.wall, took.wall * 1000 / files, took.processor, took.processor * 1000 / files);
}

} // namespace

int main(int argc, char* argv[]) {
    const int files = filesFromArgs(argc, argv);
    QTemporaryDir temp;
    if (!temp.isValid()) return 1;
    QDir dir(temp.path());
    std::printf("generating %d run files…\n", files);
    std::vector<QByteArray> texts;
    texts.reserve(std::size_t(files));
    for (int i = 0; i < files; ++i) {
        texts.push_back(journalText(runNumbered(i)));
        if (!bench::writeFile(dir.filePath(QStringLiteral("run-%1.txt").arg(i, 6, 10, QChar('0'))),
                              texts.back()))
            return 1;
    }
    const QByteArray folder = QFile::encodeName(temp.path());
    std::printf("a journal folder of %d runs:\n", files);

    std::size_t names = 0, bytes = 0;
    line("listing the folder: names (readdir)", timeOf([&] { names = listed(folder).size(); }),
         files);
    line("listing with sizes and times (readdir, stat)", timeOf([&] { listedWithTimes(folder); }),
         files);
    line("reading every file's bytes (open, read)", timeOf([&] { bytes = plainRead(folder); }),
         files);

    // The reader alone, on texts already in memory: what the format costs to take apart.
    std::size_t parsed = 0;
    line("parsing every text in memory (parseJournal)", timeOf([&] {
             for (const QByteArray& text : texts)
                 parsed += parseJournal(text).run.has_value();
         }),
         files);
    texts.clear();

    JournalCache cache(temp.path());
    JournalListing listing;
    int lastTotal = 0;
    const auto read = [&] {
        lastTotal = -1;
        listing = cache.refresh([&](int, int t) { lastTotal = t; });
    };
    line("JournalCache: the first (full) read", timeOf(read), files);
    const std::size_t runsRead = listing.runs.size();
    line("JournalCache: refresh, nothing changed", timeOf(read), files);
    const int unchangedRead = lastTotal;
    // 30 pupils answer once more: their files rewritten as the writer does, aside and renamed.
    for (int i = 0; i < 30; ++i) {
        const int n = (i * 7919) % files;
        JournalRun entry = runNumbered(n);
        entry.run.answers.pop_back();
        const QString name = QStringLiteral("run-%1.txt").arg(n, 6, 10, QChar('0'));
        if (!bench::writeFile(dir.filePath("." + name + ".tmp"), journalText(entry)) ||
            ::rename(QFile::encodeName(dir.filePath("." + name + ".tmp")).constData(),
                     QFile::encodeName(dir.filePath(name)).constData()) != 0)
            return 1;
    }
    line("JournalCache: refresh, 30 files changed", timeOf(read), files);
    const int changedRead = lastTotal;
    line("readJournal", timeOf([&] { listing = readJournal(temp.path()); }), files);
    std::printf("  (%zu names, %zu bytes; %zu runs, %zu skipped; refreshes read %d and %d files)\n",
                names, bytes, runsRead, listing.skipped.size(), unchangedRead, changedRead);
    return parsed == std::size_t(files) && runsRead == std::size_t(files) &&
                   listing.runs.size() == runsRead
               ? 0
               : 1;
}
