// The class view over a folder a pupil filled with runs of the day, each under a name of its
// own (a row each): its first fill (the folder read and every row shown) and its processor time
// at rest, the folder unchanged, as a share of one core. Prints figures only.
// --quick: 2,000 runs and 4 s at rest; --files N: N runs; --rest S: S seconds; else 22,000 and 30.
#include "bench_files.h"
#include "core/laws.h"
#include "journal/journal_file.h"
#include "teacher/class_view.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct Options {
    int files = 22'000;
    int restSeconds = 30;
};

Options optionsFrom(int argc, char* argv[]) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) options = {2'000, 4};
        if (std::strcmp(argv[i], "--files") == 0 && i + 1 < argc)
            options.files = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--rest") == 0 && i + 1 < argc)
            options.restSeconds = std::max(1, std::atoi(argv[i + 1]));
    }
    return options;
}

// Run i of the day starting at `morning`: one account, a name of its own, a finished test of
// 23 answers or, every tenth, a trainer run still going.
JournalRun runNumbered(int i, std::int64_t morning) {
    JournalRun entry;
    entry.user = QStringLiteral("pupil07");
    entry.machine = QStringLiteral("class-07");
    entry.pupil = QStringLiteral("Ученик %1").arg(i);
    entry.program = QStringLiteral("1.2.0");
    RunRecord& run = entry.run;
    const bool going = i % 10 == 0;
    run.mode = going ? Mode::trainer : Mode::test;
    run.startedMs = morning + std::int64_t{i} * 1'000;
    const int count = going ? 7 : kLawCount;
    for (int n = 1; n <= count; ++n) {
        const bool right = (i + n) % 3 != 0;
        std::string key(law(n).key);
        if (!right) key.resize(key.size() - 1);
        run.answers.push_back({n, key, right, run.startedMs + n * 200});
    }
    run.ending = going ? RunEnding::going : RunEnding::finished;
    run.endedMs = going ? 0 : run.answers.back().atMs + 100;
    return entry;
}

// Processor time of the whole process (every thread), user and system, in ms.
double processorMs() {
    rusage use{};
    ::getrusage(RUSAGE_SELF, &use);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(use.ru_utime) + ms(use.ru_stime);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const Options options = optionsFrom(argc, argv);
    QTemporaryDir temp;
    if (!temp.isValid()) return 1;
    const std::int64_t morning = QDateTime(QDate(2026, 12, 8), QTime(8, 0)).toMSecsSinceEpoch();
    std::printf("generating %d run files…\n", options.files);
    for (int i = 0; i < options.files; ++i)
        if (!bench::writeFile(QDir(temp.path()).filePath(QStringLiteral("run-%1.txt").arg(i)),
                              journalText(runNumbered(i, morning))))
            return 1;
    // The clock stands at the end of the day's runs, and moves with the real one.
    QElapsedTimer clock;
    clock.start();
    const std::int64_t end = morning + std::int64_t{options.files} * 1'000 + 60'000;
    ClassView view(nullptr, temp.path(), [&] { return end + clock.elapsed(); });

    const double processorBefore = processorMs();
    QElapsedTimer fill;
    fill.start();
    view.show();
    const auto* rows = view.findChild<QAbstractItemView*>(QStringLiteral("pupils"));
    while (!rows || rows->model()->rowCount() < options.files) {
        if (fill.elapsed() > 600'000) return 1;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    QApplication::processEvents(); // the rows painted
    const double fillWall = double(fill.elapsed()), fillProcessor = processorMs() - processorBefore;
    std::printf("the class view over %d runs, %d rows:\n", options.files,
                rows->model()->rowCount());
    std::printf("  first fill (read, rows, painted)  %9.1f ms   processor %9.1f ms\n", fillWall,
                fillProcessor);

    const double restBefore = processorMs();
    QElapsedTimer rest;
    rest.start();
    QEventLoop resting;
    QTimer::singleShot(options.restSeconds * 1000, &resting, &QEventLoop::quit);
    resting.exec();
    const double restProcessor = processorMs() - restBefore, restWall = double(rest.elapsed());
    std::printf("  at rest for %d s                  processor %9.1f ms   %5.2f %% of a core\n",
                options.restSeconds, restProcessor, 100 * restProcessor / restWall);
    return rows->model()->rowCount() == options.files ? 0 : 1;
}
