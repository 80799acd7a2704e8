// Long random sequences of everything a pupil can do — Start, both options, Check, Clear, hint,
// rules, and drops of any tag (known or not) on any image number — checking after every event
// that the run stays consistent and nothing leaves its range.
#include "core_test_support.h"

#include <QTest>
#include <random>

using namespace core_test;

namespace {

std::string describe(const FormState& s) {
    return "question " + std::to_string(s.questionNumber) + ", cursor " +
           std::to_string(s.lawCursor) + ", right " + std::to_string(s.rightCount) + ", wrong " +
           std::to_string(s.wrongCount);
}

// What must hold whatever was pressed before.
std::string brokenRule(const FormState& s) {
    if (s.workMode != 0 && s.workMode != 1) return "mode out of range";
    if (s.option1[0] == s.option1[1]) return "not exactly one option selected";
    if (s.hintPresses < 0) return "hint counter wrapped";
    if (s.label2FontPt != kNormalNamePt && s.label2FontPt != kSmallNamePt)
        return "question line at another size";
    for (const Slot& slot : s.slotRow) {
        if (slot.tag.empty()) continue;
        const SymbolFact& fact = symbol(slot.tag);
        if (fact.tag.empty()) return "slot holds an unknown tag " + slot.tag;
        // A dropped symbol shows itself, unless a hint was drawn over it afterwards.
        if (slot.picture != Picture::blue(fact.glyph) && slot.picture.ink != Picture::Ink::red)
            return "slot shows another picture than its tag " + slot.tag;
    }
    if (!s.runStarted) return {};
    const int q = s.questionNumber;
    if (q < 1 || q > 25) return "question number out of range: " + describe(s);
    if (s.lawCursor != 2 * q - 3) return "cursor and question disagree: " + describe(s);
    if (s.rightCount < 0 || s.wrongCount < 0 || s.rightCount + s.wrongCount != std::min(q - 1, 23))
        return "counts do not match the questions answered: " + describe(s);
    return {};
}

} // namespace

class RandomPresses : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void anySequenceKeepsTheRunConsistent_data() {
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed : {1u, 2u, 3u, 20050206u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void anySequenceKeepsTheRunConsistent() {
        QFETCH(unsigned, seed);
        std::mt19937 random(seed);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        const std::vector<std::string> oddTags{"", "X", "или ", "no_z", "равно\n", "ИЛИ"};

        Form1 form;
        form.clockSeed = [] { return 42u; };
        form.Form_Load();
        int checks = 0;
        for (int step = 0; step < 60000; ++step) {
            // Check and drops come most often, as in a lesson; Start and the options seldom.
            const int action = pick(100);
            if (action < 2) {
                form.Cmd3_Start_Click();
            } else if (action < 4) {
                form.SelectOption1(pick(3) - (pick(4) == 0 ? 1 : 0)); // -1 … 2, two of them bad
            } else if (action < 30) {
                form.Command1_Click();
                ++checks;
            } else if (action < 35) {
                form.Command2_Click();
            } else if (action < 40) {
                form.Command3_Click();
            } else if (action < 41) {
                const FormState before = form.state;
                (void)form.Command4_Click();
                QVERIFY(form.state == before);
            } else {
                const std::string tag =
                    pick(10) == 0 ? oddTags[static_cast<std::size_t>(pick(6))]
                                  : std::string(kSymbols[static_cast<std::size_t>(pick(17))].tag);
                form.Image_DragDrop(pick(40), tag); // image numbers 0 … 39, slots 16 … 34
            }
            const std::string rule = brokenRule(form.state);
            QVERIFY2(rule.empty(), ("step " + std::to_string(step) + ": " + rule).c_str());
        }
        QVERIFY(checks > 10000);
    }
};

QTEST_APPLESS_MAIN(RandomPresses)
#include "tst_random_presses.moc"
