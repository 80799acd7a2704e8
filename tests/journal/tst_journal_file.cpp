// A run's file and the folder of them: every run written reads back as it was, whatever its
// mode, ending, names and answers; a file cut short, garbled, empty, newer or foreign is skipped
// with its reason; reading the folder changes nothing in it.
#include "journal_test_support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace journal_test;

Q_DECLARE_METATYPE(RunEnding)

namespace {

constexpr RunEnding kEndings[] = {RunEnding::going,       RunEnding::finished, RunEnding::restarted,
                                  RunEnding::modeChanged, RunEnding::closed,   RunEnding::cutShort,
                                  RunEnding::timeUp};

// 2026-10-25 00:30 UTC: 02:30 summer time in central Europe, half an hour before the clocks go
// back and the same local hour comes round again (the test also runs with TZ=Europe/Berlin).
constexpr std::int64_t kBeforeClocksGoBack = 1'792'888'200'000;

QString endingName(RunEnding e) {
    return qs(endingWord(e));
}

// The file's lines, its last newline dropped.
QList<QByteArray> linesOf(const QByteArray& text) {
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.pop_back();
    return lines;
}

QByteArray joined(const QList<QByteArray>& lines) {
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line + '\n';
    return text;
}

// A few runs' files to take apart: no answers, all 23, an empty answer last.
std::vector<QByteArray> sampleFiles() {
    RunRecord emptyLast = madeRun(Mode::trainer, RunEnding::closed, 4);
    emptyLast.answers.back().key.clear();
    emptyLast.answers.back().right = false;
    return {journalText(entryOf(madeRun(Mode::test, RunEnding::going, 0))),
            journalText(entryOf(madeRun(Mode::test, RunEnding::finished, 23))),
            journalText(entryOf(emptyLast, QStringLiteral("Пётр Иванов")))};
}

} // namespace

