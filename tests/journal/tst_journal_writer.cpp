// The journal as a window writes it: the run's file holds every answer as soon as it is checked,
// is private to its user and never half written; a folder that cannot be written is told once
// and the trainer goes on, and the whole run is there once it can; nothing else in the folder is
// touched; and many windows write into one folder at once without losing a run.
#include "journal_test_support.h"
#include "writer_plan.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>
#include <set>

#include <sys/stat.h>

using namespace journal_test;

namespace {

// A form writing its runs through a JournalWriter on `folder`, with a clock the test sets and
// every reported line kept.
struct Journalled {
    std::int64_t now = kMoment;
    QStringList reports;
    JournalWriter writer;
    Form form;

    explicit Journalled(const QString& folder,
                        JournalFolderOrigin origin = JournalFolderOrigin::perUserDefault)
        : writer(
              folder, [this](const QString& line) { reports << line; }, origin) {
        form.clockSeed = [] { return std::uint64_t{3}; };
        form.clockMs = [this] { return now; };
        form.runChanged = [this](const RunRecord& run) { writer.record(run); };
        form.load();
    }
    Journalled(const Journalled&) = delete;
    Journalled& operator=(const Journalled&) = delete;

    void start(Mode mode) {
        form.selectMode(mode);
        now += 10'000;
        form.start();
    }
    void answer(int n, bool right) {
        now += 7'000;
        journal_test::answer(form, n, right);
    }
    QString currentPath() const { return QDir(writer.folder()).filePath(writer.currentFile()); }
};

// The run in the file, or why it cannot be read; the run number is not kept in the file.
QString differenceFromFile(const QString& path, const RunRecord& expected) {
    const JournalReading reading = parseJournal(readAll(path));
    if (!reading.run) return path + QStringLiteral(": ") + reading.problem;
    RunRecord read = reading.run->run;
    read.number = expected.number;
    if (read == expected) return {};
    return QStringLiteral("%1 holds %2 answers, ending %3; the form has %4, ending %5")
        .arg(path)
        .arg(read.answers.size())
        .arg(qs(endingWord(read.ending)))
        .arg(expected.answers.size())
        .arg(qs(endingWord(expected.ending)));
}

#define VERIFY_FILE_HOLDS(path, run)                                                               \
    do {                                                                                           \
        const QString difference = differenceFromFile((path), (run));                              \
        QVERIFY2(difference.isEmpty(), qPrintable(difference));                                    \
    } while (false)

// Files another window and the teacher left in the folder.
void putOthers(const QString& folder) {
    const QDir dir(folder);
    QVERIFY(writeAll(dir.filePath("2026-01-01_other.txt"),
                     journalText(entryOf(madeRun(Mode::test, RunEnding::going, 3)))));
    QVERIFY(writeAll(dir.filePath(".2026-01-01_other.txt.tmp"), "half a fi"));
    QVERIFY(writeAll(dir.filePath("README"), "Журнал 9 «Б» класса\n"));
}

QStringList visibleFiles(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QStringList asideFiles(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral(".*.tmp")}, QDir::Files | QDir::Hidden);
}

// Whether a process of this user can make a file in `folder`: root passes over permissions.
bool canWriteIn(const QString& folder) {
    const QString probe = QDir(folder).filePath("probe");
    const bool made = writeAll(probe, "x");
    QFile::remove(probe);
    return made;
}

struct Umask {
    mode_t old;
    explicit Umask(mode_t m) : old(::umask(m)) {}
    ~Umask() { ::umask(old); }
};

} // namespace

