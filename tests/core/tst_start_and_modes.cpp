// The window before and after loading, the mode options, Start and the rules box.
#include "core_test_support.h"

#include <QTest>

#include <random>
#include <set>

using namespace core_test;

namespace {

const QString kTrainerInstructions = QStringLiteral("1. Напишите формулу после знака равенства.\n"
                                                    " 2. Можно использовать кнопку Подсказка.\n"
                                                    " 3. Нажмите кнопку Проверка.");
const QString kTestInstructions =
    QStringLiteral("1. Напишите формулу в строке ввода.\n 2. Нажмите кнопку Проверка.");

void verifyRowEmpty(const FormState& s) {
    for (int k = 1; k <= kSlotCount; ++k) {
        QVERIFY2(s.slot(k).picture == Picture::blank(), qPrintable(QString::number(k)));
        QVERIFY(s.slot(k).tag.empty());
    }
}

// What a mode change leaves of the run: the counts and the key are out of sight until the next
// Start resets them.
auto keptByAModeChange(const FormState& s) {
    return std::tuple(s.lawNamesLoaded, s.rightCount, s.wrongCount, s.hintPresses, s.checkedKey);
}

// A run at question 12 with 5 right and 6 wrong answers.
Form atQuestion12(Mode mode) {
    Form f = startedForm(mode);
    for (int n = 1; n <= 11; ++n) {
        f.clear();
        if (n <= 5)
            dropFrom(f, mode == Mode::trainer ? rightSideTags(n) : lawTags(n),
                     mode == Mode::trainer ? int(leftSideTags(n).size()) + 1 : 1);
        f.check();
    }
    return f;
}

void perMode() {
    QTest::addColumn<Mode>("mode");
    QTest::newRow("trainer") << Mode::trainer;
    QTest::newRow("test") << Mode::test;
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
    void startShowsLawOneAndTheInstructions_data() { perMode(); }
    void startShowsLawOneAndTheInstructions();
    void instructionColourIsDrawnAtEachStart();
    void instructionColourIsTheColourDrawnBefore();
    void startMidRunBeginsAgain_data() { perMode(); }
    void startMidRunBeginsAgain();
    void startResetsTheHintCounter();
    void lawNamesAppearFromTheFirstStart();
    void modeChangeMidRunEndsTheRun_data();
    void modeChangeMidRunEndsTheRun();
    void rulesBoxTextIsExact();
};

void StartAndModes::asCreatedNothingIsShown() {
    const Form f;
    const FormState& s = f.state;
    QVERIFY(s.mode == Mode::trainer);
    for (const std::string* text : {&s.lawName, &s.questionShown, &s.rightShown, &s.wrongShown,
                                    &s.prompt, &s.instructions, &s.verdict})
        QVERIFY(text->empty());
    for (int k = 1; k <= kSlotCount; ++k)
        QVERIFY(s.slot(k) == (Slot{Picture::nothing(), ""}));
    QVERIFY(!s.runGoing);
    QVERIFY(!s.lawNamesLoaded);
    QCOMPARE(s.hintPresses, 0);
}

void StartAndModes::loadSelectsTrainerAndInvitesToStart() {
    const Form f = loadedForm();
    const FormState& s = f.state;
    QVERIFY(s.mode == Mode::trainer);
    QVERIFY(s.hintButtonVisible);
    QCOMPARE(q(s.prompt), QStringLiteral("  Для начала работы нажмите кнопку Старт"));
    QVERIFY(s.promptBack == Colour::ofRgb(0x00FFFF)); // cyan
    QVERIFY(s.promptVisible);
    QCOMPARE(q(s.questionShown), QStringLiteral("1"));
    QCOMPARE(q(s.rightShown), QStringLiteral("0"));
    QCOMPARE(q(s.wrongShown), QStringLiteral("0"));
    QVERIFY(s.lawName.empty());
    QVERIFY(s.instructionsVisible && s.instructions.empty());
    QVERIFY(s.instructionsBack == Colour::light());
    QVERIFY(!s.runGoing);
    QVERIFY(s.verdict.empty());
    verifyRowEmpty(s);

    // Loading again returns to trainer mode from test mode.
    Form t = loadedForm();
    t.selectMode(Mode::test);
    t.load();
    QVERIFY(t.state.mode == Mode::trainer);
    QVERIFY(t.state.hintButtonVisible);
}

void StartAndModes::modeOptionsSwitchTheHintAndResetTheDisplay_data() {
    QTest::addColumn<Mode>("from");
    QTest::addColumn<Mode>("to");
    QTest::addColumn<int>("checks"); // presses of Check after Start; -1: no Start
    for (Mode from : {Mode::trainer, Mode::test}) {
        const Mode to = from == Mode::trainer ? Mode::test : Mode::trainer;
        const char* name = from == Mode::trainer ? "trainer to test" : "test to trainer";
        QTest::addRow("%s, before Start", name) << from << to << -1;
        QTest::addRow("%s, right after Start", name) << from << to << 0;
        QTest::addRow("%s, mid-run", name) << from << to << 2;
    }
}

void StartAndModes::modeOptionsSwitchTheHintAndResetTheDisplay() {
    QFETCH(Mode, from);
    QFETCH(Mode, to);
    QFETCH(int, checks);
    Form f = loadedForm();
    f.selectMode(from);
    if (checks >= 0) {
        f.start();
        f.hint();
        dropFrom(f, {"y", "или", "x"}, 5);
        for (int i = 0; i < checks; ++i)
            f.check();
    }
    dropFrom(f, {"y", "z"}, 1);
    const FormState before = f.state;

    f.selectMode(to);
    const FormState& s = f.state;
    QVERIFY(s.mode == to);
    QCOMPARE(s.hintButtonVisible, to == Mode::trainer);
    QVERIFY(s.promptVisible);
    verifyRowEmpty(s);
    QVERIFY(s.verdict.empty());
    QCOMPARE(q(s.questionShown), QStringLiteral("1"));
    QCOMPARE(q(s.rightShown), QStringLiteral("0"));
    QCOMPARE(q(s.wrongShown), QStringLiteral("0"));
    QCOMPARE(s.lawName, checks >= 0 ? lawName(1) : std::string());
    QVERIFY(keptByAModeChange(s) == keptByAModeChange(before));
    QVERIFY(!s.runGoing); // the run has ended
    QCOMPARE(s.question, 0);
    QCOMPARE(s.instructions, before.instructions);
    QCOMPARE(s.instructionsVisible, before.instructionsVisible);
    QVERIFY(s.instructionsBack == before.instructionsBack);
    QCOMPARE(s.lawNamePt, before.lawNamePt);
}

void StartAndModes::clickingTheSelectedOptionChangesNothing() {
    for (Mode mode : {Mode::trainer, Mode::test}) {
        Form f = startedForm(mode);
        dropFrom(f, {"x", "или", "y"}, 12);
        f.check();
        dropFrom(f, {"z"}, 19);
        const FormState before = f.state;
        f.selectMode(mode);
        COMPARE_STATES(f.state, before);
    }
    // Trainer is selected from the start, before the window has even loaded.
    Form fresh;
    const FormState asCreated = fresh.state;
    fresh.selectMode(Mode::trainer);
    COMPARE_STATES(fresh.state, asCreated);
}

void StartAndModes::startShowsLawOneAndTheInstructions() {
    QFETCH(Mode, mode);
    Form f = loadedForm();
    f.selectMode(mode);
    dropFrom(f, {"z", "z"}, 3);
    f.start();
    const FormState& s = f.state;
    QVERIFY(s.runGoing);
    QCOMPARE(q(s.lawName), QStringLiteral("Переместительный закон для ИЛИ"));
    QCOMPARE(q(s.questionShown), QStringLiteral("1"));
    QCOMPARE(q(s.rightShown), QStringLiteral("0"));
    QCOMPARE(q(s.wrongShown), QStringLiteral("0"));
    QVERIFY(!s.promptVisible);
    QVERIFY(s.instructionsVisible);
    QCOMPARE(q(s.instructions), mode == Mode::trainer ? kTrainerInstructions : kTestInstructions);
    QVERIFY(!q(s.instructions).contains(QLatin1Char('\r')));
    if (mode == Mode::trainer) {
        QVERIFY(s.row == predrawnRow(1));
        QVERIFY(s.slot(1).picture == Picture::blue(Glyph::x));
        QVERIFY(s.slot(2).picture == Picture::blue(Glyph::orSign));
        QVERIFY(s.slot(3).picture == Picture::blue(Glyph::y));
        QVERIFY(s.slot(4).picture == Picture::blue(Glyph::equals));
    } else {
        verifyRowEmpty(s);
    }
    QVERIFY(f.formulaKey().empty());
    QVERIFY(s.verdict.empty());
}

void StartAndModes::instructionColourIsDrawnAtEachStart() {
    std::uint64_t seed = 1;
    int seedings = 0;
    Form f = loadedForm();
    f.clockSeed = [&] {
        ++seedings;
        return seed;
    };
    f.start();
    const Colour first = f.state.instructionsBack;
    QVERIFY(first.role == Colour::Role::rgb);
    f.start();
    QCOMPARE(seedings, 2);
    QVERIFY(f.state.instructionsBack == first); // re-seeded with the same value: same colour

    std::set<std::uint32_t> colours{first.rgb};
    for (seed = 2; seed <= 40; ++seed) {
        const Colour previous = f.state.instructionsBack;
        f.selectMode(seed % 2 ? Mode::test : Mode::trainer);
        f.start();
        const Colour c = f.state.instructionsBack;
        QVERIFY(c.role == Colour::Role::rgb && c.rgb <= 0xFFFFFFu);
        QVERIFY2(!(c == previous), qPrintable(QStringLiteral("seed %1").arg(seed)));
        colours.insert(c.rgb);
    }
    QCOMPARE(seedings, 41);
    QVERIFY(colours.size() >= 39);
    // Each of red, green and blue reaches both ends of its range over many seeds.
    std::array<bool, 3> high{}, low{};
    for (seed = 100; seed < 400; ++seed) {
        f.start();
        for (std::size_t b = 0; b < 3; ++b) {
            const std::uint32_t byte = f.state.instructionsBack.rgb >> (8 * b) & 0xFFu;
            high[b] = high[b] || byte >= 0xC0u;
            low[b] = low[b] || byte < 0x40u;
        }
    }
    QVERIFY(high == (std::array<bool, 3>{true, true, true}));
    QVERIFY(low == (std::array<bool, 3>{true, true, true}));
}

// The colour a seed gives is the one it gave when the colour was kept as &H00BBGGRR (red in the
// low byte): the same draw, only stored the other way round.
void StartAndModes::instructionColourIsTheColourDrawnBefore() {
    for (std::uint64_t seed : {1ull, 7ull, 20050206ull, 0xFFFFFFFFFFFFFFFFull}) {
        std::mt19937_64 generator(seed);
        const double r = static_cast<double>(generator() >> 11) * 0x1.0p-53;
        const auto bbggrr = static_cast<std::uint32_t>(r * 16777216.0);
        const Form f = startedForm(Mode::test, seed);
        const std::uint32_t rgb = f.state.instructionsBack.rgb;
        QCOMPARE(rgb >> 16 & 0xFFu, bbggrr & 0xFFu);     // red
        QCOMPARE(rgb >> 8 & 0xFFu, bbggrr >> 8 & 0xFFu); // green
        QCOMPARE(rgb & 0xFFu, bbggrr >> 16 & 0xFFu);     // blue
    }
}

void StartAndModes::startMidRunBeginsAgain() {
    QFETCH(Mode, mode);
    Form f = atQuestion12(mode);
    QCOMPARE(q(f.state.questionShown), QStringLiteral("12"));
    QCOMPARE(q(f.state.rightShown), QStringLiteral("5"));
    QCOMPARE(q(f.state.wrongShown), QStringLiteral("6"));
    f.start();
    QCOMPARE(q(f.state.questionShown), QStringLiteral("1"));
    QCOMPARE(q(f.state.rightShown), QStringLiteral("0"));
    QCOMPARE(q(f.state.wrongShown), QStringLiteral("0"));
    QCOMPARE(f.state.lawName, lawName(1));
    QVERIFY(f.state.instructionsVisible);
    // The next check judges law 1 and shows law 2.
    dropFrom(f, mode == Mode::trainer ? rightSideTags(1) : lawTags(1),
             mode == Mode::trainer ? 5 : 1);
    f.check();
    QCOMPARE(q(f.state.verdict), QStringLiteral("правильно"));
    QCOMPARE(f.state.lawName, lawName(2));
    QCOMPARE(q(f.state.questionShown), QStringLiteral("2"));
    QCOMPARE(q(f.state.rightShown), QStringLiteral("1"));
    QCOMPARE(q(f.state.wrongShown), QStringLiteral("0"));
}

void StartAndModes::startResetsTheHintCounter() {
    Form f = startedForm(Mode::trainer);
    QCOMPARE(f.state.hintPresses, 0);
    for (int i = 0; i < 5; ++i)
        f.hint();
    QCOMPARE(f.state.hintPresses, 5);
    f.start();
    QCOMPARE(f.state.hintPresses, 0);
    f.selectMode(Mode::test);
    f.hint();
    f.start();
    QCOMPARE(f.state.hintPresses, 0);
}

// A mode change shows law 1's name only once a run has loaded the names.
void StartAndModes::lawNamesAppearFromTheFirstStart() {
    Form f = loadedForm();
    f.selectMode(Mode::test);
    f.selectMode(Mode::trainer);
    QVERIFY(!f.state.lawNamesLoaded);
    QVERIFY(f.state.lawName.empty());
    f.start();
    QVERIFY(f.state.lawNamesLoaded);
    advanceTo(f, 24);
    QCOMPARE(q(f.state.lawName), QStringLiteral("Тест окончен. Позовите учителя"));
    f.selectMode(Mode::test);
    QCOMPARE(f.state.lawName, lawName(1));
    f.load(); // the names stay loaded
    QCOMPARE(f.state.lawName, lawName(1));
}

void StartAndModes::modeChangeMidRunEndsTheRun_data() {
    QTest::addColumn<Mode>("from");
    QTest::addColumn<Mode>("to");
    QTest::newRow("trainer to test") << Mode::trainer << Mode::test;
    QTest::newRow("test to trainer") << Mode::test << Mode::trainer;
}

// At question 12 with 5 right and 6 wrong, the pupil switches mode and writes law 1 as the
// window now shows it. Until Start nothing is judged, counted or drawn: Check, Hint and Clear do
// exactly what they do before the first Start of the program.
void StartAndModes::modeChangeMidRunEndsTheRun() {
    QFETCH(Mode, from);
    QFETCH(Mode, to);
    Form f = atQuestion12(from);
    QCOMPARE(f.state.question, 12);
    f.selectMode(to);
    QCOMPARE(q(f.state.questionShown), QStringLiteral("1"));
    QCOMPARE(f.state.lawName, lawName(1));

    Form fresh = loadedForm();
    fresh.selectMode(to);
    for (Form* form : {&f, &fresh}) {
        dropFrom(*form, to == Mode::test ? lawTags(1) : rightSideTags(1), 1);
        form->check();
        form->hint();
        form->clear();
        form->check();
    }
    // The two windows show the same: no verdict, no count, no hint, and Clear acted as before a
    // run (test mode empties the row; trainer mode keeps it, having no question).
    FormState shown = f.state, expected = fresh.state;
    for (FormState* s : {&shown, &expected}) {
        s->lawNamesLoaded = false; // the windows differ only in having run before
        s->lawName.clear();
        s->rightCount = s->wrongCount = 0;
        s->hintPresses = 0;
        s->checkedKey.clear();
        s->instructions.clear();
        s->instructionsBack = Colour::light();
        s->instructionsInk = kBlack;
    }
    COMPARE_STATES(shown, expected);
    QVERIFY(f.state.verdict.empty());
    QCOMPARE(q(f.state.questionShown), QStringLiteral("1"));
    QCOMPARE(q(f.state.rightShown), QStringLiteral("0"));
    QCOMPARE(q(f.state.wrongShown), QStringLiteral("0"));
    for (int k = 1; k <= kSlotCount; ++k)
        QVERIFY(f.state.slot(k).picture.ink != Picture::Ink::red);

    // Start begins a new run from question 1 in the new mode.
    f.start();
    QCOMPARE(f.state.question, 1);
    QCOMPARE(q(f.state.questionShown), QStringLiteral("1"));
    dropFrom(f, to == Mode::test ? lawTags(1) : rightSideTags(1),
             to == Mode::test ? 1 : int(leftSideTags(1).size()) + 1);
    f.check();
    QCOMPARE(q(f.state.verdict), QStringLiteral("правильно"));
    QCOMPARE(q(f.state.questionShown), QStringLiteral("2"));
    QCOMPARE(q(f.state.rightShown), QStringLiteral("1"));
    QCOMPARE(q(f.state.wrongShown), QStringLiteral("0"));
}

void StartAndModes::rulesBoxTextIsExact() {
    const QString head =
        QStringLiteral("Правила работы:\n\n"
                       "1. Для начала работы нажмите кнопку Старт.\n"
                       "2. Соберите формулу в строке ввода.\n"
                       "3. В режиме тренажера можно пользоваться кнопкой Подсказка .\n"
                       "4. Нажмите кнопку Проверка.  \n\n");
    const QString text = q(Form::rulesText());
    QVERIFY2(text.startsWith(head), qPrintable(text));
    QVERIFY(!text.contains(QLatin1Char('\r')));
    // Then two credits lines and the contact-and-version line.
    const QStringList credits = text.mid(head.size()).split(QLatin1Char('\n'));
    QCOMPARE(credits.size(), 3);
    for (const QString& line : credits)
        QVERIFY(!line.trimmed().isEmpty());
    QVERIFY(text.endsWith(QStringLiteral("Версия 1.2 6.02.2005")));
    QCOMPARE(q(kRulesTitle), QStringLiteral("Законы логики"));
}

QTEST_APPLESS_MAIN(StartAndModes)
#include "tst_start_and_modes.moc"
