// Writing a formula without dragging: a picked palette symbol placed by clicks, the keyboard's
// caret, typed keys with their "!" bars, emptying and backspace. Every route must leave the row
// as the same drops would, and none of them may judge, count or move the question on.
#include "core_test_support.h"

#include <QTest>

#include <algorithm>
#include <functional>
#include <limits>
#include <map>

using namespace core_test;

namespace {

// The keys a pupil types for each symbol: the usual ones, or others that mean the same.
QString keysFor(const Tags& tags, bool other = false) {
    QString keys;
    for (std::string_view tag : tags) {
        const std::u32string typed = law_keys::typedKeys(tag, other);
        if (typed.empty()) return QStringLiteral("<no keys for %1>").arg(q(tag));
        keys += QString::fromStdU32String(typed);
    }
    return keys;
}

// Types every character of keys; what type() answered for each, '1' taken and '0' not.
QString typeAll(Form& f, const QString& keys) {
    QString taken;
    for (uint c : keys.toUcs4())
        taken += f.type(static_cast<char32_t>(c)) ? QLatin1Char('1') : QLatin1Char('0');
    return taken;
}

QString allTaken(const QString& keys) {
    return QString(keys.toUcs4().size(), QLatin1Char('1'));
}

Slot placed(std::string_view tag) {
    return Slot{Picture::blue(glyphOf(tag)), std::string(tag)};
}

const Slot kEmpty{Picture::blank(), ""};

// The caret's home by the rules of the two modes: after the drawn "=" of the law asked in
// trainer mode, slot 1 otherwise.
int expectedHome(Mode mode, int question) {
    if (mode == Mode::trainer && question >= 1 && question <= kLawCount)
        return int(leftSideTags(question).size()) + 1;
    return 1;
}

// `expected` with the writing fields of `actual`, for comparing what the routes leave apart
// from where their caret and pick ended.
FormState withWritingOf(FormState expected, const FormState& actual) {
    expected.caret = actual.caret;
    expected.picked = actual.picked;
    expected.barsTyped = actual.barsTyped;
    expected.answerMarked = actual.answerMarked;
    return expected;
}

void perMode() {
    QTest::addColumn<Mode>("mode");
    QTest::newRow("trainer") << Mode::trainer;
    QTest::newRow("test") << Mode::test;
}

void perModeAndQuestion() {
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<int>("question");
    for (Mode mode : {Mode::trainer, Mode::test})
        for (int n = 1; n <= kLawCount; ++n)
            QTest::addRow("%s, question %d", modeName(mode), n) << mode << n;
}

} // namespace

class Writing : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void typedKeys_data();
    void typedKeys();
    void everyRouteWritesTheSameLaw_data();
    void everyRouteWritesTheSameLaw();
    void typedBeforeStartAsDropped_data() { perMode(); }
    void typedBeforeStartAsDropped();
    void pickedSymbolPlacesAsADrop_data();
    void pickedSymbolPlacesAsADrop();
    void whatEndsAPick_data();
    void whatEndsAPick();
    void caretHomeOfSomeLaws();
    void caretStartsAndReturnsHome_data() { perModeAndQuestion(); }
    void caretStartsAndReturnsHome();
    void caretHomeWithoutALawAsked_data() { perMode(); }
    void caretHomeWithoutALawAsked();
    void caretIsKeptInTheRow_data();
    void caretIsKeptInTheRow();
    void heldKeyStopsAtTheLastSlot_data();
    void heldKeyStopsAtTheLastSlot();
    void emptyingASlot_data();
    void emptyingASlot();
    void emptyingOutsideTheRowChangesNothing();
    void backspaceWalksBack();
    void keysLeaveTheDrawnLeftSide_data();
    void keysLeaveTheDrawnLeftSide();
    void writingNeverJudges_data();
    void writingNeverJudges();
    void markedAnswerAfterCheck_data();
    void markedAnswerAfterCheck();
    void onlyAJudgedTestAnswerIsMarked_data() { perMode(); }
    void onlyAJudgedTestAnswerIsMarked();
    void wholeRunTypedFromCharacters_data();
    void wholeRunTypedFromCharacters();
};

