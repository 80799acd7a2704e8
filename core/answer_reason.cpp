#include "core/answer_reason.h"

#include "core/laws.h"

#include <utility>

namespace {

using Kind = FormulaProblem::Kind;
using Edge = FormulaProblem::Edge;

std::string sign(Glyph g) {
    return std::string(symbolOf(g).sign);
}

std::string edgeName(const FormulaProblem& p) {
    switch (p.edge) {
    case Edge::bracket:
        return "скобки";
    case Edge::bar:
        return "черты";
    case Edge::side:
        break;
    }
    return p.rightSide ? "правой части" : "левой части";
}

bool isFormOf(int n, std::string_view key) {
    return acceptsAnswer(n, Mode::test, key);
}

// The first assignment, counting up from all zero with x highest, where the sides differ,
// naming the variables the row uses.
std::string differenceText(const Equation& e) {
    int i = 0;
    while (i < 7 && ((e.left.values ^ e.right.values) >> i & 1) == 0)
        ++i;
    std::string text;
    for (const auto& [bit, name] : {std::pair{kBitX, "x"}, {kBitY, "y"}, {kBitZ, "z"}}) {
        if (!(e.variables() & bit)) continue;
        text += text.empty() ? "при " : ", ";
        text += std::string(name) + " = " + ((i & bit) ? "1" : "0");
    }
    if (!text.empty()) text += ' ';
    const auto value = [i](TruthTable t) { return (t >> i & 1) ? "1" : "0"; };
    return text + "слева " + value(e.left.values) + ", справа " + value(e.right.values);
}

} // namespace

std::string problemText(const FormulaProblem& p) {
    switch (p.kind) {
    case Kind::emptyRow:
        return "ничего не написано";
    case Kind::unknownSymbol:
        return "в записи есть неизвестные знаки";
    case Kind::noEquals:
        return "нет знака \"=\"";
    case Kind::manyEquals:
        return "знак \"=\" больше одного раза";
    case Kind::emptySide:
        return p.rightSide ? "правая часть пуста" : "левая часть пуста";
    case Kind::unclosedBracket:
        return "не закрыта скобка";
    case Kind::strayCloseBracket:
        return "закрывающая скобка без открывающей";
    case Kind::emptyBrackets:
        return "пустые скобки";
    case Kind::twoSigns:
        return "два знака подряд: " + sign(p.first) + " " + sign(p.second);
    case Kind::twoOperands:
        return "нет знака между " + sign(p.first) + " и " + sign(p.second);
    case Kind::signAtStart:
        return "знак " + sign(p.first) + " в начале " + edgeName(p);
    case Kind::signAtEnd:
        return "знак " + sign(p.first) + " в конце " + edgeName(p);
    }
    return {};
}

std::string whyWrong(int n, Mode mode, std::string_view answerKey) {
    if (acceptsAnswer(n, mode, answerKey)) return {};
    if (answerKey.empty()) return problemText({});
    // The trainer's drawn left-hand side carries no tags: the answer goes on from its "=".
    const bool asWritten = mode == Mode::test || answerKey.find(kEqualsTag) != answerKey.npos;
    const std::string row =
        asWritten ? std::string(answerKey) : joinTags(lawSides(n).left) + std::string(answerKey);
    const EquationReading reading = readEquation(row);
    if (!reading.equation) return problemText(reading.problem);
    if (!reading.equation->identity()) return differenceText(*reading.equation);
    for (int other = 1; other <= kLawCount; ++other) {
        if (!isFormOf(other, row)) continue;
        if (other == n)
            return asWritten ? "левая часть уже нарисована: пишите только правую"
                             : "верное равенство, но в тренажёре нужна основная запись закона";
        return "верное равенство, но это другой закон: №" + std::to_string(other) + " «" +
               std::string(law(other).name) + "»";
    }
    return "верное равенство, но не этот закон";
}
