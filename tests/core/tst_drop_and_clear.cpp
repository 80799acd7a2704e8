// Dropping symbols on the slot row, the key the row spells, the Clear button and what a screen
// reader hears for a slot.
#include "core_test_support.h"

#include "core/slot_speech.h"

#include <QTest>

#include <limits>
#include <set>

using namespace core_test;

namespace {

void perMode() {
    QTest::addColumn<Mode>("mode");
    QTest::newRow("trainer") << Mode::trainer;
    QTest::newRow("test") << Mode::test;
}

void perQuestion() {
    QTest::addColumn<int>("question");
    for (int n = 1; n <= kLawCount; ++n)
        QTest::addRow("question %d", n) << n;
}

} // namespace

class DropAndClear : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void everySymbolLandsOnEverySlot_data();
    void everySymbolLandsOnEverySlot();
    void laterDropReplacesEarlier();
    void dropReplacesDrawnAndHintPictures();
    void unknownTagsAndOtherSlotsChangeNothing_data();
    void unknownTagsAndOtherSlotsChangeNothing();
    void keyJoinsTagsLeftToRight();
    void clearBeforeStart_data() { perMode(); }
    void clearBeforeStart();
    void clearAfterTheTestIsOver_data() { perMode(); }
    void clearAfterTheTestIsOver();
    void trainerClearKeepsTheLeftSide_data() { perQuestion(); }
    void trainerClearKeepsTheLeftSide();
    void testClearEmptiesRowAndVerdict_data() { perQuestion(); }
    void testClearEmptiesRowAndVerdict();
    void clearThenRedropGivesTheNewKey();
    void slotsAreReadAloud();
};

void DropAndClear::everySymbolLandsOnEverySlot_data() {
    QTest::addColumn<QString>("tag");
    for (std::string_view tag : law_keys::kTags)
        QTest::newRow(tag.data()) << q(tag);
}

void DropAndClear::everySymbolLandsOnEverySlot() {
    QFETCH(QString, tag);
    const std::string t = tag.toStdString();
    for (int k = 1; k <= kSlotCount; ++k) {
        Form f = startedForm(Mode::test);
        FormState expected = f.state;
        expected.slot(k) = Slot{Picture::blue(glyphOf(t)), t};
        f.drop(k, t);
        COMPARE_STATES(f.state, expected);
        QCOMPARE(q(f.formulaKey()), tag);
    }
}

void DropAndClear::laterDropReplacesEarlier() {
    Form f = startedForm(Mode::test);
    f.drop(19, "imp");
    const FormState once = f.state;
    f.drop(19, "imp");
    COMPARE_STATES(f.state, once);
    QVERIFY(f.state.slot(19) == (Slot{Picture::blue(Glyph::implies), "imp"}));
    f.drop(19, "ekv");
    QVERIFY(f.state.slot(19) == (Slot{Picture::blue(Glyph::equivalent), "ekv"}));
    f.drop(19, "no_no_x");
    QVERIFY(f.state.slot(19) == (Slot{Picture::blue(Glyph::notNotX), "no_no_x"}));
    QCOMPARE(q(f.formulaKey()), QStringLiteral("no_no_x"));
}

void DropAndClear::dropReplacesDrawnAndHintPictures() {
    Form f = startedForm(Mode::trainer);
    f.hint(); // red y ∨ x in slots 5 to 7
    QVERIFY(f.state.slot(5).picture == Picture::red(Glyph::y));
    f.drop(1, "y"); // over the drawn x
    f.drop(5, "y"); // over the red y
    f.drop(6, "и"); // over the red ∨
    QVERIFY(f.state.slot(1) == (Slot{Picture::blue(Glyph::y), "y"}));
    QVERIFY(f.state.slot(5) == (Slot{Picture::blue(Glyph::y), "y"}));
    QVERIFY(f.state.slot(6) == (Slot{Picture::blue(Glyph::andSign), "и"}));
    QVERIFY(f.state.slot(7) == (Slot{Picture::red(Glyph::x), ""}));
    QVERIFY(f.state.slot(2) == (Slot{Picture::blue(Glyph::orSign), ""}));
    QCOMPARE(q(f.formulaKey()), QStringLiteral("yyи"));
}