void Writing::typedKeys_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("tags"); // placed from slot 1 on
    QTest::addColumn<QString>("taken");    // type()'s answer for each key
    QTest::addColumn<int>("bars");         // the "!" left waiting
    auto row = [](const char* name, const char* keys, QStringList tags, const char* taken,
                  int bars = 0) {
        QTest::newRow(name) << QString::fromUtf8(keys) << tags << QString::fromLatin1(taken)
                            << bars;
    };
    // Keys that stand for themselves, and the other keys of the signs.
    row("x", "x", {"x"}, "1");
    row("y", "y", {"y"}, "1");
    row("z", "z", {"z"}, "1");
    row("0", "0", {"ноль"}, "1");
    row("1", "1", {"один"}, "1");
    row("(", "(", {"so"}, "1");
    row(")", ")", {"sz"}, "1");
    row("=", "=", {"равно"}, "1");
    row("v", "v", {"или"}, "1");
    row("V", "V", {"или"}, "1");
    row("|", "|", {"или"}, "1");
    row("+", "+", {"или"}, "1");
    row("*", "*", {"и"}, "1");
    row("&", "&", {"и"}, "1");
    row(".", ".", {"и"}, "1");
    row(">", ">", {"imp"}, "1");
    row("<", "<", {"ekv"}, "1");
    row("~", "~", {"ekv"}, "1");
    row("X", "X", {"x"}, "1");
    row("Y", "Y", {"y"}, "1");
    row("Z", "Z", {"z"}, "1");
    // The Russian layout's letters on the same keys.
    row("ч", "ч", {"x"}, "1");
    row("Ч", "Ч", {"x"}, "1");
    row("н", "н", {"y"}, "1");
    row("Н", "Н", {"y"}, "1");
    row("я", "я", {"z"}, "1");
    row("Я", "Я", {"z"}, "1");
    row("м", "м", {"или"}, "1");
    row("М", "М", {"или"}, "1");
    row("ю", "ю", {"imp"}, "1");
    row("Ю", "Ю", {"imp"}, "1");
    row("б", "б", {"ekv"}, "1");
    row("Б", "Б", {"ekv"}, "1");
    row("ё", "ё", {"ekv"}, "1");
    row("Ё", "Ё", {"ekv"}, "1");
    row("чмн", "чмн", {"x", "или", "y"}, "111");
    // One bar.
    row("!x", "!x", {"no_x"}, "11");
    row("-x", "-x", {"no_x"}, "11");
    row("!X", "!X", {"no_x"}, "11");
    row("!ч", "!ч", {"no_x"}, "11");
    row("-Ч", "-Ч", {"no_x"}, "11");
    row("!y", "!y", {"no_y"}, "11");
    row("-Y", "-Y", {"no_y"}, "11");
    row("!н", "!н", {"no_y"}, "11");
    row("!v", "!v", {"no_ili"}, "11");
    row("!V", "!V", {"no_ili"}, "11");
    row("!|", "!|", {"no_ili"}, "11");
    row("-+", "-+", {"no_ili"}, "11");
    row("!м", "!м", {"no_ili"}, "11");
    row("!*", "!*", {"no_i"}, "11");
    row("-&", "-&", {"no_i"}, "11");
    row("!.", "!.", {"no_i"}, "11");
    // Two bars.
    row("!!x", "!!x", {"no_no_x"}, "111");
    row("--x", "--x", {"no_no_x"}, "111");
    row("!-x", "!-x", {"no_no_x"}, "111");
    row("-!Ч", "-!Ч", {"no_no_x"}, "111");
    row("!!X", "!!X", {"no_no_x"}, "111");
    // Keys that cannot follow the bars: nothing placed, the bars dropped.
    row("!z", "!z", {}, "11");
    row("!я", "!я", {}, "11");
    row("!0", "!0", {}, "11");
    row("!1", "!1", {}, "11");
    row("!(", "!(", {}, "11");
    row("!)", "!)", {}, "11");
    row("!=", "!=", {}, "11");
    row("!>", "!>", {}, "11");
    row("!~", "!~", {}, "11");
    row("!!y", "!!y", {}, "111");
    row("!!н", "!!н", {}, "111");
    row("!!v", "!!v", {}, "111");
    row("!!*", "!!*", {}, "111");
    row("!!z", "!!z", {}, "111");
    row("!!!", "!!!", {}, "111");
    row("!!!x", "!!!x", {"x"}, "1111");
    row("!zx", "!zx", {"x"}, "111");
    row("!!yy", "!!yy", {"y"}, "1111");
    row("!1y", "!1y", {"y"}, "111");
    row("!q", "!q", {}, "11");
    row("!qx", "!qx", {"x"}, "111");
    row("!! x", "!! x", {"x"}, "1111");
    // Bars still waiting.
    row("!", "!", {}, "1", 1);
    row("-", "-", {}, "1", 1);
    row("!!", "!!", {}, "11", 2);
    row("x!", "x!", {"x"}, "11", 1);
    row("!!!!", "!!!!", {}, "1111", 1);
    // Keys that mean nothing.
    row("q", "q", {}, "0");
    row("space", " ", {}, "0");
    row("2", "2", {}, "0");
    row("a", "a", {}, "0");
    row("ж", "ж", {}, "0");
    row("х (Cyrillic)", "х", {}, "0");
    row("newline", "\n", {}, "0");
    row("qx", "qx", {"x"}, "01");
    row("x q y", "x q y", {"x", "y"}, "10001");
    // Whole formulas.
    row("(!x+y)>z", "(!x+y)>z", {"so", "no_x", "или", "y", "sz", "imp", "z"}, "11111111");
    row("law 7", "!x!v!y=!x*!y", {"no_x", "no_ili", "no_y", "равно", "no_x", "и", "no_y"},
        "111111111111");
    row("law 21", "!!x=x", {"no_no_x", "равно", "x"}, "11111");
}

