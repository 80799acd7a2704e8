// The hint button: the expected right-hand side in red pictures that carry no tag.
#include "core_test_support.h"

#include "check/accepted_keys.h"

#include <QTest>

using namespace core_test;

namespace {

// The state a hint press should leave: the right-hand side's red twins after the left-hand side.
FormState withHint(FormState s, int question) {
    const Tags rhs = rightSideTags(question);
    const int first = int(leftSideTags(question).size()) + 1;
    for (std::size_t i = 0; i < rhs.size(); ++i)
        slotAt(s, first + int(i)).picture = Picture::red(symbol(rhs[i]).glyph);
    if (question > 2) s.label9Visible = false;
    s.hintPresses = static_cast<std::int16_t>(s.hintPresses + 1);
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
    Form1 f = startedForm(kTrainer);
    advanceTo(f, question);
    const int first = int(leftSideTags(question).size()) + 1;
    const std::size_t length = rightSideTags(question).size();
    // A pupil's symbol before the hint's run and one inside it; the instructions shown again.
    f.Image_DragDrop(16, "z");
    f.Image_DragDrop(kFirstSlotImage - 1 + first, "ekv");
    f.state.label9Visible = true;
    const FormState before = f.state;

    f.Command3_Click();
    FormState expected = withHint(before, question);
    COMPARE_STATES(f.state, expected);
    QCOMPARE(f.state.label9Visible, question <= 2);
    QCOMPARE(q(f.FormulaKey()), QStringLiteral("zekv")); // tags untouched, red adds nothing

    // Pressing again redraws the same pictures.
    f.Command3_Click();
    expected.hintPresses = static_cast<std::int16_t>(expected.hintPresses + 1);
    COMPARE_STATES(f.state, expected);

    // On a row with no other tag, the blue twins dropped on the red pictures spell the accepted
    // right-hand side.
    Form1 g = startedForm(kTrainer);
    advanceTo(g, question);
    g.Command3_Click();
    for (std::size_t i = 0; i < length; ++i) {
        const Slot& red = slotAt(g.state, first + int(i));
        QCOMPARE(red.picture.ink, Picture::Ink::red);
        for (const SymbolFact& s : kSymbols)
            if (s.glyph == red.picture.glyph)
                g.Image_DragDrop(kFirstSlotImage - 1 + first + int(i), s.tag);
    }
    QCOMPARE(q(g.FormulaKey()), q(rightSideKeys[std::size_t(question - 1)]));
    g.Command1_Click();
    QCOMPARE(q(g.state.text1), QStringLiteral("правильно"));
}

void Hint::drawsNothingWithoutAQuestion() {
    // Before the first Start.
    Form1 f = loadedForm();
    dropFrom(f, {"x", "или"}, 4);
    FormState expected = f.state;
    f.Command3_Click();
    expected.hintPresses = 1;
    COMPARE_STATES(f.state, expected);

    // After the test: nothing drawn, the instructions hidden (question 24 and beyond is above 2).
    for (int mode : {kTrainer, kTest}) {
        Form1 g = startedForm(mode);
        advanceTo(g, 24);
        for (int press = 0; press < 2; ++press) {
            g.state.label9Visible = true;
            expected = g.state;
            g.Command3_Click();
            expected.label9Visible = false;
            expected.hintPresses = static_cast<std::int16_t>(expected.hintPresses + 1);
            COMPARE_STATES(g.state, expected);
            g.Command1_Click();
        }
    }

    // On an emptied row (a mode option was clicked) the hint lands in the same slots.
    Form1 t = startedForm(kTrainer);
    advanceTo(t, 13);
    t.SelectOption1(kTest);
    t.SelectOption1(kTrainer);
    t.Command3_Click();
    QVERIFY(slotAt(t.state, 12) == (Slot{Picture::blank(), ""}));
    QVERIFY(slotAt(t.state, 13) == (Slot{Picture::red(Glyph::y), ""}));
}

void Hint::keepsWorkingAfterAHundredThousandPresses() {
    Form1 f = startedForm(kTrainer);
    int firstNegative = 0;
    for (int press = 1; press <= 100000; ++press) {
        f.Command3_Click();
        if (f.state.hintPresses < 0 && firstNegative == 0) firstNegative = press;
    }
    QCOMPARE(firstNegative, 0);
    QCOMPARE(int(f.state.hintPresses), 32767);
    f.Command2_Click();
    QVERIFY(f.state.slotRow == predrawnRow(1));
    const FormState before = f.state;
    f.Command3_Click();
    FormState expected = withHint(before, 1);
    expected.hintPresses = 32767;
    COMPARE_STATES(f.state, expected);
    QVERIFY(slotAt(f.state, 5).picture == Picture::red(Glyph::y));
    QVERIFY(slotAt(f.state, 6).picture == Picture::red(Glyph::ili));
    QVERIFY(slotAt(f.state, 7).picture == Picture::red(Glyph::x));
}

QTEST_APPLESS_MAIN(Hint)
#include "tst_hint.moc"
