// The window before and after loading, the mode options, Start and the rules box.
#include "core_test_support.h"

#include <QTest>

#include <set>

using namespace core_test;

namespace {

const QString kTrainerInstructions = QStringLiteral("1. Напишите формулу после знака равенства.") +
                                     "\r\n" +
                                     QStringLiteral(" 2. Можно использовать кнопку Подсказка.") +
                                     "\r\n" + QStringLiteral(" 3. Нажмите кнопку Проверка.");
const QString kTestInstructions = QStringLiteral("1. Напишите формулу в строке ввода.") + "\r\n" +
                                  QStringLiteral(" 2. Нажмите кнопку Проверка.");

void verifyRowEmpty(const FormState& s) {
    for (int k = 1; k <= kSlotCount; ++k) {
        QVERIFY2(slotAt(s, k).picture == Picture::blank(), qPrintable(QString::number(k)));
        QVERIFY(slotAt(s, k).tag.empty());
    }
}

// The run variables alone, to show what a mode change leaves alone.
auto runVariables(const FormState& s) {
    return std::tuple(s.runStarted, s.questionNumber, s.lawCursor, s.rightCount, s.wrongCount,
                      s.hintPresses, s.formulaKey, s.lawTable);
}

// A run at question 12 with 5 right and 6 wrong answers.
Form1 atQuestion12(int mode) {
    Form1 f = startedForm(mode);
    for (int n = 1; n <= 11; ++n) {
        f.Command2_Click();
        if (n <= 5)
            dropFrom(f, mode == kTrainer ? rightSideTags(n) : lawTags(n),
                     mode == kTrainer ? int(leftSideTags(n).size()) + 1 : 1);
        f.Command1_Click();
    }
    return f;
}

} // namespace

class StartAndModes : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void asCreatedNothingIsShown();
    void loadSelectsTrainerAndInvitesToStart();
    void modeOptionsSwitchTheHintAndResetTheDisplay_data();
    void modeOptionsSwitchTheHintAndResetTheDisplay();
    void clickingTheSelectedOptionChangesNothing();
    void startShowsLawOneAndTheInstructions_data();
    void startShowsLawOneAndTheInstructions();
    void instructionColourIsDrawnAtEachStart();
    void startMidRunBeginsAgain_data();
    void startMidRunBeginsAgain();
    void startResetsTheHintCounter();
    void lawTableHoldsNamesAndKeys();
    void modeChangeMidRunGoesOnUnderTheNewChecker();
    void rulesBoxTextIsExactAndChangesNothing();
};

void StartAndModes::asCreatedNothingIsShown() {
    const Form1 f;
    const FormState& s = f.state;
    QVERIFY(!s.option1[0] && !s.option1[1]);
    for (const std::string* label :
         {&s.label2, &s.label3, &s.label4, &s.label5, &s.label6, &s.label9, &s.text1})
        QVERIFY(label->empty());
    for (int k = 1; k <= kSlotCount; ++k)
        QVERIFY(slotAt(s, k) == (Slot{Picture::nothing(), ""}));
    QVERIFY(!s.runStarted);
    QCOMPARE(s.hintPresses, 0);
    for (const std::string& entry : s.lawTable)
        QVERIFY(entry.empty());
}

void StartAndModes::loadSelectsTrainerAndInvitesToStart() {
    const Form1 f = loadedForm();
    const FormState& s = f.state;
    QCOMPARE(s.workMode, 0);
    QVERIFY(s.option1[0] && !s.option1[1]);
    QVERIFY(s.command3Visible && s.command3Enabled);
    QCOMPARE(q(s.label6), QStringLiteral("  Для начала работы нажмите кнопку Старт"));
    QCOMPARE(s.label6BackColor, ColorValue(0x00FFFF00));
    QVERIFY(s.label6Visible);
    QCOMPARE(q(s.label3), QStringLiteral("1"));
    QCOMPARE(q(s.label4), QStringLiteral("0"));
    QCOMPARE(q(s.label5), QStringLiteral("0"));
    QVERIFY(s.label2.empty());
    QVERIFY(s.label9Visible && s.label9.empty());
    QVERIFY(!s.runStarted);
    QVERIFY(s.text1.empty());
    verifyRowEmpty(s);
}