void Writing::typedKeys() {
    QFETCH(QString, keys);
    QFETCH(QStringList, tags);
    QFETCH(QString, taken);
    QFETCH(int, bars);
    Form f = startedForm(Mode::test);
    FormState expected = f.state;
    QCOMPARE(typeAll(f, keys), taken);
    for (int i = 0; i < tags.size(); ++i)
        expected.slot(i + 1) = placed(tags[i].toStdString());
    expected.caret = 1 + int(tags.size());
    expected.barsTyped = bars;
    QCOMPARE(f.state.caret, expected.caret);
    QCOMPARE(f.state.barsTyped, bars);
    COMPARE_STATES(f.state, expected);
    QCOMPARE(q(f.formulaKey()), tags.join(QString()));
}

void Writing::everyRouteWritesTheSameLaw_data() {
    QTest::addColumn<int>("law");
    QTest::addColumn<QString>("key");
    for (int n = 1; n <= kLawCount; ++n) {
        QTest::addRow("law %d", n) << n << q(law(n).key);
        if (!law(n).otherForm.empty())
            QTest::addRow("law %d, other form", n) << n << q(law(n).otherForm);
    }
}

// The answer written by drops at successive slots, by a pick and clicks on slots, by a pick and
// the caret, and by typing, all in test mode at the law's question: each leaves the same row
// and key, and each is judged right.
void Writing::everyRouteWritesTheSameLaw() {
    QFETCH(int, law);
    QFETCH(QString, key);
    const auto split = law_keys::splitKey(key.toStdString());
    QVERIFY(split.has_value());
    const Tags tags = *split;
    const int length = int(tags.size());
    QVERIFY(length >= 3 && length <= kSlotCount); // laws 5 and 6 fill the row

    auto atQuestion = [law] {
        Form f = startedForm(Mode::test);
        advanceTo(f, law);
        return f;
    };
    Form dropped = atQuestion();
    dropFrom(dropped, tags, 1);
    const FormState byDrops = dropped.state;
    QCOMPARE(q(dropped.formulaKey()), key);

    auto agrees = [&](Form& f, const char* route) {
        COMPARE_STATES(f.state, withWritingOf(byDrops, f.state));
        QVERIFY2(f.formulaKey() == dropped.formulaKey(), route);
        f.check();
        QVERIFY2(f.state.verdict == kVerdictRight, route);
        QCOMPARE(f.state.rightCount, 1);
        QCOMPARE(f.state.wrongCount, law - 1);
    };

    // A pick, then a click on each slot; the same symbol is not picked twice in a row, which
    // would unpick it.
    Form clicked = atQuestion();
    for (int i = 0; i < length; ++i) {
        if (clicked.state.picked != tags[std::size_t(i)]) clicked.pick(tags[std::size_t(i)]);
        QCOMPARE(q(clicked.state.picked), q(tags[std::size_t(i)]));
        clicked.placePicked(i + 1);
    }
    agrees(clicked, "pick and click");
    if (QTest::currentTestFailed()) return;

    // Each symbol picked once and clicked onto all its slots: the pick stays.
    Form pickedOnce = atQuestion();
    std::vector<std::string_view> done;
    for (std::string_view tag : tags) {
        if (std::find(done.begin(), done.end(), tag) != done.end()) continue;
        done.push_back(tag);
        pickedOnce.pick(tag);
        for (int i = 0; i < length; ++i)
            if (tags[std::size_t(i)] == tag) pickedOnce.placePicked(i + 1);
    }
    agrees(pickedOnce, "each symbol picked once");
    if (QTest::currentTestFailed()) return;

    // A pick placed at the caret, which moves on by itself.
    Form atCaret = atQuestion();
    atCaret.moveCaret(11);
    atCaret.moveCaret(1);
    for (int i = 0; i < length; ++i) {
        if (atCaret.state.picked != tags[std::size_t(i)]) atCaret.pick(tags[std::size_t(i)]);
        atCaret.placePickedAtCaret();
        QCOMPARE(atCaret.state.caret, std::min(i + 2, kSlotCount));
    }
    agrees(atCaret, "pick and caret");
    if (QTest::currentTestFailed()) return;

    // Typed, with the usual keys and with the others.
    for (bool other : {false, true}) {
        Form typed = atQuestion();
        const QString keys = keysFor(tags, other);
        QCOMPARE(typeAll(typed, keys), allTaken(keys));
        QCOMPARE(typed.state.caret, std::min(length + 1, kSlotCount));
        QCOMPARE(typed.state.barsTyped, 0);
        agrees(typed, other ? "typed with the other keys" : "typed");
        if (QTest::currentTestFailed()) return;
    }
}

void Writing::typedBeforeStartAsDropped() {
    QFETCH(Mode, mode);
    Form typed = loadedForm();
    typed.selectMode(mode);
    Form dropped = typed;
    const Tags tags{"so", "no_x", "или", "y", "sz", "и", "no_no_x"};
    const QString keys = keysFor(tags);
    QCOMPARE(typeAll(typed, keys), allTaken(keys));
    dropFrom(dropped, tags, 1);
    COMPARE_STATES(typed.state, withWritingOf(dropped.state, typed.state));
    QCOMPARE(typed.state.caret, 8);

    Form picked = loadedForm();
    picked.selectMode(mode);
    picked.pick("imp");
    picked.placePicked(4);
    dropped = loadedForm();
    dropped.selectMode(mode);
    dropped.drop(4, "imp");
    COMPARE_STATES(picked.state, withWritingOf(dropped.state, picked.state));
    QCOMPARE(picked.state.question, 0);
    QVERIFY(!picked.state.runGoing);
}