void DropAndClear::unknownTagsAndOtherSlotsChangeNothing_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("k");
    const QStringList tags{"X",     "или ", " x",  "no_z", "",     "Y",
                           "ravno", "ИЛИ",  "x\t", "sozs", "равн", "xy"};
    for (const QString& tag : tags)
        for (int k : {1, 10, 19})
            QTest::newRow(qPrintable(QStringLiteral("'%1' on slot %2").arg(tag).arg(k)))
                << tag << k;
    // Slot numbers outside the row, up to the ends of int.
    constexpr int lowest = std::numeric_limits<int>::min(),
                  highest = std::numeric_limits<int>::max();
    for (int k : {0, -1, 20, 21, 35, -16, lowest, lowest + 1, highest, highest - 1})
        QTest::addRow("'x' on slot %d", k) << QStringLiteral("x") << k;
}

void DropAndClear::unknownTagsAndOtherSlotsChangeNothing() {
    QFETCH(QString, tag);
    QFETCH(int, k);
    for (Mode mode : {Mode::trainer, Mode::test}) {
        Form f = startedForm(mode);
        dropFrom(f, {"x", "или", "y"}, 9);
        f.hint();
        const FormState before = f.state;
        f.drop(k, tag.toStdString());
        COMPARE_STATES(f.state, before);
    }
}

void DropAndClear::keyJoinsTagsLeftToRight() {
    Form f = startedForm(Mode::test);
    QVERIFY(f.formulaKey().empty());
    f.drop(19, "y"); // dropped right to left: the key still reads left to right
    f.drop(1, "x");
    QCOMPARE(q(f.formulaKey()), QStringLiteral("xy"));
    f.clear();
    dropAt(f, {"x", "y"}, {5, 6});
    QCOMPARE(q(f.formulaKey()), QStringLiteral("xy"));
    f.clear();
    dropAt(f, {"sz", "равно", "no_i", "x"}, {18, 10, 3, 1});
    QCOMPARE(q(f.formulaKey()), QStringLiteral("xno_iравноsz"));

    // Drawn and red pictures carry no tag and add nothing.
    Form t = startedForm(Mode::trainer);
    t.hint();
    QVERIFY(t.formulaKey().empty());
    dropAt(t, {"x", "или"}, {9, 12});
    QCOMPARE(q(t.formulaKey()), QStringLiteral("xили"));
}

void DropAndClear::clearBeforeStart() {
    QFETCH(Mode, mode);
    Form f = loadedForm();
    f.selectMode(mode);
    dropFrom(f, {"x", "и", "y"}, 4);
    f.hint();
    f.state.verdict = "не правильно"; // as if a verdict were showing
    const FormState before = f.state;
    f.clear();
    if (mode == Mode::trainer) {
        COMPARE_STATES(f.state, before); // no question yet: nothing to keep or to blank
    } else {
        FormState expected = before;
        expected.row.fill(Slot{Picture::blank(), ""});
        expected.verdict.clear();
        COMPARE_STATES(f.state, expected);
    }
}

void DropAndClear::clearAfterTheTestIsOver() {
    QFETCH(Mode, mode);
    Form f = startedForm(mode);
    advanceTo(f, 24);
    for (int over = 0; over < 2; ++over) { // right after the 23rd answer, and one press later
        dropFrom(f, {"x", "или"}, 17);
        if (over == 0) QVERIFY(!f.state.verdict.empty());
        const FormState before = f.state;
        f.clear();
        FormState expected = before;
        if (mode == Mode::test) {
            expected.row.fill(Slot{Picture::blank(), ""});
            expected.verdict.clear();
        }
        COMPARE_STATES(f.state, expected);
        f.check();
    }
}

