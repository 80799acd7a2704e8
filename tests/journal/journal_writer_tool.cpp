// One window's worth of runs written into a journal folder, for the many-writers test:
//   journal_writer_tool FOLDER WRITER GO-FILE
// waits for GO-FILE to exist (so that all writers start together), then drives the form through
// the runs of writer_plan.h with a JournalWriter on FOLDER. Exit 0 when every write succeeded;
// 2 when any was reported failed (the lines are on stderr); 1 for bad arguments.
#include "journal_test_support.h"
#include "writer_plan.h"

#include <QCoreApplication>
#include <QThread>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool isNumber = false;
    const int writer = args.size() == 4 ? args[2].toInt(&isNumber) : -1;
    if (!isNumber || writer < 0) {
        std::fprintf(stderr, "usage: journal_writer_tool FOLDER WRITER GO-FILE\n");
        return 1;
    }
    for (int waited = 0; !QFileInfo::exists(args[3]); ++waited) {
        if (waited > 60'000) return 1;
        QThread::msleep(1);
    }

    int failures = 0;
    JournalWriter journal(args[1], [&](const QString& line) {
        ++failures;
        JournalWriter::reportOnStderr(line);
    });
    std::int64_t now = 0;
    Form form;
    form.clockSeed = [] { return std::uint64_t{1}; };
    form.clockMs = [&] { return now; };
    form.runChanged = [&](const RunRecord& run) { journal.record(run); };
    form.load();
    form.selectMode(writer_plan::modeOf(writer));
    for (int run = 0; run < writer_plan::kRuns; ++run) {
        now = writer_plan::startOf(writer, run);
        form.start();
        for (int i = 1; i <= writer_plan::answersOf(writer, run); ++i) {
            now = writer_plan::answerTimeOf(writer, run, i);
            journal_test::answer(form, i, writer_plan::rightOf(writer, run, i));
        }
    }
    now = writer_plan::closeTimeOf(writer);
    form.close();
    return failures ? 2 : 0;
}
