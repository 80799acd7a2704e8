// The per-law statistics of a small class whose answers are known: counts, wrong answers as
// written with how often (a test's and a trainer's apart, however alike), worst first and laws
// never answered last, for each mode and date range; each answer counts for its own law whatever
// order the laws were asked in.
#include "journal/law_statistics.h"
#include "journal_test_support.h"

#include <QTest>

using namespace journal_test;

namespace {

constexpr std::int64_t kDay = 86'400'000;
const std::string kWrong2 = "xиyравноyи", kWrong5 = "xиsoyилиzsz", kWrong1 = "yилиy";

JournalRun runOf(Mode mode, std::int64_t startedMs, std::vector<Answer> answers) {
    RunRecord run{1, mode, startedMs, startedMs + 1000, RunEnding::finished, {}, {}};
    for (const Answer& a : answers)
        run.asked.push_back(a.law);
    run.answers = std::move(answers);
    return entryOf(run);
}

// Three runs, the laws asked out of order: day 0 and day 1 tests, a day 2 trainer run; law 5 left
// empty in both modes.
std::vector<JournalRun> smallClass() {
    return {
        runOf(Mode::test, kMoment, {{2, kWrong2, false, 0}, {1, "x", true, 0}, {5, "", false, 0}}),
        runOf(Mode::test, kMoment + kDay,
              {{5, kWrong5, false, 0}, {2, kWrong2, false, 0}, {1, "x", true, 0}}),
        runOf(Mode::trainer, kMoment + 2 * kDay,
              {{1, kWrong1, false, 0}, {2, "x", true, 0}, {5, "", false, 0}})};
}

// "law:answers/right" and each common wrong answer with its count, laws with answers only.
QStringList shown(const std::vector<LawStatistics>& table) {
    QStringList lines;
    for (const LawStatistics& s : table) {
        if (s.answers == 0) continue;
        QString line = QStringLiteral("%1:%2/%3").arg(s.law).arg(s.answers).arg(s.right);
        for (const WrongAnswer& w : s.commonWrong)
            line += QStringLiteral(" %1*%2").arg(qs(w.shown())).arg(w.count);
        lines << line;
    }
    return lines;
}

QString signs(const std::string& key) {
    return qs(keyText(key));
}

} // namespace

class LawStatisticsTest : public QObject {
    Q_OBJECT

  private slots:
    void smallClass_data() {
        QTest::addColumn<std::optional<Mode>>("mode");
        QTest::addColumn<qint64>("fromMs");
        QTest::addColumn<qint64>("toMs");
        QTest::addColumn<QStringList>("expected");
        const qint64 all = std::numeric_limits<qint64>::max(), none = -all;
        // The trainer's right-hand sides after the left side they were given.
        const QString w1 = "… = " + signs(kWrong1), w2 = signs(kWrong2), w5 = signs(kWrong5);
        QTest::newRow("every run") << std::optional<Mode>() << none << all
                                   << QStringList{"5:3/0 … = (пусто)*1 (пусто)*1 " + w5 + "*1",
                                                  "2:3/1 " + w2 + "*2", "1:3/2 " + w1 + "*1"};
        QTest::newRow("tests") << std::optional<Mode>(Mode::test) << none << all
                               << QStringList{"2:2/0 " + w2 + "*2", "5:2/0 (пусто)*1 " + w5 + "*1",
                                              "1:2/2"};
        QTest::newRow("trainer") << std::optional<Mode>(Mode::trainer) << none << all
                                 << QStringList{"1:1/0 " + w1 + "*1", "5:1/0 … = (пусто)*1",
                                                "2:1/1"};
        QTest::newRow("from day 1") << std::optional<Mode>() << qint64(kMoment + kDay) << all
                                    << QStringList{"5:2/0 … = (пусто)*1 " + w5 + "*1",
                                                   "1:2/1 " + w1 + "*1", "2:2/1 " + w2 + "*1"};
        QTest::newRow("day 0 alone")
            << std::optional<Mode>() << none << qint64(kMoment + kDay)
            << QStringList{"2:1/0 " + w2 + "*1", "5:1/0 (пусто)*1", "1:1/1"};
    }
    void smallClass() {
        QFETCH(std::optional<Mode>, mode);
        QFETCH(qint64, fromMs);
        QFETCH(qint64, toMs);
        QFETCH(QStringList, expected);
        const auto table = lawStatistics(sharedRuns(::smallClass()), RunFilter{mode, fromMs, toMs});
        QCOMPARE(shown(table), expected);
        // Every law once; those never answered last, in the catalogue's order.
        QCOMPARE(table.size(), std::size_t(kLawCount));
        std::vector<int> unanswered;
        for (std::size_t i = std::size_t(expected.size()); i < table.size(); ++i) {
            QCOMPARE(table[i].answers, 0);
            QVERIFY(!table[i].shareRight());
            unanswered.push_back(table[i].law);
        }
        QVERIFY(std::is_sorted(unanswered.begin(), unanswered.end()));
        QCOMPARE(qs(table[0].name), qs(law(table[0].law).name));
    }

    // Seven different wrong answers to one law: the five written most often, most often first.
    void commonWrongAnswersAreTheMostFrequent() {
        std::vector<Answer> answers;
        const std::vector<std::string> keys{"x", "y", "z", "xилиx", "yилиy", "zилиz", "xиx"};
        for (std::size_t k = 0; k < keys.size(); ++k)
            for (std::size_t times = 0; times < (k * 3) % 7 + 1; ++times)
                answers.push_back({9, keys[k], false, 0});
        const auto table = lawStatistics(sharedRuns({runOf(Mode::test, kMoment, answers)}));
        QCOMPARE(table[0].law, 9);
        QStringList common;
        for (const WrongAnswer& w : table[0].commonWrong)
            common << QStringLiteral("%1*%2").arg(qs(w.written)).arg(w.count);
        // Counts by key: x 1, y 4, z 7, x∨x 3, y∨y 6, z∨z 2, x•x 5.
        QCOMPARE(common, (QStringList{"z*7", signs("yилиy") + "*6", signs("xиx") + "*5", "y*4",
                                      signs("xилиx") + "*3"}));
    }
};

QTEST_GUILESS_MAIN(LawStatisticsTest)
#include "tst_law_statistics.moc"
