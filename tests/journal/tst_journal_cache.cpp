// Reading a journal folder again and again: the cache reads again exactly the files that
// changed (a file whose bytes changed behind an unchanged size and time keeps its old run, so it
// was not read); the reader's record of every text, its times as Qt reads them; a going run
// stays going; the loader answers in the owner's thread and folds requests made while it reads.
#include "journal/journal_cache.h"
#include "journal/journal_loader.h"
#include "journal_test_support.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#ifndef _WIN32 // files' times set to the nanosecond, a folder's listing kept by its time
#include <fcntl.h>
#include <sys/stat.h>
#define ZL_POSIX_TIMES 1
#endif

using namespace journal_test;

namespace {

QByteArray runText(int answers, const QString& user = QStringLiteral("ivanov")) {
    return journalText(entryOf(madeRun(Mode::test, RunEnding::finished, answers), user));
}

// Every time of a run's text rewritten; `replacement` may use its date (\1), hour (\2),
// minutes and seconds (\3), milliseconds (\4) and offset (\5).
QByteArray retimed(const QByteArray& text, const QString& replacement) {
    static const QRegularExpression time(
        QStringLiteral(R"((\d{4}-\d\d-\d\d)T(\d\d)(:\d\d:\d\d)(\.\d{3})(Z|[+-]\d\d:\d\d))"));
    return QString::fromUtf8(text).replace(time, replacement).toUtf8();
}

QStringList usersOf(const JournalListing& listing) {
    QStringList users;
    for (const JournalRun& r : listing.runs)
        users << r.fileName + ':' + r.user;
    users.sort();
    return users;
}

} // namespace

class JournalCacheTest : public QObject {
    Q_OBJECT

  private slots:
    // After a first refresh of a.txt, b.txt and c.txt (users ivanov), one change; the second
    // refresh reads `reads` files and lists `users`.
    void readsAgainOnlyWhatChanged_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("reads");
        QTest::addColumn<QStringList>("users");
        const QStringList before{"a.txt:ivanov", "b.txt:ivanov", "c.txt:ivanov"};
        QTest::newRow("nothing") << "nothing" << 0 << before;
        QTest::newRow("bytes only: not read") << "bytes" << 0 << before;
        QTest::newRow("bytes and time")
            << "bytes+time" << 1 << QStringList{"a.txt:ivanov", "b.txt:petrov", "c.txt:ivanov"};
        QTest::newRow("size") << "size" << 1 << before;
        QTest::newRow("renamed over, as the writer does")
            << "renamed" << 1 << QStringList{"a.txt:ivanov", "b.txt:sidorov", "c.txt:ivanov"};
        QTest::newRow("new file") << "new" << 1 << (before + QStringList{"d.txt:ivanov"});
        QTest::newRow("file gone") << "gone" << 0 << QStringList{"a.txt:ivanov", "c.txt:ivanov"};
    }
    void readsAgainOnlyWhatChanged() {
#ifndef ZL_POSIX_TIMES
        QSKIP("sets times the POSIX way");
#else
        QFETCH(QString, change);
        QFETCH(int, reads);
        QFETCH(QStringList, users);
        QTemporaryDir temp;
        const QDir dir(temp.path());
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            QVERIFY(writeAll(dir.filePath(name), runText(3)));
        JournalCache cache(temp.path());
        int lastTotal = -1;
        const auto progress = [&](int, int total) { lastTotal = total; };
        const JournalListing first = cache.refresh(progress);
        QCOMPARE(first.runs.size(), std::size_t{3});
        QCOMPARE(lastTotal, 3);

        const QString b = dir.filePath("b.txt");
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(b).constData(), &st) == 0);
        if (change == "bytes" || change == "bytes+time") {
            // Written in place, the same size; then the time it had, to the nanosecond, or 5 s on.
            QVERIFY(writeAll(b, runText(3, QStringLiteral("petrov"))));
            QCOMPARE(QFileInfo(b).size(), qint64(st.st_size));
            timespec times[2] = {st.st_atim, st.st_mtim};
            if (change == "bytes+time") times[1].tv_sec += 5;
            QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(b).constData(), times, 0) == 0);
        } else if (change == "size") {
            QVERIFY(writeAll(b, runText(4)));
        } else if (change == "renamed") {
            QVERIFY(writeAll(dir.filePath(".b.tmp"), runText(3, QStringLiteral("sidorov"))));
            QVERIFY(::rename(QFile::encodeName(dir.filePath(".b.tmp")).constData(),
                             QFile::encodeName(b).constData()) == 0);
        } else if (change == "new") {
            QVERIFY(writeAll(dir.filePath("d.txt"), runText(1)));
        } else if (change == "gone") {
            QVERIFY(QFile::remove(b));
        }

        const JournalListing listing = cache.refresh(progress);
        QCOMPARE(lastTotal, reads);
        QCOMPARE(usersOf(listing), users);
        // a.txt never changes: its run is handed out again, not copied.
        const auto runOfA = [](const JournalListing& l) {
            return &*std::find_if(l.runs.begin(), l.runs.end(),
                                  [](const JournalRun& r) { return r.fileName == "a.txt"; });
        };
        QCOMPARE(runOfA(listing), runOfA(first));