void StartAndModes::modeOptionsSwitchTheHintAndResetTheDisplay_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("checks"); // presses of Check after Start; -1: no Start
    for (int from : {kTrainer, kTest}) {
        const int to = 1 - from;
        const char* name = from == kTrainer ? "trainer to test" : "test to trainer";
        QTest::addRow("%s, before Start", name) << from << to << -1;
        QTest::addRow("%s, right after Start", name) << from << to << 0;
        QTest::addRow("%s, mid-run", name) << from << to << 2;
    }
}

void StartAndModes::modeOptionsSwitchTheHintAndResetTheDisplay() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, checks);
    Form1 f = loadedForm();
    f.SelectOption1(from);
    if (checks >= 0) {
        f.Cmd3_Start_Click();
        f.Command3_Click();
        dropFrom(f, {"y", "или", "x"}, 5);
        for (int i = 0; i < checks; ++i)
            f.Command1_Click();
    }
    dropFrom(f, {"y", "z"}, 1);
    const FormState before = f.state;

    f.SelectOption1(to);
    const FormState& s = f.state;
    QCOMPARE(int(s.workMode), to);
    QCOMPARE(s.option1[0], to == kTrainer);
    QCOMPARE(s.option1[1], to == kTest);
    QCOMPARE(s.command3Visible, to == kTrainer);
    QCOMPARE(s.command3Enabled, to == kTrainer);
    QVERIFY(s.label6Visible);
    verifyRowEmpty(s);
    QVERIFY(s.text1.empty());
    QCOMPARE(q(s.label3), QStringLiteral("1"));
    QCOMPARE(q(s.label4), QStringLiteral("0"));
    QCOMPARE(q(s.label5), QStringLiteral("0"));
    QCOMPARE(s.label2, before.lawTable[1]);
    QVERIFY(runVariables(s) == runVariables(before));
    QCOMPARE(s.label9, before.label9);
    QCOMPARE(s.label9Visible, before.label9Visible);
    QCOMPARE(s.label9BackColor, before.label9BackColor);
    QCOMPARE(s.label2FontPt, before.label2FontPt);
}

void StartAndModes::clickingTheSelectedOptionChangesNothing() {
    for (int mode : {kTrainer, kTest}) {
        Form1 f = startedForm(mode);
        dropFrom(f, {"x", "или", "y"}, 12);
        f.Command1_Click();
        dropFrom(f, {"z"}, 19);
        const FormState before = f.state;
        f.SelectOption1(mode);
        COMPARE_STATES(f.state, before);
        f.SelectOption1(2);
        f.SelectOption1(-1);
        COMPARE_STATES(f.state, before);
    }
}

void StartAndModes::startShowsLawOneAndTheInstructions_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("trainer") << kTrainer;
    QTest::newRow("test") << kTest;
}

void StartAndModes::startShowsLawOneAndTheInstructions() {
    QFETCH(int, mode);
    Form1 f = loadedForm();
    f.SelectOption1(mode);
    dropFrom(f, {"z", "z"}, 3);
    f.Cmd3_Start_Click();
    const FormState& s = f.state;
    QVERIFY(s.runStarted);
    QCOMPARE(q(s.label2), QStringLiteral("Переместительный закон для ИЛИ"));
    QCOMPARE(q(s.label3), QStringLiteral("1"));
    QCOMPARE(q(s.label4), QStringLiteral("0"));
    QCOMPARE(q(s.label5), QStringLiteral("0"));
    QVERIFY(!s.label6Visible);
    QVERIFY(s.label9Visible);
    QCOMPARE(q(s.label9), mode == kTrainer ? kTrainerInstructions : kTestInstructions);
    QVERIFY(!q(s.label9).endsWith(QStringLiteral("\r\n")));
    QCOMPARE(int(q(s.label9).count(QStringLiteral("\r\n"))), mode == kTrainer ? 2 : 1);
    if (mode == kTrainer) {
        QVERIFY(s.slotRow == predrawnRow(1));
        QVERIFY(slotAt(s, 1).picture == Picture::blue(Glyph::x));
        QVERIFY(slotAt(s, 2).picture == Picture::blue(Glyph::ili));
        QVERIFY(slotAt(s, 3).picture == Picture::blue(Glyph::y));
        QVERIFY(slotAt(s, 4).picture == Picture::blue(Glyph::ravno));
    } else {
        verifyRowEmpty(s);
    }
    QVERIFY(f.FormulaKey().empty());
    QVERIFY(s.text1.empty());
}

