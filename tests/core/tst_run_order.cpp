// Runs that ask the laws in an order of their own: a run over one's mistakes after a finished
// run, and test runs in a shuffled order.
#include "core/review_rows.h"
#include "core_test_support.h"

#include <QTest>

#include <algorithm>

using namespace core_test;

namespace {

const QString kEnd = QStringLiteral("Тест окончен. Позовите учителя");

// Writes the answer to law n into the emptied row and checks it: right, or lacking its last tag.
void answer(Form& f, int n, bool right) {
    const bool trainer = f.state.mode == Mode::trainer;
    Tags tags = trainer ? rightSideTags(n) : lawTags(n);
    if (!right) tags.pop_back();
    f.clear();
    dropFrom(f, tags, trainer ? int(leftSideTags(n).size()) + 1 : 1);
    f.check();
}

std::vector<int> lawsAnswered(const RunRecord& run) {
    std::vector<int> laws;
    for (const Answer& a : run.answers)
        laws.push_back(a.law);
    return laws;
}

} // namespace

class RunOrder : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // A finished run's wrong laws asked again in the trainer: question k of the mistakes run
    // asks its k-th law, draws it and hints it; the run ends after the last as a whole run does.
    void mistakesRunAsksTheWrongLaws_data() {
        QTest::addColumn<Mode>("from");
        QTest::addColumn<QList<int>>("wrong");
        QTest::newRow("after a test") << Mode::test << QList<int>{3, 7, 22, 23};
        QTest::newRow("after the trainer") << Mode::trainer << QList<int>{1, 12};
        QTest::newRow("one law") << Mode::test << QList<int>{15};
    }
    void mistakesRunAsksTheWrongLaws() {
        QFETCH(Mode, from);
        QFETCH(QList<int>, wrong);
        const std::vector<int> laws(wrong.begin(), wrong.end());
        Form f = startedForm(from);
        for (int n = 1; n <= kLawCount; ++n)
            answer(f, n, !wrong.contains(n));
        QCOMPARE(wrongLaws(f.run), laws);

        f.startMistakes(wrongLaws(f.run));
        QCOMPARE(f.state.mode, Mode::trainer);
        QVERIFY(f.state.hintButtonVisible);
        QCOMPARE(f.run.number, 2);
        QCOMPARE(f.run.asked, laws);
        const int k = int(laws.size());
        for (int i = 1; i <= k; ++i) {
            const int n = laws[std::size_t(i - 1)];
            QCOMPARE(f.state.questionShown, std::to_string(i));
            QCOMPARE(f.state.lawName, lawName(n));
            QVERIFY(f.state.row == predrawnRow(n));
            f.hint();
            const int afterEquals = int(leftSideTags(n).size()) + 1;
            QVERIFY(f.state.slot(afterEquals).picture ==
                    Picture::red(glyphOf(rightSideTags(n).front())));
            answer(f, n, i % 2 == 0); // every other one right
            QCOMPARE(f.state.rightCount, i / 2);
            QCOMPARE(f.state.wrongCount, i - i / 2);
        }
        QCOMPARE(q(f.state.lawName), kEnd);
        QCOMPARE(f.state.questionShown, std::to_string(k));
        QCOMPARE(f.run.ending, RunEnding::finished);
        QCOMPARE(lawsAnswered(f.run), laws);
        const std::vector<ReviewRow> rows = reviewRows(f.run);
        for (int i = 1; i <= k; ++i) {
            QCOMPARE(rows[std::size_t(i - 1)].number, i);
            QCOMPARE(rows[std::size_t(i - 1)].law, laws[std::size_t(i - 1)]);
        }
        const RunRecord ended = f.run;
        answer(f, laws.back(), true);
        QCOMPARE(f.run, ended);
        QCOMPARE(f.state.rightCount + f.state.wrongCount, k);
    }

    // Shuffled order only for tests with the setting on; each such Start draws its own order
    // from its seed, asks every law once and records the order.
    void testOrderOfItsOwn_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<bool>("shuffled");
        QTest::newRow("test, shuffled") << Mode::test << true;
        QTest::newRow("test, in order") << Mode::test << false;
        QTest::newRow("trainer, setting on") << Mode::trainer << true;
    }
    void testOrderOfItsOwn() {
        QFETCH(Mode, mode);
        QFETCH(bool, shuffled);
        std::vector<std::vector<int>> orders;
        for (std::uint64_t seed : {1u, 2u, 1u}) {
            Form f = loadedForm();
            f.shuffledTests = shuffled;
            f.orderSeed = [seed] { return seed; };
            f.selectMode(mode);
            f.start();
            const std::vector<int> asked = f.run.asked;
            const bool own = mode == Mode::test && shuffled;
            QCOMPARE(asked.empty(), !own);
            for (int i = 1; i <= kLawCount; ++i) {
                const int n = own ? asked[std::size_t(i - 1)] : i;
                QCOMPARE(f.state.lawName, lawName(n));
                QCOMPARE(f.state.lawNamePt, n >= kSmallNameFrom ? kSmallNamePt : kNamePt);
                answer(f, n, true);
            }
            QCOMPARE(f.state.rightCount, kLawCount);
            QCOMPARE(f.run.ending, RunEnding::finished);
            orders.push_back(lawsAnswered(f.run));
        }
        std::vector<int> sorted = orders[0];
        std::ranges::sort(sorted);
        for (int n = 1; n <= kLawCount; ++n)
            QCOMPARE(sorted[std::size_t(n - 1)], n);
        QCOMPARE(orders[0] != orders[1], mode == Mode::test && shuffled);
        QCOMPARE(orders[0], orders[2]);
    }

    // The lesson's laws only, in the catalogue's order or a test's own; the run ends after the
    // last of them as after the 23rd, counting only them. A test keeps the lesson's limit and
    // marks, the trainer neither.
    void lessonLawsOnly_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("laws");
        QTest::addColumn<bool>("shuffled");
        QTest::addColumn<bool>("recorded"); // run.asked holds the laws
        QTest::newRow("trainer 1-12,15") << Mode::trainer << "1-12,15" << false << true;
        QTest::newRow("test 3,22,23") << Mode::test << "3,22,23" << false << true;
        QTest::newRow("test 5-9 shuffled") << Mode::test << "5-9" << true << true;
        QTest::newRow("trainer 2-4, shuffle is a test's") << Mode::trainer << "2-4" << true << true;
        QTest::newRow("test, one law") << Mode::test << "23" << false << true;
        QTest::newRow("test, all 23 named") << Mode::test << "1-23" << false << false;
        QTest::newRow("test, none named: all") << Mode::test << "" << false << false;
    }
    void lessonLawsOnly() {
        QFETCH(Mode, mode);
        QFETCH(QString, laws);
        QFETCH(bool, shuffled);
        QFETCH(bool, recorded);
        Lesson set;
        set.laws = parseLawList(laws.toStdString()).value_or(std::vector<int>{});
        set.shuffled = shuffled;
        set.minutes = 15;
        set.marks = Marks{80, 60, 40};
        Form f = loadedForm();
        f.lesson = [set] { return set; };
        f.orderSeed = [] { return std::uint64_t{3}; };
        f.selectMode(mode);
        f.start();
        std::vector<int> expected = set.laws;
        if (expected.empty())
            for (int n = 1; n <= kLawCount; ++n)
                expected.push_back(n);
        const int k = int(expected.size());
        QCOMPARE(f.run.asked.empty(), !recorded);
        if (recorded) {
            std::vector<int> sorted = f.run.asked;
            std::ranges::sort(sorted);
            QCOMPARE(sorted, expected);
            QCOMPARE(f.run.asked != expected, mode == Mode::test && shuffled);
            expected = f.run.asked;
        }
        QCOMPARE(f.run.limitMinutes, mode == Mode::test ? 15 : 0);
        QCOMPARE(f.run.marks, mode == Mode::test ? set.marks : Marks{});
        for (int i = 1; i <= k; ++i) {
            const int n = expected[std::size_t(i - 1)];
            QCOMPARE(f.state.questionShown, std::to_string(i));
            QCOMPARE(f.state.lawName, lawName(n));
            answer(f, n, i != 2);
        }
        QCOMPARE(q(f.state.lawName), kEnd);
        QCOMPARE(f.state.questionShown, std::to_string(k));
        QCOMPARE(f.state.rightCount, k - (k >= 2));
        QCOMPARE(f.state.wrongCount, int(k >= 2));
        QCOMPARE(f.run.ending, RunEnding::finished);
        QCOMPARE(lawsAnswered(f.run), expected);
        QCOMPARE(f.run.mark(), mode == Mode::test ? markFor(k - (k >= 2), k, set.marks) : 0);
        const RunRecord ended = f.run;
        answer(f, expected.back(), true);
        QCOMPARE(f.run, ended);
        QCOMPARE(f.state.questionShown, std::to_string(k));
    }

    // The first law's name gets its own size at Start, whatever the last run ended in.
    void firstNameSizedByItsLaw() {
        Form f = loadedForm();
        f.selectMode(Mode::test);
        f.shuffledTests = true;
        int smallFirst = 0;
        for (std::uint64_t seed = 1; seed <= 60; ++seed) {
            f.orderSeed = [seed] { return seed; };
            f.start();
            const bool small = f.run.asked.front() >= kSmallNameFrom;
            smallFirst += small;
            QCOMPARE(f.state.lawNamePt, small ? kSmallNamePt : kNamePt);
        }
        QVERIFY(smallFirst > 0); // some seed asks a long name first
    }
};

QTEST_APPLESS_MAIN(RunOrder)
#include "tst_run_order.moc"
