// The teacher's windows: F2 opens the review of the current run, kept up to date while open and
// scaled with the zoom; Ctrl+J opens the journal's runs, newest first, with the files skipped
// and why; a run opens in its review; both save CSV. Run on a large screen, for the zoom of 200 %.
#include "pupil/window_test_support.h"

#include "app/classroom.h"
#include "journal/journal_cache.h"
#include "journal/journal_csv.h"
#include "journal/journal_defaults.h"
#include "journal/journal_file.h"
#include "journal/journal_writer.h"
#include "journal/lesson_file.h"
#include "look/window_font.h"
#include "teacher/class_view.h"
#include "teacher/journal_view.h"
#include "teacher/review_window.h"
#include "teacher/teacher_window.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <optional>
#include <set>
#include <sys/fsuid.h>
#include <unistd.h>

namespace {

// 8 December 2026, 10:00:00 local time: the fake clock's start.
const std::int64_t kMorning = QDateTime(QDate(2026, 12, 8), QTime(10, 0)).toMSecsSinceEpoch();
constexpr std::int64_t kPerAnswerMs = 65'000;

QStringList rowOf(const QTableWidget* table, int row) {
    QStringList cells;
    for (int c = 0; c < table->columnCount(); ++c)
        cells << (table->item(row, c) ? table->item(row, c)->text() : QString());
    return cells;
}

QStringList headerOf(const QTableWidget* table) {
    QStringList titles;
    for (int c = 0; c < table->columnCount(); ++c)
        titles << table->horizontalHeaderItem(c)->text();
    return titles;
}

QString labelText(const QWidget* window, const char* name) {
    const auto* label = window->findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("(no label %1)").arg(QLatin1String(name));
}

bool shown(const QWidget* window, const char* name) {
    const auto* widget = window->findChild<QWidget*>(QLatin1String(name));
    return widget && widget->isVisibleTo(window) && window->isVisible();
}

// Every cell and title of the table shown whole, as the style draws them: a cell's text
// within its margins, a title within the header's; no column or row left to scroll to.
QString cutText(const QTableWidget* table) {
    const QStyle* style = table->style();
    const int cellMargin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
    const QHeaderView* header = table->horizontalHeader();
    const int headerMargin = style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const QFontMetrics metrics(table->font()), headerMetrics(header->font());
    const auto whole = [](const QFontMetrics& m, const QString& text, int room) {
        return m.elidedText(text, Qt::ElideRight, room) == text &&
               m.horizontalAdvance(text) <= room;
    };
    for (int c = 0; c < table->columnCount(); ++c) {
        const int width = table->columnWidth(c);
        const QString title = table->horizontalHeaderItem(c)->text();
        if (!whole(headerMetrics, title, width - 2 * headerMargin))
            return QStringLiteral("title %1 in %2 px").arg(title).arg(width);
        for (int r = 0; r < table->rowCount(); ++r) {
            const QString text = table->item(r, c)->text();
            if (!whole(metrics, text, width - 2 * cellMargin))
                return QStringLiteral("%1 in %2 px").arg(text).arg(width);
            if (metrics.height() > table->rowHeight(r))
                return QStringLiteral("row %1 of %2 px").arg(r).arg(table->rowHeight(r));
        }
    }
    if (table->horizontalScrollBar()->maximum() > 0) return QStringLiteral("scrolls sideways");
    if (table->verticalScrollBar()->maximum() > 0) return QStringLiteral("scrolls down");
    return {};
}

// Whether the clicks closing a message box found one, and its text.
struct BoxSeen {
    bool seen = false;
    QString text, title;
    int width = 0;
};

// Closes the first modal box that appears while `act` runs, remembering its text.
template <class Act> BoxSeen closingTheBox(Act act) {
    BoxSeen box;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* modal = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!modal) return;
        box = {true, modal->text(), modal->windowTitle(), modal->width()};
        modal->close();
    });
    QTimer::singleShot(5000, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    poll.start();
    act();
    return box;
}

// Types `name` and Enter in the pupil's name dialog that `act` opens, as a pupil would.
template <class Act> void givingTheName(const QString& name, Act act) {
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != QStringLiteral("PupilName")) return;
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("name"));
        field->insert(name); // at the caret, over what is selected, as typing goes
        QTest::keyClick(field, Qt::Key_Return);
    });
    poll.start();
    act();
}

// As long as it lives, this thread reads and writes files as another user, without root's
// passing over permissions (where the test runs as root; otherwise it is that user already).
struct FilesAsAnotherUser {
    FilesAsAnotherUser() { ::setfsuid(2001); }
    ~FilesAsAnotherUser() { ::setfsuid(::geteuid()); }
};

} // namespace

// The rows, and no step further once they differ.
#define COMPARE_ROWS(...)                                                                          \
    do {                                                                                           \
        compareRows(__VA_ARGS__);                                                                  \
        if (QTest::currentTestFailed()) return;                                                    \
    } while (false)

class TeacherWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindow> window;
    Classroom* classroom = nullptr; // the window's child
    std::int64_t now = kMorning;

    // A key pressed in the main window, which is made the active one first.
    void key(int code, Qt::KeyboardModifiers modifiers = {}) {
        // Waiting for the window itself: a window of its own counts as active with it.
        window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), window.get());
        QWidget* at = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(at, Qt::Key(code), modifiers);
    }

    ReviewWindow* review() const { return window->findChild<ReviewWindow*>("Results"); }
    // The journal's view, once it has read the folder (off its thread).
    JournalView* journalView() const {
        auto* view = window->findChild<JournalView*>("Journal");
        if (view)
            (void)QTest::qWaitFor(
                [view] { return view->findChild<QLabel*>("reading")->isHidden(); });
        return view;
    }

    void selectMode(Mode mode) {
        clickThroughWindow(*window, mode == Mode::test ? "Option1(1)" : "Option1(0)");
    }
    void start() { clickThroughWindow(*window, "Cmd3_Start"); }

    // Answers the question asked: the law, or "z z", which no law is, in the writable part
    // of the row; a minute and five seconds after the answer before.
    void answer(bool right) {
        Form& form = window->form();
        const int law = form.state.question;
        const int from = form.state.mode == Mode::trainer ? law_keys::leftSideLength(law) : 0;
        clickThroughWindow(*window, "Command2");
        if (right) {
            const law_keys::Tags tags = law_keys::lawTags(law);
            for (int i = from; i < int(tags.size()); ++i)
                form.drop(i + 1, tags[static_cast<std::size_t>(i)]);
        } else {
            form.drop(from + 1, "z");
            form.drop(from + 2, "z");
        }
        window->render();
        now += kPerAnswerMs;
        clickThroughWindow(*window, "Command1");
    }
    void answerAll(const QString& pattern) {
        for (QChar c : pattern)
            answer(c == 'R');
    }

    // The review's rows checked against the answers given as a pattern of R and W from
    // question 1 on.
    void compareRows(const QString& pattern, Mode mode, bool finished) {
        const QTableWidget* table = review()->table();
        QCOMPARE(table->rowCount(), int(pattern.size()));
        QStringList titles{"№", "Закон", "Ответ", "Оценка"};
        if (finished && pattern.contains('W')) titles << "Правильная форма";
        // Why a wrong answer is wrong: at once in the trainer, once the run is over in a test.
        const bool reasons = pattern.contains('W') && (mode == Mode::trainer || finished);
        if (reasons) titles << "Почему неправильно";
        QCOMPARE(headerOf(table), titles);
        for (int i = 0; i < pattern.size(); ++i) {
            const int n = i + 1;
            const bool right = pattern[i] == 'R';
            const QStringList cells = rowOf(table, i);
            QCOMPARE(cells[0], QString::number(n));
            QCOMPARE(cells[1], qs(law(n).name));
            const std::string written =
                mode == Mode::test ? std::string(law(n).key) : lawSides(n).rightKey;
            QCOMPARE(cells[2], right ? qs(keyText(written)) : QStringLiteral("z z"));
            QCOMPARE(cells[3],
                     right ? QStringLiteral("правильно") : QStringLiteral("не правильно"));
            if (finished && pattern.contains('W'))
                QCOMPARE(cells[4], right ? QString() : qs(keyText(written)));
            if (reasons) QCOMPARE(cells.last().isEmpty(), right);
        }
    }

    // Two runs of other days written by a journal writer, a damaged file and a foreign one.
    void fillJournal(const QString& folder) {
        JournalWriter writer(folder, [](const QString&) {});
        const std::int64_t day = 24 * 3600 * 1000;
        RunRecord older{1,
                        Mode::trainer,
                        kMorning - 2 * day,
                        kMorning - 2 * day + 300'000,
                        RunEnding::closed,
                        {},
                        {}};
        older.answers = {{1, "yилиx", true, kMorning - 2 * day + 60'000},
                         {2, "x", false, kMorning - 2 * day + 120'000}};
        writer.record(older);
        RunRecord newer{
            2, Mode::test, kMorning - day, kMorning - day + 100'000, RunEnding::finished, {}, {}};
        for (int n = 1; n <= kLawCount; ++n)
            newer.answers.push_back(
                {n, n == 5 ? "x" : std::string(law(n).key), n != 5, kMorning - day + 1000 * n});
        writer.record(newer);
        QFile damaged(folder + "/broken.txt");
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("zakony-logiki-journal 1\nmode: test\nanswers: 3\n");
        damaged.close();
        QFile foreign(folder + "/notes.odt");
        QVERIFY(foreign.open(QIODevice::WriteOnly));
        foreign.write("PK\x03\x04");
        // The class's lesson file is no run and nothing skipped.
        QVERIFY(writeLessonFile(folder, Lesson{}).problem.isEmpty());
    }

    // `count` finished runs of a day, and as many damaged files: a list longer than any screen.
    static void fillManyRuns(const QString& folder, int count) {
        for (int i = 0; i < count; ++i) {
            JournalRun entry;
            entry.run = {
                1,  Mode::test, kMorning + i * 1000, kMorning + i * 1000 + 500, RunEnding::finished,
                {}, {}};
            entry.user = QStringLiteral("u%1").arg(i);
            entry.machine = QStringLiteral("pc%1").arg(i);
            QFile run(QStringLiteral("%1/run%2.txt").arg(folder).arg(i));
            QVERIFY(run.open(QIODevice::WriteOnly));
            run.write(journalText(entry));
            QFile damaged(QStringLiteral("%1/damaged%2.txt").arg(folder).arg(i));
            QVERIFY(damaged.open(QIODevice::WriteOnly));
            damaged.write("zakony-logiki-journal 1\n");
        }
    }

    // The window, its frame and its buttons wholly within the screen's available area.
    static QString offScreen(const QWidget* shownWindow, const char* button) {
        const QRect room = shownWindow->screen()->availableGeometry();
        if (!room.contains(shownWindow->frameGeometry()))
            return QStringLiteral("%1 is not within the screen").arg(shownWindow->objectName());
        const auto* pushButton = shownWindow->findChild<QWidget*>(QLatin1String(button));
        const QRect buttonBox(pushButton->mapTo(shownWindow, QPoint()), pushButton->size());
        if (!shownWindow->rect().contains(buttonBox))
            return QStringLiteral("%1 is cut off").arg(QLatin1String(button));
        return {};
    }

  private slots:
    void initTestCase() {
        installWindowFont();
        QVERIFY(installToolkitRussian());
    }
    void init() {
        now = kMorning;
        window = std::make_unique<MainWindow>();
        classroom = new Classroom(window.get());
        window->form().clockMs = [this] { return now; };
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup() { window.reset(); }

    void beforeAnyRunTheReviewSaysSo() {
        key(Qt::Key_F2);
        ReviewWindow* shownReview = review();
        QVERIFY(shownReview);
        QVERIFY(shownReview->isVisible());
        QVERIFY(shownReview->isWindow());
        QCOMPARE(shownReview->parentWidget(), window.get());
        QCOMPARE(shownReview->windowTitle(), QStringLiteral("Результаты"));
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(shown(shownReview, "noRun"));
        QCOMPARE(labelText(shownReview, "noRun"),
                 QStringLiteral("Ещё нет ни одного ответа: нажмите Старт."));
        QVERIFY(!shown(shownReview, "answers"));
        QVERIFY(!shown(shownReview, "saveCsv"));
        // F2 again raises the same window.
        window->activateWindow();
        key(Qt::Key_F2);
        QCOMPARE(int(window->findChildren<ReviewWindow*>().size()), 1);
    }

    void reviewListsTheAnswersWhileGoing_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("taken");
        for (Mode mode : {Mode::trainer, Mode::test}) {
            const char* name = mode == Mode::test ? "test" : "trainer";
            QTest::addRow("%s, none yet", name) << mode << ""
                                                << "0 с";
            QTest::addRow("%s, one right", name) << mode << "R"
                                                 << "1 мин 05 с";
            QTest::addRow("%s, right wrong right", name) << mode << "RWR"
                                                         << "3 мин 15 с";
            QTest::addRow("%s, 22 all wrong", name) << mode << QString(22, 'W') << "23 мин 50 с";
        }
    }
    void reviewListsTheAnswersWhileGoing() {
        QFETCH(Mode, mode);
        QFETCH(QString, pattern);
        QFETCH(QString, taken);
        selectMode(mode);
        start();
        answerAll(pattern);
        key(Qt::Key_F2);
        ReviewWindow* shownReview = review();
        QVERIFY(shownReview && shownReview->isVisible());
        COMPARE_ROWS(pattern, mode, false);
        QCOMPARE(shown(shownReview, "answers"), !pattern.isEmpty());
        QVERIFY(!shown(shownReview, "noRun"));
        QVERIFY(!shown(shownReview, "user"));
        QCOMPARE(labelText(shownReview, "mode"), QString(mode == Mode::test ? "Тест" : "Тренажёр"));
        QCOMPARE(labelText(shownReview, "started"), QStringLiteral("08.12.2026 10:00:00"));
        QCOMPARE(labelText(shownReview, "taken"), taken);
        QCOMPARE(labelText(shownReview, "ending"), QStringLiteral("идёт"));
        QCOMPARE(labelText(shownReview, "counts"),
                 QStringLiteral("%1   Правильно: %2   Неправильно: %3")
                     .arg(pattern.size())
                     .arg(pattern.count('R'))
                     .arg(pattern.count('W')));
        // The time taken goes on while the run does.
        now += 61'000;
        QTRY_COMPARE_WITH_TIMEOUT(labelText(shownReview, "taken") != taken, true, 3000);
    }

    void wholeTestShowsTheAcceptedFormsOfTheWrongOnes_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("wrongLaw");
        QTest::addColumn<QString>("accepted"); // of that law, written out
        QString rightButThree(kLawCount, 'R');
        rightButThree[1] = rightButThree[2] = rightButThree[22] = 'W';
        QTest::newRow("trainer") << Mode::trainer << rightButThree << 3 << "(x ∨ y) ∨ z";
        QTest::newRow("test") << Mode::test << rightButThree << 2 << "x • y = y • x";
        QTest::newRow("test, all right") << Mode::test << QString(kLawCount, 'R') << 0 << "";
    }
    void wholeTestShowsTheAcceptedFormsOfTheWrongOnes() {
        QFETCH(Mode, mode);
        QFETCH(QString, pattern);
        QFETCH(int, wrongLaw);
        QFETCH(QString, accepted);
        selectMode(mode);
        start();
        key(Qt::Key_F2); // open all along: the forms appear with the last answer
        answerAll(pattern.left(kLawCount - 1));
        COMPARE_ROWS(pattern.left(kLawCount - 1), mode, false);
        answer(pattern.back() == 'R');
        COMPARE_ROWS(pattern, mode, true);
        if (wrongLaw) QCOMPARE(rowOf(review()->table(), wrongLaw - 1).at(4), accepted);
        QCOMPARE(labelText(review(), "ending"), QStringLiteral("пройден до конца"));
        QCOMPARE(labelText(review(), "taken"), QStringLiteral("24 мин 55 с"));
        // Checks after the end change nothing.
        clickThroughWindow(*window, "Command1");
        COMPARE_ROWS(pattern, mode, true);
    }

    // With names asked, a name changed during a run is the next run's: the review and the
    // journal keep the run going the pupil's who started it.
    void reviewFollowsStartAndModeChanges_data() {
        QTest::addColumn<bool>("journalOn");
        QTest::addColumn<bool>("names");
        QTest::newRow("journal off") << false << false;
        QTest::newRow("journal on") << true << false;
        QTest::newRow("journal on, names asked and changed mid-run") << true << true;
    }
    void reviewFollowsStartAndModeChanges() {
        QFETCH(bool, journalOn);
        QFETCH(bool, names);
        QTemporaryDir folder;
        if (journalOn) classroom->setJournal(std::make_unique<JournalWriter>(folder.path()));
        window->setAskName(names);
        const QString first = QStringLiteral("Аня Петрова"),
                      second = QStringLiteral("Борис Иванов");
        givingTheName(first, [&] { start(); });
        key(Qt::Key_F2);
        ReviewWindow* shownReview = review();
        QVERIFY(shown(shownReview, "noAnswers") && !shown(shownReview, "answers"));
        QCOMPARE(shown(shownReview, "user"), names);
        answer(true);
        COMPARE_ROWS("R", Mode::trainer, false);
        if (names) givingTheName(second, [&] { QVERIFY(window->askForPupil()); });
        answer(false);
        COMPARE_ROWS("RW", Mode::trainer, false);
        if (names) QCOMPARE(labelText(shownReview, "user"), first);
        if (journalOn) {
            const JournalListing listing = readJournal(folder.path());
            QCOMPARE(int(listing.runs.size()), 1);
            QCOMPARE(int(listing.runs.front().run.answers.size()), 2);
            QCOMPARE(listing.runs.front().pupil, names ? first : QString());
        }
        start(); // again: a new run, nothing answered yet
        QCOMPARE(shownReview->table()->rowCount(), 0);
        if (names) QCOMPARE(labelText(shownReview, "user"), second);
        QVERIFY(shown(shownReview, "noAnswers"));
        QCOMPARE(labelText(shownReview, "ending"), QStringLiteral("идёт"));
        answer(false);
        COMPARE_ROWS("W", Mode::trainer, false);
        selectMode(Mode::test); // ends the run; the review shows it ended so
        COMPARE_ROWS("W", Mode::trainer, false);
        QCOMPARE(labelText(shownReview, "ending"), QStringLiteral("сменён режим"));
        QCOMPARE(labelText(shownReview, "mode"), QStringLiteral("Тренажёр"));
        start();
        QCOMPARE(labelText(shownReview, "mode"), QStringLiteral("Тест"));
        answer(true);
        COMPARE_ROWS("R", Mode::test, false);
        // Closed, it is not kept up to date, and shows the run as it is when opened again.
        shownReview->close();
        answer(true);
        QCOMPARE(shownReview->table()->rowCount(), 1);
        key(Qt::Key_F2);
        COMPARE_ROWS("RR", Mode::test, false);
    }

    void textsFitAndZoomScalesThem_data() {
        QTest::addColumn<int>("zoom");
        for (int zoom : kTestedZooms)
            QTest::addRow("%d %%", zoom) << zoom;
    }
    void textsFitAndZoomScalesThem() {
        QFETCH(int, zoom);
        selectMode(Mode::test);
        start();
        key(Qt::Key_F2);
        answerAll(QString(kLawCount, 'W')); // the longest names and forms
        const ReviewWindow* shownReview = review();
        const double fontAt100 = shownReview->font().pointSizeF();
        const int lawColumnAt100 = shownReview->table()->columnWidth(1);
        // The answers fill their table whole: no scroll bar, no empty band beside or under them.
        const QTableView* answers = shownReview->table();
        QCOMPARE(answers->viewport()->size(),
                 QSize(answers->horizontalHeader()->length(), answers->verticalHeader()->length()));
        ZOOM_TO(*window, zoom);
        QCOMPARE(shownReview->font().pointSizeF(), fontAt100 * zoom / 100.0);
        QCOMPARE(shownReview->table()->font().pointSizeF(), fontAt100 * zoom / 100.0);
        QCOMPARE(shownReview->table()->horizontalHeader()->font().pointSizeF(),
                 fontAt100 * zoom / 100.0);
        if (zoom > 100) QVERIFY(shownReview->table()->columnWidth(1) > lawColumnAt100 * 1.3);
        const QString cut = cutText(shownReview->table());
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
        for (const QLabel* label : shownReview->findChildren<QLabel*>())
            if (label->isVisible())
                QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        QVERIFY(shownReview->width() >= shownReview->table()->sizeHint().width());
        // The journal's window follows the zoom too, and fits the screen, its buttons with it,
        // however long the journal.
        QTemporaryDir folder;
        fillManyRuns(folder.path(), 150);
        classroom->setJournal(std::make_unique<JournalWriter>(folder.path()));
        // Opened beside a main window low on the screen: moved up, its frame counted.
        const QRect room = window->screen()->availableGeometry();
        window->move(room.left(), room.top() + room.height() / 2);
        key(Qt::Key_J, Qt::ControlModifier);
        QVERIFY(journalView());
        QVERIFY(QTest::qWaitForWindowExposed(journalView()));
        QCOMPARE(journalView()->font().pointSizeF(), fontAt100 * zoom / 100.0);
        QVERIFY(journalView()->table()->verticalScrollBar()->maximum() > 0);
        QString cutOff = offScreen(journalView(), "saveCsv");
        QVERIFY2(cutOff.isEmpty(), qPrintable(cutOff));
        ZOOM_TO(*window, 100);
        QCOMPARE(journalView()->font().pointSizeF(), fontAt100);
        QCOMPARE(shownReview->font().pointSizeF(), fontAt100);
        cutOff = offScreen(journalView(), "saveCsv");
        QVERIFY2(cutOff.isEmpty(), qPrintable(cutOff));

        // The class view standing alone (--class) starts at the zoom asked, and Ctrl+Plus,
        // Ctrl+Minus and Ctrl+0 step it as in the pupil's window.
        ClassView alone(nullptr, folder.path());
        alone.setFactor(zoom / 100.0);
        zoomByKeys(&alone, zoom, [&alone](double factor) { alone.setFactor(factor); });
        alone.show();
        alone.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&alone));
        const auto pointsAt = [](int percent) { return teacherFont(percent / 100.0).pointSizeF(); };
        QCOMPARE(alone.font().pointSizeF(), pointsAt(zoom));
        QTest::keyClick(&alone, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(alone.font().pointSizeF(), pointsAt(zoomIn(zoom, kZoomSteps.back())));
        QTest::keyClick(&alone, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(alone.font().pointSizeF(), pointsAt(zoom == kZoomSteps.back() ? 250 : zoom));
        QTest::keyClick(&alone, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(alone.font().pointSizeF(), pointsAt(100));
    }

    // Qt's own texts are Russian: the save dialog's labels and buttons.
    void toolkitSpeaksRussian() {
        QFileDialog dialog(window.get(), QStringLiteral("Сохранить в CSV"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        QStringList texts;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            texts << label->text();
        for (const QAbstractButton* button : dialog.findChildren<QPushButton*>())
            texts << button->text();
        for (const char* english : {"Look in", "File name", "Save", "Cancel", "Files of type"})
            QVERIFY2(!texts.join('|').contains(QLatin1String(english)),
                     qPrintable(texts.join('|')));
        QVERIFY2(texts.contains(QStringLiteral("Отмена")), qPrintable(texts.join('|')));
    }

    // A file not saved is told with its path, and the box is wide enough for its title as a
    // desktop draws it, larger and bold, beside its buttons.
    void notSavedBoxNamesThePathUnderAWholeTitle_data() {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("told");
        const QString path = QStringLiteral("/srv/к.xlsx");
        QTest::newRow("the reason alone")
            << "нет места" << QStringLiteral("Файл %1 не записан: нет места").arg(path);
        QTest::newRow("the path named already") << QStringLiteral("%1: нет места").arg(path)
                                                << QStringLiteral("%1: нет места").arg(path);
    }
    void notSavedBoxNamesThePathUnderAWholeTitle() {
        QFETCH(QString, problem);
        QFETCH(QString, told);
        const QString title = QStringLiteral("Сохранить журнал класса для Excel");
        const BoxSeen box = closingTheBox([&] {
            tellNotSaved(window.get(), title, QStringLiteral("/srv/к.xlsx"), problem, "Problem");
        });
        QVERIFY(box.seen);
        QCOMPARE(box.text, told);
        QCOMPARE(box.title, title);
        QFont titleFont = window->font();
        titleFont.setBold(true);
        titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
        const QFontMetrics drawn(titleFont);
        QVERIFY2(box.width >= drawn.horizontalAdvance(title) + 3 * drawn.height(),
                 qPrintable(QString::number(box.width)));
    }

    void journalListsRunsNewestFirstWithTheSkipped() {
        QTemporaryDir folder;
        fillJournal(folder.path());
        classroom->setJournal(std::make_unique<JournalWriter>(folder.path()));
        key(Qt::Key_J, Qt::ControlModifier);
        JournalView* view = journalView();
        QVERIFY(view && view->isVisible());
        QCOMPARE(view->windowTitle(), QStringLiteral("Журнал"));
        const QTableWidget* table = view->table();
        QCOMPARE(headerOf(table),
                 QStringList({"Дата", "Ученик", "Компьютер", "Режим", "Ответов", "Правильно",
                              "Неправильно", "Оценка", "Как окончен"}));
        QCOMPARE(table->rowCount(), 2);
        const QString user = currentUserName(), machine = QSysInfo::machineHostName();
        QCOMPARE(rowOf(table, 0), QStringList({"07.12.2026 10:00:00", user, machine, "Тест", "23",
                                               "22", "1", "5", "пройден до конца"}));
        QCOMPARE(rowOf(table, 1), QStringList({"06.12.2026 10:00:00", user, machine, "Тренажёр",
                                               "2", "1", "1", "", "окно закрыто"}));
        const QString skipped = labelText(view, "skipped");
        QVERIFY2(skipped.startsWith(QStringLiteral("Пропущено файлов: 2\n")), qPrintable(skipped));
        QVERIFY2(skipped.contains(QStringLiteral("\nbroken.txt — файл повреждён")),
                 qPrintable(skipped));
        QVERIFY2(skipped.contains(QStringLiteral("\nnotes.odt — не файл журнала")),
                 qPrintable(skipped));
        QVERIFY(shown(view, "skipped"));
        QVERIFY(!shown(view, "off") && !shown(view, "problem"));
        QString cut = cutText(table);
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
        QVERIFY(view->width() >= view->findChild<QLabel*>("skipped")->sizeHint().width());

        // A run of this window appears on "Обновить", still going, not cut short.
        start();
        answer(true);
        view->findChild<QPushButton*>("reload")->click();
        QVERIFY(journalView() == view); // read again
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(rowOf(table, 0).at(8), QStringLiteral("идёт"));
        QCOMPARE(rowOf(table, 0).at(4), QStringLiteral("1"));
    }

    void openingARunShowsItsReview() {
        QTemporaryDir folder;
        fillJournal(folder.path());
        classroom->setJournal(std::make_unique<JournalWriter>(folder.path()));
        key(Qt::Key_J, Qt::ControlModifier);
        JournalView* view = journalView();
        QTableWidget* table = view->table();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        // A double click on the older run.
        const QPoint cell = table->visualRect(table->model()->index(1, 3)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell);
        ReviewWindow* runReview = view->review();
        QVERIFY(runReview && runReview->isVisible());
        QCOMPARE(runReview->objectName(), QStringLiteral("JournalRun"));
        QVERIFY(review() == nullptr || !review()->isVisible()); // not the current run's review
        QCOMPARE(labelText(runReview, "user"), currentUserName());
        QCOMPARE(labelText(runReview, "machine"), QSysInfo::machineHostName());
        QCOMPARE(labelText(runReview, "ending"), QStringLiteral("окно закрыто"));
        QCOMPARE(labelText(runReview, "taken"), QStringLiteral("5 мин 00 с"));
        QCOMPARE(runReview->table()->rowCount(), 2);
        QCOMPARE(rowOf(runReview->table(), 0).mid(0, 4),
                 QStringList({"1", qs(law(1).name), "y ∨ x", "правильно"}));
        QCOMPARE(rowOf(runReview->table(), 1).mid(0, 4),
                 QStringList({"2", qs(law(2).name), "x", "не правильно"}));
        // A trainer's wrong answer says why at once: x alone is no equation of the law's sides.
        QVERIFY(!rowOf(runReview->table(), 1).value(4).isEmpty());
        QVERIFY(shown(runReview, "saveCsv"));
        // "Открыть" on the newer one, finished: its accepted forms.
        table->selectRow(0);
        auto* open = view->findChild<QPushButton*>("open");
        QVERIFY(open->isEnabled());
        open->click();
        QCOMPARE(runReview->table()->rowCount(), kLawCount);
        QCOMPARE(runReview->table()->columnCount(), 6);
        QCOMPARE(rowOf(runReview->table(), 4).at(4), qs(keyText(law(5).key)));
        QVERIFY(!rowOf(runReview->table(), 4).at(5).isEmpty());
        QCOMPARE(labelText(runReview, "taken"), QStringLiteral("1 мин 40 с"));
        QCOMPARE(int(view->findChildren<ReviewWindow*>().size()), 1);
        QVERIFY(!view->openRun(2));
    }

    // While a test goes on in this window, no run of the journal shows an accepted form, on
    // screen or in its CSV; once it has ended (here by a change of mode), they are back.
    void acceptedFormsHiddenWhileATestGoes() {
        QTemporaryDir folder, out;
        fillJournal(folder.path());
        classroom->setJournal(std::make_unique<JournalWriter>(folder.path()));
        clickThroughWindow(*window, "Option1(1)");
        start();
        answer(true);
        key(Qt::Key_J, Qt::ControlModifier);
        JournalView* view = journalView();
        // The finished test of yesterday, law 5 answered wrong.
        auto finishedRow = [&] {
            for (int row = 0; row < view->table()->rowCount(); ++row)
                if (rowOf(view->table(), row).at(8) == QStringLiteral("пройден до конца"))
                    return row;
            return -1;
        };
        QVERIFY(view->openRun(finishedRow()));
        const QString accepted = qs(keyText(law(5).key));
        auto shows = [&] {
            const QStringList cells = rowOf(view->review()->table(), 4);
            return headerOf(view->review()->table()).contains(QStringLiteral("Правильная форма")) ||
                   cells.contains(accepted);
        };
        auto csvShows = [&] {
            const QString path = out.filePath("run.csv");
            QFile::remove(path);
            if (!view->review()->saveCsv(path)) return true;
            QFile file(path);
            return !file.open(QIODevice::ReadOnly) || file.readAll().contains(accepted.toUtf8());
        };
        QVERIFY(!shows());
        QVERIFY(!csvShows());
        clickThroughWindow(*window, "Option1(0)"); // the test ends
        QVERIFY(view->openRun(finishedRow()));
        QVERIFY(shows());
        QVERIFY(csvShows());
    }

    // A journal that cannot be written is said in the review and the journal view, one line
    // with the reason, as long as it lasts.
    void failingJournalIsSaid() {
        QTemporaryDir folder;
        const QString missing = folder.filePath("класс"); // named by the teacher, never made
        classroom->setJournal(std::make_unique<JournalWriter>(
            missing, [](const QString&) {}, JournalFolderOrigin::configured));
        start();
        answer(true);
        key(Qt::Key_F2);
        QVERIFY(shown(review(), "notWritten"));
        QVERIFY2(labelText(review(), "notWritten").startsWith("Журнал не записывается: ") &&
                     labelText(review(), "notWritten").contains(missing),
                 qPrintable(labelText(review(), "notWritten")));
        key(Qt::Key_J, Qt::ControlModifier);
        QVERIFY(shown(journalView(), "notWritten"));
        QCOMPARE(labelText(journalView(), "notWritten"), labelText(review(), "notWritten"));
        // The folder made by the teacher: the next answer is written, and the line goes.
        QVERIFY(QDir().mkpath(missing));
        answer(true);
        QTRY_VERIFY(!shown(review(), "notWritten"));
        journalView()->reload();
        QVERIFY(!shown(journalView(), "notWritten"));
    }

    void csvExports_data() {
        QTest::addColumn<bool>("ofOneRun");
        QTest::newRow("the list") << false;
        QTest::newRow("one run") << true;
    }
    void csvExports() {
        QFETCH(bool, ofOneRun);
        QTemporaryDir folder, out;
        fillJournal(folder.path());
        classroom->setJournal(std::make_unique<JournalWriter>(folder.path()));
        key(Qt::Key_J, Qt::ControlModifier);
        JournalView* view = journalView();
        const QString path = out.filePath("export.csv");
        int lines = 0;
        if (ofOneRun) {
            QVERIFY(view->openRun(0));
            QVERIFY(view->review()->saveCsv(path));
            lines = 1 + kLawCount;
        } else {
            QVERIFY(view->saveCsv(path));
            lines = 1 + 2;
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray csv = file.readAll();
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        QVERIFY(csv.endsWith("\r\n"));
        QCOMPARE(int(csv.count("\r\n")), lines);
        const QString header = QString::fromUtf8(csv.mid(3, csv.indexOf("\r\n") - 3));
        QVERIFY2(header.startsWith(ofOneRun ? "Вопрос;" : "Начало;"), qPrintable(header));
        if (!ofOneRun) QVERIFY(csv.contains("2026-12-07 10:00:00"));

        // Not writable: a message box says so, nothing is made, the window goes on.
        const QString nowhere = out.filePath("no such folder/export.csv");
        bool saved = true;
        const BoxSeen box = closingTheBox(
            [&] { saved = ofOneRun ? view->review()->saveCsv(nowhere) : view->saveCsv(nowhere); });
        QVERIFY(!saved);
        QVERIFY(box.seen);
        QVERIFY2(box.text.contains("не записан"), qPrintable(box.text));
        QVERIFY(!QFile::exists(nowhere));
        QVERIFY(
            !(ofOneRun ? view->review()->writeCsv(nowhere) : view->writeCsv(nowhere)).isEmpty());
    }

    // What a Start asks: the pupil's own lesson, under the teacher's lesson file in the journal's
    // folder, under a locked system-wide file's values; a file others may write is not followed.
    void startFollowsTheLesson_data() {
        QTest::addColumn<QString>("file"); // none, the teacher's, or planted
        QTest::addColumn<std::optional<int>>("lockedMinutes");
        QTest::addColumn<QList<int>>("laws");
        QTest::addColumn<int>("minutes");
        const QList<int> own{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        QTest::newRow("no lesson file") << "none" << std::optional<int>() << own << 20;
        QTest::newRow("the teacher's file over the pupil's own")
            << "teacher's" << std::optional<int>() << QList<int>{3, 4} << 1;
        QTest::newRow("a file others may write") << "planted" << std::optional<int>() << own << 20;
        QTest::newRow("a lock over the file")
            << "teacher's" << std::optional<int>(10) << QList<int>{3, 4} << 10;
    }
    void startFollowsTheLesson() {
        QFETCH(QString, file);
        QFETCH(std::optional<int>, lockedMinutes);
        QFETCH(QList<int>, laws);
        QFETCH(int, minutes);
        QTemporaryDir folder;
        classroom->setJournal(std::make_unique<JournalWriter>(folder.path()));
        Lesson own;
        own.laws = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        own.minutes = 20;
        LessonSettings locked;
        locked.minutes = lockedMinutes;
        classroom->setLesson(own, locked);
        if (file != "none")
            QVERIFY(writeLessonFile(folder.path(), Lesson{{3, 4}, 1, false, {}}).problem.isEmpty());
        if (file == "planted")
            QVERIFY(QFile::setPermissions(folder.filePath(kLessonFileName),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther |
                                              QFile::WriteOther));
        const Lesson asked = window->form().lesson();
        QCOMPARE(QList<int>(asked.laws.begin(), asked.laws.end()), laws);
        QCOMPARE(asked.minutes, minutes);
    }

    void journalOffOrUnreadableSaysSo_data() {
        QTest::addColumn<QString>("case_");
        QTest::newRow("off") << "off";
        QTest::newRow("no folder yet") << "no folder yet";
        QTest::newRow("folder gone after a Start") << "folder gone";
        QTest::newRow("empty folder") << "empty folder";
        QTest::newRow("class folder pupils write into and cannot list") << "drop box";
        QTest::newRow("a run the reader may not read yet") << "no access";
    }
    void journalOffOrUnreadableSaysSo() {
        QFETCH(QString, case_);
        QTemporaryDir folder;
        std::optional<FilesAsAnotherUser> pupil;
        if (case_ == "drop box") {
            QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                             QFile::ExeOwner | QFile::ExeOther));
            const QString box = folder.filePath("класс");
            QVERIFY(QDir().mkdir(box));
            QVERIFY(QFile::setPermissions(box, QFile::WriteOwner | QFile::ExeOwner |
                                                   QFile::WriteOther | QFile::ExeOther));
            classroom->setJournal(std::make_unique<JournalWriter>(
                box, [](const QString&) {}, JournalFolderOrigin::configured));
            pupil.emplace();
        }
        if (case_ == "no folder yet" || case_ == "folder gone")
            classroom->setJournal(std::make_unique<JournalWriter>(folder.filePath("gone")));
        if (case_ == "folder gone") {
            start();
            QVERIFY(QDir(folder.filePath("gone")).removeRecursively());
        }
        if (case_ == "empty folder" || case_ == "no access")
            classroom->setJournal(std::make_unique<JournalWriter>(folder.path()));
        if (case_ == "no access") {
            // A teacher not yet in the group that every run file is given.
            fillManyRuns(folder.path(), 1);
            QVERIFY(QFile::remove(folder.filePath("damaged0.txt")));
            QVERIFY(QFile::setPermissions(folder.filePath("run0.txt"), {}));
            QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                             QFile::ExeOwner | QFile::ReadGroup |
                                                             QFile::ExeGroup | QFile::ReadOther |
                                                             QFile::ExeOther));
            pupil.emplace();
        }
        key(Qt::Key_J, Qt::ControlModifier);
        JournalView* view = journalView();
        QVERIFY(view && view->isVisible());
        QVERIFY(!shown(view, "runs"));
        QCOMPARE(shown(view, "skipped"), case_ == "no access");
        QCOMPARE(shown(view, "off"), case_ == "off");
        QCOMPARE(shown(view, "problem"),
                 case_ == "folder gone" || case_ == "drop box" || case_ == "no access");
        // Never a bare «Журнал не прочитан:» without the reason.
        if (shown(view, "problem"))
            QVERIFY2(!labelText(view, "problem").trimmed().endsWith(':'),
                     qPrintable(labelText(view, "problem")));
        if (case_ == "drop box")
            QCOMPARE(labelText(view, "problem"),
                     QStringLiteral("Журнал не прочитан: журнал класса виден только учителю"));
        if (case_ == "no access")
            QVERIFY2(labelText(view, "problem").contains(QStringLiteral("нет доступа к 1 файлу")),
                     qPrintable(labelText(view, "problem")));
        QCOMPARE(shown(view, "empty"),
                 case_ == "empty folder" || case_ == "no folder yet" || case_ == "no access");
        if (case_ == "no folder yet")
            QVERIFY2(labelText(view, "empty").contains(QStringLiteral("при первом нажатии")),
                     qPrintable(labelText(view, "empty")));
        QCOMPARE(shown(view, "reload"), case_ != "off");
        QVERIFY(!view->findChild<QPushButton*>("saveCsv")->isEnabled());
        if (case_ == "off")
            QCOMPARE(
                labelText(view, "off"),
                QStringLiteral("Журнал не ведётся (запуск с --no-journal или так в настройках)."));
        if (case_ == "folder gone")
            QVERIFY2(labelText(view, "problem").contains(folder.filePath("gone")),
                     qPrintable(labelText(view, "problem")));
        // The review works all the same.
        start();
        answer(true);
        key(Qt::Key_F2);
        COMPARE_ROWS("R", Mode::trainer, false);
    }

    // A right click on the background offers both windows; on a control it does what it did.
    void backgroundMenuOpensTheWindows_data() {
        QTest::addColumn<QString>("under"); // the control under the pointer; empty: none
        QTest::addColumn<bool>("menu");
        QTest::newRow("background") << "" << true;
        QTest::newRow("frame") << "Frame4" << true;
        QTest::newRow("check button") << "Command1" << false;
        QTest::newRow("start button") << "Cmd3_Start" << false;
        QTest::newRow("slot") << slotName(3) << false;
        QTest::newRow("palette") << imageName(1) << false;
        QTest::newRow("law's name") << "Label2" << false;
    }
    void backgroundMenuOpensTheWindows() {
        QFETCH(QString, under);
        QFETCH(bool, menu);
        QPoint at;
        if (under.isEmpty()) {
            // A point of the window with no control on it.
            for (int y = 2; y < window->height() && at.isNull(); y += 4)
                for (int x = 2; x < window->width() && at.isNull(); x += 4)
                    if (!window->childAt(x, y)) at = QPoint(x, y);
            QVERIFY(!at.isNull());
        } else {
            QWidget* control = window->control(under);
            QVERIFY(control);
            // A frame's own part: inside it, under its caption, where its children are not.
            at = under.startsWith("Frame")
                     ? control->mapTo(window.get(), QPoint(4, control->height() - 4))
                     : centreInWindow(*window, control);
            QCOMPARE(window->childAt(at), control);
        }
        const FormState before = window->form().state;
        QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, at);
        auto* popup = window->findChild<QMenu*>("TeacherMenu");
        QCOMPARE(popup != nullptr && popup->isVisible(), menu);
        QVERIFY(window->form().state == before);
        if (!menu) return;
        const QList<QAction*> actions = popup->actions();
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions[0]->text(), QStringLiteral("Результаты (F2)"));
        QCOMPARE(actions[1]->text(), QStringLiteral("Журнал (Ctrl+J)"));
        QCOMPARE(actions[2]->text(), QStringLiteral("Класс (Ctrl+K)"));
        QCOMPARE(popup->font().pointSizeF(), window->font().pointSizeF());
        actions[0]->trigger();
        popup->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(review() && review()->isVisible());
        QVERIFY(!journalView());
        QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, at);
        popup = window->findChild<QMenu*>("TeacherMenu");
        QVERIFY(popup);
        popup->actions()[1]->trigger();
        popup->close();
        QVERIFY(journalView() && journalView()->isVisible());
    }

    // The keys of the teacher's windows take nothing from the pupil's: a run goes on as before.
    void teacherKeysLeaveTheRunAlone() {
        start();
        answer(true);
        window->form().drop(law_keys::leftSideLength(2) + 1, "x");
        window->render();
        const FormState before = window->form().state;
        key(Qt::Key_F2);
        key(Qt::Key_J, Qt::ControlModifier);
        QVERIFY(window->form().state == before);
        QCOMPARE(int(window->form().run.answers.size()), 1);
        // Each opens from the other, too; a symbol's key typed there writes nothing.
        journalView()->close();
        review()->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), review());
        QTest::keyClick(review(), Qt::Key_X);
        QTest::keyClick(review(), Qt::Key_J, Qt::ControlModifier);
        QVERIFY(journalView()->isVisible());
        review()->close();
        journalView()->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), journalView());
        QTest::keyClick(journalView(), Qt::Key_F2);
        QVERIFY(review()->isVisible());
        QVERIFY(window->form().state == before);
        // Escape closes a teacher's window.
        journalView()->activateWindow();
        QTest::keyClick(journalView(), Qt::Key_Escape);
        QVERIFY(!journalView()->isVisible());
        review()->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), review());
        QTest::keyClick(review(), Qt::Key_Escape);
        QVERIFY(!review()->isVisible());
    }
};

QTEST_MAIN(TeacherWindowsTest)
#include "tst_teacher_windows.moc"
