// Dropping symbols on the slot row, the key the row spells, the Clear button and what a screen
// reader hears for a slot.
#include "core_test_support.h"

#include "board/slot_speech.h"

#include <QTest>
#include <limits>

using namespace core_test;

namespace {

void perMode() {
    QTest::addColumn<int>("mode");
    QTest::newRow("trainer") << kTrainer;
    QTest::newRow("test") << kTest;
}

} // namespace

class DropAndClear : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void everySymbolLandsOnEverySlot_data();
    void everySymbolLandsOnEverySlot();
    void laterDropReplacesEarlier();
    void dropReplacesDrawnAndHintPictures();
    void unknownTagsAndOtherTargetsChangeNothing_data();
    void unknownTagsAndOtherTargetsChangeNothing();
    void keyJoinsTagsLeftToRight();
    void clearBeforeStart_data() { perMode(); }
    void clearBeforeStart();
    void clearAfterTheTestIsOver_data() { perMode(); }
    void clearAfterTheTestIsOver();
    void trainerClearKeepsTheLeftSide_data();
    void trainerClearKeepsTheLeftSide();
    void testClearEmptiesRowAndVerdict_data();
    void testClearEmptiesRowAndVerdict();
    void clearThenRedropGivesTheNewKey();
    void slotsAreReadAloud();
};

void DropAndClear::everySymbolLandsOnEverySlot_data() {
    QTest::addColumn<QString>("tag");
    for (const SymbolFact& s : kSymbols)
        QTest::newRow(s.tag.data()) << q(s.tag);
}

void DropAndClear::everySymbolLandsOnEverySlot() {
    QFETCH(QString, tag);
    const SymbolFact& s = symbol(tag.toStdString());
    for (int k = 1; k <= kSlotCount; ++k) {
        Form1 f = startedForm(kTest);
        FormState expected = f.state;
        slotAt(expected, k) = Slot{Picture::blue(s.glyph), std::string(s.tag)};
        f.Image_DragDrop(kFirstSlotImage - 1 + k, s.tag);
        COMPARE_STATES(f.state, expected);
        QVERIFY(slotAt(f.state, k).picture == palettePicture(s.paletteImage));
        QCOMPARE(q(f.FormulaKey()), tag);
    }
}

void DropAndClear::laterDropReplacesEarlier() {
    Form1 f = startedForm(kTest);
    f.Image_DragDrop(34, "imp");
    const FormState once = f.state;
    f.Image_DragDrop(34, "imp");
    COMPARE_STATES(f.state, once);
    QVERIFY(slotAt(f.state, 19) == (Slot{Picture::blue(Glyph::imp), "imp"}));
    f.Image_DragDrop(34, "ekv");
    QVERIFY(slotAt(f.state, 19) == (Slot{Picture::blue(Glyph::ekv), "ekv"}));
    f.Image_DragDrop(34, "no_no_x");
    QVERIFY(slotAt(f.state, 19) == (Slot{Picture::blue(Glyph::no_no_x), "no_no_x"}));
    QCOMPARE(q(f.FormulaKey()), QStringLiteral("no_no_x"));
}

void DropAndClear::dropReplacesDrawnAndHintPictures() {
    Form1 f = startedForm(kTrainer);
    f.Command3_Click(); // red y ∨ x in slots 5 to 7
    QVERIFY(slotAt(f.state, 5).picture == Picture::red(Glyph::y));
    f.Image_DragDrop(16, "y"); // over the drawn x
    f.Image_DragDrop(20, "y"); // over the red y
    f.Image_DragDrop(21, "и"); // over the red ∨
    QVERIFY(slotAt(f.state, 1) == (Slot{Picture::blue(Glyph::y), "y"}));
    QVERIFY(slotAt(f.state, 5) == (Slot{Picture::blue(Glyph::y), "y"}));
    QVERIFY(slotAt(f.state, 6) == (Slot{Picture::blue(Glyph::i), "и"}));
    QVERIFY(slotAt(f.state, 7) == (Slot{Picture::red(Glyph::x), ""}));
    QVERIFY(slotAt(f.state, 2) == (Slot{Picture::blue(Glyph::ili), ""}));
    QCOMPARE(q(f.FormulaKey()), QStringLiteral("yyи"));
}

