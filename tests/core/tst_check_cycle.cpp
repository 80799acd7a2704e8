// The Check button in both modes: which answers each law accepts, what a press shows and
// counts, whole runs, and the phase after the test is over.
#include "core_test_support.h"

#include "check/accepted_keys.h"

#include <QTest>

using namespace core_test;

namespace {

const QString kRight = QStringLiteral("правильно");
const QString kWrong = QStringLiteral("не правильно");
const QString kEnd = QStringLiteral("Тест окончен. Позовите учителя");

QStringList toList(const Tags& tags) {
    QStringList l;
    for (const std::string& t : tags)
        l << q(t);
    return l;
}

Tags fromList(const QStringList& l) {
    Tags tags;
    for (const QString& t : l)
        tags.push_back(t.toStdString());
    return tags;
}

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

void addAnswer(const char* what, int law, int mode, const Tags& tags, const QList<int>& places,
               bool accepted) {
    QTest::addRow("law %d %s: %s", law, mode == kTrainer ? "trainer" : "test", what)
        << law << mode << toList(tags) << places << accepted;
}

std::string_view alternative(int law) {
    return alternativeKeys[std::size_t(law - 1)];
}

// The answer the pupil gives in a whole run: the law itself, or a wrong one.
void answer(Form1& f, int mode, int law, bool right) {
    f.Command2_Click();
    if (mode == kTrainer) {
        if (right) dropFrom(f, rightSideTags(law), int(leftSideTags(law).size()) + 1);
    } else {
        dropFrom(f, right ? lawTags(law) : rightSideTags(law), 1);
    }
}

} // namespace

class CheckCycle : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void eachLawJudgesItsAnswers_data();
    void eachLawJudgesItsAnswers();
    void previousAnswerLeftInTheRowSpoilsTheNext();
    void checkBeforeStartOnlyHidesTheInstructions_data();
    void checkBeforeStartOnlyHidesTheInstructions();
    void nameFontFollowsTheChecker_data();
    void nameFontFollowsTheChecker();
    void wholeRunAsksEveryLawInOrder_data();
    void wholeRunAsksEveryLawInOrder();
    void overPhaseHoldsForAHundredThousandPresses_data();
    void overPhaseHoldsForAHundredThousandPresses();
};

void CheckCycle::eachLawJudgesItsAnswers_data() {
    QTest::addColumn<int>("law");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QList<int>>("places");
    QTest::addColumn<bool>("accepted");
    for (int n = 1; n <= kLawCount; ++n) {
        const Tags whole = lawTags(n), rhs = rightSideTags(n);
        const int after = int(leftSideTags(n).size()) + 1;
        // Another law whose right-hand side differs from this one's.
        int other = n % kLawCount + 1;
        while (rightSideTags(other) == rhs)
            other = other % kLawCount + 1;

        addAnswer("right side", n, kTrainer, rhs, contiguous(after, rhs.size()), true);
        if (const QList<int> gapped = withGap(after, rhs.size()); !gapped.isEmpty())
            addAnswer("right side with a gap", n, kTrainer, rhs, gapped, true);
        if (const Tags commuted = operandsExchanged(rhs); !commuted.empty())
            addAnswer("commuted right side", n, kTrainer, commuted, contiguous(after, rhs.size()),
                      false);
        const int wholeFrom = std::min(after, kSlotCount + 1 - int(whole.size()));
        addAnswer("whole law", n, kTrainer, whole, contiguous(wholeFrom, whole.size()), false);
        addAnswer("another law's right side", n, kTrainer, rightSideTags(other),
                  contiguous(after, rightSideTags(other).size()), false);
        addAnswer("empty row", n, kTrainer, {}, {}, false);

        addAnswer("catalogue key", n, kTest, whole, contiguous(1, whole.size()), true);
        if (const QList<int> gapped = withGap(1, whole.size()); !gapped.isEmpty())
            addAnswer("catalogue key with a gap", n, kTest, whole, gapped, true);
        if (!alternative(n).empty()) {
            const Tags alt = *splitKey(alternative(n));
            addAnswer("alternative", n, kTest, alt, contiguous(20 - int(alt.size()), alt.size()),
                      true);
        }
        int m = n % kLawCount + 1;
        while (alternative(m).empty() || alternative(m) == alternative(n))
            m = m % kLawCount + 1;
        addAnswer("another law's alternative", n, kTest, *splitKey(alternative(m)),
                  contiguous(1, splitKey(alternative(m))->size()), false);
        addAnswer("right side alone", n, kTest, rhs, contiguous(1, rhs.size()), false);
        addAnswer("empty row", n, kTest, {}, {}, false);
    }
    addAnswer("over the drawn slots", 1, kTrainer, {"y", "или", "x"}, {1, 2, 3}, true);
    const auto written = [](const char* what, int law, int mode, std::string_view key, int first) {
        const Tags tags = *splitKey(key);
        addAnswer(what, law, mode, tags, contiguous(first, tags.size()), false);
    };
    written("without brackets", 5, kTrainer, "xиyилиxиz", 9);
    written("left side commuted only", 1, kTest, "yилиxравноyилиx", 1);
    written("sides exchanged", 9, kTest, "xравноxилиx", 1);
    written("without brackets", 12, kTest, "xиxилиyравноx", 1);
}