void StartAndModes::instructionColourIsDrawnAtEachStart() {
    std::uint64_t seed = 1;
    int seedings = 0;
    Form1 f = loadedForm();
    f.clockSeed = [&] {
        ++seedings;
        return seed;
    };
    f.Cmd3_Start_Click();
    const ColorValue first = f.state.label9BackColor;
    f.Cmd3_Start_Click();
    QCOMPARE(seedings, 2);
    QCOMPARE(f.state.label9BackColor, first); // re-seeded with the same value: same colour

    std::set<ColorValue> colours{first};
    for (seed = 2; seed <= 40; ++seed) {
        const ColorValue previous = f.state.label9BackColor;
        f.SelectOption1(int(seed % 2));
        f.Cmd3_Start_Click();
        const ColorValue c = f.state.label9BackColor;
        QVERIFY(c <= 0xFFFFFFu);
        QVERIFY2(c != previous, qPrintable(QStringLiteral("seed %1").arg(seed)));
        colours.insert(c);
    }
    QCOMPARE(seedings, 41);
    QVERIFY(colours.size() >= 39);
    // Both colour bytes at the top and bottom of the range are reached over many seeds.
    bool high = false, low = false;
    for (seed = 100; seed < 400; ++seed) {
        f.Cmd3_Start_Click();
        high |= f.state.label9BackColor >= 0xC00000u;
        low |= f.state.label9BackColor < 0x400000u;
    }
    QVERIFY(high && low);
}

void StartAndModes::startMidRunBeginsAgain_data() {
    startShowsLawOneAndTheInstructions_data();
}

void StartAndModes::startMidRunBeginsAgain() {
    QFETCH(int, mode);
    Form1 f = atQuestion12(mode);
    QCOMPARE(q(f.state.label3), QStringLiteral("12"));
    QCOMPARE(q(f.state.label4), QStringLiteral("5"));
    QCOMPARE(q(f.state.label5), QStringLiteral("6"));
    f.Cmd3_Start_Click();
    QCOMPARE(q(f.state.label3), QStringLiteral("1"));
    QCOMPARE(q(f.state.label4), QStringLiteral("0"));
    QCOMPARE(q(f.state.label5), QStringLiteral("0"));
    QCOMPARE(f.state.label2, lawName(1));
    QVERIFY(f.state.label9Visible);
    // The next check judges law 1 and shows law 2.
    dropFrom(f, mode == kTrainer ? rightSideTags(1) : lawTags(1), mode == kTrainer ? 5 : 1);
    f.Command1_Click();
    QCOMPARE(q(f.state.text1), QStringLiteral("правильно"));
    QCOMPARE(f.state.label2, lawName(2));
    QCOMPARE(q(f.state.label3), QStringLiteral("2"));
    QCOMPARE(q(f.state.label4), QStringLiteral("1"));
    QCOMPARE(q(f.state.label5), QStringLiteral("0"));
}

void StartAndModes::startResetsTheHintCounter() {
    Form1 f = startedForm(kTrainer);
    QCOMPARE(f.state.hintPresses, 0);
    for (int i = 0; i < 5; ++i)
        f.Command3_Click();
    QVERIFY(f.state.hintPresses > 0);
    f.Cmd3_Start_Click();
    QCOMPARE(f.state.hintPresses, 0);
    f.SelectOption1(kTest);
    f.Command3_Click();
    f.Cmd3_Start_Click();
    QCOMPARE(f.state.hintPresses, 0);
}

