// Long random sequences of everything a pupil can do — Start, both options, Check, Clear, hint,
// and drops of any tag (known or not) on any slot number — checking after every event that the
// run stays consistent and nothing leaves its range.
#include "core_test_support.h"

#include <QTest>

#include <random>

using namespace core_test;

namespace {

std::string describe(const FormState& s) {
    return std::string(modeName(s.mode)) + ", question " + std::to_string(s.question) + ", right " +
           std::to_string(s.rightCount) + ", wrong " + std::to_string(s.wrongCount);
}

// What must hold whatever was pressed before.
std::string brokenRule(const FormState& s) {
    if (s.hintButtonVisible != (s.mode == Mode::trainer)) return "hint button in the wrong mode";
    if (s.hintPresses < 0) return "hint counter wrapped";
    if (s.lawNamePt != kNamePt && s.lawNamePt != kSmallNamePt)
        return "question line at another size";
    for (const Slot& slot : s.row) {
        if (slot.tag.empty()) continue;
        if (!law_keys::isTag(slot.tag)) return "slot holds an unknown tag " + slot.tag;
        // A dropped symbol shows itself, unless a hint was drawn over it afterwards.
        if (slot.picture != Picture::blue(glyphOf(slot.tag)) &&
            slot.picture.ink != Picture::Ink::red)
            return "slot shows another picture than its tag " + slot.tag;
    }
    if (!s.runGoing) return {};
    const int q = s.question;
    if (q < 1 || q > 25) return "question number out of range: " + describe(s);
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

        Form form;
        form.clockSeed = [] { return 42u; };
        form.load();
        int checks = 0;
        for (int step = 0; step < 60000; ++step) {
            // Check and drops come most often, as in a lesson; Start and the options seldom.
            const int action = pick(100);
            if (action < 2) {
                form.start();
            } else if (action < 4) {
                form.selectMode(pick(2) == 0 ? Mode::trainer : Mode::test);
            } else if (action < 30) {
                form.check();
                ++checks;
            } else if (action < 35) {
                form.clear();
            } else if (action < 40) {
                form.hint();
            } else {
                const std::string tag =
                    pick(10) == 0
                        ? oddTags[static_cast<std::size_t>(pick(6))]
                        : std::string(law_keys::kTags[static_cast<std::size_t>(pick(17))]);
                form.drop(pick(24) - 2, tag); // slot numbers -2 … 21, the row is 1 … 19
            }
            const std::string rule = brokenRule(form.state);
            QVERIFY2(rule.empty(), ("step " + std::to_string(step) + ": " + rule).c_str());
        }
        QVERIFY(checks > 10000);
    }
};

QTEST_APPLESS_MAIN(RandomPresses)
#include "tst_random_presses.moc"
