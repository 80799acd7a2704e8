// The formula reader: barred runs, binding and brackets read as a pupil is taught; and the line
// that says why a wrong answer is wrong.
#include "core/answer_reason.h"
#include "core/review_rows.h"
#include "core_test_support.h"

#include <QTest>

using namespace core_test;

namespace {

constexpr int X = kTableX, Y = kTableY, Z = kTableZ;
constexpr int no(int v) {
    return ~v & 0xFF;
}
constexpr int imp(int a, int b) {
    return no(a) | b;
}
constexpr int ekv(int a, int b) {
    return no(a ^ b);
}

void addReason(const char* row, int n, Mode mode, const char* answer, const char* reason) {
    QTest::newRow(row) << n << int(mode) << q(answer) << q(reason);
}

} // namespace

class FormulaTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void readsASide_data();
    void readsASide();
    void whyWrong_data();
    void whyWrong();
    void acceptedAnswersHaveNoReason();
    void everyShortRowIsReadOrExplained();
};

void FormulaTest::readsASide_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("values");
    QTest::addColumn<int>("variables");
    QTest::newRow("x̿ is x") << q("no_no_x") << X << int(kBitX);
    QTest::newRow("x̄ ∨̄ ȳ: one bar") << q("no_xno_ilino_y") << no(X | Y) << kBitX + kBitY;
    QTest::newRow("x̄ •̄ ȳ: one bar") << q("no_xno_ino_y") << no(X & Y) << kBitX + kBitY;
    QTest::newRow("x̄ • ȳ: two bars") << q("no_xиno_y") << (no(X) & no(Y)) << kBitX + kBitY;
    QTest::newRow("x̄ ∨ ȳ: two bars") << q("no_xилиno_y") << (no(X) | no(Y)) << kBitX + kBitY;
    QTest::newRow("•̄ tighter than ∨̄") << q("no_xno_ilino_xno_ino_y") << no(X) << kBitX + kBitY;
    QTest::newRow("∨̄ looser than •̄") << q("no_xno_ino_yno_ilino_y") << no(Y) << kBitX + kBitY;
    QTest::newRow("the bar ends at •") << q("no_xno_ilino_yиz") << (no(X | Y) & Z) << 7;
    QTest::newRow("the bar starts after •") << q("zиno_xno_ilino_y") << (Z & no(X | Y)) << 7;
    QTest::newRow("x̿ joins no bar") << q("no_xno_ilino_yилиno_no_x") << (no(X | Y) | X) << 6;
    QTest::newRow("a bar in brackets") << q("sono_xno_ilino_yszиz") << (no(X | Y) & Z) << 7;
    QTest::newRow("• before ∨") << q("xилиyиz") << (X | (Y & Z)) << 7;
    QTest::newRow("• before ∨, left") << q("xиyилиz") << ((X & Y) | Z) << 7;
    QTest::newRow("brackets first") << q("xиsoyилиzsz") << (X & (Y | Z)) << 7;
    QTest::newRow("→ to the right") << q("ximpyimpz") << imp(X, imp(Y, Z)) << 7;
    QTest::newRow("→ bracketed left") << q("soximpyszimpz") << imp(imp(X, Y), Z) << 7;
    QTest::newRow("∨ before →") << q("xилиyimpz") << imp(X | Y, Z) << 7;
    QTest::newRow("→ before ↔") << q("ximpyekvz") << ekv(imp(X, Y), Z) << 7;
    QTest::newRow("↔ after →") << q("xekvyimpz") << ekv(X, imp(Y, Z)) << 7;
    QTest::newRow("a bar before →") << q("no_xno_ilino_yimpy") << imp(no(X | Y), Y) << 6;
    QTest::newRow("constants only") << q("одинimpноль") << 0 << 0;
    QTest::newRow("0 and 1") << q("нольилиодиниz") << Z << int(kBitZ);
}

void FormulaTest::readsASide() {
    QFETCH(QString, key);
    QFETCH(int, values);
    QFETCH(int, variables);
    const SideReading reading = readSide(key.toStdString());
    QVERIFY2(reading.expression, qPrintable(q(problemText(reading.problem))));
    QCOMPARE(int(reading.expression->values), values);
    QCOMPARE(int(reading.expression->variables), variables);
}