void StartAndModes::lawTableHoldsNamesAndKeys() {
    const Form1 f = startedForm(kTest);
    const auto& table = f.state.lawTable;
    QVERIFY(table[0].empty());
    QCOMPARE(q(table[45]),
             QStringLiteral("Запишите эквиваленцию как отрицание, дизъюнкцию и конъюнкцию"));
    QCOMPARE(q(table[46]), QStringLiteral("xekvyравноsono_xилиyszиsono_yилиxsz"));
    for (int i = 47; i <= 100; ++i)
        QVERIFY2(table[std::size_t(i)].empty(), qPrintable(QString::number(i)));
    for (int n = 1; n <= kLawCount; ++n) {
        QCOMPARE(table[std::size_t(2 * n - 1)], lawName(n));
        QCOMPARE(q(table[std::size_t(2 * n)]), q(kLaws[std::size_t(n - 1)].key));
    }
}

void StartAndModes::modeChangeMidRunGoesOnUnderTheNewChecker() {
    // Trainer: law 1 right, law 2 wrong, law 3 right; then test mode without a new Start.
    Form1 f = startedForm(kTrainer);
    dropFrom(f, rightSideTags(1), 5);
    f.Command1_Click();
    f.Command1_Click();
    dropFrom(f, rightSideTags(3), 9);
    f.Command1_Click();
    QCOMPARE(f.state.questionNumber, 4);
    f.SelectOption1(kTest);
    QCOMPARE(q(f.state.label3), QStringLiteral("1"));
    QCOMPARE(f.state.label2, lawName(1));
    // The whole formula of law 4 is now what counts; the counts go on from 2 right, 1 wrong.
    dropFrom(f, lawTags(4), 1);
    f.Command1_Click();
    QCOMPARE(q(f.state.text1), QStringLiteral("правильно"));
    QCOMPARE(q(f.state.label3), QStringLiteral("5"));
    QCOMPARE(f.state.label2, lawName(5));
    QCOMPARE(q(f.state.label4), QStringLiteral("3"));
    QCOMPARE(q(f.state.label5), QStringLiteral("1"));
    QVERIFY(f.state.slotRow[0].tag == "x"); // the test checker leaves the row as built

    // Back to trainer: law 5's right-hand side alone is judged, law 6's left side is drawn.
    f.SelectOption1(kTrainer);
    dropFrom(f, rightSideTags(5), 9);
    f.Command1_Click();
    QCOMPARE(q(f.state.text1), QStringLiteral("правильно"));
    QCOMPARE(q(f.state.label3), QStringLiteral("6"));
    QCOMPARE(q(f.state.label4), QStringLiteral("4"));
    QVERIFY(f.state.slotRow == predrawnRow(6));
}

void StartAndModes::rulesBoxTextIsExactAndChangesNothing() {
    const QString crlf = QStringLiteral("\r\n");
    const QString head =
        QStringLiteral("Правила работы:") + crlf + crlf +
        QStringLiteral("1. Для начала работы нажмите кнопку Старт.") + crlf +
        QStringLiteral("2. Соберите формулу в строке ввода.") + crlf +
        QStringLiteral("3. В режиме тренажера можно пользоваться кнопкой Подсказка .") + crlf +
        QStringLiteral("4. Нажмите кнопку Проверка.  ") + crlf + crlf;
    const QString text = q(Form1::RulesText());
    QVERIFY2(text.startsWith(head), qPrintable(text));
    // Then two credits lines and the contact-and-version line.
    const QStringList credits = text.mid(head.size()).split(crlf);
    QCOMPARE(credits.size(), 3);
    for (const QString& line : credits)
        QVERIFY(!line.trimmed().isEmpty() && !line.contains(QLatin1Char('\n')));
    QVERIFY(text.endsWith(QStringLiteral("Версия 1.2 6.02.2005")));

    for (int mode : {kTrainer, kTest}) {
        Form1 f = startedForm(mode);
        dropFrom(f, {"x", "y"}, 6);
        f.Command1_Click();
        const FormState before = f.state;
        const MessageBoxText box = f.Command4_Click();
        COMPARE_STATES(f.state, before);
        QCOMPARE(q(box.title), QStringLiteral("Законы логики"));
        QCOMPARE(q(box.text), text);
    }
}

QTEST_APPLESS_MAIN(StartAndModes)
#include "tst_start_and_modes.moc"
