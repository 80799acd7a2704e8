// The catalogue of laws: every answer the program accepts is a true law of Boolean algebra, and
// the question lines and keys are the ones the pupil is taught.
#include "core_test_support.h"

#include <QTest>

#include <set>

using namespace core_test;

namespace {

// Evaluates one side of a formula key for given x, y, z. Binding from tightest: the barred
// group, "и", "или", imp, ekv. A maximal run of barred symbols ("no_x no_ili no_y") is one bar
// over the whole run: its no_i and no_ili join the unbarred operands as "и" and "или" do, and
// the result is negated.
class Side {
  public:
    Side(const Tags& tags, bool x, bool y, bool z) : t(tags), x(x), y(y), z(z) {}

    // The value, or nullopt when the tags are no well-formed expression.
    std::optional<bool> value() {
        const bool v = equivalence();
        if (!ok || at != t.size()) return std::nullopt;
        return v;
    }

  private:
    bool next(std::string_view tag) {
        if (at < t.size() && t[at] == tag) {
            ++at;
            return true;
        }
        return false;
    }
    bool fail() {
        ok = false;
        return false;
    }
    bool equivalence() {
        bool v = implication();
        while (next("ekv")) {
            const bool w = implication();
            v = v == w;
        }
        return v;
    }
    bool implication() {
        const bool v = disjunction();
        if (!next("imp")) return v;
        const bool w = implication();
        return !v || w;
    }
    bool disjunction() {
        bool v = conjunction();
        while (next("или")) {
            const bool w = conjunction();
            v = v || w;
        }
        return v;
    }
    bool conjunction() {
        bool v = operand();
        while (next("и")) {
            const bool w = operand();
            v = v && w;
        }
        return v;
    }
    static bool barred(std::string_view tag) {
        return tag == "no_x" || tag == "no_y" || tag == "no_ili" || tag == "no_i";
    }
    bool operand() {
        if (at >= t.size()) return fail();
        if (barred(t[at])) return !barredOr();
        const std::string_view tag = t[at++];
        if (tag == "x" || tag == "no_no_x") return x;
        if (tag == "y") return y;
        if (tag == "z") return z;
        if (tag == "один") return true;
        if (tag == "ноль") return false;
        if (tag == "so") {
            const bool v = equivalence();
            return next("sz") ? v : fail();
        }
        return fail();
    }
    // Under the bar, without the bar's negation.
    bool barredOr() {
        bool v = barredAnd();
        while (next("no_ili")) {
            const bool w = barredAnd();
            v = v || w;
        }
        return v;
    }
    bool barredAnd() {
        bool v = barredOperand();
        while (next("no_i")) {
            const bool w = barredOperand();
            v = v && w;
        }
        return v;
    }
    bool barredOperand() {
        if (next("no_x")) return x;
        if (next("no_y")) return y;
        return fail();
    }

    const Tags& t;
    const bool x, y, z;
    std::size_t at = 0;
    bool ok = true;
};

// Empty when the key is an identity over all eight assignments; otherwise why not.
QString notAnIdentity(std::string_view key) {
    const auto tags = law_keys::splitKey(key);
    if (!tags) return QStringLiteral("some part is no tag");
    const auto equals = std::find(tags->begin(), tags->end(), law_keys::kEquals);
    if (equals == tags->end() ||
        std::find(equals + 1, tags->end(), law_keys::kEquals) != tags->end())
        return QStringLiteral("not exactly one равно");
    const Tags left(tags->begin(), equals), right(equals + 1, tags->end());
    for (int bits = 0; bits < 8; ++bits) {
        const bool x = bits & 4, y = bits & 2, z = bits & 1;
        const auto l = Side(left, x, y, z).value(), r = Side(right, x, y, z).value();
        if (!l || !r) return QStringLiteral("a side is no well-formed expression");
        if (*l != *r)
            return QStringLiteral("x=%1 y=%2 z=%3: left %4, right %5")
                .arg(x)
                .arg(y)
                .arg(z)
                .arg(*l)
                .arg(*r);
    }
    return {};
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
}

void Laws::cleanupTestCase() {
    qInfo("%d accepted answers checked as identities over all 8 assignments of x, y, z",
          identitiesChecked);
}

QTEST_APPLESS_MAIN(Laws)
#include "tst_laws.moc"