void Writing::pickedSymbolPlacesAsADrop_data() {
    QTest::addColumn<QString>("tag");
    for (std::string_view tag : law_keys::kTags)
        QTest::newRow(tag.data()) << q(tag);
}

void Writing::pickedSymbolPlacesAsADrop() {
    QFETCH(QString, tag);
    const std::string t = tag.toStdString();
    for (Mode mode : {Mode::trainer, Mode::test}) {
        Form f = startedForm(mode);
        Form g = f;
        f.hint();
        g.hint();
        // Nothing picked: a click on a slot places nothing.
        const FormState before = f.state;
        for (int k = 1; k <= kSlotCount; ++k) {
            f.placePicked(k);
            f.placePickedAtCaret();
        }
        COMPARE_STATES(f.state, before);

        f.pick(t);
        QCOMPARE(q(f.state.picked), tag);
        for (int k : {7, 1, 19, 12, 2, 18}) {
            f.placePicked(k);
            g.drop(k, t);
            COMPARE_STATES(f.state, withWritingOf(g.state, f.state));
            QCOMPARE(q(f.state.picked), tag); // the pick stays for the next click
        }
        // Clicks outside the row place nothing, as drops do.
        for (int k : {0, -1, 20, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()})
            f.placePicked(k);
        COMPARE_STATES(f.state, withWritingOf(g.state, f.state));

        // Picking another replaces the pick; picking the picked one unpicks.
        const std::string other = t == "z" ? "no_i" : "z";
        f.pick(other);
        QCOMPARE(f.state.picked, other);
        f.placePicked(3);
        g.drop(3, other);
        COMPARE_STATES(f.state, withWritingOf(g.state, f.state));
        f.pick(other);
        QVERIFY(f.state.picked.empty());
        const FormState unpicked = f.state;
        f.placePicked(5);
        f.placePickedAtCaret();
        COMPARE_STATES(f.state, unpicked);
        f.pick(t);
        QCOMPARE(q(f.state.picked), tag);
    }
}

void Writing::whatEndsAPick_data() {
    QTest::addColumn<QString>("event");
    QTest::addColumn<bool>("ends");
    for (const char* e : {"pick again", "unpick", "clear", "check", "start", "mode change"})
        QTest::newRow(e) << QString::fromLatin1(e) << true;
    for (const char* e : {"place picked", "place at caret", "drop", "empty slot", "move caret",
                          "delete", "backspace", "type", "type bar", "hint", "same mode"})
        QTest::newRow(e) << QString::fromLatin1(e) << false;
}

void Writing::whatEndsAPick() {
    QFETCH(QString, event);
    QFETCH(bool, ends);
    for (Mode mode : {Mode::trainer, Mode::test}) {
        Form f = startedForm(mode);
        f.moveCaret(9);
        f.pick("no_i");
        const std::map<QString, std::function<void()>> events{
            {"pick again", [&] { f.pick("no_i"); }},
            {"unpick", [&] { f.unpick(); }},
            {"clear", [&] { f.clear(); }},
            {"check", [&] { f.check(); }},
            {"start", [&] { f.start(); }},
            {"mode change",
             [&] { f.selectMode(mode == Mode::trainer ? Mode::test : Mode::trainer); }},
            {"place picked", [&] { f.placePicked(2); }},
            {"place at caret", [&] { f.placePickedAtCaret(); }},
            {"drop", [&] { f.drop(3, "x"); }},
            {"empty slot", [&] { f.emptySlot(2); }},
            {"move caret", [&] { f.moveCaret(4); }},
            {"delete", [&] { f.deleteAtCaret(); }},
            {"backspace", [&] { f.backspace(); }},
            {"type", [&] { f.type(U'x'); }},
            {"type bar", [&] { f.type(U'!'); }},
            {"hint", [&] { f.hint(); }},
            {"same mode", [&] { f.selectMode(mode); }},
        };
        events.at(event)();
        QCOMPARE(f.state.picked.empty(), ends);
        f.unpick(); // Escape also drops a waiting "!"
        QCOMPARE(f.state.barsTyped, 0);
        QVERIFY(f.state.picked.empty());
    }
}

void Writing::caretHomeOfSomeLaws() {
    const std::array<std::pair<int, int>, 5> homes{{{1, 5}, {13, 13}, {21, 3}, {5, 9}, {23, 5}}};
    for (auto [question, home] : homes) {
        Form t = startedForm(Mode::trainer);
        advanceTo(t, question);
        QCOMPARE(t.state.caret, home);
        QCOMPARE(t.caretHome(), home);
        Form s = startedForm(Mode::test);
        advanceTo(s, question);
        QCOMPARE(s.state.caret, 1);
    }
}

