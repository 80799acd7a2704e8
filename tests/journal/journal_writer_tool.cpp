// One window's worth of runs written into a journal folder, for the many-writers tests:
//   journal_writer_tool FOLDER WRITER GO-FILE [--configured] [--pupil NAME]
// waits for GO-FILE to exist (so that all writers start together), then drives the form through
// the runs of writer_plan.h with a JournalWriter on FOLDER (a folder the teacher named with
// --configured, else the program's own). Exit 0 when every write succeeded; 2 when any was
// reported failed (the lines are on stderr); 1 for bad arguments.
//   journal_writer_tool --read FOLDER
// reads the folder as the journal view does and prints a line per run ("run FILE OWNER
// ANSWERS PUPIL"), per file skipped ("skipped FILE WHY"), the files it may not read
// ("unreadable N") and for a folder that cannot be read ("problem WHY"); for the tests that read
// as another user.
#include "journal_test_support.h"
#include "writer_plan.h"

#include <QCoreApplication>
#include <QThread>

namespace {

int readFolder(const QString& folder) {
    const JournalListing listing = readJournal(folder);
    const auto say = [](const QString& line) { std::printf("%s\n", line.toUtf8().constData()); };
    if (!listing.problem.isEmpty()) say(QStringLiteral("problem ") + listing.problem);
    for (const JournalRun& r : listing.runs)
        say(QStringLiteral("run %1 %2 %3 %4")
                .arg(r.fileName, r.owner)
                .arg(r.run.answers.size())
                .arg(r.pupil));
    for (const SkippedFile& s : listing.skipped)
        say(QStringLiteral("skipped %1 %2").arg(s.fileName, s.why));
    say(QStringLiteral("unreadable %1").arg(listing.unreadable));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == "--read") return readFolder(args[2]);
    JournalFolderOrigin origin = JournalFolderOrigin::perUserDefault;
    if (args.removeAll(QStringLiteral("--configured"))) origin = JournalFolderOrigin::configured;
    QString pupil;
    if (const qsizetype at = args.indexOf(QStringLiteral("--pupil"));
        at > 0 && at + 1 < args.size()) {
        pupil = args[at + 1];
        args.remove(at, 2);
    }
    bool isNumber = false;
    const int writer = args.size() == 4 ? args[2].toInt(&isNumber) : -1;
    if (!isNumber || writer < 0) {
        std::fprintf(stderr, "usage: journal_writer_tool FOLDER WRITER GO-FILE [--configured] "
                             "[--pupil NAME]\n       journal_writer_tool --read FOLDER\n");
        return 1;
    }
    for (int waited = 0; !QFileInfo::exists(args[3]); ++waited) {
        if (waited > 60'000) return 1;
        QThread::msleep(1);
    }

    int failures = 0;
    JournalWriter journal(
        args[1],
        [&](const QString& line) {
            ++failures;
            JournalWriter::reportOnStderr(line);
        },
        origin);
    journal.setPupil(pupil);
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
