// The catalogue of laws: every answer the program accepts is a true law of Boolean algebra, and
// the question lines and keys are the ones the pupil is taught.
#include "core/answer_reason.h"
#include "core_test_support.h"

#include <QTest>

#include <set>

using namespace core_test;

namespace {

// Why the key is no formula or no identity over all eight assignments of x, y, z; empty when
// it is one.
QString notAnIdentity(std::string_view key) {
    const EquationReading reading = readEquation(key);
    if (!reading.equation) return QStringLiteral("no formula: ") + q(problemText(reading.problem));
    if (reading.equation->identity()) return {};
    return QStringLiteral("values over x, y, z = 000 … 111: left %1, right %2")
        .arg(reading.equation->left.values, 8, 2, QLatin1Char('0'))
        .arg(reading.equation->right.values, 8, 2, QLatin1Char('0'));
}

} // namespace

class Laws : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void everyAcceptedAnswerIsAnIdentity_data();
    void everyAcceptedAnswerIsAnIdentity();
    void questionLinesAndKeysAsTaught_data();
    void questionLinesAndKeysAsTaught();
    void vocabularyMatchesTheTestsList();
    void cleanupTestCase();

  private:
    int identitiesChecked = 0;
};

void Laws::everyAcceptedAnswerIsAnIdentity_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("identity");
    for (int n = 1; n <= kLawCount; ++n) {
        QTest::addRow("law %d key", n) << q(law(n).key) << true;
        // What trainer mode accepts, behind the left-hand side it draws.
        const LawSides& sides = lawSides(n);
        QTest::addRow("law %d trainer answer", n)
            << q(joinTags(sides.left) + sides.rightKey) << true;
        if (!law(n).otherForm.empty())
            QTest::addRow("law %d other form", n) << q(law(n).otherForm) << true;
    }
    // Near misses the evaluator must tell apart, so that the rows above can fail.
    QTest::newRow("control: и tighter than или")
        << QStringLiteral("xиyилиzравноxиsoyилиzsz") << false;
    QTest::newRow("control: one bar over the run")
        << QStringLiteral("no_xno_ilino_yравноno_xилиno_y") << false;
    QTest::newRow("control: implication one way") << QStringLiteral("ximpyравноyimpx") << false;
    QTest::newRow("control: equivalence") << QStringLiteral("xekvyравноno_xилиy") << false;
    QTest::newRow("control: z counts") << QStringLiteral("xилиzравноx") << false;
    QTest::newRow("control: no_no_x") << QStringLiteral("no_no_xравноno_x") << false;
}

void Laws::everyAcceptedAnswerIsAnIdentity() {
    QFETCH(QString, key);
    QFETCH(bool, identity);
    const std::string k = key.toStdString();
    const auto tags = law_keys::splitKey(k);
    QVERIFY(tags.has_value());
    QVERIFY2(tags->size() <= std::size_t(kSlotCount), "longer than the slot row");
    QVERIFY2(readEquation(k).equation, qPrintable(notAnIdentity(k)));
    const QString why = notAnIdentity(k);
    QVERIFY2(why.isEmpty() == identity,
             qPrintable(why.isEmpty() ? QStringLiteral("an identity") : why));
    if (identity) ++identitiesChecked;
}