void FormulaTest::whyWrong_data() {
    QTest::addColumn<int>("law");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("reason");
    const Mode test = Mode::test, trainer = Mode::trainer;
    // No formula.
    addReason("empty, test", 1, test, "", "ничего не написано");
    addReason("empty, trainer", 5, trainer, "", "ничего не написано");
    addReason("no =", 1, test, "xилиyyилиx", "нет знака \"=\"");
    addReason("no =, x̿", 21, test, "no_no_x", "нет знака \"=\"");
    addReason("two =, test", 9, test, "xилиxравноxравноx", "знак \"=\" больше одного раза");
    addReason("two =, trainer", 1, trainer, "xилиyравноyилиxравно",
              "знак \"=\" больше одного раза");
    addReason("empty left, test", 1, test, "равноyилиx", "левая часть пуста");
    addReason("empty left, trainer", 1, trainer, "равноyилиx", "левая часть пуста");
    addReason("empty right, test", 1, test, "xилиyравно", "правая часть пуста");
    addReason("empty right, trainer", 2, trainer, "xиyравно", "правая часть пуста");
    addReason("unclosed, trainer", 3, trainer, "soxилиyилиz", "не закрыта скобка");
    addReason("unclosed, test", 4, test, "xиsoyиzравноsoxиyszиz", "не закрыта скобка");
    addReason("stray ), trainer", 3, trainer, "xилиyszилиz", "закрывающая скобка без открывающей");
    addReason("stray ), test", 21, test, "xszравноx", "закрывающая скобка без открывающей");
    addReason("(), test", 1, test, "xилиsoszравноx", "пустые скобки");
    addReason("(), trainer", 12, trainer, "xиsosz", "пустые скобки");
    addReason("two signs, test", 2, test, "xиилиyравноyиx", "два знака подряд: • ∨");
    addReason("two signs, trainer", 1, trainer, "yилиилиx", "два знака подряд: ∨ ∨");
    addReason("two barred signs", 7, trainer, "no_xno_ilino_ino_y", "два знака подряд: ∨̄ •̄");
    addReason("sign opens right", 1, trainer, "илиyилиx", "знак ∨ в начале правой части");
    addReason("sign ends right", 1, trainer, "yилиxили", "знак ∨ в конце правой части");
    addReason("sign opens left", 2, test, "иxравноx", "знак • в начале левой части");
    addReason("sign ends left", 22, test, "ximpравноy", "знак → в конце левой части");
    addReason("sign opens (", 3, trainer, "soилиxилиyszилиz", "знак ∨ в начале скобки");
    addReason("sign ends (", 4, test, "xиsoyиszравноx", "знак • в конце скобки");
    addReason("bar opens with ∨̄", 7, test, "xno_ilino_yравноno_xиno_y", "знак ∨̄ в начале черты");
    addReason("bar ends with •̄", 8, trainer, "no_xno_iy", "знак •̄ в конце черты");
    addReason("two operands", 1, test, "xyравноyx", "нет знака между x и y");
    addReason("two barred operands", 8, test, "no_xno_yравноno_xилиno_y", "нет знака между x̄ и ȳ");
    addReason("operand after )", 4, trainer, "soxиyszz", "нет знака между ) и z");
    addReason("operand before (", 5, trainer, "xsoyилиzsz", "нет знака между x и (");
    addReason("no tag, test", 1, test, "xилиyравноyилиq", "в записи есть неизвестные знаки");
    addReason("no tag, trainer", 1, trainer, "yили?", "в записи есть неизвестные знаки");
    // No identity: the first assignment, counting up, where the sides differ.
    addReason("и for или", 2, test, "xиyравноyилиx", "при x = 0, y = 1 слева 0, справа 1");
    addReason("x̄ ∨ ȳ = x̄ • ȳ", 7, test, "no_xилиno_yравноno_xиno_y",
              "при x = 0, y = 1 слева 1, справа 0");
    addReason("x̄ ∨̄ ȳ = x̄ ∨ ȳ", 7, trainer, "no_xилиno_y", "при x = 0, y = 1 слева 0, справа 1");
    addReason("x ∨ 0 = 1", 17, trainer, "один", "при x = 0 слева 0, справа 1");
    addReason("x̿ = x̄", 21, trainer, "no_x", "при x = 0 слева 0, справа 1");
    addReason("no variables", 18, test, "одинравноноль", "слева 1, справа 0");
    addReason("y and z only", 1, test, "yравноz", "при y = 0, z = 1 слева 0, справа 1");
    addReason("z counts", 3, trainer, "soxилиyszиz", "при x = 0, y = 0, z = 1 слева 1, справа 0");
    addReason("• before ∨", 5, test, "xиyилиzравноxиsoyилиzsz",
              "при x = 0, y = 0, z = 1 слева 1, справа 0");
    addReason("→ one way", 22, test, "ximpyравноyimpx", "при x = 0, y = 1 слева 1, справа 0");
    // A true equality, but not this law.
    addReason("law 2 for law 1", 1, test, "xиyравноyиx",
              "верное равенство, но это другой закон: №2 «Переместительный закон для И»");
    addReason("law 10 for law 9", 9, test, "xиxравноx",
              "верное равенство, но это другой закон: №10 «Закон идемпотентности для И»");
    addReason("law 7's other form", 8, test, "no_yno_ilino_xравноno_yиno_x",
              "верное равенство, но это другой закон: №7 «Правила де Моргана для ИЛИ»");
    addReason("law 15 over the drawn side", 16, trainer, "xилиno_xравноодин",
              "верное равенство, но это другой закон: №15 «Операция переменной с её инверсией "
              "для ИЛИ»");
    addReason("law 2's other form, trainer", 1, trainer, "yиxравноxиy",
              "верное равенство, но это другой закон: №2 «Переместительный закон для И»");
    addReason("x = x", 1, test, "xравноx", "верное равенство, но не этот закон");
    addReason("law 9 turned round", 21, test, "xравноxилиx", "верное равенство, но не этот закон");
    addReason("a 0 added", 1, trainer, "yилиxилиноль", "верное равенство, но не этот закон");
    addReason("x = x, trainer", 9, trainer, "xравноx", "верное равенство, но не этот закон");
    addReason("other form, trainer", 22, trainer, "yилиno_x",
              "верное равенство, но в тренажёре нужна основная запись закона");
    addReason("other form, trainer 2", 5, trainer, "xиyилиxиz",
              "верное равенство, но в тренажёре нужна основная запись закона");
    addReason("law over the drawn side", 1, trainer, "xилиyравноyилиx",
              "левая часть уже нарисована: пишите только правую");
    addReason("other form over the drawn side", 2, trainer, "yиxравноxиy",
              "левая часть уже нарисована: пишите только правую");
}