class JournalFileTest : public QObject {
    Q_OBJECT
  private slots:
    // journalText then parseJournal gives back the run, the names (on one line) and the program.
    void runReadsBackAsWritten_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<RunEnding>("ending");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("emptyKeys");
        QTest::addColumn<qint64>("startedMs");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("machine");
        QTest::addColumn<QString>("userRead"); // the names as they come back
        QTest::addColumn<QString>("machineRead");
        const QString u = QStringLiteral("ivanov"), m = QStringLiteral("class-07");
        for (Mode mode : {Mode::trainer, Mode::test})
            for (RunEnding e : kEndings) {
                const int count = e == RunEnding::finished ? 23 : int(e) % 3 * 4;
                QTest::addRow("%s, %s, %d answers", mode == Mode::test ? "test" : "trainer",
                              qPrintable(endingName(e)), count)
                    << mode << e << count << false << qint64(kMoment) << u << m << u << m;
            }
        QTest::newRow("no answers, going")
            << Mode::test << RunEnding::going << 0 << false << qint64(kMoment) << u << m << u << m;
        QTest::newRow("23 answers, all empty") << Mode::trainer << RunEnding::finished << 23 << true
                                               << qint64(kMoment) << u << m << u << m;
        QTest::newRow("names in Cyrillic with blanks")
            << Mode::test << RunEnding::closed << 3 << false << qint64(kMoment)
            << QStringLiteral("Пётр Иванов") << QStringLiteral("ПК №7 каб. 214")
            << QStringLiteral("Пётр Иванов") << QStringLiteral("ПК №7 каб. 214");
        QTest::newRow("names with line breaks and tabs")
            << Mode::trainer << RunEnding::restarted << 2 << false << qint64(kMoment)
            << QStringLiteral("two\nlines") << QStringLiteral("a\r\nb\tc")
            << QStringLiteral("two lines") << QStringLiteral("a b c");
        QTest::newRow("names with blanks around, and a colon")
            << Mode::test << RunEnding::finished << 23 << false << qint64(kMoment)
            << QStringLiteral("  spaced   out  ") << QStringLiteral("host: 1")
            << QStringLiteral("spaced out") << QStringLiteral("host: 1");
        QTest::newRow("no names") << Mode::test << RunEnding::closed << 1 << false
                                  << qint64(kMoment) << QString() << QString() << QString()
                                  << QString();
        QTest::newRow("around the hour the clocks go back")
            << Mode::test << RunEnding::finished << 23 << false
            << qint64(kBeforeClocksGoBack + 1'200'000) << u << m << u << m;
        QTest::newRow("a day after 1970 began") << Mode::trainer << RunEnding::closed << 2 << false
                                                << qint64(86'400'123) << u << m << u << m;
    }
    void runReadsBackAsWritten() {
        QFETCH(Mode, mode);
        QFETCH(RunEnding, ending);
        QFETCH(int, count);
        QFETCH(bool, emptyKeys);
        QFETCH(qint64, startedMs);
        QFETCH(QString, user);
        QFETCH(QString, machine);
        QFETCH(QString, userRead);
        QFETCH(QString, machineRead);
        RunRecord run = madeRun(mode, ending, count, startedMs);
        if (emptyKeys)
            for (Answer& a : run.answers) {
                a.key.clear();
                a.right = false; // an empty row is never right
            }
        const QByteArray text = journalText(entryOf(run, user, machine));

        // Nine lines of head (ten for a test, with its marks), then one per answer; valid UTF-8
        // throughout.
        QVERIFY(text.endsWith('\n'));
        QCOMPARE(linesOf(text).size(), 9 + (mode == Mode::test) + count);
        QVERIFY(text.startsWith("zakony-logiki-journal 1\n"));
        QCOMPARE(QString::fromUtf8(text).toUtf8(), text);

        const JournalReading reading = parseJournal(text);
        QVERIFY2(reading.run, qPrintable(reading.problem));
        QVERIFY(reading.problem.isEmpty());
        QCOMPARE(reading.run->run.mode, run.mode);
        QCOMPARE(reading.run->run.startedMs, run.startedMs);
        QCOMPARE(reading.run->run.endedMs, run.endedMs);
        QCOMPARE(reading.run->run.ending, run.ending);
        QCOMPARE(reading.run->run.answers.size(), run.answers.size());
        for (std::size_t i = 0; i < run.answers.size(); ++i)
            QVERIFY2(reading.run->run.answers[i] == run.answers[i], qPrintable(QString::number(i)));
        QCOMPARE(reading.run->user, userRead);
        QCOMPARE(reading.run->machine, machineRead);
        QCOMPARE(reading.run->program, QStringLiteral("1.2.0"));
        // Written again, it is the same file.
        QCOMPARE(journalText(*reading.run), text);
    }

    // The times in the file are local with their offset, to the millisecond, and read back to
    // the same instant.
    void timesReadBackToTheMillisecond_data() {
        QTest::addColumn<qint64>("ms");
        QTest::newRow("the fixed moment") << qint64(kMoment);
        QTest::newRow("summer time, 02:50") << qint64(kBeforeClocksGoBack + 1'200'001);
        QTest::newRow("winter time, 02:10 again") << qint64(kBeforeClocksGoBack + 2'400'999);
        QTest::newRow("a whole second") << qint64(1'800'000'000'000);
    }
    void timesReadBackToTheMillisecond() {
        QFETCH(qint64, ms);
        const QString text = journalTime(ms);
        QCOMPARE(journalTimeMs(text), std::optional<std::int64_t>(ms));
        QVERIFY2(!text.contains(' '), qPrintable(text));
        QCOMPARE(text.mid(10, 1), QStringLiteral("T"));
        QCOMPARE(text.mid(19, 1), QStringLiteral("."));
        QVERIFY(!journalTimeMs(QString()).has_value());
        QVERIFY(!journalTimeMs(QStringLiteral("вчера")).has_value());
    }

    // The pupil's name and the laws asked, where there are any, read back; a run with neither
    // writes no such line, as files of before them did.
    void pupilAndLawsAskedReadBack_data() {
        QTest::addColumn<QString>("pupil");
        QTest::addColumn<QList<int>>("asked");
        QTest::addColumn<QString>("pupilRead");
        QTest::addColumn<int>("headLines");
        QTest::newRow("neither") << QString() << QList<int>{} << QString() << 10;
        QTest::newRow("a name") << QStringLiteral("Аня Петрова") << QList<int>{}
                                << QStringLiteral("Аня Петрова") << 11;
        QTest::newRow("a name on two lines, blanks around")
            << QStringLiteral(" Аня\nПетрова ") << QList<int>{} << QStringLiteral("Аня Петрова")
            << 11;
        QTest::newRow("blanks only: no name")
            << QStringLiteral(" \t ") << QList<int>{} << QString() << 10;
        QTest::newRow("laws asked, mistakes only")
            << QString() << QList<int>{3, 7, 12} << QString() << 11;
        QList<int> shuffled;
        for (int n = kLawCount; n >= 1; --n)
            shuffled << n;
        QTest::newRow("both, all 23 shuffled")
            << QStringLiteral("Вова") << shuffled << QStringLiteral("Вова") << 12;
    }
    void pupilAndLawsAskedReadBack() {
        QFETCH(QString, pupil);
        QFETCH(QList<int>, asked);
        QFETCH(QString, pupilRead);
        QFETCH(int, headLines);
        JournalRun entry = entryOf(madeRun(Mode::test, RunEnding::closed, 3));
        entry.pupil = pupil;
        entry.run.asked.assign(asked.begin(), asked.end());
        const QByteArray text = journalText(entry);
        QCOMPARE(linesOf(text).size(), headLines + 3);
        const JournalReading reading = parseJournal(text);
        QVERIFY2(reading.run, qPrintable(reading.problem));
        QCOMPARE(reading.run->pupil, pupilRead);
        QCOMPARE(reading.run->run.asked, entry.run.asked);
        QCOMPARE(reading.run->run.answers, entry.run.answers);
        QVERIFY(!reading.run->verdictsForged);
    }

    // A test's time limit and marks go between the laws asked and the start, and read back with
    // the ending "time-up" to the same mark; a run without them writes no such line, and a file
    // without marks is marked by the defaults.
    void limitAndMarksReadBack_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<RunEnding>("ending");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("marks");
        QTest::addColumn<QByteArray>("head"); // the lines from "mode" to "started"
        QTest::newRow("timed test, time up")
            << Mode::test << RunEnding::timeUp << 20 << "80,60,40"
            << QByteArray("mode: test\nasked: 3 1 2\nlimit: 20\nmarks: 80,60,40\nstarted:");
        QTest::newRow("test, no limit, default marks")
            << Mode::test << RunEnding::finished << 0 << "90,75,50"
            << QByteArray("mode: test\nasked: 3 1 2\nmarks: 90,75,50\nstarted:");
        QTest::newRow("trainer: neither") << Mode::trainer << RunEnding::finished << 0 << "90,75,50"
                                          << QByteArray("mode: trainer\nasked: 3 1 2\nstarted:");
    }
    void limitAndMarksReadBack() {
        QFETCH(Mode, mode);
        QFETCH(RunEnding, ending);
        QFETCH(int, limit);
        QFETCH(QString, marks);
        QFETCH(QByteArray, head);
        // 2 of 3 right (law 3 wrong): a 3 by the defaults, a 4 by 80,60,40.
        RunRecord run = madeRun(mode, ending, 3);
        std::rotate(run.answers.begin(), run.answers.begin() + 2, run.answers.end());
        run.asked = {3, 1, 2};
        run.limitMinutes = limit;
        run.marks = *parseMarks(marks.toStdString());
        const QByteArray text = journalText(entryOf(run));
        QVERIFY2(text.contains(head), text.constData());
        const JournalReading reading = parseJournal(text);
        QVERIFY2(reading.run, qPrintable(reading.problem));
        QCOMPARE(reading.run->run.ending, ending);
        QCOMPARE(reading.run->run.limitMinutes, limit);
        QCOMPARE(reading.run->run.marks, run.marks);
        QCOMPARE(reading.run->run.mark(), mode == Mode::test ? (marks == "80,60,40" ? 4 : 3) : 0);
        QCOMPARE(journalText(*reading.run), text);
        const QByteArray noMarks = QByteArray(text).replace("marks: 80,60,40\n", "");
        QCOMPARE(parseJournal(noMarks).run->run.marks, Marks{});
        const QByteArray later =
            QByteArray(text).replace("ending: " + endingName(ending).toUtf8(), "ending: paused");
        QCOMPARE(parseJournal(later).run->run.ending, RunEnding::cutShort);
    }

    // Every answer is judged again from its key: a verdict changed by hand in the file is
    // flagged and the catalogue's verdict counts; the other accepted form of a law, or the
    // right-hand side alone in the trainer, is no forgery.
    void verdictsAreJudgedAgain_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<int>("lawNumber");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("judged");
        const auto key = [](Mode m, int n, bool right) { return qs(answerKey(m, n, right)); };
        QTest::newRow("right, stored right")
            << Mode::test << 5 << key(Mode::test, 5, true) << true << true;
        QTest::newRow("wrong key stored right")
            << Mode::test << 5 << key(Mode::test, 5, false) << true << false;
        QTest::newRow("right key stored wrong")
            << Mode::test << 9 << key(Mode::test, 9, true) << false << true;
        QTest::newRow("empty key stored right") << Mode::test << 1 << QString() << true << false;
        QTest::newRow("the other form, stored right")
            << Mode::test << 1 << qs(law(1).otherForm) << true << true;
        QTest::newRow("trainer: the right side, stored right")
            << Mode::trainer << 7 << key(Mode::trainer, 7, true) << true << true;
        QTest::newRow("trainer: the whole law stored right")
            << Mode::trainer << 7 << key(Mode::test, 7, true) << true << false;
        QTest::newRow("another law's key stored right")
            << Mode::test << 2 << key(Mode::test, 1, true) << true << false;
    }
    void verdictsAreJudgedAgain() {
        QFETCH(Mode, mode);
        QFETCH(int, lawNumber);
        QFETCH(QString, key);
        QFETCH(bool, stored);
        QFETCH(bool, judged);
        RunRecord run = madeRun(mode, RunEnding::closed, 3);
        run.answers.push_back(Answer{lawNumber, key.toStdString(), stored, run.endedMs - 1});
        const JournalReading reading = parseJournal(journalText(entryOf(run)));
        QVERIFY2(reading.run, qPrintable(reading.problem));
        QCOMPARE(reading.run->verdictsForged, stored != judged);
        QCOMPARE(reading.run->run.answers.back().right, judged);
        QCOMPARE(reading.run->run.rightCount(), 2 + int(judged));
    }

    // Whatever is cut off a file, at any byte, it is not read as a run.
    void everyTruncationIsRejected() {
        for (const QByteArray& text : sampleFiles()) {
            QVERIFY(parseJournal(text).run);
            for (qsizetype size = 0; size < text.size(); ++size) {
                const JournalReading reading = parseJournal(text.left(size));
                QVERIFY2(!reading.run, qPrintable(QStringLiteral("read when cut to %1 bytes: %2")
                                                      .arg(size)
                                                      .arg(QString::fromUtf8(text.left(size)))));
                QVERIFY(!reading.problem.isEmpty());
            }
        }
    }

    // Any one line garbled, emptied or dropped: the file is not read as a run (but for marks).
    void everyLineDamagedIsRejected_data() {
        QTest::addColumn<QByteArray>("replacement"); // "<drop>": the line goes
        QTest::newRow("garbled") << QByteArray("#%&!? kaput ~~~");
        QTest::newRow("bytes that are no text") << QByteArray("\xff\xfe\x01\x80garbage");
        QTest::newRow("emptied") << QByteArray();
        QTest::newRow("dropped") << QByteArray("<drop>");
    }
    void everyLineDamagedIsRejected() {
        QFETCH(QByteArray, replacement);
        for (const QByteArray& text : sampleFiles()) {
            const QList<QByteArray> lines = linesOf(text);
            for (qsizetype i = 0; i < lines.size(); ++i) {
                QList<QByteArray> damaged = lines;
                if (replacement == "<drop>")
                    damaged.removeAt(i);
                else
                    damaged[i] = replacement;
                const JournalReading reading = parseJournal(joined(damaged));
                // Only the marks may go: the run is then marked by the defaults.
                if (lines[i].startsWith("marks: ") && damaged.size() < lines.size() + 1 &&
                    (replacement.isEmpty() || replacement == "<drop>")) {
                    QVERIFY(reading.run && reading.run->run.marks == Marks{});
                    continue;
                }
                QVERIFY2(!reading.run, qPrintable(QStringLiteral("read with line %1 (%2) damaged")
                                                      .arg(i + 1)
                                                      .arg(QString::fromUtf8(lines[i]))));
                QVERIFY(!reading.problem.isEmpty());
            }
        }
    }

    // The reason given for each kind of bad file, and what is still read.
    void eachProblemIsNamed_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("problem"); // empty: read as a run
        const QByteArray good = journalText(entryOf(madeRun(Mode::test, RunEnding::closed, 3)));
        auto changed = [&](const char* from, const char* to) {
            return QByteArray(good).replace(from, to);
        };
        QTest::newRow("good") << good << QString();
        QTest::newRow("a line of a later version, passed over")
            << changed("mode: test\n", "mode: test\nteacher: Петрова\n") << QString();
        QTest::newRow("empty") << QByteArray() << QStringLiteral("пустой файл");
        QTest::newRow("format 2") << changed("journal 1", "journal 2")
                                  << QStringLiteral("формат 2 новее");
        QTest::newRow("format 0") << changed("journal 1", "journal 0")
                                  << QStringLiteral("не файл журнала");
        QTest::newRow("foreign text")
            << QByteArray("Список покупок\nхлеб\nмолоко\n") << QStringLiteral("не файл журнала");
        QTest::newRow("binary") << QByteArray("\x7f"
                                              "ELF\x02\x01\x01\0\0\0",
                                              10)
                                << QStringLiteral("не файл журнала");
        QTest::newRow("fewer answers than said")
            << changed("answers: 3", "answers: 4") << QStringLiteral("повреждён");
        QTest::newRow("law 24") << changed("answer: 3 ", "answer: 24 ")
                                << QStringLiteral("повреждён");
        QTest::newRow("verdict neither right nor wrong")
            << changed(" wrong ", " maybe ") << QStringLiteral("повреждён");
        QTest::newRow("unknown mode")
            << changed("mode: test", "mode: exam") << QStringLiteral("повреждён");
        QTest::newRow("an ending of a later version, read as cut short")
            << changed("ending: closed", "ending: paused") << QString();
        QTest::newRow("an ending no version writes")
            << changed("ending: closed", "ending: Paused!") << QStringLiteral("повреждён");
        const QByteArray timed = changed("mode: test\n", "mode: test\nlimit: 20\n");
        QTest::newRow("limit") << timed << QString();
        for (const char* limit : {"limit: 0", "limit: 601", "limit: 2x", "limit: -5", "limit:"})
            QTest::addRow("%s", limit)
                << QByteArray(timed).replace("limit: 20", limit) << QStringLiteral("повреждён");
        QTest::newRow("limit twice")
            << QByteArray(timed).replace("mode: test", "mode: test\nlimit: 5")
            << QStringLiteral("повреждён");
        for (const char* marks : {"marks: 50,75,90", "marks: 90,75", "marks: x", "marks:"})
            QTest::addRow("%s", marks) << QByteArray(good).replace("marks: 90,75,50", marks)
                                       << QStringLiteral("повреждён");
        QTest::newRow("marks twice")
            << changed("mode: test", "mode: test\nmarks: 80,60,40") << QStringLiteral("повреждён");
        QTest::newRow("a file of before the pupil's name and the laws asked") << good << QString();
        const QByteArray named =
            changed("mode: test\n", "mode: test\nasked: 3 1 2\n")
                .replace("machine: class-07\n", "machine: class-07\npupil: Аня Петрова\n");
        QTest::newRow("pupil and laws asked") << named << QString();
        QTest::newRow("pupil twice")
            << QByteArray(named).replace("mode: test", "pupil: Вова\nmode: test")
            << QStringLiteral("повреждён");
        QTest::newRow("asked twice")
            << QByteArray(named).replace("mode: test", "mode: test\nasked: 1 2 3")
            << QStringLiteral("повреждён");
        for (const char* asked : {"asked: 3 1 24", "asked: 0 1 2", "asked: 3 1 3", "asked: 3 x 2",
                                  "asked: 3  1", "asked:"})
            QTest::addRow("%s", asked)
                << QByteArray(named).replace("asked: 3 1 2", asked) << QStringLiteral("повреждён");
        QTest::newRow("start time garbled")
            << changed("started: 2026", "started: 20x6") << QStringLiteral("повреждён");
    }
    void eachProblemIsNamed() {
        QFETCH(QByteArray, text);
        QFETCH(QString, problem);
        const JournalReading reading = parseJournal(text);
        if (problem.isEmpty()) {
            QVERIFY2(reading.run, qPrintable(reading.problem));
            return;
        }
        QVERIFY(!reading.run);
        QVERIFY2(reading.problem.contains(problem), qPrintable(reading.problem));
    }

    // A folder of good and bad files: the good runs newest first, each bad file skipped with its
    // reason, hidden files and folders passed over, and nothing in the folder changed.
    void folderListsGoodRunsAndSkipsTheRest() {
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QDir dir(temp.path());
        const auto put = [&](const QString& name, const QByteArray& bytes) {
            QVERIFY(writeAll(dir.filePath(name), bytes));
        };
        const QByteArray finished =
            journalText(entryOf(madeRun(Mode::test, RunEnding::finished, 23, kMoment)));
        const QByteArray restarted = journalText(
            entryOf(madeRun(Mode::trainer, RunEnding::restarted, 4, kMoment + 3'600'000)));
        const QByteArray going =
            journalText(entryOf(madeRun(Mode::test, RunEnding::going, 2, kMoment + 7'200'000)));
        put("a_finished.txt", finished);
        put("b_restarted.txt", restarted);
        put("c_going.txt", going);
        put("c_ours.txt",
            journalText(entryOf(madeRun(Mode::test, RunEnding::going, 1, kMoment + 7'300'000))));
        put("d_truncated.txt", finished.left(finished.size() / 2));
        QList<QByteArray> lines = linesOf(restarted);
        lines[3] = "%%% garbage %%%";
        put("e_garbled.txt", joined(lines));
        put("f_empty.txt", {});
        put("g_format2.txt", QByteArray(finished).replace("journal 1", "journal 2"));
        put("h_foreign.txt", "Dear diary,\ntoday we had logic.\n");
        put("i_notes.csv", finished);
        put(".c_going.txt.tmp", finished.left(40)); // a write aside, never listed
        QVERIFY(dir.mkdir("sub.txt"));
        put("sub.txt/inner.txt", finished);
        // A file that cannot be read: without read permission, or (as root, whom permissions do
        // not stop) a name for the process's own memory, whose first page is never mapped.
        // On Windows: a file another program holds open and shares with no one.
        std::unique_ptr<ExclusiveFile> heldOpen;
        if (kHasModes && runningAsRoot()) {
            QVERIFY(
                QFile::link(QStringLiteral("/proc/self/mem"), dir.filePath("j_unreadable.txt")));
        } else if (kHasModes) {
            put("j_unreadable.txt", finished);
            QVERIFY(QFile::setPermissions(dir.filePath("j_unreadable.txt"), {}));
        } else {
            put("j_unreadable.txt", finished);
            heldOpen = std::make_unique<ExclusiveFile>(dir.filePath("j_unreadable.txt"));
        }
        const FolderState before = folderState(temp.path());

        const JournalListing listing = readJournal(temp.path());

        COMPARE_FOLDERS(folderState(temp.path()), before);
        QVERIFY(listing.problem.isEmpty());
        QStringList runs;
        for (const JournalRun& r : listing.runs)
            runs << r.fileName + ':' + endingName(r.run.ending);
        QVERIFY2(runs.size() == 4, qPrintable(runs.join(' ')));
        QCOMPARE(runs, (QStringList{"c_ours.txt:going", "c_going.txt:going",
                                    "b_restarted.txt:restarted", "a_finished.txt:finished"}));
        QCOMPARE(listing.runs[3].run.answers.size(), std::size_t{23});
        QCOMPARE(listing.runs[3].user, QStringLiteral("ivanov"));

        QMap<QString, QString> skipped;
        for (const SkippedFile& s : listing.skipped) {
            QVERIFY2(!skipped.contains(s.fileName), qPrintable(s.fileName));
            skipped.insert(s.fileName, s.why);
        }
        const QMap<QString, QString> reasons{{"d_truncated.txt", "повреждён"},
                                             {"e_garbled.txt", "повреждён"},
                                             {"f_empty.txt", "пустой"},
                                             {"g_format2.txt", "формат 2"},
                                             {"h_foreign.txt", "не файл журнала"},
                                             {"i_notes.csv", "не файл журнала"},
                                             {"j_unreadable.txt", "не читается"}};
        QCOMPARE(skipped.keys(), reasons.keys());
        for (auto it = reasons.begin(); it != reasons.end(); ++it)
            QVERIFY2(skipped[it.key()].contains(it.value()),
                     qPrintable(it.key() + ": " + skipped[it.key()]));
    }

    void missingFolderIsAProblemNotACrash() {
        QTemporaryDir temp;
        const JournalListing listing = readJournal(temp.filePath("nowhere"));
        QVERIFY(listing.runs.empty());
        QVERIFY(listing.skipped.empty());
        QVERIFY2(listing.problem.contains(temp.filePath("nowhere")), qPrintable(listing.problem));
        QVERIFY(!QFileInfo::exists(temp.filePath("nowhere")));
    }
};

QTEST_GUILESS_MAIN(JournalFileTest)
#include "tst_journal_file.moc"