void DropAndClear::trainerClearKeepsTheLeftSide() {
    QFETCH(int, question);
    Form f = startedForm(Mode::trainer);
    advanceTo(f, question);
    // The kept count is the left-hand side with its "равно", read off the catalogue key.
    const int kept = int(leftSideTags(question).size());
    f.hint();
    for (int k = kept + 1; k <= kSlotCount; ++k)
        f.drop(k, k % 2 ? "z" : "ekv");
    f.drop(1, "no_y"); // the pupil's symbol on a drawn slot stays
    const FormState before = f.state;
    QCOMPARE(q(before.verdict), question == 1 ? QString() : QStringLiteral("не правильно"));

    f.clear();
    FormState expected = before;
    expected.row = predrawnRow(question);
    expected.slot(1) = Slot{Picture::blue(Glyph::notY), "no_y"};
    COMPARE_STATES(f.state, expected);
    QCOMPARE(q(f.formulaKey()), QStringLiteral("no_y"));
}

void DropAndClear::testClearEmptiesRowAndVerdict() {
    QFETCH(int, question);
    Form f = startedForm(Mode::test);
    advanceTo(f, question);
    dropFrom(f, lawTags(11), 3); // a formula of nine symbols
    const FormState before = f.state;
    QCOMPARE(before.verdict.empty(), question == 1);
    f.clear();
    FormState expected = before;
    expected.row.fill(Slot{Picture::blank(), ""});
    expected.verdict.clear();
    COMPARE_STATES(f.state, expected);
    QVERIFY(f.formulaKey().empty());
}

void DropAndClear::clearThenRedropGivesTheNewKey() {
    Form f = startedForm(Mode::trainer);
    dropFrom(f, {"y", "или", "x", "или", "x"}, 5);
    f.clear();
    dropFrom(f, {"y", "или", "x"}, 5);
    QCOMPARE(q(f.formulaKey()), QStringLiteral("yилиx"));
    QVERIFY(f.state.slot(8) == (Slot{Picture::blank(), ""}));
}

void DropAndClear::slotsAreReadAloud() {
    Form f = startedForm(Mode::trainer);
    QCOMPARE(q(slotSpokenName(7, f.state.slot(7))), QStringLiteral("Ячейка 7: пусто"));
    QCOMPARE(q(slotSpokenName(7, Slot{})), QStringLiteral("Ячейка 7: пусто"));
    f.drop(7, "y");
    QCOMPARE(q(slotSpokenName(7, f.state.slot(7))), QStringLiteral("Ячейка 7: y"));
    // A drawn left-hand side is read by its picture.
    QCOMPARE(q(slotSpokenName(1, f.state.slot(1))), QStringLiteral("Ячейка 1: x"));
    QCOMPARE(q(slotSpokenName(2, f.state.slot(2))), QStringLiteral("Ячейка 2: или"));
    // Every dropped symbol is read by a name of its own.
    std::set<QString> said;
    for (std::string_view tag : law_keys::kTags) {
        Form g = startedForm(Mode::test);
        g.drop(3, tag);
        said.insert(q(slotSpokenName(3, g.state.slot(3))));
    }
    QCOMPARE(said.size(), std::size_t(17));
    for (const char* name : {"x", "не x", "не не x", "открывающая скобка", "закрывающая скобка",
                             "или под чертой отрицания", "и под чертой отрицания", "импликация",
                             "эквиваленция", "равно", "ноль", "один"})
        QVERIFY2(said.count(QStringLiteral("Ячейка 3: ") + QString::fromUtf8(name)), name);
    // A red hint is not a symbol of the formula, and says so.
    f.hint();
    const QString hint = q(slotSpokenName(5, f.state.slot(5)));
    QVERIFY2(hint.startsWith(QStringLiteral("Ячейка 5: ")) &&
                 hint != QStringLiteral("Ячейка 5: y") &&
                 hint.contains(QStringLiteral("подсказка")) && hint.contains(QLatin1Char('y')),
             qPrintable(hint));
    // Under a hint the dropped symbol is what the formula holds, and it is named.
    f.drop(6, "so");
    f.hint();
    const QString coveredDrop = q(slotSpokenName(6, f.state.slot(6)));
    QVERIFY2(coveredDrop.contains(QStringLiteral("открывающая скобка")), qPrintable(coveredDrop));
}

QTEST_APPLESS_MAIN(DropAndClear)
#include "tst_drop_and_clear.moc"
