// The Check button in both modes: which answers each law accepts, what a press shows and
// counts, whole runs, and the phase after the test is over.
#include "core_test_support.h"

#include <QTest>

using namespace core_test;

namespace {

const QString kRight = QStringLiteral("правильно");
const QString kWrong = QStringLiteral("не правильно");
const QString kEnd = QStringLiteral("Тест окончен. Позовите учителя");

QList<int> contiguous(int first, std::size_t count) {
    QList<int> places;
    for (std::size_t i = 0; i < count; ++i)
        places << first + int(i);
    return places;
}

// The first symbol at `first`, the others pushed to the end of the row; empty if no gap fits.
QList<int> withGap(int first, std::size_t count) {
    const int gap = kSlotCount - (first + int(count) - 1);
    if (gap <= 0 || count < 2) return {};
    QList<int> places = contiguous(first, count);
    for (qsizetype i = 1; i < places.size(); ++i)
        places[i] += gap;
    return places;
}

void addAnswer(const char* what, int n, Mode mode, const Tags& tags, const QList<int>& places,
               bool accepted) {
    QTest::addRow("law %d %s: %s", n, modeName(mode), what)
        << n << mode << q(law_keys::joinTags(tags)) << places << accepted;
}

Tags tagsOf(std::string_view key) {
    return *law_keys::splitKey(key);
}

// The answer the pupil gives in a whole run: the law itself, or a wrong one.
void answer(Form& f, Mode mode, int n, bool right) {
    f.clear();
    if (mode == Mode::trainer) {
        if (right) dropFrom(f, rightSideTags(n), int(leftSideTags(n).size()) + 1);
    } else {
        dropFrom(f, right ? lawTags(n) : rightSideTags(n), 1);
    }
}

void perMode() {
    QTest::addColumn<Mode>("mode");
    QTest::newRow("trainer") << Mode::trainer;
    QTest::newRow("test") << Mode::test;
}

} // namespace

class CheckCycle : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void eachLawJudgesItsAnswers_data();
    void eachLawJudgesItsAnswers();
    void previousAnswerLeftInTheRowSpoilsTheNext();
    void checkBeforeStartOnlyHidesTheInstructions_data() { perMode(); }
    void checkBeforeStartOnlyHidesTheInstructions();
    void nameFontFollowsTheChecker_data();
    void nameFontFollowsTheChecker();
    void wholeRunAsksEveryLawInOrder_data();
    void wholeRunAsksEveryLawInOrder();
    void overPhaseHoldsForAHundredThousandPresses_data() { perMode(); }
    void overPhaseHoldsForAHundredThousandPresses();
};

void CheckCycle::eachLawJudgesItsAnswers_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QString>("key"); // the tags dropped, joined
    QTest::addColumn<QList<int>>("places");
    QTest::addColumn<bool>("accepted");
    for (int n = 1; n <= kLawCount; ++n) {
        const Tags whole = lawTags(n), rhs = rightSideTags(n);
        const int after = int(leftSideTags(n).size()) + 1;
        // Another law whose right-hand side differs from this one's.
        int other = n % kLawCount + 1;
        while (rightSideTags(other) == rhs)
            other = other % kLawCount + 1;

        addAnswer("right side", n, Mode::trainer, rhs, contiguous(after, rhs.size()), true);
        if (const QList<int> gapped = withGap(after, rhs.size()); !gapped.isEmpty())
            addAnswer("right side with a gap", n, Mode::trainer, rhs, gapped, true);
        if (const Tags commuted = operandsExchanged(rhs); !commuted.empty())
            addAnswer("commuted right side", n, Mode::trainer, commuted,
                      contiguous(after, rhs.size()), false);
        const int wholeFrom = std::min(after, kSlotCount + 1 - int(whole.size()));
        addAnswer("whole law", n, Mode::trainer, whole, contiguous(wholeFrom, whole.size()), false);
        addAnswer("another law's right side", n, Mode::trainer, rightSideTags(other),
                  contiguous(after, rightSideTags(other).size()), false);
        addAnswer("empty row", n, Mode::trainer, {}, {}, false);

        addAnswer("catalogue key", n, Mode::test, whole, contiguous(1, whole.size()), true);
        if (const QList<int> gapped = withGap(1, whole.size()); !gapped.isEmpty())
            addAnswer("catalogue key with a gap", n, Mode::test, whole, gapped, true);
        if (!law(n).otherForm.empty()) {
            const Tags alt = tagsOf(law(n).otherForm);
            addAnswer("other form", n, Mode::test, alt,
                      contiguous(kSlotCount + 1 - int(alt.size()), alt.size()), true);
        }
        int m = n % kLawCount + 1;
        while (law(m).otherForm.empty() || law(m).otherForm == law(n).otherForm)
            m = m % kLawCount + 1;
        const Tags othersForm = tagsOf(law(m).otherForm);
        addAnswer("another law's other form", n, Mode::test, othersForm,
                  contiguous(1, othersForm.size()), false);
        addAnswer("right side alone", n, Mode::test, rhs, contiguous(1, rhs.size()), false);
        addAnswer("empty row", n, Mode::test, {}, {}, false);
    }
    addAnswer("over the drawn slots", 1, Mode::trainer, {"y", "или", "x"}, {1, 2, 3}, true);
    const auto written = [](const char* what, int n, Mode mode, std::string_view key, int first) {
        const Tags tags = tagsOf(key);
        addAnswer(what, n, mode, tags, contiguous(first, tags.size()), false);
    };
    written("without brackets", 5, Mode::trainer, "xиyилиxиz", 9);
    written("other form's right side", 22, Mode::trainer, "yилиno_x", 5);
    written("left side commuted only", 1, Mode::test, "yилиxравноyилиx", 1);
    written("sides exchanged", 9, Mode::test, "xравноxилиx", 1);
    written("without brackets", 12, Mode::test, "xиxилиyравноx", 1);
}