void Writing::caretStartsAndReturnsHome() {
    QFETCH(Mode, mode);
    QFETCH(int, question);
    const int home = expectedHome(mode, question);
    Form f = startedForm(mode);
    QCOMPARE(f.state.caret, expectedHome(mode, 1));
    advanceTo(f, question); // arrived by Check
    QCOMPARE(f.state.caret, home);
    QCOMPARE(f.caretHome(), home);

    // Typing starts at home: in trainer mode right after the drawn "=".
    f.type(U'y');
    QVERIFY(f.state.slot(home) == placed("y"));
    QCOMPARE(f.state.caret, home + 1);
    if (mode == Mode::trainer)
        QVERIFY(f.state.slot(home - 1).picture == Picture::blue(Glyph::equals));

    // Clear brings it home.
    f.moveCaret(14);
    f.pick("ekv");
    f.clear();
    QCOMPARE(f.state.caret, home);
    QVERIFY(f.state.picked.empty());

    // Check brings it to the next question's home.
    f.moveCaret(19);
    f.pick("so");
    f.check();
    QCOMPARE(f.state.question, question + 1);
    QCOMPARE(f.state.caret, expectedHome(mode, question + 1));
    QVERIFY(f.state.picked.empty());

    // Start brings it to the first question's home.
    f.moveCaret(16);
    f.start();
    QCOMPARE(f.state.caret, expectedHome(mode, 1));

    // A mode change asks no law: slot 1; and so after the next Start in the new mode.
    advanceTo(f, question);
    f.moveCaret(17);
    const Mode otherMode = mode == Mode::trainer ? Mode::test : Mode::trainer;
    f.selectMode(otherMode);
    QCOMPARE(f.state.caret, 1);
    f.start();
    QCOMPARE(f.state.caret, expectedHome(otherMode, 1));
    // Clicking the selected mode again changes nothing, the caret included.
    f.moveCaret(17);
    f.selectMode(otherMode);
    QCOMPARE(f.state.caret, 17);
}

void Writing::caretHomeWithoutALawAsked() {
    QFETCH(Mode, mode);
    Form f;
    QCOMPARE(f.state.caret, 1);
    f = loadedForm();
    QCOMPARE(f.state.caret, 1);
    f.selectMode(mode);
    QCOMPARE(f.state.caret, 1);
    f.moveCaret(8);
    f.clear();
    QCOMPARE(f.state.caret, 1);
    f.moveCaret(8);
    f.check();
    QCOMPARE(f.state.caret, 1);
    QCOMPARE(f.state.question, 0);

    // After the last answer no law is asked either, and the trainer's row keeps law 23's side.
    f.start();
    advanceTo(f, kLawCount + 1);
    QCOMPARE(f.state.caret, 1);
    f.moveCaret(8);
    f.check();
    QCOMPARE(f.state.question, kLawCount + 2);
    QCOMPARE(f.state.caret, 1);
}

void Writing::caretIsKeptInTheRow_data() {
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("expected");
    constexpr int lowest = std::numeric_limits<int>::min(),
                  highest = std::numeric_limits<int>::max();
    // Law 1 is asked: its drawn x ∨ y = holds slots 1 … 4, which the caret never enters.
    for (int k = 1; k <= kSlotCount; ++k)
        QTest::addRow("%d", k) << k << std::max(k, 5);
    for (int k : {0, -1, -18, lowest, lowest + 1})
        QTest::addRow("%d", k) << k << 5;
    for (int k : {20, 21, 38, highest, highest - 1})
        QTest::addRow("%d", k) << k << kSlotCount;
}

void Writing::caretIsKeptInTheRow() {
    QFETCH(int, asked);
    QFETCH(int, expected);
    Form f = startedForm(Mode::trainer);
    f.moveCaret(10);
    const FormState before = f.state;
    f.moveCaret(asked);
    QCOMPARE(f.state.caret, expected);
    FormState moved = before;
    moved.caret = expected;
    COMPARE_STATES(f.state, moved); // the caret alone moves
}

void Writing::heldKeyStopsAtTheLastSlot_data() {
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("keys"); // one press of the held key
    QTest::addColumn<QString>("tag");  // "" for a held Space with "imp" picked
    for (Mode mode : {Mode::trainer, Mode::test})
        for (int from : {mode == Mode::test ? 1 : 5, 6, 15, 18, 19})
            for (auto [keys, tag] :
                 {std::pair{"x", "x"}, {"ч", "x"}, {"!y", "no_y"}, {"!!x", "no_no_x"}, {"", "imp"}})
                QTest::addRow("%s, from %d, %s", modeName(mode), from, *keys ? keys : "Space")
                    << mode << from << QString::fromUtf8(keys) << q(tag);
}