void FormulaTest::whyWrong() {
    QFETCH(int, law);
    QFETCH(int, mode);
    QFETCH(QString, answer);
    QFETCH(QString, reason);
    QCOMPARE(q(::whyWrong(law, Mode(mode), answer.toStdString())), reason);
}

// What the catalogue accepts has no reason to be wrong, in either mode.
void FormulaTest::acceptedAnswersHaveNoReason() {
    for (int n = 1; n <= kLawCount; ++n) {
        QCOMPARE(q(::whyWrong(n, Mode::test, law(n).key)), QString());
        QCOMPARE(q(::whyWrong(n, Mode::trainer, lawSides(n).rightKey)), QString());
        if (!law(n).otherForm.empty())
            QCOMPARE(q(::whyWrong(n, Mode::test, law(n).otherForm)), QString());
    }
}

// Every row of up to three symbols is either read or named as no formula, and every answer not
// accepted gets a line.
void FormulaTest::everyShortRowIsReadOrExplained() {
    std::vector<Glyph> row;
    int rows = 0;
    QStringList unexplained;
    const auto visit = [&](auto&& self, std::size_t length) -> void {
        if (row.size() == length) {
            ++rows;
            const std::string key = joinTags(row);
            for (const Mode mode : {Mode::test, Mode::trainer}) {
                const bool accepted = mode == Mode::trainer && key == lawSides(1).rightKey;
                if (::whyWrong(1, mode, key).empty() != accepted)
                    unexplained << q(modeName(mode)) + QLatin1Char(' ') + q(keyText(key));
            }
            return;
        }
        for (const Symbol& s : kSymbols) {
            row.push_back(s.glyph);
            self(self, length);
            row.pop_back();
        }
    };
    for (std::size_t length = 0; length <= 3; ++length)
        visit(visit, length);
    QCOMPARE(rows, 1 + 17 + 17 * 17 + 17 * 17 * 17);
    QVERIFY2(unexplained.isEmpty(), qPrintable(unexplained.mid(0, 5).join(QStringLiteral("; "))));
}

QTEST_APPLESS_MAIN(FormulaTest)
#include "tst_formula.moc"