class JournalWriterTest : public QObject {
    Q_OBJECT
  private slots:
    // After every Start, answer and end the run's file holds the run as the form has it; it is
    // 0640 whatever the umask, no aside file stays behind, and the files of other runs and
    // windows are never touched.
    void everyChangeIsOnTheDiskAtOnce_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<int>("umask");
        QTest::newRow("trainer") << Mode::trainer << 0;
        QTest::newRow("test") << Mode::test << 0;
        QTest::newRow("test, umask 077") << Mode::test << 077;
    }
    void everyChangeIsOnTheDiskAtOnce() {
        QFETCH(Mode, mode);
        QFETCH(int, umask);
        const Umask umaskNow{mode_t(umask)};
        QTemporaryDir temp;
        putOthers(temp.path());
        const FolderState others = folderState(temp.path());
        Journalled j(temp.path());

        j.start(mode);
        QVERIFY(!j.writer.currentFile().isEmpty());
        const QString first = j.currentPath();
        VERIFY_FILE_HOLDS(first, j.form.run);
        QCOMPARE(permissionsOf(first), kRunFileMode);
        for (int n = 1; n <= kLawCount; ++n) {
            j.answer(n, n % 4 != 0);
            VERIFY_FILE_HOLDS(first, j.form.run);
            QCOMPARE(j.currentPath(), first);
            QCOMPARE(asideFiles(temp.path()), QStringList{".2026-01-01_other.txt.tmp"});
        }
        QCOMPARE(j.form.run.ending, RunEnding::finished);
        QCOMPARE(permissionsOf(first), kRunFileMode);
        // While it is being written the window's own run is going, not cut short.
        const FolderState afterFirst = folderState(temp.path());

        // A new run gets a file of its own; the finished one stays as it was.
        j.start(mode);
        const QString second = j.currentPath();
        QVERIFY(second != first);
        j.answer(1, false);
        j.answer(2, true);
        VERIFY_FILE_HOLDS(second, j.form.run);
        QCOMPARE(folderState(temp.path())[QFileInfo(first).fileName()],
                 afterFirst[QFileInfo(first).fileName()]);
        const JournalListing listing = readJournal(temp.path());
        QVERIFY(listing.problem.isEmpty());
        QCOMPARE(listing.runs.size(), std::size_t{3});
        QCOMPARE(listing.runs[0].fileName, j.writer.currentFile());
        QCOMPARE(listing.runs[0].run.ending, RunEnding::going);
        QCOMPARE(listing.runs[1].run.ending, RunEnding::finished);
        // The other window's: the file says going, and only its writer knows better.
        QCOMPARE(listing.runs[2].run.ending, RunEnding::going);

        // Closing ends it in its file.
        j.form.close();
        VERIFY_FILE_HOLDS(second, j.form.run);
        QCOMPARE(j.form.run.ending, RunEnding::closed);
        QVERIFY(j.reports.isEmpty());
        QVERIFY(j.writer.problem().isEmpty());

        // Only the two runs' files came; nothing else changed.
        FolderState now = folderState(temp.path());
        QVERIFY(now.remove(QFileInfo(first).fileName()) == 1);
        QVERIFY(now.remove(QFileInfo(second).fileName()) == 1);
        COMPARE_FOLDERS(now, others);
    }

    // A folder that cannot be written: one line is told, the trainer goes on; once the folder
    // can be written the next write holds the whole run; a later failure is told again.
    void unwritableFolderIsToldOnceAndTheTrainerGoesOn_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("read-only folder") << QStringLiteral("read-only");
        QTest::newRow("folder below a regular file") << QStringLiteral("below a file");
        QTest::newRow("folder is a regular file") << QStringLiteral("is a file");
    }
    void unwritableFolderIsToldOnceAndTheTrainerGoesOn() {
        QFETCH(QString, how);
        QTemporaryDir temp;
        QString folder;
        std::function<void()> block, unblock;
        if (how == "read-only") {
            folder = temp.filePath("journal");
            QVERIFY(QDir().mkdir(folder));
            putOthers(folder);
            block = [=] { QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner); };
            unblock = [=] {
                QFile::setPermissions(folder,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            };
            block();
            if (canWriteIn(folder)) {
                unblock();
                QSKIP("this user writes into a read-only folder (root); the other rows block "
                      "the folder in ways that stop root too");
            }
        } else if (how == "below a file") {
            const QString blocker = temp.filePath("blocker");
            folder = blocker + QStringLiteral("/journal");
            block = [=] {
                QDir(blocker).removeRecursively();
                writeAll(blocker, "not a folder");
            };
            unblock = [=] { QFile::remove(blocker); };
            block();
        } else {
            folder = temp.filePath("journal");
            block = [=] {
                QDir(folder).removeRecursively();
                writeAll(folder, "not a folder");
            };
            unblock = [=] { QFile::remove(folder); };
            block();
        }
        const FolderState before = folderState(temp.path());

        Journalled j(folder);
        j.start(Mode::trainer);
        for (int n = 1; n <= 5; ++n)
            j.answer(n, n != 3);
        QCOMPARE(j.form.state.question, 6); // the trainer went on
        QCOMPARE(j.form.run.answers.size(), std::size_t{5});
        QVERIFY(!j.writer.problem().isEmpty());
        QCOMPARE(j.reports.size(), 1);
        QVERIFY2(!j.reports[0].contains('\n'), qPrintable(j.reports[0]));
        QVERIFY2(j.reports[0].contains(folder), qPrintable(j.reports[0]));
        QVERIFY2(j.reports[0].contains(QStringLiteral("тренажёр работает дальше")),
                 qPrintable(j.reports[0]));
        // The views' line: the reason alone, in the report too.
        QVERIFY2(j.writer.problem().contains(folder) && !j.writer.problem().contains('\n'),
                 qPrintable(j.writer.problem()));
        QVERIFY2(j.reports[0].contains(j.writer.problem()), qPrintable(j.reports[0]));
        COMPARE_FOLDERS(folderState(temp.path()), before); // nothing written, nothing left

        unblock();
        j.answer(6, true);
        QVERIFY(j.writer.problem().isEmpty());
        QCOMPARE(j.writer.problem(), QString());
        QCOMPARE(j.reports.size(), 1);
        VERIFY_FILE_HOLDS(j.currentPath(), j.form.run);
        QCOMPARE(j.form.run.answers.size(), std::size_t{6});
        QCOMPARE(permissionsOf(j.currentPath()), kRunFileMode);
        QVERIFY(asideFiles(folder).size() <= 1); // the other window's only, where there is one
        const QString written = j.currentPath();

        // Blocked again (the run's file kept, or gone with its folder): told once more.
        block();
        j.answer(7, false);
        j.answer(8, false);
        QCOMPARE(j.reports.size(), 2);
        QCOMPARE(j.form.run.answers.size(), std::size_t{8});
        unblock();
        j.form.close();
        QCOMPARE(j.reports.size(), 2);
        VERIFY_FILE_HOLDS(written, j.form.run);
        QCOMPARE(j.form.run.answers.size(), std::size_t{8});
        QCOMPARE(j.form.run.ending, RunEnding::closed);
    }

    // The folder taken away in the middle of a run: the next write makes it again, with the
    // whole run in it.
    void folderRemovedMidRunIsMadeAgain() {
        QTemporaryDir temp;
        const QString folder = temp.filePath("class/journal");
        Journalled j(folder);
        j.start(Mode::test);
        QVERIFY(QFileInfo(folder).isDir()); // made at the first write
        j.answer(1, true);
        j.answer(2, false);
        j.answer(3, true);
        QVERIFY(QDir(temp.filePath("class")).removeRecursively());
        j.answer(4, true);
        QVERIFY(QFileInfo(folder).isDir());
        VERIFY_FILE_HOLDS(j.currentPath(), j.form.run);
        QCOMPARE(j.form.run.answers.size(), std::size_t{4});
        QVERIFY(j.reports.isEmpty());
        QCOMPARE(visibleFiles(folder), QStringList{j.writer.currentFile()});
        QVERIFY(asideFiles(folder).isEmpty());
    }

    // A folder the teacher named is never made by the program, neither at the first write nor
    // when it goes during a run: the missing folder is the problem told, the trainer goes on,
    // and once the folder is there again the next write holds the whole run.
    void configuredFolderIsNeverMade_data() {
        QTest::addColumn<bool>("goneMidRun");
        QTest::newRow("missing from the start") << false;
        QTest::newRow("gone during the run") << true;
    }
    void configuredFolderIsNeverMade() {
        QFETCH(bool, goneMidRun);
        QTemporaryDir temp;
        const QString folder = temp.filePath("class/journal");
        if (goneMidRun) QVERIFY(QDir().mkpath(folder));
        Journalled j(folder, JournalFolderOrigin::configured);
        j.start(Mode::test);
        j.answer(1, true);
        if (goneMidRun) {
            QVERIFY(j.writer.problem().isEmpty());
            QVERIFY(QDir(temp.filePath("class")).removeRecursively());
        }
        j.answer(2, false);
        j.answer(3, true);
        QVERIFY(!QFileInfo::exists(temp.filePath("class")));
        QCOMPARE(j.form.run.answers.size(), std::size_t{3});
        QCOMPARE(j.writer.problem(), QStringLiteral("папки журнала нет: ") + folder);
        QCOMPARE(j.reports.size(), 1);
        QVERIFY2(j.reports[0].contains(j.writer.problem()), qPrintable(j.reports[0]));

        QVERIFY(QDir().mkpath(folder));
        j.answer(4, true);
        QCOMPARE(j.writer.problem(), QString());
        VERIFY_FILE_HOLDS(j.currentPath(), j.form.run);
        QCOMPARE(visibleFiles(folder), QStringList{j.writer.currentFile()});
    }

    // The pupil's name given before a Start is in every write of the run's file; a name given
    // during a run is the next run's, and the run going stays the pupil's who started it.
    void pupilNameStaysWithTheRun_data() {
        QTest::addColumn<bool>("changedMidRun");
        QTest::newRow("given before the Start") << false;
        QTest::newRow("changed at the second answer") << true;
    }
    void pupilNameStaysWithTheRun() {
        QFETCH(bool, changedMidRun);
        QTemporaryDir temp;
        Journalled j(temp.path());
        j.writer.setPupil(QStringLiteral("Аня\nПетрова"));
        j.start(Mode::trainer);
        j.answer(1, true);
        const QString first = j.currentPath();
        if (changedMidRun) j.writer.setPupil(QStringLiteral("Борис Иванов"));
        j.answer(2, false);
        QCOMPARE(parseJournal(readAll(first)).run->pupil, QStringLiteral("Аня Петрова"));
        QCOMPARE(j.writer.runPupil(), QStringLiteral("Аня\nПетрова"));
        j.start(Mode::trainer); // ends the first run and starts the next
        const JournalReading ended = parseJournal(readAll(first));
        QCOMPARE(ended.run->pupil, QStringLiteral("Аня Петрова"));
        QCOMPARE(int(ended.run->run.answers.size()), 2);
        QCOMPARE(ended.run->run.ending, RunEnding::restarted);
        j.answer(1, true);
        j.form.close();
        QVERIFY(j.currentPath() != first);
        QCOMPARE(parseJournal(readAll(j.currentPath())).run->pupil,
                 changedMidRun ? QStringLiteral("Борис Иванов") : QStringLiteral("Аня Петрова"));
    }

    // The disk refusing a sync (EIO from fsync and fdatasync, put in by strace) is a failed
    // write, told, not passed over as QSaveFile alone would.
    // LeakSanitizer cannot run under ptrace: a sanitized writer traced by strace checks no leaks.
    static QProcessEnvironment tracedEnvironment() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
        environment.insert(QStringLiteral("ASAN_OPTIONS"),
                           asan + (asan.isEmpty() ? "" : ":") + QStringLiteral("detect_leaks=0"));
        return environment;
    }

    void refusedSyncIsTold() {
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (strace.isEmpty()) QSKIP("strace is not installed");
        QTemporaryDir temp;
        QVERIFY(writeAll(temp.filePath("go"), "go"));
        QProcess p;
        p.setProcessEnvironment(tracedEnvironment());
        p.start(strace,
                {"-f", "-o", "/dev/null", "-e", "inject=fsync,fdatasync:error=EIO:when=3+",
                 ZL_JOURNAL_WRITER_TOOL, temp.filePath("journal"), "0", temp.filePath("go")});
        QVERIFY(p.waitForFinished(120'000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        const QByteArray told = p.readAllStandardError();
        QVERIFY2(p.exitCode() == 2 && told.contains("Input/output error"), told.constData());
    }

    // Killed in the middle of a write (SIGKILL at its Nth sync, put in by strace): every file
    // of a run in the folder reads as a run, none is empty or half written.
    void killedMidWriteLeavesNoBrokenFile_data() {
        QTest::addColumn<int>("sync");
        QTest::addColumn<int>("runFiles"); // files the writes before it placed
        QTest::newRow("in the first write of the first run") << 1 << 0;
        QTest::newRow("in a rewrite") << 2 << 1;
        QTest::newRow("in the first write of the second run") << 4 << 1;
        QTest::newRow("in a rewrite of the second run") << 5 << 2;
    }
    void killedMidWriteLeavesNoBrokenFile() {
        QFETCH(int, sync);
        QFETCH(int, runFiles);
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (strace.isEmpty()) QSKIP("strace is not installed");
        QTemporaryDir temp;
        const QString folder = temp.filePath("journal");
        QVERIFY(writeAll(temp.filePath("go"), "go"));
        QProcess p;
        p.setProcessEnvironment(tracedEnvironment());
        p.start(strace, {"-f", "-o", "/dev/null", "-e",
                         QStringLiteral("inject=fsync,fdatasync:signal=SIGKILL:when=%1").arg(sync),
                         ZL_JOURNAL_WRITER_TOOL, folder, "0", temp.filePath("go")});
        QVERIFY(p.waitForFinished(120'000));
        QVERIFY2(p.exitCode() != 0, "the writer was not killed");
        const QStringList files = visibleFiles(folder);
        for (const QString& name : files) {
            const JournalReading reading = parseJournal(readAll(QDir(folder).filePath(name)));
            QVERIFY2(reading.run, qPrintable(name + QStringLiteral(": ") + reading.problem));
        }
        QCOMPARE(files.size(), runFiles);
    }

    // A file of the run's name made by someone else just before the run's first write is
    // placed (strace holds that rename back a while): it is kept as it was and the run takes
    // another name; cloned machines give their runs the same names.
    void fileOfTheSameNameIsNeverReplaced_data() {
        QTest::addColumn<QStringList>("faults"); // put in by strace
        QTest::newRow("renamed in one step")
            << QStringList{"inject=rename,renameat,renameat2:delay_enter=2000000:when=1"};
        // Network shares that cannot rename without replacing place the file another way.
        QTest::newRow("a file system without that rename") << QStringList{
            "inject=renameat2:error=EINVAL", "inject=link,rename:delay_enter=2000000:when=1"};
    }
    void fileOfTheSameNameIsNeverReplaced() {
        using namespace writer_plan;
        QFETCH(QStringList, faults);
        const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (strace.isEmpty()) QSKIP("strace is not installed");
        QTemporaryDir temp;
        const QString folder = temp.filePath("journal");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeAll(temp.filePath("go"), "go"));
        QProcess p;
        p.setProcessEnvironment(tracedEnvironment());
        QStringList arguments{"-f", "-o", "/dev/null"};
        for (const QString& fault : faults)
            arguments << "-e" << fault;
        p.start(strace,
                arguments << ZL_JOURNAL_WRITER_TOOL << folder << "0" << temp.filePath("go"));
        QString aside;
        for (QElapsedTimer waited; aside.isEmpty() && waited.elapsed() < 60'000;) {
            const QStringList found = asideFiles(folder);
            if (found.isEmpty())
                QThread::msleep(1);
            else
                aside = found[0];
        }
        QVERIFY(!aside.isEmpty());
        // Past a look-up of the name, where the writer makes one, and well within the hold.
        QThread::msleep(100);
        const QString taken = QDir(folder).filePath(aside.mid(1).chopped(4));
        const QByteArray other = "zakony-logiki-journal 1\nanother machine's run\n";
        QVERIFY(writeAll(taken, other));
        QVERIFY(p.waitForFinished(120'000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        QCOMPARE(readAll(taken), other);
        const JournalListing listing = readJournal(folder);
        QCOMPARE(int(listing.runs.size()), kRuns);
        QCOMPARE(listing.runs.back().run.startedMs, startOf(0, 0));
    }

    // Four windows' worth of runs written into one folder at once: all 200 read back, nothing
    // skipped, each with its own answers and ending.
    void manyWritersAtOnceLoseNothing() {
        using namespace writer_plan;
        QTemporaryDir temp;
        const QString folder = temp.filePath("journal");
        const QString go = temp.filePath("go");
        std::vector<std::unique_ptr<QProcess>> writers;
        for (int w = 0; w < kWriters; ++w) {
            auto p = std::make_unique<QProcess>();
            p->start(QStringLiteral(ZL_JOURNAL_WRITER_TOOL), {folder, QString::number(w), go});
            QVERIFY2(p->waitForStarted(), qPrintable(p->errorString()));
            writers.push_back(std::move(p));
        }
        QVERIFY(writeAll(go, "go"));
        for (auto& p : writers) {
            QVERIFY(p->waitForFinished(300'000));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
        }

        const JournalListing listing = readJournal(folder);
        QVERIFY(listing.problem.isEmpty());
        for (const SkippedFile& s : listing.skipped)
            qWarning("skipped %s: %s", qPrintable(s.fileName), qPrintable(s.why));
        QVERIFY(listing.skipped.empty());
        QCOMPARE(int(listing.runs.size()), kWriters * kRuns);
        QVERIFY(asideFiles(folder).isEmpty());

        std::set<std::pair<int, int>> seen;
        for (const JournalRun& entry : listing.runs) {
            const RunRecord& run = entry.run;
            const std::int64_t offset = run.startedMs - kBase;
            const int w = int(offset / kWriterSpan), r = int(offset % kWriterSpan / kRunSpan);
            QVERIFY2(w >= 0 && w < kWriters && r >= 0 && r < kRuns &&
                         startOf(w, r) == run.startedMs,
                     qPrintable(entry.fileName));
            QVERIFY2(seen.insert({w, r}).second, qPrintable(entry.fileName));
            QCOMPARE(run.mode, modeOf(w));
            QCOMPARE(int(run.answers.size()), answersOf(w, r));
            for (int i = 1; i <= answersOf(w, r); ++i) {
                const Answer& a = run.answers[std::size_t(i - 1)];
                QCOMPARE(a.law, i);
                QCOMPARE(a.right, rightOf(w, r, i));
                QCOMPARE(qs(a.key), qs(answerKey(modeOf(w), i, rightOf(w, r, i))));
                QCOMPARE(a.atMs, answerTimeOf(w, r, i));
            }
            if (r + 1 < kRuns) {
                QCOMPARE(run.ending, RunEnding::restarted);
                QCOMPARE(run.endedMs, startOf(w, r + 1));
            } else {
                QCOMPARE(run.ending, RunEnding::closed);
                QCOMPARE(run.endedMs, closeTimeOf(w));
            }
            QCOMPARE(permissionsOf(QDir(folder).filePath(entry.fileName)), kRunFileMode);
        }
    }
};

QTEST_GUILESS_MAIN(JournalWriterTest)
#include "tst_journal_writer.moc"
