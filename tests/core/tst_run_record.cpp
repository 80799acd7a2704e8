// The record of a run as the form keeps it: whole runs in both modes, the endings (restart, a
// mode change, closing), what is told to the journal and in which order, and the review's rows
// drawn from the record, with the accepted forms only once a run is answered to its end.
#include "core/answer_reason.h"
#include "core/review_rows.h"
#include "core_test_support.h"

#include <QTest>

#include <set>

using namespace core_test;

namespace {

constexpr std::int64_t kBase = 1'800'000'000'000; // some day in 2027, in ms

// A form whose clock reads `now` and whose every told record is kept, in order.
struct Watched {
    Form form;
    std::int64_t now = kBase;
    std::vector<RunRecord> told;

    Watched() {
        form.clockSeed = [] { return std::uint64_t{7}; };
        form.clockMs = [this] { return now; };
        form.runChanged = [this](const RunRecord& r) { told.push_back(r); };
        form.load();
    }
    Watched(const Watched&) = delete;
    Watched& operator=(const Watched&) = delete;

    void startIn(Mode mode) {
        form.selectMode(mode);
        form.start();
    }
};

// The tags a pupil writes for question n: the law (test mode) or its right-hand side after the
// drawn left (trainer); a wrong answer lacks the last of them. (A symbol added at the end would
// fall off the row for the longest laws, and the answer would be right.)
Tags answerTags(Mode mode, int n, bool right, bool otherForm = false) {
    Tags tags = mode == Mode::trainer ? rightSideTags(n) : lawTags(n);
    if (mode == Mode::test && otherForm && !law(n).otherForm.empty())
        tags = *law_keys::splitKey(law(n).otherForm);
    if (!right) tags.pop_back();
    return tags;
}

// Writes the answer into the emptied row and checks it at the time `at`; returns the key.
std::string answer(Watched& w, int n, bool right, std::int64_t at, bool otherForm = false) {
    const Mode mode = w.form.state.mode;
    const Tags tags = answerTags(mode, n, right, otherForm);
    w.form.clear();
    dropFrom(w.form, tags, mode == Mode::trainer ? int(leftSideTags(n).size()) + 1 : 1);
    w.now = at;
    w.form.check();
    return law_keys::joinTags(tags);
}

std::int64_t answerTime(int n) {
    return kBase + 60'000 + std::int64_t{n} * 7'001; // uneven, so no time is another's by chance
}

void perMode() {
    QTest::addColumn<Mode>("mode");
    QTest::newRow("trainer") << Mode::trainer;
    QTest::newRow("test") << Mode::test;
}

Mode otherMode(Mode m) {
    return m == Mode::trainer ? Mode::test : Mode::trainer;
}

QString s(std::string_view text) {
    return q(text);
}

} // namespace

class RunRecordTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // A whole run of 23 answers: each answer as written, judged and timed, told after each
    // answer, and the review's rows before and after the end.
    void wholeRunRecordsEveryAnswer_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QList<int>>("wrong"); // the questions answered wrongly
        QTest::addColumn<bool>("otherForms");  // test mode: right answers in their other form
        QTest::newRow("test, all right") << Mode::test << QList<int>{} << false;
        QTest::newRow("test, 1 7 12 23 wrong") << Mode::test << QList<int>{1, 7, 12, 23} << false;
        QTest::newRow("test, other forms, 3 wrong") << Mode::test << QList<int>{3} << true;
        QTest::newRow("trainer, all right") << Mode::trainer << QList<int>{} << false;
        QTest::newRow("trainer, 2 13 22 wrong") << Mode::trainer << QList<int>{2, 13, 22} << false;
        QList<int> all;
        for (int n = 1; n <= kLawCount; ++n)
            all << n;
        QTest::newRow("trainer, all wrong") << Mode::trainer << all << false;
    }
    void wholeRunRecordsEveryAnswer() {
        QFETCH(Mode, mode);
        QFETCH(QList<int>, wrong);
        QFETCH(bool, otherForms);
        Watched w;
        w.startIn(mode);
        QCOMPARE(w.told.size(), std::size_t{1});
        QCOMPARE(w.told[0].number, 1);
        QCOMPARE(w.told[0].mode, mode);
        QCOMPARE(w.told[0].startedMs, kBase);
        QCOMPARE(w.told[0].ending, RunEnding::going);
        QVERIFY(w.told[0].answers.empty());

        std::vector<std::string> keys;
        for (int n = 1; n <= kLawCount; ++n) {
            keys.push_back(answer(w, n, !wrong.contains(n), answerTime(n), otherForms));
            // Told once per answer, with every answer so far.
            QCOMPARE(w.told.size(), std::size_t(n) + 1);
            QCOMPARE(w.told.back().answers.size(), std::size_t(n));
            QCOMPARE(w.told.back(), w.form.run);
            if (n < kLawCount) {
                QCOMPARE(w.form.run.ending, RunEnding::going);
                QCOMPARE(w.form.run.endedMs, std::int64_t{0});
                // While the run goes on the review shows no accepted form.
                for (const ReviewRow& row : reviewRows(w.form.run))
                    QVERIFY2(row.accepted.empty(), row.answer.c_str());
            }
        }
        const RunRecord& run = w.form.run;
        QCOMPARE(run.number, 1);
        QCOMPARE(run.mode, mode);
        QCOMPARE(run.startedMs, kBase);
        QCOMPARE(run.ending, RunEnding::finished);
        QCOMPARE(run.endedMs, answerTime(kLawCount));
        QCOMPARE(run.answers.size(), std::size_t(kLawCount));
        QCOMPARE(run.wrongCount(), int(wrong.size()));
        QCOMPARE(run.rightCount(), kLawCount - int(wrong.size()));
        QCOMPARE(run.rightCount(), w.form.state.rightCount);
        QCOMPARE(run.wrongCount(), w.form.state.wrongCount);
        for (int n = 1; n <= kLawCount; ++n) {
            const Answer& a = run.answers[std::size_t(n - 1)];
            QCOMPARE(a.law, n);
            QCOMPARE(s(a.key), s(keys[std::size_t(n - 1)]));
            QCOMPARE(a.right, !wrong.contains(n));
            QCOMPARE(a.atMs, answerTime(n));
        }

        // The review: every answer in order, the accepted form beside each wrong one.
        const std::vector<ReviewRow> rows = reviewRows(run);
        QCOMPARE(rows.size(), std::size_t(kLawCount));
        for (int n = 1; n <= kLawCount; ++n) {
            const ReviewRow& row = rows[std::size_t(n - 1)];
            const bool right = !wrong.contains(n);
            QCOMPARE(row.number, n);
            QCOMPARE(s(row.lawName), s(law(n).name));
            const std::string& key = keys[std::size_t(n - 1)];
            QCOMPARE(s(row.answer), key.empty() ? QStringLiteral("(пусто)") : s(keyText(key)));
            QCOMPARE(s(row.verdict), right ? s(kVerdictRight) : s(kVerdictWrong));
            const std::string accepted =
                mode == Mode::test ? keyText(law(n).key) : keyText(lawSides(n).rightKey);
            QCOMPARE(s(row.accepted), right ? QString() : s(accepted));
        }

        // Check after the last answer counts nothing, records nothing and tells nothing.
        const RunRecord finished = run;
        const std::size_t toldBefore = w.told.size();
        for (int press = 0; press < 5; ++press) {
            w.now += 1000;
            w.form.clear();
            if (press % 2) dropFrom(w.form, lawTags(1), 1);
            w.form.check();
        }
        QCOMPARE(w.form.run, finished);
        QCOMPARE(w.told.size(), toldBefore);
        // Nor do closing the window and changing the mode end it again.
        w.form.selectMode(otherMode(mode));
        w.form.close();
        QCOMPARE(w.form.run, finished);
        QCOMPARE(w.told.size(), toldBefore);
    }

    // The accepted form a finished run shows for a wrong answer, written out by hand.
    void acceptedFormOfAWrongAnswer_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("accepted");
        QTest::newRow("test 7") << Mode::test << 7 << QStringLiteral("x̄ ∨̄ ȳ = x̄ • ȳ");
        QTest::newRow("trainer 7") << Mode::trainer << 7 << QStringLiteral("x̄ • ȳ");
        QTest::newRow("test 3") << Mode::test << 3 << QStringLiteral("x ∨ (y ∨ z) = (x ∨ y) ∨ z");
        QTest::newRow("trainer 3") << Mode::trainer << 3 << QStringLiteral("(x ∨ y) ∨ z");
        QTest::newRow("trainer 15") << Mode::trainer << 15 << QStringLiteral("1");
        QTest::newRow("test 22") << Mode::test << 22 << QStringLiteral("x → y = x̄ ∨ y");
        QTest::newRow("trainer 23") << Mode::trainer << 23 << QStringLiteral("(x̄ ∨ y) • (ȳ ∨ x)");
    }
    void acceptedFormOfAWrongAnswer() {
        QFETCH(Mode, mode);
        QFETCH(int, n);
        QFETCH(QString, accepted);
        Watched w;
        w.startIn(mode);
        for (int k = 1; k <= kLawCount; ++k)
            answer(w, k, k != n, answerTime(k));
        const std::vector<ReviewRow> rows = reviewRows(w.form.run);
        QCOMPARE(rows.size(), std::size_t(kLawCount));
        for (const ReviewRow& row : rows)
            QCOMPARE(s(row.accepted), row.number == n ? accepted : QString());
    }

    // Why a wrong answer is wrong: in the trainer at once, in a test only once the run has
    // ended, however it ended; never beside a right answer. The laws to ask again come from a
    // finished run only.
    void reasonsShownByModeAndEnding_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<RunEnding>("ending");
        QTest::addColumn<bool>("shown");
        QTest::newRow("trainer going") << Mode::trainer << RunEnding::going << true;
        QTest::newRow("trainer restarted") << Mode::trainer << RunEnding::restarted << true;
        QTest::newRow("test going") << Mode::test << RunEnding::going << false;
        QTest::newRow("test finished") << Mode::test << RunEnding::finished << true;
        QTest::newRow("test restarted") << Mode::test << RunEnding::restarted << true;
        QTest::newRow("test mode changed") << Mode::test << RunEnding::modeChanged << true;
        QTest::newRow("test closed") << Mode::test << RunEnding::closed << true;
    }
    void reasonsShownByModeAndEnding() {
        QFETCH(Mode, mode);
        QFETCH(RunEnding, ending);
        QFETCH(bool, shown);
        Watched w;
        w.startIn(mode);
        std::vector<std::string> keys;
        for (int n = 1; n <= (ending == RunEnding::finished ? kLawCount : 3); ++n)
            keys.push_back(answer(w, n, n != 2, answerTime(n)));
        if (ending == RunEnding::restarted) w.form.start();
        if (ending == RunEnding::modeChanged) w.form.selectMode(otherMode(mode));
        if (ending == RunEnding::closed) w.form.close();
        const RunRecord run = *std::find_if(w.told.rbegin(), w.told.rend(),
                                            [](const RunRecord& r) { return r.number == 1; });
        QCOMPARE(run.ending, ending);
        const std::vector<ReviewRow> rows = reviewRows(run);
        QCOMPARE(s(rows[0].reason), QString());
        QCOMPARE(rows[1].law, 2);
        QCOMPARE(s(rows[1].reason), shown ? s(whyWrong(2, mode, keys[1])) : QString());
        QVERIFY(!shown || !rows[1].reason.empty());
        QCOMPARE(wrongLaws(run),
                 ending == RunEnding::finished ? std::vector<int>{2} : std::vector<int>{});
    }

    // A law answered wrongly twice is asked again once, in the catalogue's order.
    void wrongLawsOnceEachInCatalogueOrder() {
        RunRecord run;
        run.ending = RunEnding::finished;
        for (auto [n, right] : {std::pair{9, false}, {3, false}, {9, false}, {5, true}})
            run.answers.push_back(Answer{n, "", right, 0});
        QCOMPARE(wrongLaws(run), (std::vector<int>{3, 9}));
    }

    // Старт in the middle of a run: the old run is told ended as restarted, with its answers,
    // before the new one is told begun; the new run records from its own question 1.
    void startMidRunEndsTheRunAsRestarted_data() { perMode(); }
    void startMidRunEndsTheRunAsRestarted() {
        QFETCH(Mode, mode);
        Watched w;
        w.startIn(mode);
        for (int n = 1; n <= 5; ++n)
            answer(w, n, n != 2, answerTime(n));
        const std::int64_t restartAt = answerTime(5) + 3'000;
        w.now = restartAt;
        const std::size_t toldBefore = w.told.size();
        w.form.start();

        QCOMPARE(w.told.size(), toldBefore + 2);
        const RunRecord& old = w.told[toldBefore];
        QCOMPARE(old.number, 1);
        QCOMPARE(old.ending, RunEnding::restarted);
        QCOMPARE(old.endedMs, restartAt);
        QCOMPARE(old.answers.size(), std::size_t{5});
        QCOMPARE(old.wrongCount(), 1);
        // A restarted run's review shows no accepted form, not even for its wrong answer.
        for (const ReviewRow& row : reviewRows(old))
            QVERIFY(row.accepted.empty());

        const RunRecord& fresh = w.told[toldBefore + 1];
        QCOMPARE(fresh.number, 2);
        QCOMPARE(fresh.mode, mode);
        QCOMPARE(fresh.startedMs, restartAt);
        QCOMPARE(fresh.ending, RunEnding::going);
        QVERIFY(fresh.answers.empty());
        QCOMPARE(w.form.run, fresh);

        answer(w, 1, false, restartAt + 500);
        QCOMPARE(w.form.run.number, 2);
        QCOMPARE(w.form.run.answers.size(), std::size_t{1});
        QCOMPARE(w.form.run.answers[0].law, 1);
        QCOMPARE(w.form.run.answers[0].right, false);

        // Start again at once: a run with no answers also ends as restarted.
        w.now = restartAt + 9'000;
        w.form.start();
        QCOMPARE(w.told[w.told.size() - 2].number, 2);
        QCOMPARE(w.told[w.told.size() - 2].ending, RunEnding::restarted);
        QCOMPARE(w.told.back().number, 3);
        // A finished run is not ended again by a later Start.
        for (int n = 1; n <= kLawCount; ++n)
            answer(w, n, true, restartAt + 10'000 + n);
        QCOMPARE(w.form.run.ending, RunEnding::finished);
        const std::size_t toldAtEnd = w.told.size();
        w.form.start();
        QCOMPARE(w.told.size(), toldAtEnd + 1);
        QCOMPARE(w.told[toldAtEnd - 1].ending, RunEnding::finished);
        QCOMPARE(w.told.back().number, 4);
        QCOMPARE(w.told.back().ending, RunEnding::going);
    }

    // Choosing the other mode ends the run as mode-changed; Check then records nothing until
    // the next Start. Clicking the mode already chosen changes nothing.
    void modeChangeMidRunEndsTheRun_data() { perMode(); }
    void modeChangeMidRunEndsTheRun() {
        QFETCH(Mode, mode);
        Watched w;
        w.startIn(mode);
        for (int n = 1; n <= 4; ++n)
            answer(w, n, true, answerTime(n));
        const std::size_t toldBefore = w.told.size();
        w.form.selectMode(mode);
        QCOMPARE(w.told.size(), toldBefore);
        QCOMPARE(w.form.run.ending, RunEnding::going);

        w.now = answerTime(4) + 1'234;
        w.form.selectMode(otherMode(mode));
        QCOMPARE(w.told.size(), toldBefore + 1);
        QCOMPARE(w.told.back().ending, RunEnding::modeChanged);
        QCOMPARE(w.told.back().endedMs, answerTime(4) + 1'234);
        QCOMPARE(w.told.back().mode, mode); // the mode the run was asked in
        QCOMPARE(w.told.back().answers.size(), std::size_t{4});
        for (const ReviewRow& row : reviewRows(w.told.back()))
            QVERIFY(row.accepted.empty());

        const RunRecord ended = w.form.run;
        for (int press = 0; press < 3; ++press) {
            dropFrom(w.form, lawTags(1), 1);
            w.form.check();
        }
        w.form.selectMode(mode); // and back: still nothing to end
        w.form.check();
        w.form.close();
        QCOMPARE(w.form.run, ended);
        QCOMPARE(w.told.size(), toldBefore + 1);

        w.form.start();
        QCOMPARE(w.told.size(), toldBefore + 2);
        QCOMPARE(w.form.run.number, 2);
        QCOMPARE(w.form.run.mode, mode);
        answer(w, 1, true, answerTime(1) + 100'000);
        QCOMPARE(w.form.run.answers.size(), std::size_t{1});
    }

    // Closing the window ends a run going as closed, once; before the first Start there is no
    // run to end.
    void closeEndsTheRunGoing_data() { perMode(); }
    void closeEndsTheRunGoing() {
        QFETCH(Mode, mode);
        Watched w;
        w.form.selectMode(mode);
        w.form.close();
        QVERIFY(w.told.empty());
        QCOMPARE(w.form.run.number, 0);

        w.form.start();
        answer(w, 1, false, answerTime(1));
        answer(w, 2, true, answerTime(2));
        w.now = answerTime(2) + 50;
        w.form.close();
        QCOMPARE(w.told.size(), std::size_t{4});
        QCOMPARE(w.told.back().ending, RunEnding::closed);
        QCOMPARE(w.told.back().endedMs, answerTime(2) + 50);
        QCOMPARE(w.told.back().answers.size(), std::size_t{2});
        w.now += 1000;
        w.form.close();
        QCOMPARE(w.told.size(), std::size_t{4});
        QCOMPARE(w.form.run.endedMs, answerTime(2) + 50);
    }

    // An empty row is an answer: recorded with an empty key, wrong, shown as "(пусто)". In the
    // trainer the drawn left side and the red hint add nothing to the key.
    void emptyRowIsRecordedAsAnEmptyAnswer_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<bool>("hinted");
        QTest::newRow("trainer") << Mode::trainer << false;
        QTest::newRow("trainer with the hint shown") << Mode::trainer << true;
        QTest::newRow("test") << Mode::test << false;
    }
    void emptyRowIsRecordedAsAnEmptyAnswer() {
        QFETCH(Mode, mode);
        QFETCH(bool, hinted);
        Watched w;
        w.startIn(mode);
        if (hinted) w.form.hint();
        w.now = answerTime(1);
        w.form.check();
        QCOMPARE(w.form.run.answers.size(), std::size_t{1});
        const Answer& a = w.form.run.answers[0];
        QCOMPARE(a.law, 1);
        QVERIFY(a.key.empty());
        QVERIFY(!a.right);
        QCOMPARE(a.atMs, answerTime(1));
        const std::vector<ReviewRow> rows = reviewRows(w.form.run);
        QCOMPARE(rows.size(), std::size_t{1});
        QCOMPARE(s(rows[0].answer), QStringLiteral("(пусто)"));
        QCOMPARE(s(rows[0].verdict), s(kVerdictWrong));
    }

    // A timed test: the time left counts down, rounded up to whole seconds; at zero the run
    // ends «время вышло» at its deadline, whichever event finds it out, and an answer checked
    // after the limit counts for nothing. The next Start begins a new limit; the trainer has none.
    void timedTestEndsWhenTheTimeIsUp_data() {
        QTest::addColumn<QString>("event"); // what first meets the time up
        QTest::newRow("tick") << "tick";
        QTest::newRow("check before the tick") << "check";
        QTest::newRow("Start before the tick") << "start";
        QTest::newRow("closing before the tick") << "close";
    }
    void timedTestEndsWhenTheTimeIsUp() {
        QFETCH(QString, event);
        Watched w;
        const Lesson set{{}, 2, false, Marks{80, 60, 40}};
        w.form.lesson = [set] { return set; };
        w.startIn(Mode::trainer);
        QCOMPARE(w.form.state.timeLeft, std::string());
        QCOMPARE(w.form.run.limitMinutes, 0);
        w.startIn(Mode::test);
        const std::int64_t deadline = kBase + 120'000;
        QCOMPARE(w.form.run.limitMinutes, 2);
        QCOMPARE(w.form.state.timeLeft, "02:00");
        for (auto [at, shown] : {std::pair{kBase + 1, "02:00"},
                                 {kBase + 999, "02:00"},
                                 {kBase + 1'000, "01:59"},
                                 {kBase + 61'500, "00:59"}}) {
            w.now = at;
            w.form.tick();
            QCOMPARE(w.form.state.timeLeft, std::string(shown));
        }
        answer(w, 1, true, kBase + 62'000);
        answer(w, 2, false, deadline - 1);
        w.form.tick();
        QCOMPARE(w.form.state.timeLeft, "00:01");
        QCOMPARE(w.form.run.ending, RunEnding::going);
        const std::size_t toldBefore = w.told.size();

        w.now = deadline + 700;
        if (event == "tick") w.form.tick();
        if (event == "check") answer(w, 3, true, deadline + 700);
        if (event == "start") w.form.start();
        if (event == "close") w.form.close();
        const RunRecord ended = w.told[toldBefore];
        QCOMPARE(ended.number, 2);
        QCOMPARE(ended.ending, RunEnding::timeUp);
        QCOMPARE(ended.endedMs, deadline);
        QCOMPARE(ended.answers.size(), std::size_t{2});
        QCOMPARE(ended.mark(), markFor(1, kLawCount, set.marks));
        // The test is over: its review gives the accepted form and its mistakes again.
        QCOMPARE(wrongLaws(ended), std::vector<int>{2});
        QVERIFY(!reviewRows(ended).at(1).accepted.empty());
        if (event == "start") {
            QCOMPARE(w.form.run.number, 3);
            QCOMPARE(w.form.state.timeLeft, "02:00");
            return;
        }
        QCOMPARE(w.told.size(), toldBefore + 1);
        QCOMPARE(s(w.form.state.lawName), s(kTimeUpMessage));
        QCOMPARE(w.form.state.timeLeft, "00:00");
        QCOMPARE(w.form.state.rightShown, "1");
        QCOMPARE(w.form.state.wrongShown, "1");
        QCOMPARE(w.form.askedLaw(), 0);
        // Nothing later counts or is told, and the line stays until a mode change.
        const FormState after = w.form.state;
        for (int press = 0; press < 3; ++press) {
            w.now += 5'000;
            w.form.tick();
            answer(w, 3, true, w.now);
        }
        w.form.close();
        QCOMPARE(w.told.size(), toldBefore + 1);
        QCOMPARE(w.form.run, ended);
        QCOMPARE(s(w.form.state.lawName), s(kTimeUpMessage));
        QCOMPARE(w.form.state.timeLeft, after.timeLeft);
        QCOMPARE(w.form.state.rightCount, 1);
        w.form.selectMode(Mode::trainer);
        QCOMPARE(w.form.state.timeLeft, std::string());
    }

    // Runs are numbered in the window's order, whatever ended them.
    void runsAreNumberedInOrder() {
        Watched w;
        w.startIn(Mode::trainer);
        w.form.start();
        w.form.selectMode(Mode::test);
        w.form.start();
        w.form.close();
        w.form.start();
        std::vector<std::pair<int, RunEnding>> seen;
        for (const RunRecord& r : w.told)
            seen.emplace_back(r.number, r.ending);
        const std::vector<std::pair<int, RunEnding>> expected{
            {1, RunEnding::going},       {1, RunEnding::restarted}, {2, RunEnding::going},
            {2, RunEnding::modeChanged}, {3, RunEnding::going},     {3, RunEnding::closed},
            {4, RunEnding::going}};
        QVERIFY(seen == expected);
    }

    // Keys as text with signs: blanks between symbols, none inside brackets.
    void keyTextWritesSigns_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        auto row = [](const char* name, std::string_view key, const char* text) {
            QTest::newRow(name) << s(key) << QString::fromUtf8(text);
        };
        row("law 1", law(1).key, "x ∨ y = y ∨ x");
        row("law 2", law(2).key, "x • y = y • x");
        row("law 3", law(3).key, "x ∨ (y ∨ z) = (x ∨ y) ∨ z");
        row("law 3's other form", law(3).otherForm, "(x ∨ y) ∨ z = x ∨ (y ∨ z)");
        row("law 7", law(7).key, "x̄ ∨̄ ȳ = x̄ • ȳ");
        row("law 8", law(8).key, "x̄ •̄ ȳ = x̄ ∨ ȳ");
        row("law 13", law(13).key, "(x • y) ∨ (x̄ • y) = y");
        row("law 15", law(15).key, "x ∨ x̄ = 1");
        row("law 19", law(19).key, "x • 0 = 0");
        row("law 21", law(21).key, "x̿ = x");
        row("law 22", law(22).key, "x → y = x̄ ∨ y");
        row("law 23", law(23).key, "x ↔ y = (x̄ ∨ y) • (ȳ ∨ x)");
        row("nested brackets", "sosoxszsz", "((x))");
        row("empty brackets", "sosz", "()");
        row("one symbol", "равно", "=");
        row("empty", "", "");
        row("no tags at all", "abc", "abc");
    }
    void keyTextWritesSigns() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QCOMPARE(s(keyText(key.toStdString())), text);
    }

    // The words of the journal's files are distinct for each ending, and stable.
    void endingWordsAreDistinct() {
        std::set<std::string_view> words, shown;
        for (RunEnding e :
             {RunEnding::going, RunEnding::finished, RunEnding::restarted, RunEnding::modeChanged,
              RunEnding::closed, RunEnding::cutShort, RunEnding::timeUp}) {
            QVERIFY(words.insert(endingWord(e)).second);
            QVERIFY(shown.insert(endingShown(e)).second);
        }
        QCOMPARE(s(endingWord(RunEnding::modeChanged)), QStringLiteral("mode-changed"));
        QCOMPARE(s(endingWord(RunEnding::cutShort)), QStringLiteral("cut-short"));
        QCOMPARE(s(endingWord(RunEnding::timeUp)), QStringLiteral("time-up"));
        QVERIFY(modeWord(Mode::test) != modeWord(Mode::trainer));
    }
};

QTEST_APPLESS_MAIN(RunRecordTest)
#include "tst_run_record.moc"