void Laws::questionLinesAndKeysAsTaught_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    const std::array<std::pair<const char*, const char*>, 23> taught{{
        {"Переместительный закон для ИЛИ", "xилиyравноyилиx"},
        {"Переместительный закон для И", "xиyравноyиx"},
        {"Сочетательный закон для ИЛИ", "xилиsoyилиzszравноsoxилиyszилиz"},
        {"Сочетательный закон для И", "xиsoyиzszравноsoxиyszиz"},
        {"Распределительный закон для ИЛИ", "xиsoyилиzszравноsoxиyszилиsoxиzsz"},
        {"Распределительный закон для И", "xилиsoyиzszравноsoxилиyszиsoxилиzsz"},
        {"Правила де Моргана для ИЛИ", "no_xno_ilino_yравноno_xиno_y"},
        {"Правила де Моргана для И", "no_xno_ino_yравноno_xилиno_y"},
        {"Закон идемпотентности для ИЛИ", "xилиxравноx"},
        {"Закон идемпотентности для И", "xиxравноx"},
        {"Закон поглощения для ИЛИ", "xилиsoxиyszравноx"},
        {"Закон поглощения для И", "xиsoxилиyszравноx"},
        {"Закон склеивания для ИЛИ", "soxиyszилиsono_xиyszравноy"},
        {"Закон склеивания для И", "soxилиyszиsono_xилиyszравноy"},
        {"Операция переменной с её инверсией для ИЛИ", "xилиno_xравноодин"},
        {"Операция переменной с её инверсией для И", "xиno_xравноноль"},
        {"Операция для ИЛИ с константой 0", "xилинольравноx"},
        {"Операция для ИЛИ с константой 1", "xилиодинравноодин"},
        {"Операция для И с константой 0", "xинольравноноль"},
        {"Операция для И с константой 1", "xиодинравноx"},
        {"Закон двойного отрицания", "no_no_xравноx"},
        {"Запишите импликацию как отрицание и дизъюнкцию", "ximpyравноno_xилиy"},
        {"Запишите эквиваленцию как отрицание, дизъюнкцию и конъюнкцию",
         "xekvyравноsono_xилиyszиsono_yилиxsz"},
    }};
    QCOMPARE(int(taught.size()), kLawCount);
    for (int n = 1; n <= kLawCount; ++n)
        QTest::addRow("law %d", n) << n << QString::fromUtf8(taught[std::size_t(n - 1)].first)
                                   << QString::fromUtf8(taught[std::size_t(n - 1)].second);
}

// Asked in order under its name; written out whole in test mode, the key is right.
void Laws::questionLinesAndKeysAsTaught() {
    QFETCH(int, n);
    QFETCH(QString, name);
    QFETCH(QString, key);
    Form f = startedForm(Mode::test);
    advanceTo(f, n);
    QCOMPARE(q(f.state.lawName), name);
    QCOMPARE(q(f.state.questionShown), QString::number(n));
    const auto tags = law_keys::splitKey(key.toStdString());
    QVERIFY(tags.has_value());
    dropFrom(f, *tags, 1);
    QCOMPARE(q(f.formulaKey()), key);
    f.check();
    QCOMPARE(q(f.state.verdict), QStringLiteral("правильно"));
}

// The product's vocabulary against the tests' list: each tag finds its own drawing, each
// drawing its own tag, and no two symbols share a drawing or a spoken name.
void Laws::vocabularyMatchesTheTestsList() {
    std::set<std::string_view> drawings, spoken;
    for (std::size_t i = 0; i < law_keys::kTags.size(); ++i) {
        const std::string_view tag = law_keys::kTags[i];
        const Symbol* s = symbolByTag(tag);
        QVERIFY2(s, qPrintable(q(tag)));
        QCOMPARE(q(s->tag), q(tag));
        QVERIFY2(s->glyph == law_keys::kTagGlyphs[i], qPrintable(q(tag)));
        QCOMPARE(q(symbolOf(law_keys::kTagGlyphs[i]).tag), q(tag));
        drawings.insert(s->drawing);
        spoken.insert(s->spoken);
    }
    QCOMPARE(drawings.size(), std::size_t(17));
    QCOMPARE(spoken.size(), std::size_t(17));
    for (const char* stranger : {"", "X", "или ", "ravno", "ili", "ИЛИ", "xy"})
        QVERIFY2(!symbolByTag(stranger), stranger);
    // Each key types one symbol at most and never a bar; a barred symbol is typed through the
    // symbol under its bars, every other one has keys of its own.
    std::multiset<char32_t> keys;
    for (const Symbol& s : kSymbols) {
        QVERIFY2(s.keys.empty() == (s.bars > 0), qPrintable(q(s.tag)));
        keys.insert(s.keys.begin(), s.keys.end());
    }
    for (char32_t key : keys)
        QVERIFY2(keys.count(key) == 1, qPrintable(QString::fromUcs4(&key, 1)));
    for (char32_t bar : kBarKeys)
        QVERIFY(!keys.contains(bar));
}

void Laws::cleanupTestCase() {
    qInfo("%d accepted answers checked as identities over all 8 assignments of x, y, z",
          identitiesChecked);
}

QTEST_APPLESS_MAIN(Laws)
#include "tst_laws.moc"
