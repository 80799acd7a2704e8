// The hint button: the expected right-hand side in red pictures that carry no tag.
#include "core_test_support.h"

#include <QTest>

using namespace core_test;

namespace {

// The state a hint press should leave: the right-hand side in red from the slot after "=".
FormState withHint(FormState s, int question) {
    const Tags rhs = rightSideTags(question);
    const int first = int(leftSideTags(question).size()) + 1;
    for (std::size_t i = 0; i < rhs.size(); ++i)
        s.slot(first + int(i)).picture = Picture::red(glyphOf(rhs[i]));
    if (question > 2) s.instructionsVisible = false;
    s.hintPresses += 1;
    return s;
}

} // namespace

class Hint : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void drawsTheRightSideInRed_data();
    void drawsTheRightSideInRed();
    void drawsNothingWithoutAQuestion();
    void keepsWorkingAfterAHundredThousandPresses();
};

void Hint::drawsTheRightSideInRed_data() {
    QTest::addColumn<int>("question");
    for (int n = 1; n <= kLawCount; ++n)
        QTest::addRow("question %d", n) << n;
}

void Hint::drawsTheRightSideInRed() {
    QFETCH(int, question);
    Form f = startedForm(Mode::trainer);
    advanceTo(f, question);
    const int first = int(leftSideTags(question).size()) + 1;
    const std::size_t length = rightSideTags(question).size();
    // A pupil's symbol before the hint's run and one inside it; the instructions shown again.
    f.drop(1, "z");
    f.drop(first, "ekv");
    f.state.instructionsVisible = true;
    const FormState before = f.state;

    f.hint();
    FormState expected = withHint(before, question);
    COMPARE_STATES(f.state, expected);
    QCOMPARE(f.state.instructionsVisible, question <= 2);
    QCOMPARE(q(f.formulaKey()), QStringLiteral("zekv")); // tags untouched, red adds nothing

    // Pressing again redraws the same pictures.
    f.hint();
    expected.hintPresses += 1;
    COMPARE_STATES(f.state, expected);

    // On a row with no other tag, the blue twins dropped on the red pictures spell the accepted
    // right-hand side.
    Form g = startedForm(Mode::trainer);
    advanceTo(g, question);
    g.hint();
    for (std::size_t i = 0; i < length; ++i) {
        const Slot& red = g.state.slot(first + int(i));
        QCOMPARE(red.picture.ink, Picture::Ink::red);
        g.drop(first + int(i), law_keys::tagOf(red.picture.glyph));
    }
    QCOMPARE(q(g.formulaKey()), q(law_keys::joinTags(rightSideTags(question))));
    g.check();
    QCOMPARE(q(g.state.verdict), QStringLiteral("правильно"));
}

void Hint::drawsNothingWithoutAQuestion() {
    // Before the first Start.
    Form f = loadedForm();
    dropFrom(f, {"x", "или"}, 4);
    FormState expected = f.state;
    f.hint();
    expected.hintPresses = 1;
    COMPARE_STATES(f.state, expected);

    // After the test: nothing drawn, the instructions hidden (question 24 and beyond is above 2).
    for (Mode mode : {Mode::trainer, Mode::test}) {
        Form g = startedForm(mode);
        advanceTo(g, 24);
        for (int press = 0; press < 2; ++press) {
            g.state.instructionsVisible = true;
            expected = g.state;
            g.hint();
            expected.instructionsVisible = false;
            expected.hintPresses += 1;
            COMPARE_STATES(g.state, expected);
            g.check();
        }
    }

    // A mode change ends the run: the hint has no question to draw until the next Start.
    Form t = startedForm(Mode::trainer);
    advanceTo(t, 13);
    t.selectMode(Mode::test);
    t.selectMode(Mode::trainer);
    const FormState beforeHint = t.state;
    t.hint();
    FormState afterHint = beforeHint;
    afterHint.hintPresses = beforeHint.hintPresses + 1;
    COMPARE_STATES(t.state, afterHint);
}

void Hint::keepsWorkingAfterAHundredThousandPresses() {
    Form f = startedForm(Mode::trainer);
    int firstNegative = 0;
    for (int press = 1; press <= 100000; ++press) {
        f.hint();
        if (f.state.hintPresses < 0 && firstNegative == 0) firstNegative = press;
    }
    QCOMPARE(firstNegative, 0);
    QCOMPARE(f.state.hintPresses, 32767);
    f.clear();
    QVERIFY(f.state.row == predrawnRow(1));
    const FormState before = f.state;
    f.hint();
    FormState expected = withHint(before, 1);
    expected.hintPresses = 32767;
    COMPARE_STATES(f.state, expected);
    QVERIFY(f.state.slot(5).picture == Picture::red(Glyph::y));
    QVERIFY(f.state.slot(6).picture == Picture::red(Glyph::orSign));
    QVERIFY(f.state.slot(7).picture == Picture::red(Glyph::x));
}

QTEST_APPLESS_MAIN(Hint)
#include "tst_hint.moc"