// Auto-repeat: the key arrives again and again. It fills the slots up to the last one and
// stays there; the slots before the caret, the drawn left side among them, are not touched.
void Writing::heldKeyStopsAtTheLastSlot() {
    QFETCH(Mode, mode);
    QFETCH(int, from);
    QFETCH(QString, keys);
    QFETCH(QString, tag);
    const std::string t = tag.toStdString();
    Form f = startedForm(mode);
    f.hint();
    if (keys.isEmpty()) f.pick(t);
    f.moveCaret(from);
    FormState expected = f.state;
    for (int press = 0; press < 40; ++press) {
        if (keys.isEmpty())
            f.placePickedAtCaret();
        else
            QCOMPARE(typeAll(f, keys), allTaken(keys));
        QCOMPARE(f.state.caret, std::min(from + press + 1, kSlotCount));
    }
    for (int k = from; k <= kSlotCount; ++k)
        expected.slot(k) = placed(t);
    expected.caret = kSlotCount;
    COMPARE_STATES(f.state, expected);

    // Another key held at the end replaces slot 19 alone.
    const FormState full = f.state;
    for (int press = 0; press < 5; ++press)
        QVERIFY(f.type(U'0'));
    expected = full;
    expected.slot(kSlotCount) = placed("ноль");
    COMPARE_STATES(f.state, expected);
}

void Writing::emptyingASlot_data() {
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<int>("k");
    for (Mode mode : {Mode::trainer, Mode::test})
        for (int k = 1; k <= kSlotCount; ++k)
            QTest::addRow("%s, slot %d", modeName(mode), k) << mode << k;
}

// Emptying leaves a blank picture without a tag, whatever the slot showed: a pupil's symbol,
// the trainer's drawn side or the red hint. Delete does it at the caret, which stays.
void Writing::emptyingASlot() {
    QFETCH(Mode, mode);
    QFETCH(int, k);
    Form f = startedForm(mode);
    f.hint();
    for (int j = 1; j <= kSlotCount; j += 3)
        f.drop(j, j % 2 ? "no_ili" : "y");
    f.moveCaret(4);
    const FormState before = f.state;
    FormState expected = before;
    expected.slot(k) = kEmpty;

    f.emptySlot(k);
    COMPARE_STATES(f.state, expected);
    f.emptySlot(k); // an empty slot stays empty
    COMPARE_STATES(f.state, expected);

    Form g = f;
    g.state = before;
    g.state.caret = k;
    g.deleteAtCaret();
    QCOMPARE(g.state.caret, k);
    expected.caret = k;
    // Delete on the trainer's drawn left side does nothing.
    if (mode == Mode::trainer && k < 5) expected.slot(k) = before.slot(k);
    COMPARE_STATES(g.state, expected);
}

void Writing::emptyingOutsideTheRowChangesNothing() {
    Form f = startedForm(Mode::trainer);
    f.hint();
    dropFrom(f, {"x", "и", "z"}, 17);
    const FormState before = f.state;
    for (int k : {0, -1, 20, 21, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()})
        f.emptySlot(k);
    COMPARE_STATES(f.state, before);
}

void Writing::backspaceWalksBack() {
    Form f = startedForm(Mode::test);
    typeAll(f, QStringLiteral("xvy"));
    QCOMPARE(f.state.caret, 4);
    f.backspace();
    QCOMPARE(f.state.caret, 3);
    QCOMPARE(q(f.formulaKey()), QStringLiteral("xили"));
    QVERIFY(f.state.slot(3) == kEmpty);
    typeAll(f, QStringLiteral("!y"));
    QCOMPARE(q(f.formulaKey()), QStringLiteral("xилиno_y"));

    // Backspace from a caret with symbols on both sides empties the one before only.
    f.moveCaret(3);
    f.backspace();
    QCOMPARE(f.state.caret, 2);
    QCOMPARE(q(f.formulaKey()), QStringLiteral("xno_y"));
    QVERIFY(f.state.slot(2) == kEmpty);
    f.backspace();
    QCOMPARE(f.state.caret, 1);
    QCOMPARE(q(f.formulaKey()), QStringLiteral("no_y"));

    // At slot 1 there is nothing before the caret: nothing changes.
    const FormState atStart = f.state;
    for (int i = 0; i < 3; ++i)
        f.backspace();
    COMPARE_STATES(f.state, atStart);

    // From the end of a full row back to the start: every slot emptied once.
    for (int i = 0; i < kSlotCount; ++i)
        f.type(U'z');
    QCOMPARE(f.state.caret, kSlotCount);
    f.backspace();
    QCOMPARE(f.state.caret, kSlotCount - 1);
    QVERIFY(f.state.slot(kSlotCount - 1) == kEmpty);
    QVERIFY(f.state.slot(kSlotCount) == placed("z"));
    for (int i = 0; i < 30; ++i)
        f.backspace();
    QCOMPARE(f.state.caret, 1);
    QCOMPARE(q(f.formulaKey()), QStringLiteral("z"));
}

// In trainer mode the keyboard never touches the drawn left-hand side: Backspace, Left and Home
// stop at the first slot after "=", Delete there does nothing; a drop still replaces it.
void Writing::keysLeaveTheDrawnLeftSide_data() {
    QTest::addColumn<int>("law");
    QTest::addColumn<int>("home"); // the first slot after the drawn "="
    QTest::newRow("law 1, x ∨ y =") << 1 << 5;
    QTest::newRow("law 13, (x • y) ∨ (x̄ • y) =") << 13 << 13;
    QTest::newRow("law 23, x ↔ y =") << 23 << 5;
}