void DropAndClear::unknownTagsAndOtherTargetsChangeNothing_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("image");
    const QStringList tags{"X",     "или ", " x",  "no_z", "",     "Y",
                           "ravno", "ИЛИ",  "x\t", "sozs", "равн", "xy"};
    for (const QString& tag : tags)
        for (int image : {16, 25, 34})
            QTest::newRow(qPrintable(QStringLiteral("'%1' on Image%2").arg(tag).arg(image)))
                << tag << image;
    // Targets outside the row: palette, blank and hint images, nothing at all, and numbers so
    // far off that working out a slot number from them would overflow.
    constexpr int lowest = std::numeric_limits<int>::min(),
                  highest = std::numeric_limits<int>::max();
    for (int image :
         {0, 1, 15, 35, 36, 37, 38, 48, -16, lowest, lowest + 15, highest, highest - 15})
        QTest::addRow("'x' on Image%d", image) << QStringLiteral("x") << image;
}

void DropAndClear::unknownTagsAndOtherTargetsChangeNothing() {
    QFETCH(QString, tag);
    QFETCH(int, image);
    for (int mode : {kTrainer, kTest}) {
        Form1 f = startedForm(mode);
        dropFrom(f, {"x", "или", "y"}, 9);
        f.Command3_Click();
        const FormState before = f.state;
        f.Image_DragDrop(image, tag.toStdString());
        COMPARE_STATES(f.state, before);
    }
}

void DropAndClear::keyJoinsTagsLeftToRight() {
    Form1 f = startedForm(kTest);
    QVERIFY(f.FormulaKey().empty());
    f.Image_DragDrop(34, "y"); // dropped right to left: the key still reads left to right
    f.Image_DragDrop(16, "x");
    QCOMPARE(q(f.FormulaKey()), QStringLiteral("xy"));
    f.Command2_Click();
    dropAt(f, {"x", "y"}, {5, 6});
    QCOMPARE(q(f.FormulaKey()), QStringLiteral("xy"));
    f.Command2_Click();
    dropAt(f, {"sz", "равно", "no_i", "x"}, {18, 10, 3, 1});
    QCOMPARE(q(f.FormulaKey()), QStringLiteral("xno_iравноsz"));

    // Drawn and red pictures carry no tag and add nothing.
    Form1 t = startedForm(kTrainer);
    t.Command3_Click();
    QVERIFY(t.FormulaKey().empty());
    dropAt(t, {"x", "или"}, {9, 12});
    QCOMPARE(q(t.FormulaKey()), QStringLiteral("xили"));
}

void DropAndClear::clearBeforeStart() {
    QFETCH(int, mode);
    Form1 f = loadedForm();
    f.SelectOption1(mode);
    dropFrom(f, {"x", "и", "y"}, 4);
    f.Command3_Click();
    f.state.text1 = "не правильно"; // as if a verdict were showing
    const FormState before = f.state;
    f.Command2_Click();
    if (mode == kTrainer) {
        COMPARE_STATES(f.state, before); // no question yet: nothing to keep or to blank
    } else {
        FormState expected = before;
        expected.slotRow.fill(Slot{Picture::blank(), ""});
        expected.text1.clear();
        COMPARE_STATES(f.state, expected);
    }
}

void DropAndClear::clearAfterTheTestIsOver() {
    QFETCH(int, mode);
    Form1 f = startedForm(mode);
    advanceTo(f, 24);
    for (int over = 0; over < 2; ++over) { // right after the 23rd answer, and one press later
        dropFrom(f, {"x", "или"}, 17);
        if (over == 0) QVERIFY(!f.state.text1.empty());
        const FormState before = f.state;
        f.Command2_Click();
        FormState expected = before;
        if (mode == kTest) {
            expected.slotRow.fill(Slot{Picture::blank(), ""});
            expected.text1.clear();
        }
        COMPARE_STATES(f.state, expected);
        f.Command1_Click();
    }
}

void DropAndClear::trainerClearKeepsTheLeftSide_data() {
    QTest::addColumn<int>("question");
    for (int n = 1; n <= kLawCount; ++n)
        QTest::addRow("question %d", n) << n;
}

