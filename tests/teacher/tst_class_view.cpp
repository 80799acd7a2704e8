// The class view: each pupil's latest run of the day on each machine, its state judged by the
// clock (going, waiting, done, dropped), runs written after it opened appearing by themselves,
// numbers sorted as numbers and a run opening in its review, a finished test kept beside a new
// run, rows by the account that wrote them; the law view: the worst law first, the runs chosen
// by mode and days. Run on a large screen, offscreen.
#include "journal/journal_test_support.h"
#include "journal/writer_plan.h"

#include "journal/lesson_file.h"
#include "teacher/class_rows.h"
#include "teacher/class_view.h"
#include "teacher/fitted_view.h"
#include "teacher/law_view.h"
#include "teacher/lesson_dialog.h"
#include "teacher/review_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using journal_test::answerKey;
using journal_test::entryOf;
using journal_test::madeRun;

Q_DECLARE_METATYPE(Lesson)

namespace {

constexpr std::int64_t kMinute = 60'000;
// 8 December 2026, 10:00:00 local time: the runs of "today" start then; the clock follows.
const std::int64_t kMorning = QDateTime(QDate(2026, 12, 8), QTime(10, 0)).toMSecsSinceEpoch();

int columnOf(const QAbstractItemView* table, const QString& title) {
    for (int c = 0; c < table->model()->columnCount(); ++c)
        if (table->model()->headerData(c, Qt::Horizontal).toString() == title) return c;
    return -1;
}

int rowCount(const QAbstractItemView* table) {
    return table->model()->rowCount();
}

// A cell as shown (or its tooltip, …), in the table's order.
QString cell(const QAbstractItemView* table, int row, const QString& title,
             int role = Qt::DisplayRole) {
    const QModelIndex index = table->model()->index(row, columnOf(table, title));
    return index.isValid() ? index.data(role).toString() : QStringLiteral("(no cell)");
}

// A column's cells from top to bottom.
QStringList column(const QAbstractItemView* table, const QString& title) {
    QStringList cells;
    for (int r = 0; r < rowCount(table); ++r)
        cells << cell(table, r, title);
    return cells;
}

// The run's file in the folder, last written at `writtenMs`.
void writeRun(const QString& folder, const JournalRun& entry, std::int64_t writtenMs) {
    const QString path = QDir(folder).filePath(
        QStringLiteral("%1_%2_%3.txt").arg(entry.user, entry.machine).arg(entry.run.startedMs));
    QVERIFY(journal_test::writeAll(path, journalText(entry)));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::fromMSecsSinceEpoch(writtenMs),
                             QFileDevice::FileModificationTime));
}

std::int64_t lastMoment(const RunRecord& run) {
    return run.answers.empty() ? run.startedMs : run.answers.back().atMs;
}

// The dialog «Задание» once it is open (it is modal): `fill` sets it, then OK.
void whenLessonDialogOpens(std::function<void(LessonDialog*)> fill) {
    QTimer::singleShot(0, [fill] {
        auto* dialog = qobject_cast<LessonDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        fill(dialog);
        dialog->accept();
    });
}

} // namespace

class ClassViewTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder;
    std::int64_t now = kMorning;

    std::unique_ptr<ClassView> openView() {
        auto view = std::make_unique<ClassView>(nullptr, folder.path(), [this] { return now; });
        view->show();
        return view;
    }

  private slots:
    void init() {
        QVERIFY(folder.isValid());
        QDir dir(folder.path());
        for (const QString& name : dir.entryList(QDir::Files))
            QVERIFY(dir.remove(name));
        QFile::remove(dir.filePath(QString::fromLatin1(kLessonFileName)));
        now = kMorning;
    }

    void questionAndState_data() {
        QTest::addColumn<int>("ending");
        QTest::addColumn<int>("answers");
        QTest::addColumn<int>("asked");          // laws asked; 0: all of them
        QTest::addColumn<double>("idleMinutes"); // since the last answer (or the start)
        QTest::addColumn<double>("unwrittenMinutes");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("state");
        const int going = int(RunEnding::going);
        QTest::newRow("just answered") << going << 6 << 0 << 1.0 << 1.0 << "7 из 23"
                                       << "идёт";
        QTest::newRow("not yet 3 min") << going << 6 << 0 << 2.9 << 2.9 << "7 из 23"
                                       << "идёт";
        QTest::newRow("3 min") << going << 6 << 0 << 3.0 << 3.0 << "7 из 23"
                               << "ждёт 3 мин";
        QTest::newRow("44 min") << going << 6 << 0 << 44.9 << 44.9 << "7 из 23"
                                << "ждёт 44 мин";
        QTest::newRow("waiting, file written") << going << 6 << 0 << 50.0 << 1.0 << "7 из 23"
                                               << "ждёт 50 мин";
        QTest::newRow("45 min unwritten") << going << 6 << 0 << 45.0 << 45.0 << "7 из 23"
                                          << "прерван";
        QTest::newRow("no answer yet") << going << 0 << 0 << 1.0 << 1.0 << "1 из 23"
                                       << "идёт";
        QTest::newRow("no answer for 4 min") << going << 0 << 0 << 4.5 << 4.5 << "1 из 23"
                                             << "ждёт 4 мин";
        QTest::newRow("mistakes run") << going << 1 << 4 << 1.0 << 1.0 << "2 из 4"
                                      << "идёт";
        QTest::newRow("mistakes run, capped") << going << 4 << 4 << 1.0 << 1.0 << "4 из 4"
                                              << "идёт";
        QTest::newRow("finished") << int(RunEnding::finished) << 23 << 0 << 90.0 << 90.0
                                  << "23 из 23"
                                  << "закончил";
        QTest::newRow("finished mistakes run")
            << int(RunEnding::finished) << 3 << 3 << 1.0 << 1.0 << "3 из 3"
            << "закончил";
        QTest::newRow("closed") << int(RunEnding::closed) << 5 << 0 << 1.0 << 1.0 << "6 из 23"
                                << "прерван";
        QTest::newRow("restarted") << int(RunEnding::restarted) << 2 << 0 << 0.5 << 0.5 << "3 из 23"
                                   << "прерван";
    }
    void questionAndState() {
        QFETCH(int, ending);
        QFETCH(int, answers);
        QFETCH(int, asked);
        QFETCH(double, idleMinutes);
        QFETCH(double, unwrittenMinutes);
        RunRecord run = madeRun(Mode::trainer, RunEnding(ending), answers, kMorning);
        for (int i = 0; i < asked; ++i)
            run.asked.push_back(2 * i + 1);
        now = lastMoment(run) + std::int64_t(idleMinutes * kMinute);
        writeRun(folder.path(), entryOf(run), now - std::int64_t(unwrittenMinutes * kMinute));
        const auto view = openView();
        QTRY_COMPARE(rowCount(view->table()), 1);
        QTEST(cell(view->table(), 0, "Вопрос"), "question");
        QTEST(cell(view->table(), 0, "Состояние"), "state");
    }

    // The clock alone moves: the state follows it with no file changed.
    void stateOverTime() {
        const RunRecord run = madeRun(Mode::test, RunEnding::going, 4, kMorning);
        writeRun(folder.path(), entryOf(run), lastMoment(run));
        now = lastMoment(run) + kMinute;
        const auto view = openView();
        QTRY_COMPARE(cell(view->table(), 0, "Состояние"), QStringLiteral("идёт"));
        now += 2 * kMinute;
        QTRY_COMPARE(cell(view->table(), 0, "Состояние"), QStringLiteral("ждёт 3 мин"));
        now += 42 * kMinute;
        QTRY_COMPARE(cell(view->table(), 0, "Состояние"), QStringLiteral("прерван"));
    }

    // One row per pupil and machine, each its latest run of the chosen day; numbers sorted as
    // numbers.
    void latestRunPerPupilAndMachine() {
        const std::int64_t day = 24 * 60 * kMinute;
        struct Written {
            const char *user, *machine;
            std::int64_t startedMs;
            int answers;
        };
        const Written runs[] = {
            {"ivanov", "class-01", kMorning - 60 * kMinute, 3},       // replaced by the next
            {"ivanov", "class-01", kMorning, 15},                     // 10 right
            {"ivanov", "class-02", kMorning - 30 * kMinute, 4},       // 3 right
            {"petrov", "class-01", kMorning - 45 * kMinute, 3},       // 2 right
            {"petrov", "class-01", kMorning - day + 90 * kMinute, 9}, // the day before
        };
        for (const Written& w : runs)
            writeRun(folder.path(),
                     entryOf(madeRun(Mode::test, RunEnding::finished, w.answers, w.startedMs),
                             w.user, w.machine),
                     w.startedMs + 30 * kMinute);
        now = kMorning + 60 * kMinute;
        const auto view = openView();
        QTableView* table = view->table();
        QTRY_COMPARE(rowCount(table), 3);

        table->sortByColumn(columnOf(table, "Правильно"), Qt::AscendingOrder);
        QCOMPARE(column(table, "Правильно"), QStringList({"2", "3", "10"}));
        QCOMPARE(column(table, "Ученик"), QStringList({"petrov", "ivanov", "ivanov"}));
        QCOMPARE(column(table, "Компьютер"), QStringList({"class-01", "class-02", "class-01"}));
        QCOMPARE(column(table, "Начало"), QStringList({"09:15:00", "09:30:00", "10:00:00"}));
        QCOMPARE(column(table, "Режим"), QStringList({"Тест", "Тест", "Тест"}));
        table->sortByColumn(columnOf(table, "Правильно"), Qt::DescendingOrder);
        QCOMPARE(column(table, "Правильно"), QStringList({"10", "3", "2"}));

        // The laws over every run of the day, not only those shown: law 1 in all four, law 4 in
        // the two of 15 and 4 answers.
        view->findChild<QPushButton*>("laws")->click();
        const LawView* lawView = view->findChild<LawView*>();
        QVERIFY(lawView && lawView->isVisible());
        const QTableWidget* laws = lawView->table();
        const int law1 = column(laws, "№").indexOf("1"), law4 = column(laws, "№").indexOf("4");
        QCOMPARE(cell(laws, law1, "Ответов"), QStringLiteral("4"));
        QCOMPARE(cell(laws, law4, "Ответов"), QStringLiteral("2"));
        // The runs shown as a workbook (a zip, as every .xlsx is).
        QTemporaryDir saved;
        const QString workbook = QDir(saved.path()).filePath("класс.xlsx");
        QCOMPARE(view->writeXlsx(workbook), QString());
        QVERIFY(journal_test::readAll(workbook).startsWith("PK"));

        view->findChild<QDateEdit*>("day")->setDate(QDate(2026, 12, 7));
        QTRY_COMPARE(column(table, "Начало"), QStringList({"11:30:00"}));
        QCOMPARE(column(table, "Вопрос"), QStringList({"23 из 23"}));
    }

    // A run written after the window opened, and an answer added to a run, appear by
    // themselves.
    void runsWrittenLaterAppear() {
        RunRecord first = madeRun(Mode::trainer, RunEnding::going, 2, kMorning);
        writeRun(folder.path(), entryOf(first, "ivanov", "class-01"), lastMoment(first));
        now = lastMoment(first) + kMinute;
        const auto view = openView();
        QTRY_COMPARE(rowCount(view->table()), 1);
        QCOMPARE(cell(view->table(), 0, "Вопрос"), QStringLiteral("3 из 23"));

        const RunRecord second = madeRun(Mode::test, RunEnding::going, 1, kMorning + kMinute);
        writeRun(folder.path(), entryOf(second, "petrov", "class-02"), now);
        QTRY_COMPARE_WITH_TIMEOUT(rowCount(view->table()), 2, 10'000);

        // The review of a run going follows its answers.
        view->table()->sortByColumn(columnOf(view->table(), "Ученик"), Qt::AscendingOrder);
        QVERIFY(view->openRun(0));
        QCOMPARE(view->review()->table()->rowCount(), 2);
        first = madeRun(Mode::trainer, RunEnding::going, 3, kMorning);
        writeRun(folder.path(), entryOf(first, "ivanov", "class-01"), now);
        QTRY_COMPARE_WITH_TIMEOUT(cell(view->table(), 0, "Вопрос"), QStringLiteral("4 из 23"),
                                  10'000);
        QCOMPARE(view->review()->table()->rowCount(), 3);
    }

    // A double click opens the run's review; the tooltips tell a login other than the file's
    // owner and verdicts in the file that the answers do not bear out.
    void doubleClickOpensTheReview() {
        RunRecord forged = madeRun(Mode::test, RunEnding::finished, 5, kMorning);
        forged.answers[2].right = true; // written wrong
        writeRun(folder.path(), entryOf(forged, "ivanov", "class-01"), kMorning + 10 * kMinute);
        writeRun(
            folder.path(),
            entryOf(madeRun(Mode::test, RunEnding::finished, 7, kMorning), "petrov", "class-02"),
            kMorning + 10 * kMinute);
        now = kMorning + 20 * kMinute;
        const auto view = openView();
        QTableView* table = view->table();
        QTRY_COMPARE(rowCount(table), 2);
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        const int row = column(table, "Ученик").indexOf("petrov");
        const int other = 1 - row;
        const QString forgedVerdict = QStringLiteral("оценка в файле не совпадает с ответом");
        QCOMPARE(cell(table, other, "Состояние", Qt::ToolTipRole), forgedVerdict);
        QVERIFY(cell(table, row, "Состояние", Qt::ToolTipRole) != forgedVerdict);
        const QString who = cell(table, row, "Ученик", Qt::ToolTipRole);
        QVERIFY2(who.contains("petrov") && who.contains(currentUserName()), qPrintable(who));

        const QRect at = table->visualRect(table->model()->index(row, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at.center());
        QVERIFY(view->review());
        QTRY_VERIFY(view->review()->isVisible());
        QCOMPARE(view->review()->findChild<QLabel*>("machine")->text(), QStringLiteral("class-02"));
        QCOMPARE(view->review()->table()->rowCount(), 7);
    }

    // A finished test stays beside whatever the pupil does next on that machine; a run ended
    // otherwise is no test's result.
    void lastTestBesideTheRunNow_data() {
        QTest::addColumn<int>("firstMode");
        QTest::addColumn<int>("firstEnding");
        QTest::addColumn<int>("nextMode"); // -1: no next run
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("lastTest");
        const int test = int(Mode::test), trainer = int(Mode::trainer);
        const int finished = int(RunEnding::finished);
        // 23 answers, every third wrong.
        QTest::newRow("mistakes after a test") << test << finished << trainer << "Тренажёр"
                                               << "16 прав., 7 ош.";
        QTest::newRow("a test started again") << test << finished << test << "Тест"
                                              << "16 прав., 7 ош.";
        QTest::newRow("the test alone") << test << finished << -1 << "Тест"
                                        << "16 прав., 7 ош.";
        QTest::newRow("a test restarted midway")
            << test << int(RunEnding::restarted) << test << "Тест"
            << "—";
        QTest::newRow("a finished trainer run") << trainer << finished << test << "Тест"
                                                << "—";
    }
    void lastTestBesideTheRunNow() {
        QFETCH(int, firstMode);
        QFETCH(int, firstEnding);
        QFETCH(int, nextMode);
        const RunRecord first = madeRun(Mode(firstMode), RunEnding(firstEnding), 23, kMorning);
        writeRun(folder.path(), entryOf(first), lastMoment(first));
        now = lastMoment(first) + kMinute;
        if (nextMode >= 0) {
            const RunRecord next = madeRun(Mode(nextMode), RunEnding::going, 1, now);
            writeRun(folder.path(), entryOf(next), lastMoment(next));
            now = lastMoment(next) + kMinute;
        }
        const auto view = openView();
        QTRY_COMPARE(rowCount(view->table()), 1);
        QTEST(cell(view->table(), 0, "Режим"), "mode");
        QTEST(cell(view->table(), 0, "Последний тест"), "lastTest");
    }

    // A test stopped by its time limit counts as one finished; the mark is worked out by the
    // run's own thresholds (23 asked, 16 answered right in 23: 69.6 %), and the review shows it.
    void timeUpAndMark_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("ending");
        QTest::addColumn<int>("answers");
        QTest::addColumn<int>("three"); // the least share for a 3
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("mark"); // empty: none shown
        const int test = int(Mode::test), finished = int(RunEnding::finished);
        const int timeUp = int(RunEnding::timeUp);
        QTest::newRow("69.6 % at 69") << test << finished << 23 << 69 << "закончил"
                                      << "3";
        QTest::newRow("69.6 % at 70") << test << finished << 23 << 70 << "закончил"
                                      << "2";
        // 8 right of 23 asked: 34.8 %
        QTest::newRow("time up") << test << timeUp << 12 << 34 << "время вышло"
                                 << "3";
        QTest::newRow("time up, below") << test << timeUp << 12 << 35 << "время вышло"
                                        << "2";
        QTest::newRow("restarted") << test << int(RunEnding::restarted) << 23 << 10 << "прерван"
                                   << "";
        QTest::newRow("trainer") << int(Mode::trainer) << finished << 23 << 10 << "закончил"
                                 << "";
    }
    void timeUpAndMark() {
        QFETCH(int, mode);
        QFETCH(int, ending);
        QFETCH(int, answers);
        QFETCH(int, three);
        RunRecord run = madeRun(Mode(mode), RunEnding(ending), answers, kMorning);
        run.marks = {90, 75, three};
        const JournalRun entry = entryOf(run);
        ClassRows model({}, nullptr);
        const QDate today(2026, 12, 8);
        model.setRuns(journal_test::sharedRuns({entry}), today.startOfDay().toMSecsSinceEpoch(),
                      today.addDays(1).startOfDay().toMSecsSinceEpoch(), lastMoment(run) + kMinute);
        QTableView table;
        table.setModel(&model);
        QTEST(cell(&table, 0, "Состояние"), "state");
        QTEST(cell(&table, 0, "Оценка"), "mark");

        ReviewWindow review(nullptr);
        review.showJournalRun(entry);
        const QLabel* shown = review.findChild<QLabel*>("mark");
        QTEST(shown->isVisibleTo(&review) ? shown->text() : QString(), "mark");
    }

    // «Задание»: a lesson in, the same lesson out; «все» checks every law, then none.
    void lessonDialogRoundTrip_data() {
        QTest::addColumn<Lesson>("lesson");
        QTest::newRow("as at first") << Lesson{};
        QTest::newRow("some laws, 20 min, shuffled")
            << Lesson{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15}, 20, true, {95, 80, 60}};
        QTest::newRow("the last law, longest") << Lesson{{23}, kMaxMinutes, false, {100, 1, 0}};
    }
    void lessonDialogRoundTrip() {
        QFETCH(Lesson, lesson);
        LessonDialog dialog(nullptr, lesson, 1.0);
        QVERIFY(dialog.lesson() == lesson);
        auto* all = dialog.findChild<QCheckBox*>("allLaws");
        QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QCOMPARE(all->checkState(), lesson.laws.empty() ? Qt::Checked : Qt::PartiallyChecked);
        if (!lesson.laws.empty()) {
            all->click();
            QVERIFY(dialog.lesson().laws.empty());
            QCOMPARE(all->checkState(), Qt::Checked);
        }
        all->click();
        QCOMPARE(all->checkState(), Qt::Unchecked);
        QVERIFY(!ok->isEnabled()); // no law asked
        dialog.findChild<QCheckBox*>("law5")->click();
        QCOMPARE(dialog.lesson().laws, std::vector<int>{5});
        QVERIFY(ok->isEnabled());
        dialog.findChild<QSpinBox*>("four")->setValue(dialog.lesson().marks.five);
        QVERIFY(!ok->isEnabled()); // the marks do not fall
        dialog.findChild<QSpinBox*>("four")->setValue(dialog.lesson().marks.three);
        QVERIFY(!ok->isEnabled());
    }

    // The lesson in force, read from the folder again at each reading.
    void lessonLine_data() {
        QTest::addColumn<QByteArray>("file"); // empty: none
        QTest::addColumn<QString>("line");
        QTest::newRow("none") << QByteArray() << "Задание: все законы";
        QTest::newRow("laws, minutes")
            << QByteArray("[test]\nlaws=1-12\nminutes=20\n") << "Задание: законы 1–12, 20 мин";
        QTest::newRow("minutes") << QByteArray("[test]\nminutes=20\n")
                                 << "Задание: все законы, 20 мин";
    }
    void lessonLine() {
        QFETCH(QByteArray, file);
        const QString path = folder.filePath(QString::fromLatin1(kLessonFileName));
        const auto view = openView();
        if (!file.isEmpty())
            QVERIFY(journal_test::writeAll(path, file) &&
                    ::chmod(QFile::encodeName(path), 0644) == 0);
        view->reload(); // as the folder's watch or the polling would
        QTEST(view->findChild<QLabel*>("lesson")->text(), "line");
    }

    // Set from the class view over a file that was not the teacher's: written, followed, and
    // the replacing told.
    void setsTheLesson() {
        const QString path = folder.filePath(QString::fromLatin1(kLessonFileName));
        QVERIFY(journal_test::writeAll(path, "[test]\nlaws=1\n"));
        QVERIFY(::chmod(QFile::encodeName(path), 0666) == 0);
        const auto view = openView();
        const QString planted = view->findChild<QLabel*>("lesson")->text();
        QVERIFY2(planted.startsWith("Задание: все законы\nФайл задания ") &&
                     planted.contains("не учителя"),
                 qPrintable(planted));
        view->setFactor(1.5);
        whenLessonDialogOpens([](LessonDialog* dialog) {
            QCOMPARE(dialog->font().pointSizeF(), teacherFont(1.5).pointSizeF());
            dialog->findChild<QCheckBox*>("law23")->click();
            dialog->findChild<QSpinBox*>("minutes")->setValue(20);
        });
        view->findChild<QPushButton*>("lessonButton")->click();
        QCOMPARE(view->findChild<QLabel*>("lesson")->text(),
                 QStringLiteral("Задание: законы 1–22, 20 мин\n"
                                "Файл задания, записанный не учителем, заменён."));
    }

    // Rows by the account that wrote the files: a name written by two accounts is a row for
    // each, both marked; one shared account keeps a row per name. The journal's writer runs
    // under other uids (root only).
    void rowsByAccount_data() {
        QTest::addColumn<QList<int>>("uids");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("rows"); // the pupils' cells, sorted
        const QString ivanov = QStringLiteral("Иванов Пётр");
        const QString mark = QStringLiteral(" (то же имя у учётной записи %1)");
        QTest::newRow("a name taken by another account")
            << QList<int>{2001, 2002} << QStringList{ivanov, ivanov}
            << QStringList{ivanov + mark.arg(2001), ivanov + mark.arg(2002)};
        QTest::newRow("taken in another case")
            << QList<int>{2001, 2002} << QStringList{ivanov, ivanov.toLower()}
            << QStringList{ivanov + mark.arg(2002), ivanov.toLower() + mark.arg(2001)};
        QTest::newRow("one shared account, two pupils")
            << QList<int>{2003, 2003} << QStringList{ivanov, "Сидоров Иван"}
            << QStringList{ivanov, "Сидоров Иван"};
    }
    void rowsByAccount() {
        if (!journal_test::runningAsRoot()) QSKIP("writes runs as other users: needs root");
        if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
            QSKIP("setpriv is not installed");
        QFETCH(QList<int>, uids);
        QFETCH(QStringList, names);
        QTemporaryDir box;
        QVERIFY(::chmod(QFile::encodeName(box.path()).constData(), 01777) == 0);
        const QString go = box.filePath(".go");
        std::vector<std::unique_ptr<QProcess>> writers;
        for (int i = 0; i < uids.size(); ++i) {
            writers.push_back(
                journal_test::startAs(unsigned(uids[i]), ZL_JOURNAL_WRITER_TOOL,
                                      {box.path(), "0", go, "--configured", "--pupil", names[i]}));
            QVERIFY(writers.back()->waitForStarted());
        }
        QVERIFY(journal_test::writeAll(go, "go"));
        for (auto& p : writers) {
            QVERIFY(p->waitForFinished(60'000));
            QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
        }
        now = writer_plan::closeTimeOf(0) + kMinute;
        auto view = std::make_unique<ClassView>(nullptr, box.path(), [this] { return now; });
        view->show();
        QTRY_VERIFY(rowCount(view->table()) > 0);
        QStringList rows = column(view->table(), "Ученик");
        rows.sort();
        QTEST(rows, "rows");
    }

    // Both windows at the zoom, on the screen, closed by Escape.
    void scalesWithTheZoom() {
        const auto view = openView();
        view->findChild<QPushButton*>("laws")->click();
        view->setFactor(2.0);
        for (QWidget* window : {static_cast<QWidget*>(view.get()),
                                static_cast<QWidget*>(view->findChild<LawView*>())}) {
            QCOMPARE(window->font().pointSizeF(), teacherFont(2.0).pointSizeF());
            // The program's icon, drawn, not a blank one.
            const QImage icon = window->windowIcon().pixmap(32, 32).toImage();
            QVERIFY(!icon.isNull() && icon.pixelColor(16, 16).alpha() > 0);
            QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
            window->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), window);
            QTest::keyClick(window, Qt::Key_Escape);
            QVERIFY(!window->isVisible());
        }
    }

    // Wider than the screen at the largest zoom (a login of 80 wide letters): the table scrolls
    // across, and its scroll bar hides no row.
    void wideTableHidesNoRow() {
        const RunRecord run = madeRun(Mode::test, RunEnding::going, 2, kMorning);
        writeRun(folder.path(), entryOf(run, QString(80, QChar(0x0429))), lastMoment(run));
        // A pupil's lesson file: its line, told why it is not followed, wraps at that width.
        QVERIFY(journal_test::writeAll(folder.filePath(kLessonFileName), "[test]\nlaws=1\n"));
        QVERIFY(QFile::setPermissions(folder.filePath(kLessonFileName),
                                      QFile::ReadOwner | QFile::WriteOther | QFile::ReadOther));
        const auto view = openView();
        QTRY_COMPARE(rowCount(view->table()), 1);
        view->setFactor(3.0);
        const FittedView* table = view->table();
        QTRY_VERIFY(table->horizontalScrollBar()->isVisible());
        QVERIFY(table->rowViewportPosition(0) + table->rowHeight(0) <= table->viewport()->height());
    }

    // Three runs of a test and one of the trainer a day earlier: law 2 answered wrong twice the
    // same way, law 3 once, law 1 wrong in the trainer alone.
    void lawsWorstFirst_data() {
        QTest::addColumn<int>("modeIndex"); // «Все режимы», «Тренажёр», «Тест»
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QStringList>("worst"); // "law answers share", worst first
        QTest::addColumn<QString>("mistakes");  // of the worst
        const QDate today(2026, 12, 8), yesterday(2026, 12, 7);
        QTest::newRow("tests today")
            << 2 << today << QStringList{"2 3 33 %", "3 3 67 %", "1 3 100 %"} << "x • y = y • (2)";
        QTest::newRow("all modes, today")
            << 0 << today << QStringList{"2 3 33 %", "3 3 67 %", "1 3 100 %"} << "x • y = y • (2)";
        QTest::newRow("all modes, both days")
            << 0 << yesterday << QStringList{"2 4 50 %", "1 4 75 %", "3 4 75 %"}
            << "x • y = y • (2)";
        QTest::newRow("trainer") << 1 << yesterday
                                 << QStringList{"1 1 0 %", "2 1 100 %", "3 1 100 %"}
                                 << "… = y ∨ (1)";
    }
    void lawsWorstFirst() {
        QFETCH(int, modeIndex);
        QFETCH(QDate, from);
        QFETCH(QStringList, worst);
        const auto made = [](Mode mode, const QString& pattern, std::int64_t startedMs) {
            RunRecord run{1, mode, startedMs, startedMs + 10 * kMinute, RunEnding::closed, {}, {}};
            for (int n = 1; n <= pattern.size(); ++n) {
                const bool right = pattern[n - 1] == 'R';
                run.answers.push_back(
                    {n, answerKey(mode, n, right), right, startedMs + n * kMinute});
            }
            return entryOf(run);
        };
        const std::int64_t day = 24 * 60 * kMinute;
        LawView view(nullptr);
        view.setRuns(journal_test::sharedRuns(
            {made(Mode::test, "RWR", kMorning), made(Mode::test, "RWW", kMorning),
             made(Mode::test, "RRR", kMorning), made(Mode::trainer, "WRR", kMorning - day)}));
        view.show();
        view.findChild<QComboBox*>("mode")->setCurrentIndex(modeIndex);
        view.findChild<QDateEdit*>("from")->setDate(from);
        const QTableWidget* table = view.table();
        QVERIFY(rowCount(table) >= worst.size());
        for (int r = 0; r < worst.size(); ++r)
            QCOMPARE(cell(table, r, "№") + ' ' + cell(table, r, "Ответов") + ' ' +
                         cell(table, r, "Правильно"),
                     worst[r]);
        QTEST(cell(table, 0, "Частые ошибки"), "mistakes");
    }
};

QTEST_MAIN(ClassViewTest)
#include "tst_class_view.moc"