void Writing::keysLeaveTheDrawnLeftSide() {
    QFETCH(int, law);
    QFETCH(int, home);
    Form f = startedForm(Mode::trainer);
    for (int n = 1; n < law; ++n)
        f.check();
    QCOMPARE(f.state.caret, home);
    const FormState atHome = f.state;
    for (int i = 0; i < 3; ++i) {
        f.backspace();
        f.moveCaret(f.state.caret - 1);
        f.moveCaret(1);
        f.deleteAtCaret();
    }
    COMPARE_STATES(f.state, atHome);
    for (int k = 1; k < home; ++k) { // a caret put there by nothing the keyboard does
        f.state.caret = k;
        f.deleteAtCaret();
        QVERIFY(f.state.slot(k) == atHome.slot(k));
    }
    f.state.caret = home;
    typeAll(f, QStringLiteral("xy"));
    for (int i = 0; i < 5; ++i)
        f.backspace();
    QCOMPARE(f.state.caret, home);
    QVERIFY(f.state.slot(home) == kEmpty);
    QVERIFY(f.state.slot(home - 1) == atHome.slot(home - 1)); // the drawn "="
    f.drop(home - 1, "x");
    QVERIFY(f.state.slot(home - 1) == placed("x"));
}

void Writing::writingNeverJudges_data() {
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QString>("stage");
    for (Mode mode : {Mode::trainer, Mode::test})
        for (const char* stage :
             {"before Start", "question 1", "verdict shown", "after the last answer", "test over"})
            QTest::addRow("%s, %s", modeName(mode), stage) << mode << QString::fromLatin1(stage);
}

// Every writing operation, at every stage of a run, changes the row and the writing fields
// alone: never the counts, the verdict, the question or the checked key.
void Writing::writingNeverJudges() {
    QFETCH(Mode, mode);
    QFETCH(QString, stage);
    Form f = loadedForm();
    f.selectMode(mode);
    if (stage != QLatin1String("before Start")) f.start();
    if (stage == QLatin1String("verdict shown")) {
        dropFrom(f, mode == Mode::trainer ? rightSideTags(1) : lawTags(1), expectedHome(mode, 1));
        f.check();
        f.check();
        QCOMPARE(f.state.rightCount, 1);
        QCOMPARE(f.state.wrongCount, 1);
        QCOMPARE(q(f.state.verdict), q(kVerdictWrong));
    }
    if (stage == QLatin1String("after the last answer")) advanceTo(f, kLawCount + 1);
    if (stage == QLatin1String("test over")) advanceTo(f, kLawCount + 2);
    const FormState before = f.state;

    f.pick("x");
    f.placePicked(3);
    f.placePicked(19);
    f.pick("x");
    f.pick("imp");
    f.moveCaret(17);
    for (int i = 0; i < 4; ++i)
        f.placePickedAtCaret();
    f.emptySlot(2);
    f.deleteAtCaret();
    f.backspace();
    f.moveCaret(1);
    // The answer to law 1 among the keys: typing it does not count it.
    typeAll(f, QStringLiteral("xvy=yvx!z!!y!!!q ч+!м&-Я<~()01"));

    // Then the exact answer to the law asked (law 1 when none is) in an emptied row, and more
    // writing after it: a right row is still not a counted answer.
    for (int k = 1; k <= kSlotCount; ++k)
        f.emptySlot(k);
    const int n = before.question >= 1 && before.question <= kLawCount ? before.question : 1;
    f.moveCaret(expectedHome(mode, n));
    const Tags answer = mode == Mode::trainer ? rightSideTags(n) : lawTags(n);
    typeAll(f, keysFor(answer));
    QCOMPARE(f.formulaKey(), law_keys::joinTags(answer));
    typeAll(f, QStringLiteral("q!q0!"));
    f.pick("so");
    f.placePicked(19);
    f.moveCaret(19);
    f.placePickedAtCaret();
    f.backspace();
    f.deleteAtCaret();
    f.unpick();

    FormState expected = before;
    expected.row = f.state.row;
    COMPARE_STATES(f.state, withWritingOf(expected, f.state));
    QCOMPARE(f.state.question, before.question);
    QCOMPARE(f.state.rightCount, before.rightCount);
    QCOMPARE(f.state.wrongCount, before.wrongCount);
    QCOMPARE(q(f.state.verdict), q(before.verdict));
}