void DropAndClear::trainerClearKeepsTheLeftSide() {
    QFETCH(int, question);
    Form1 f = startedForm(kTrainer);
    advanceTo(f, question);
    // The kept count is the left-hand side with its "равно", read off the catalogue key.
    const int kept = int(leftSideTags(question).size());
    f.Command3_Click();
    for (int k = kept + 1; k <= kSlotCount; ++k)
        f.Image_DragDrop(kFirstSlotImage - 1 + k, k % 2 ? "z" : "ekv");
    f.Image_DragDrop(16, "no_y"); // the pupil's symbol on a drawn slot stays
    const FormState before = f.state;
    QCOMPARE(q(before.text1), question == 1 ? QString() : QStringLiteral("не правильно"));

    f.Command2_Click();
    FormState expected = before;
    expected.slotRow = predrawnRow(question);
    slotAt(expected, 1) = Slot{Picture::blue(Glyph::no_y), "no_y"};
    COMPARE_STATES(f.state, expected);
    QCOMPARE(q(f.FormulaKey()), QStringLiteral("no_y"));
}

void DropAndClear::testClearEmptiesRowAndVerdict_data() {
    trainerClearKeepsTheLeftSide_data();
}

void DropAndClear::testClearEmptiesRowAndVerdict() {
    QFETCH(int, question);
    Form1 f = startedForm(kTest);
    advanceTo(f, question);
    dropFrom(f, lawTags(11), 3); // a formula of nine symbols
    const FormState before = f.state;
    QCOMPARE(before.text1.empty(), question == 1);
    f.Command2_Click();
    FormState expected = before;
    expected.slotRow.fill(Slot{Picture::blank(), ""});
    expected.text1.clear();
    COMPARE_STATES(f.state, expected);
    QVERIFY(f.FormulaKey().empty());
}

void DropAndClear::clearThenRedropGivesTheNewKey() {
    Form1 f = startedForm(kTrainer);
    dropFrom(f, {"y", "или", "x", "или", "x"}, 5);
    f.Command2_Click();
    dropFrom(f, {"y", "или", "x"}, 5);
    QCOMPARE(q(f.FormulaKey()), QStringLiteral("yилиx"));
    QVERIFY(slotAt(f.state, 8) == (Slot{Picture::blank(), ""}));
}

void DropAndClear::slotsAreReadAloud() {
    Form1 f = startedForm(kTrainer);
    QCOMPARE(q(slotSpokenName(7, slotAt(f.state, 7))), QStringLiteral("Ячейка 7: пусто"));
    QCOMPARE(q(slotSpokenName(7, Slot{})), QStringLiteral("Ячейка 7: пусто"));
    f.Image_DragDrop(22, "y");
    QCOMPARE(q(slotSpokenName(7, slotAt(f.state, 7))), QStringLiteral("Ячейка 7: y"));
    // A drawn left-hand side is read by its picture.
    QCOMPARE(q(slotSpokenName(1, slotAt(f.state, 1))), QStringLiteral("Ячейка 1: x"));
    for (const SymbolFact& s : kSymbols) {
        const Slot dropped{Picture::blue(s.glyph), std::string(s.tag)};
        QCOMPARE(q(slotSpokenName(3, dropped)),
                 QStringLiteral("Ячейка 3: ") + q(glyphSpokenName(s.glyph)));
    }
    // A red hint is not a symbol of the formula, and says so.
    f.Command3_Click();
    const QString hint = q(slotSpokenName(5, slotAt(f.state, 5)));
    QVERIFY2(hint.startsWith(QStringLiteral("Ячейка 5: ")) &&
                 hint != QStringLiteral("Ячейка 5: y") &&
                 hint.contains(QStringLiteral("подсказка")) && hint.contains(QLatin1Char('y')),
             qPrintable(hint));
    // Under a hint the dropped symbol is what the formula holds, and it is named.
    f.Image_DragDrop(21, "so");
    f.Command3_Click();
    const QString coveredDrop = q(slotSpokenName(6, slotAt(f.state, 6)));
    QVERIFY2(coveredDrop.contains(QStringLiteral("открывающая скобка")), qPrintable(coveredDrop));
}

QTEST_APPLESS_MAIN(DropAndClear)
#include "tst_drop_and_clear.moc"