void CheckCycle::eachLawJudgesItsAnswers() {
    QFETCH(int, law);
    QFETCH(int, mode);
    QFETCH(QStringList, tags);
    QFETCH(QList<int>, places);
    QFETCH(bool, accepted);

    Form1 f = startedForm(mode);
    advanceTo(f, law);
    if (mode == kTrainer) QVERIFY(f.state.slotRow == predrawnRow(law));
    dropAt(f, fromList(tags), std::vector<int>(places.begin(), places.end()));
    const FormState before = f.state;
    f.Command1_Click();
    const FormState& s = f.state;

    QCOMPARE(q(s.formulaKey), tags.join(QString()));
    QCOMPARE(q(s.text1), accepted ? kRight : kWrong);
    QCOMPARE(q(s.label4), accepted ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(q(s.label5), QString::number(law - 1 + (accepted ? 0 : 1)));
    QCOMPARE(int(s.questionNumber), law + 1);
    QVERIFY(!s.label9Visible);
    if (law < kLawCount) {
        QCOMPARE(s.label2, lawName(law + 1));
        QCOMPARE(q(s.label3), QString::number(law + 1));
        QCOMPARE(s.label2FontPt, law + 1 >= 22 ? 14.0 : 18.0);
    } else {
        QCOMPARE(q(s.label2), kEnd);
        QCOMPARE(q(s.label3), QStringLiteral("23"));
        QCOMPARE(s.label2FontPt, 18.0);
    }
    // The trainer draws the next left-hand side on an emptied row; the test leaves the row.
    const bool redrawn = mode == kTrainer && law < kLawCount;
    QVERIFY(s.slotRow == (redrawn ? predrawnRow(law + 1) : before.slotRow));
}

void CheckCycle::previousAnswerLeftInTheRowSpoilsTheNext() {
    Form1 f = startedForm(kTest);
    dropFrom(f, lawTags(1), 1);
    f.Command1_Click();
    QCOMPARE(q(f.state.text1), kRight);
    QCOMPARE(q(f.FormulaKey()), q(kLaws[0].key)); // still in the row
    dropFrom(f, lawTags(2), 8);
    f.Command1_Click();
    QVERIFY(q(f.state.formulaKey).startsWith(QStringLiteral("xилиyравноyилиx")));
    QCOMPARE(q(f.state.text1), kWrong);
    QCOMPARE(q(f.state.label4), QStringLiteral("1"));
    QCOMPARE(q(f.state.label5), QStringLiteral("1"));
}

void CheckCycle::checkBeforeStartOnlyHidesTheInstructions_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("trainer") << kTrainer;
    QTest::newRow("test") << kTest;
}

void CheckCycle::checkBeforeStartOnlyHidesTheInstructions() {
    QFETCH(int, mode);
    Form1 f = loadedForm();
    f.SelectOption1(mode);
    dropFrom(f, lawTags(1), 1);
    QVERIFY(f.state.label9Visible);
    for (int press = 0; press < 3; ++press) {
        FormState expected = f.state;
        expected.label9Visible = false;
        f.Command1_Click();
        COMPARE_STATES(f.state, expected);
    }
    QVERIFY(f.state.formulaKey.empty());
}

void CheckCycle::nameFontFollowsTheChecker_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("startAtSmall"); // Start pressed while question 22 was shown
    for (int mode : {kTrainer, kTest}) {
        const char* name = mode == kTrainer ? "trainer" : "test";
        QTest::addRow("%s, fresh", name) << mode << false;
        QTest::addRow("%s, Start at 14 points", name) << mode << true;
    }
}