void Writing::markedAnswerAfterCheck_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("row"); // the tags from slot 1 on; "" an empty slot
    QTest::addColumn<int>("caret");
    const QStringList kept{"x", "или", "y", "равно", "y", "или", "x"}; // law 1, as answered
    auto keptWith = [&](int k, const char* tag) {
        QStringList row = kept;
        row[k - 1] = QString::fromUtf8(tag);
        return row;
    };
    auto row = [](const char* name, QStringList steps, QStringList tags, int caret) {
        QTest::newRow(name) << steps << tags << caret;
    };
    row("a typed symbol replaces it", {"type x"}, {"x"}, 2);
    row("a barred one too", {"type !!x"}, {"no_no_x"}, 2);
    row("a waiting bar keeps it", {"type !"}, kept, 1);
    row("a key that cannot follow the bar", {"type !q", "type y"}, {"y"}, 2);
    row("Backspace empties the row", {"backspace"}, {}, 1);
    row("Delete empties the row", {"delete"}, {}, 1);
    row("the picked symbol placed at the caret", {"pick z", "place"}, {"z"}, 2);
    row("a pick and Escape keep it", {"pick z", "type !", "unpick", "type y"}, {"y"}, 2);
    row("the caret moved: typed over", {"caret 2", "type z"}, keptWith(2, "z"), 3);
    row("Home: typed over", {"caret 1", "type z"}, keptWith(1, "z"), 2);
    row("a drop replaces its slot alone", {"drop 3 z", "type y"},
        {"y", "или", "z", "равно", "y", "или", "x"}, 2);
    row("a drop that changes nothing keeps it", {"drop 3 y", "type y"}, {"y"}, 2);
    row("a click with a pick is a drop", {"pick z", "click 3", "type y"},
        {"y", "или", "z", "равно", "y", "или", "x"}, 2);
    row("a click without a pick changes nothing", {"click 3", "type y"}, {"y"}, 2);
    row("Clear", {"clear", "type y"}, {"y"}, 2);
    row("the next Check marks the next answer", {"type x", "check", "type y"}, {"y"}, 2);
}

// After a check in test mode the answer stays in the row, marked as a whole: the first symbol
// written at the caret replaces it, Backspace or Delete empty the row; a drop replaces its slot
// alone, as it always did, and ends the mark, as does moving the caret.
void Writing::markedAnswerAfterCheck() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, row);
    QFETCH(int, caret);
    Form f = startedForm(Mode::test);
    typeAll(f, QStringLiteral("xvy=yvx"));
    f.check();
    QVERIFY(f.state.answerMarked);
    for (const QString& step : steps) {
        const QStringList word = step.split(' ');
        const QString& op = word[0];
        const std::string arg = word.size() > 1 ? word.last().toStdString() : std::string();
        if (op == "type") typeAll(f, word[1]);
        if (op == "backspace") f.backspace();
        if (op == "delete") f.deleteAtCaret();
        if (op == "pick") f.pick(arg);
        if (op == "unpick") f.unpick();
        if (op == "place") f.placePickedAtCaret();
        if (op == "caret") f.moveCaret(word[1].toInt());
        if (op == "drop") f.drop(word[1].toInt(), arg);
        if (op == "click") f.placePicked(word[1].toInt());
        if (op == "clear") f.clear();
        if (op == "check") f.check();
    }
    QStringList tags;
    for (const Slot& slot : f.state.row)
        tags << q(slot.tag);
    while (!tags.isEmpty() && tags.last().isEmpty())
        tags.removeLast();
    QCOMPARE(tags, row);
    QCOMPARE(f.state.caret, caret);
}

// Trainer mode draws the next law after a check, and a check before Start judges nothing: no
// answer is left marked.
void Writing::onlyAJudgedTestAnswerIsMarked() {
    QFETCH(Mode, mode);
    Form f = loadedForm();
    f.selectMode(mode);
    typeAll(f, QStringLiteral("xvy"));
    f.check();
    QVERIFY(!f.state.answerMarked);
    f.start();
    f.moveCaret(expectedHome(mode, 1));
    typeAll(f, QStringLiteral("xvy"));
    f.check();
    QCOMPARE(f.state.answerMarked, mode == Mode::test);
}

void Writing::wholeRunTypedFromCharacters_data() {
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<bool>("clears"); // Clear between the answers
    QTest::newRow("trainer") << Mode::trainer << false;
    QTest::newRow("test, Clear between answers") << Mode::test << true;
    QTest::newRow("test, each answer typed over the last") << Mode::test << false;
}

// A whole run written from typed characters alone (with Check, and in test mode, whose row
// stays after Check, Clear or not between the answers): 23 right.
void Writing::wholeRunTypedFromCharacters() {
    QFETCH(Mode, mode);
    QFETCH(bool, clears);
    Form f = startedForm(mode);
    for (int n = 1; n <= kLawCount; ++n) {
        const QString keys =
            keysFor(mode == Mode::trainer ? rightSideTags(n) : lawTags(n), n % 2 == 0);
        QCOMPARE(typeAll(f, keys), allTaken(keys));
        f.check();
        QVERIFY2(f.state.verdict == kVerdictRight, qPrintable(QStringLiteral("law %1").arg(n)));
        QCOMPARE(f.state.rightCount, n);
        if (clears) f.clear();
    }
    QCOMPARE(f.state.rightCount, kLawCount);
    QCOMPARE(f.state.wrongCount, 0);
    QCOMPARE(f.state.question, kLawCount + 1);
    QCOMPARE(q(f.state.rightShown), QStringLiteral("23"));
    QCOMPARE(q(f.state.lawName), q(kEndMessage));
}

QTEST_APPLESS_MAIN(Writing)
#include "tst_writing.moc"