#endif
    }

    // A folder of many files is read by two threads: every run once, each with its own file's
    // answers, the damaged ones named, and the progress growing to the whole.
    void manyFilesAreEachReadOnce() {
        QTemporaryDir temp;
        constexpr int kFiles = 1500;
        QStringList expected, damaged;
        for (int i = 0; i < kFiles; ++i) {
            const QString name = QStringLiteral("%1.txt").arg(i, 4, 10, QChar('0'));
            const QString user = QStringLiteral("u%1").arg(i);
            const QByteArray text = runText(1 + i % 23, user);
            QVERIFY(writeAll(temp.filePath(name), i % 100 == 7 ? text.chopped(20) : text));
            (i % 100 == 7 ? damaged : expected) << (i % 100 == 7 ? name : name + ':' + user);
        }
        JournalCache cache(temp.path());
        QList<int> done;
        const JournalListing listing = cache.refresh([&](int n, int) { done << n; });
        QCOMPARE(usersOf(listing), expected);
        for (const JournalRun& r : listing.runs)
            QCOMPARE(int(r.run.answers.size()), 1 + r.user.mid(1).toInt() % 23);
        QStringList skipped;
        for (const SkippedFile& f : listing.skipped)
            skipped << f.fileName;
        QCOMPARE(skipped, damaged);
        QVERIFY(done.size() > 2 && std::is_sorted(done.begin(), done.end()));
        QCOMPARE(done.last(), kFiles);
    }

    // The one reader on what the writer writes and on what it never would: the teacher's text
    // for a file that fails; for one read, its times as Qt reads them where they stand (the
    // writer's own shape is read without Qt), its laws, its user and whether it was forged.
    void readerTakesTheTextApart_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("forged");
        JournalRun named = entryOf(madeRun(Mode::trainer, RunEnding::going, 7), "Пётр, 7Б");
        named.pupil = QStringLiteral("Пётр Иванов");
        named.run.asked = {3, 1, 2, 4, 5, 6, 7};
        const QByteArray finished = runText(23);
        const auto at = [&](const char* replacement) {
            return retimed(finished, QString::fromLatin1(replacement));
        };
        const QString line = QStringLiteral("файл повреждён: строка %1");
        const QString ivanov = QStringLiteral("ivanov");
        QTest::newRow("test, 23 answers") << finished << "" << ivanov << false;
        QTest::newRow("trainer, a name, laws asked") << journalText(named) << ""
                                                     << "Пётр, 7Б" << false;
        QTest::newRow("times in UTC") << at("\\1T\\2\\3\\4Z") << "" << ivanov << false;
        QTest::newRow("times at +03:00") << at("\\1T\\2\\3\\4+03:00") << "" << ivanov << false;
        QTest::newRow("times at -09:30") << at("\\1T\\2\\3\\4-09:30") << "" << ivanov << false;
        QTest::newRow("offset -00:00") << at("\\1T\\2\\3\\4-00:00") << "" << ivanov << false;
        QTest::newRow("offset +15:00") << at("\\1T\\2\\3\\4+15:00") << "" << ivanov << false;
        QTest::newRow("time without ms") << at("\\1T\\2\\3\\5") << "" << ivanov << false;
        QTest::newRow("29 February 2028") << at("2028-02-29T\\2\\3\\4\\5") << "" << ivanov << false;
        QTest::newRow("29 February 2100")
            << at("2100-02-29T\\2\\3\\4\\5") << line.arg(7) << "" << false;
        QTest::newRow("30 April") << at("2026-04-30T\\2\\3\\4\\5") << "" << ivanov << false;
        QTest::newRow("31 April") << at("2026-04-31T\\2\\3\\4\\5") << line.arg(7) << "" << false;
        QTest::newRow("hour 24") << at("\\1T24\\3\\4\\5") << line.arg(7) << "" << false;
        QTest::newRow("1969") << at("1969-12-31T\\2\\3\\4\\5") << "" << ivanov << false;
        QTest::newRow("empty key")
            << QByteArray(finished).replace(" xилиyравноyилиx\n", " \n") << "" << ivanov << true;
        QTest::newRow("key with a blank")
            << QByteArray(finished).replace(" xилиyравноyилиx\n", " xили yравноyилиx\n")
            << line.arg(11) << "" << false;
        QTest::newRow("forged verdict")
            << QByteArray(finished).replace(" wrong ", " right ") << "" << ivanov << true;
        QTest::newRow("unknown line")
            << QByteArray(finished).insert(24, "colour: red\n") << "" << ivanov << false;
        QTest::newRow("line twice") << finished + "user: x\n" << line.arg(34) << "" << false;
        QTest::newRow("CR LF") << QByteArray(finished).replace("\n", "\r\n") << line.arg(5) << ""
                               << false;
        QTest::newRow("blank line")
            << QByteArray(finished).insert(24, "\n") << "" << ivanov << false;
        QTest::newRow("answers miscounted")
            << QByteArray(finished).replace("answers: 23", "answers: 22")
            << "файл повреждён: не все ответы на месте"
            << "" << false;
        QTest::newRow("law 24") << QByteArray(finished).replace("answer: 23 ", "answer: 24 ")
                                << line.arg(33) << "" << false;
        QTest::newRow("law 07") << QByteArray(finished).replace("answer: 7 ", "answer: 07 ") << ""
                                << ivanov << false;
        QTest::newRow("asked twice")
            << QByteArray(journalText(named)).replace("asked: 3 1", "asked: 1 1") << line.arg(7)
            << "" << false;
        QTest::newRow("no last newline") << finished.chopped(1) << "файл повреждён: оборван"
                                         << "" << false;
        QTest::newRow("byte order mark") << "\xEF\xBB\xBF" + finished << "" << ivanov << false;
        QTest::newRow("format 2") << QByteArray(finished).replace("journal 1", "journal 2")
                                  << "формат 2 новее этой программы (она читает формат 1)"
                                  << "" << false;
        QTest::newRow("broken UTF-8") << QByteArray(finished).replace("ivanov", "iv\xD0\xFF") << ""
                                      << "iv\uFFFD\uFFFD" << false;
    }
    void readerTakesTheTextApart() {
        QFETCH(QByteArray, text);
        QFETCH(QString, problem);
        const JournalReading reading = parseJournal(text);
        QCOMPARE(reading.problem, problem);
        QCOMPARE(reading.run.has_value(), problem.isEmpty());
        if (!reading.run) return;
        const RunRecord& run = reading.run->run;
        std::vector<std::int64_t> times{run.startedMs}, written;
        if (run.endedMs) times.push_back(run.endedMs);
        QList<int> laws, lawsWritten;
        for (const Answer& a : run.answers) {
            times.push_back(a.atMs);
            laws << a.law;
        }
        static const QRegularExpression time(QStringLiteral(R"(\d{4}-\d\d-\d\dT[^ \r\n]+)")),
            law(QStringLiteral(R"(\nanswer: (\d+) )"));
        const QString whole = QString::fromUtf8(text);
        for (const QRegularExpressionMatch& m : time.globalMatch(whole))
            written.push_back(
                QDateTime::fromString(m.captured(), Qt::ISODateWithMs).toMSecsSinceEpoch());
        for (const QRegularExpressionMatch& m : law.globalMatch(whole))
            lawsWritten << m.captured(1).toInt();
        QCOMPARE(times, written);
        QCOMPARE(laws, lawsWritten);
        QTEST(reading.run->user, "user");
        QTEST(reading.run->verdictsForged, "forged");
    }

    // Files that are no run are listed with why; one larger than any run is not read at all,
    // however good its text.
    void skippedFilesSayWhy_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("why");
        const QByteArray run = runText(23);
        QTest::newRow("damaged") << run.chopped(20) << "файл повреждён: оборван";
        QTest::newRow("a run padded past 64 KiB")
            << QByteArray(run).insert(24, "note: " + QByteArray(64 << 10, 'x') + '\n')
            << "больше 64 КиБ: не файл журнала, не прочитан";
    }
    void skippedFilesSayWhy() {
        QFETCH(QByteArray, text);
        QTemporaryDir temp;
        QVERIFY(writeAll(temp.filePath("a.txt"), text));
        const JournalListing listing = JournalCache(temp.path()).refresh();
        QCOMPARE(listing.runs.size(), std::size_t{0});
        QCOMPARE(listing.skipped.size(), std::size_t{1});
        QCOMPARE(listing.skipped[0].fileName, QStringLiteral("a.txt"));
        QTEST(listing.skipped[0].why, "why");
    }

    // A folder listed as it was, long enough ago, is not looked into file by file: a file
    // renamed into it shows at once, one rewritten in place by the tenth refresh.
    void unchangedFolderIsNotLookedInto() {
#ifndef ZL_POSIX_TIMES
        QSKIP("Windows looks into the folder every time");
#else
        QTemporaryDir temp;
        const QDir dir(temp.path());
        for (const char* name : {"a.txt", "b.txt"})
            QVERIFY(writeAll(dir.filePath(name), runText(3)));
        const QByteArray folder = QFile::encodeName(temp.path());
        const auto setFolderTime = [&] {
            const timespec anHourAgo{::time(nullptr) - 3600, 0}, times[2] = {anHourAgo, anHourAgo};
            QVERIFY(::utimensat(AT_FDCWD, folder.constData(), times, 0) == 0);
        };
        setFolderTime();
        JournalCache cache(temp.path());
        QCOMPARE(usersOf(cache.refresh()), QStringList({"a.txt:ivanov", "b.txt:ivanov"}));

        QVERIFY(writeAll(dir.filePath("b.txt"), runText(4, QStringLiteral("petrov"))));
        setFolderTime(); // as the folder was
        int refreshes = 1;
        while (usersOf(cache.refresh()).contains("b.txt:ivanov"))
            QVERIFY(++refreshes < 20);
        QCOMPARE(refreshes, 10);

        QVERIFY(writeAll(dir.filePath(".c.tmp"), runText(2, QStringLiteral("sidorov"))));
        QVERIFY(::rename(QFile::encodeName(dir.filePath(".c.tmp")).constData(),
                         QFile::encodeName(dir.filePath("c.txt")).constData()) == 0);
        QVERIFY(usersOf(cache.refresh()).contains("c.txt:sidorov"));
#endif
    }

    // Names as the teacher's windows show them: on one line, no control or direction
    // characters, at most 80 letters (a letter outside the BMP is two).
    void namesAreCutAndCleaned_data() {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("read");
        const QString ya(80, QChar(u'я'));
        QTest::newRow("as written") << "Пётр Иванов"
                                    << "Пётр Иванов";
        QTest::newRow("400,000 letters") << QString(400'000, QChar(u'я')) << ya;
        QTest::newRow("right-to-left override")
            << QString::fromUtf8("\u202Eвонави\u202C") << "вонави";
        QTest::newRow("isolates, zero-width, marks")
            << QString::fromUtf8("\u2067Пётр\u2069\u200B \u200FИванов\u200E") << "Пётр Иванов";
        QTest::newRow("controls") << QString::fromUtf8("Пётр\x01\x1b[2JИванов\u0085")
                                  << "Пётр [2JИванов";
        QTest::newRow("cut before a pair")
            << QString(79, QChar(u'я')) + "\U0001F600я" << QString(79, QChar(u'я'));
        QTest::newRow("a pair kept")
            << QString(78, QChar(u'я')) + "\U0001F600я" << QString(78, QChar(u'я')) + "\U0001F600";
    }
    void namesAreCutAndCleaned() {
        QFETCH(QString, written);
        JournalRun entry = entryOf(madeRun(Mode::test, RunEnding::going, 2));
        entry.pupil = written;
        entry.machine = written;
        // Past the writer's own cleaning, as a file written by hand would be.
        const QByteArray text =
            journalText(entry).replace(oneLine(written).toUtf8(), written.toUtf8());
        const JournalReading reading = parseJournal(text);
        QVERIFY2(reading.run, qPrintable(reading.problem));
        QTEST(reading.run->pupil, "read");
        QTEST(reading.run->machine, "read");
    }

    // A run left going is read as going: only its writer knows whether it still goes or was
    // cut short. The file's owner and last write come along.
    void goingStaysGoingWithOwnerAndTime() {
        QTemporaryDir temp;
        const QString path = temp.filePath("run.txt");
        QVERIFY(writeAll(path, journalText(entryOf(madeRun(Mode::test, RunEnding::going, 2)))));
        const JournalListing listing = readJournal(temp.path());
        QCOMPARE(listing.runs.size(), std::size_t{1});
        QCOMPARE(listing.runs[0].run.ending, RunEnding::going);
        QCOMPARE(listing.runs[0].run.answers.size(), std::size_t{2});
        QCOMPARE(listing.runs[0].owner, currentUserName());
        QCOMPARE(listing.runs[0].writtenMs, QFileInfo(path).lastModified().toMSecsSinceEpoch());
    }

    // Three reloads asked at once: one refresh, then one more, each answered in the owner's
    // thread with the folder as it was when it ran.
    void loaderFoldsRequestsAndAnswersInItsOwnersThread() {
        QTemporaryDir temp;
        for (int i = 0; i < 40; ++i)
            QVERIFY(writeAll(temp.filePath(QStringLiteral("%1.txt").arg(i)), runText(2)));
        JournalLoader loader(temp.path());
        QList<std::size_t> sizes;
        QList<bool> inOwnersThread;
        connect(&loader, &JournalLoader::loaded, this, [&](const JournalListing& listing) {
            sizes << listing.runs.size();
            inOwnersThread << (QThread::currentThread() == thread());
            // Before the refresh asked meanwhile starts.
            if (sizes.size() == 1) QVERIFY(writeAll(temp.filePath("new.txt"), runText(2)));
        });
        QSignalSpy progress(&loader, &JournalLoader::progress);
        loader.reload();
        loader.reload();
        loader.reload();
        QVERIFY(sizes.isEmpty()); // read off this thread, answered through its event loop
        QTRY_COMPARE(sizes.size(), 2);
        QTest::qWait(100); // no third answer comes
        QCOMPARE(sizes, (QList<std::size_t>{40, 41}));
        QCOMPARE(inOwnersThread, (QList<bool>{true, true}));
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.first(), (QVariantList{0, 40}));
        QCOMPARE(progress.last(), (QVariantList{1, 1})); // the second read the new file alone
    }
};

QTEST_GUILESS_MAIN(JournalCacheTest)
#include "tst_journal_cache.moc"