void CheckCycle::eachLawJudgesItsAnswers() {
    QFETCH(int, n);
    QFETCH(Mode, mode);
    QFETCH(QString, key);
    QFETCH(QList<int>, places);
    QFETCH(bool, accepted);

    Form f = startedForm(mode);
    advanceTo(f, n);
    if (mode == Mode::trainer) QVERIFY(f.state.row == predrawnRow(n));
    const Tags tags = tagsOf(key.toStdString());
    dropAt(f, tags, std::vector<int>(places.begin(), places.end()));
    const FormState before = f.state;
    f.check();
    const FormState& s = f.state;

    QCOMPARE(q(s.checkedKey), key);
    QCOMPARE(q(s.verdict), accepted ? kRight : kWrong);
    QCOMPARE(q(s.rightShown), accepted ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(q(s.wrongShown), QString::number(n - 1 + (accepted ? 0 : 1)));
    QCOMPARE(s.question, n + 1);
    QVERIFY(!s.instructionsVisible);
    if (n < kLawCount) {
        QCOMPARE(s.lawName, lawName(n + 1));
        QCOMPARE(q(s.questionShown), QString::number(n + 1));
        QCOMPARE(s.lawNamePt, n + 1 >= 22 ? 14.0 : 18.0);
    } else {
        QCOMPARE(q(s.lawName), kEnd);
        QCOMPARE(q(s.questionShown), QStringLiteral("23"));
        QCOMPARE(s.lawNamePt, 18.0);
    }
    // The trainer draws the next left-hand side on an emptied row; the test leaves the row.
    const bool redrawn = mode == Mode::trainer && n < kLawCount;
    QVERIFY(s.row == (redrawn ? predrawnRow(n + 1) : before.row));
}

void CheckCycle::previousAnswerLeftInTheRowSpoilsTheNext() {
    Form f = startedForm(Mode::test);
    dropFrom(f, lawTags(1), 1);
    f.check();
    QCOMPARE(q(f.state.verdict), kRight);
    QCOMPARE(q(f.formulaKey()), QStringLiteral("xилиyравноyилиx")); // still in the row
    dropFrom(f, lawTags(2), 8);
    f.check();
    QVERIFY(q(f.state.checkedKey).startsWith(QStringLiteral("xилиyравноyилиx")));
    QCOMPARE(q(f.state.verdict), kWrong);
    QCOMPARE(q(f.state.rightShown), QStringLiteral("1"));
    QCOMPARE(q(f.state.wrongShown), QStringLiteral("1"));
}

void CheckCycle::checkBeforeStartOnlyHidesTheInstructions() {
    QFETCH(Mode, mode);
    Form f = loadedForm();
    f.selectMode(mode);
    dropFrom(f, lawTags(1), 1);
    QVERIFY(f.state.instructionsVisible);
    for (int press = 0; press < 3; ++press) {
        FormState expected = f.state;
        expected.instructionsVisible = false;
        f.check();
        COMPARE_STATES(f.state, expected);
    }
    QVERIFY(f.state.checkedKey.empty());
}

void CheckCycle::nameFontFollowsTheChecker_data() {
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<bool>("startAtSmall"); // Start pressed while question 22 was shown
    for (Mode mode : {Mode::trainer, Mode::test}) {
        QTest::addRow("%s, fresh", modeName(mode)) << mode << false;
        QTest::addRow("%s, Start at 14 points", modeName(mode)) << mode << true;
    }
}

void CheckCycle::nameFontFollowsTheChecker() {
    QFETCH(Mode, mode);
    QFETCH(bool, startAtSmall);
    Form f = startedForm(mode);
    if (startAtSmall) {
        advanceTo(f, 22);
        QCOMPARE(f.state.lawNamePt, 14.0);
        f.start();
    }
    const double atStart = 18.0;
    QCOMPARE(f.state.lawNamePt, atStart); // every run starts at 18 points, whatever came before
    for (int question = 2; question <= kLawCount; ++question) {
        f.check();
        QCOMPARE(q(f.state.questionShown), QString::number(question));
        // 18 points below question 22, 14 from there, in both modes.
        const double expected = question >= 22 ? 14.0 : atStart;
        QCOMPARE(f.state.lawNamePt, expected);
    }
    f.check();
    QCOMPARE(q(f.state.lawName), kEnd);
    QCOMPARE(f.state.lawNamePt, 18.0);
}

void CheckCycle::wholeRunAsksEveryLawInOrder_data() {
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<int>("rightEvery"); // law n answered right when n % rightEvery == 0
    for (Mode mode : {Mode::trainer, Mode::test})
        for (int every : {1, 3, 100})
            QTest::addRow("%s, right every %d", modeName(mode), every) << mode << every;
}

void CheckCycle::wholeRunAsksEveryLawInOrder() {
    QFETCH(Mode, mode);
    QFETCH(int, rightEvery);
    Form f = startedForm(mode);
    int right = 0, wrong = 0;
    for (int n = 1; n <= kLawCount; ++n) {
        QCOMPARE(f.state.lawName, lawName(n));
        QCOMPARE(q(f.state.questionShown), QString::number(n));
        const bool answeredRight = n % rightEvery == 0;
        answer(f, mode, n, answeredRight);
        f.check();
        QCOMPARE(q(f.state.verdict), answeredRight ? kRight : kWrong);
        (answeredRight ? right : wrong) += 1;
        QCOMPARE(q(f.state.rightShown), QString::number(right));
        QCOMPARE(q(f.state.wrongShown), QString::number(wrong));
    }
    QCOMPARE(right + wrong, kLawCount);
    QCOMPARE(q(f.state.lawName), kEnd);
    QCOMPARE(f.state.lawNamePt, 18.0);
    QCOMPARE(q(f.state.questionShown), QStringLiteral("23"));
    QCOMPARE(q(f.state.verdict), rightEvery == 1 ? kRight : kWrong); // the 23rd verdict stays

    answer(f, mode, 1, true); // a right answer to nothing: not counted
    f.check();
    QCOMPARE(q(f.state.verdict), QString());
    QCOMPARE(q(f.state.lawName), kEnd);
    QCOMPARE(q(f.state.questionShown), QStringLiteral("23"));
    QCOMPARE(q(f.state.rightShown), QString::number(right));
    QCOMPARE(q(f.state.wrongShown), QString::number(wrong));
}

void CheckCycle::overPhaseHoldsForAHundredThousandPresses() {
    QFETCH(Mode, mode);
    Form f = startedForm(mode);
    for (int n = 1; n <= kLawCount; ++n) {
        answer(f, mode, n, n % 2 == 1);
        f.check();
    }
    f.check(); // the first press of the over phase
    const FormState over = f.state;
    QCOMPARE(q(over.lawName), kEnd);
    QCOMPARE(q(over.questionShown), QStringLiteral("23"));
    QCOMPARE(q(over.rightShown), QStringLiteral("12"));
    QCOMPARE(q(over.wrongShown), QStringLiteral("11"));
    QVERIFY(over.verdict.empty());

    // Every later press leaves exactly this state; the counters never wrap or run on.
    int firstChange = 0;
    for (int press = 2; press <= 100000 && firstChange == 0; ++press) {
        f.check();
        if (!(f.state == over)) firstChange = press;
    }
    QVERIFY2(firstChange == 0, qPrintable(QStringLiteral("press %1 of the over phase: %2")
                                              .arg(firstChange)
                                              .arg(stateDiff(f.state, over))));
    QCOMPARE(f.state.question, 25);
    // A new Start still works after all that.
    f.start();
    QCOMPARE(f.state.lawName, lawName(1));
    QCOMPARE(q(f.state.questionShown), QStringLiteral("1"));
}

QTEST_APPLESS_MAIN(CheckCycle)
#include "tst_check_cycle.moc"