void CheckCycle::nameFontFollowsTheChecker() {
    QFETCH(int, mode);
    QFETCH(bool, startAtSmall);
    Form1 f = startedForm(mode);
    if (startAtSmall) {
        advanceTo(f, 22);
        QCOMPARE(f.state.label2FontPt, 14.0);
        f.Cmd3_Start_Click();
    }
    const double atStart = startAtSmall ? 14.0 : 18.0;
    QCOMPARE(f.state.label2FontPt, atStart); // Start leaves the size as it was
    for (int question = 2; question <= kLawCount; ++question) {
        f.Command1_Click();
        QCOMPARE(q(f.state.label3), QString::number(question));
        // Test mode sets 18 below question 22; trainer mode only ever sets 14 there.
        const double expected = question >= 22 ? 14.0 : (mode == kTest ? 18.0 : atStart);
        QCOMPARE(f.state.label2FontPt, expected);
    }
    f.Command1_Click();
    QCOMPARE(q(f.state.label2), kEnd);
    QCOMPARE(f.state.label2FontPt, 18.0);
}

void CheckCycle::wholeRunAsksEveryLawInOrder_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("rightEvery"); // law n answered right when n % rightEvery == 0
    for (int mode : {kTrainer, kTest})
        for (int every : {1, 3, 100})
            QTest::addRow("%s, right every %d", mode == kTrainer ? "trainer" : "test", every)
                << mode << every;
}

void CheckCycle::wholeRunAsksEveryLawInOrder() {
    QFETCH(int, mode);
    QFETCH(int, rightEvery);
    Form1 f = startedForm(mode);
    int right = 0, wrong = 0;
    for (int n = 1; n <= kLawCount; ++n) {
        QCOMPARE(f.state.label2, lawName(n));
        QCOMPARE(q(f.state.label3), QString::number(n));
        const bool answeredRight = n % rightEvery == 0;
        answer(f, mode, n, answeredRight);
        f.Command1_Click();
        QCOMPARE(q(f.state.text1), answeredRight ? kRight : kWrong);
        (answeredRight ? right : wrong) += 1;
        QCOMPARE(q(f.state.label4), QString::number(right));
        QCOMPARE(q(f.state.label5), QString::number(wrong));
    }
    QCOMPARE(right + wrong, kLawCount);
    QCOMPARE(q(f.state.label2), kEnd);
    QCOMPARE(f.state.label2FontPt, 18.0);
    QCOMPARE(q(f.state.label3), QStringLiteral("23"));
    QCOMPARE(q(f.state.text1), rightEvery == 1 ? kRight : kWrong); // the 23rd verdict stays

    answer(f, mode, 1, true); // a right answer to nothing: not counted
    f.Command1_Click();
    QCOMPARE(q(f.state.text1), QString());
    QCOMPARE(q(f.state.label2), kEnd);
    QCOMPARE(q(f.state.label3), QStringLiteral("23"));
    QCOMPARE(q(f.state.label4), QString::number(right));
    QCOMPARE(q(f.state.label5), QString::number(wrong));
}

void CheckCycle::overPhaseHoldsForAHundredThousandPresses_data() {
    checkBeforeStartOnlyHidesTheInstructions_data();
}

void CheckCycle::overPhaseHoldsForAHundredThousandPresses() {
    QFETCH(int, mode);
    Form1 f = startedForm(mode);
    for (int n = 1; n <= kLawCount; ++n) {
        answer(f, mode, n, n % 2 == 1);
        f.Command1_Click();
    }
    f.Command1_Click(); // the first press of the over phase
    const FormState over = f.state;
    QCOMPARE(q(over.label2), kEnd);
    QCOMPARE(q(over.label3), QStringLiteral("23"));
    QCOMPARE(q(over.label4), QStringLiteral("12"));
    QCOMPARE(q(over.label5), QStringLiteral("11"));
    QVERIFY(over.text1.empty());

    // Every later press leaves exactly this state; the counters never wrap or run off the table.
    int firstChange = 0;
    for (int press = 2; press <= 100000 && firstChange == 0; ++press) {
        f.Command1_Click();
        const FormState& s = f.state;
        const bool inRange = s.questionNumber >= 0 && s.questionNumber <= 25 && s.lawCursor >= -1 &&
                             s.lawCursor <= 47;
        if (!inRange || !(s == over)) firstChange = press;
    }
    QVERIFY2(firstChange == 0, qPrintable(QStringLiteral("press %1 of the over phase: %2")
                                              .arg(firstChange)
                                              .arg(stateDiff(f.state, over))));
    QCOMPARE(int(f.state.questionNumber), 25);
    QCOMPARE(int(f.state.lawCursor), 47);
    // The mode option and a new Start still work after all that.
    f.Cmd3_Start_Click();
    QCOMPARE(f.state.label2, lawName(1));
    QCOMPARE(q(f.state.label3), QStringLiteral("1"));
}

QTEST_APPLESS_MAIN(CheckCycle)
#include "tst_check_cycle.moc"
