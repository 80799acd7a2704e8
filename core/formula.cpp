#include "core/formula.h"

#include <algorithm>

namespace {

using Kind = FormulaProblem::Kind;
using Edge = FormulaProblem::Edge;

enum class Role : std::uint8_t { operand, sign, open, close, equals };

Role roleOf(Glyph g) {
    switch (g) {
    case Glyph::orSign:
    case Glyph::andSign:
    case Glyph::notOrSign:
    case Glyph::notAndSign:
    case Glyph::implies:
    case Glyph::equivalent:
        return Role::sign;
    case Glyph::openBracket:
        return Role::open;
    case Glyph::closeBracket:
        return Role::close;
    case Glyph::equals:
        return Role::equals;
    default:
        return Role::operand;
    }
}

// ∨̄ and •̄: a sign that joins what stands under the same bar on both its sides.
bool barredSign(Glyph g) {
    return joinsNegationBar(g) && roleOf(g) == Role::sign;
}

FormulaProblem problem(Kind kind, Glyph first = Glyph::x, Glyph second = Glyph::x,
                       Edge edge = Edge::side) {
    return {kind, false, edge, first, second};
}

// The first thing, left to right, that keeps a side from being an expression. What passes is
// read by Reader below without a further check.
std::optional<FormulaProblem> problemIn(std::span<const Glyph> side) {
    if (side.empty()) return problem(Kind::emptySide);
    if (roleOf(side.front()) == Role::sign) return problem(Kind::signAtStart, side.front());
    int depth = 0;
    for (std::size_t i = 0; i < side.size(); ++i) {
        const Glyph g = side[i];
        const Role r = roleOf(g);
        if (i > 0) {
            const Glyph p = side[i - 1];
            const Role pr = roleOf(p);
            const bool pEnds = pr == Role::operand || pr == Role::close;
            if (pr == Role::sign && r == Role::sign) return problem(Kind::twoSigns, p, g);
            if (pEnds && (r == Role::operand || r == Role::open))
                return problem(Kind::twoOperands, p, g);
            if (pr == Role::open && r == Role::sign)
                return problem(Kind::signAtStart, g, g, Edge::bracket);
            if (pr == Role::sign && r == Role::close)
                return problem(Kind::signAtEnd, p, p, Edge::bracket);
            if (pr == Role::open && r == Role::close) return problem(Kind::emptyBrackets);
            if (barredSign(g) && !joinsNegationBar(p))
                return problem(Kind::signAtStart, g, g, Edge::bar);
            if (barredSign(p) && !joinsNegationBar(g))
                return problem(Kind::signAtEnd, p, p, Edge::bar);
        }
        if (r == Role::open) ++depth;
        if (r == Role::close && --depth < 0) return problem(Kind::strayCloseBracket);
    }
    if (roleOf(side.back()) == Role::sign) return problem(Kind::signAtEnd, side.back());
    if (depth > 0) return problem(Kind::unclosedBracket);
    return std::nullopt;
}

TruthTable negation(TruthTable v) {
    return static_cast<TruthTable>(~v);
}

// Recursive descent over a side that problemIn has let through, one level per binding.
class Reader {
  public:
    explicit Reader(std::span<const Glyph> side) : side(side) {}

    Expression expression() {
        const TruthTable values = equivalence();
        return {values, variables};
    }

  private:
    bool take(Glyph g) {
        if (at >= side.size() || side[at] != g) return false;
        ++at;
        return true;
    }
    TruthTable equivalence() {
        TruthTable v = implication();
        while (take(Glyph::equivalent))
            v = negation(v ^ implication());
        return v;
    }
    TruthTable implication() {
        const TruthTable v = disjunction();
        return take(Glyph::implies) ? negation(v) | implication() : v;
    }
    TruthTable disjunction() {
        TruthTable v = conjunction();
        while (take(Glyph::orSign))
            v |= conjunction();
        return v;
    }
    TruthTable conjunction() {
        TruthTable v = operand();
        while (take(Glyph::andSign))
            v &= operand();
        return v;
    }
    TruthTable operand() {
        if (at >= side.size()) return 0;
        if (joinsNegationBar(side[at])) return negation(underBar());
        switch (side[at++]) {
        case Glyph::openBracket: {
            const TruthTable v = equivalence();
            take(Glyph::closeBracket);
            return v;
        }
        case Glyph::one:
            return kTableOne;
        case Glyph::zero:
            return 0;
        default:
            return variable(side[at - 1]);
        }
    }
    TruthTable variable(Glyph g) {
        switch (g) {
        case Glyph::x:
        case Glyph::notNotX:
        case Glyph::notX:
            variables |= kBitX;
            return kTableX;
        case Glyph::y:
        case Glyph::notY:
            variables |= kBitY;
            return kTableY;
        case Glyph::z:
            variables |= kBitZ;
            return kTableZ;
        default:
            return 0;
        }
    }
    // The run under one bar, not yet negated: ∨̄ and •̄ join x̄ and ȳ as ∨ and • do.
    TruthTable underBar() {
        TruthTable v = underBarConjunction();
        while (take(Glyph::notOrSign))
            v |= underBarConjunction();
        return v;
    }
    TruthTable underBarConjunction() {
        TruthTable v = variable(side[at++]);
        while (take(Glyph::notAndSign))
            v &= variable(side[at++]);
        return v;
    }

    std::span<const Glyph> side;
    std::size_t at = 0;
    std::uint8_t variables = 0;
};

} // namespace

SideReading readSide(std::span<const Glyph> glyphs) {
    // One side holds no "=" at all: any is one too many.
    const auto equals = std::find(glyphs.begin(), glyphs.end(), Glyph::equals);
    if (equals != glyphs.end()) return {std::nullopt, problem(Kind::manyEquals)};
    if (const auto p = problemIn(glyphs)) return {std::nullopt, *p};
    return {Reader(glyphs).expression(), {}};
}

SideReading readSide(std::string_view key) {
    const auto glyphs = splitKey(key);
    if (!glyphs) return {std::nullopt, problem(Kind::unknownSymbol)};
    return readSide(*glyphs);
}

EquationReading readEquation(std::span<const Glyph> glyphs) {
    if (glyphs.empty()) return {std::nullopt, problem(Kind::emptyRow)};
    const auto equals = std::find(glyphs.begin(), glyphs.end(), Glyph::equals);
    if (equals == glyphs.end()) return {std::nullopt, problem(Kind::noEquals)};
    if (std::find(equals + 1, glyphs.end(), Glyph::equals) != glyphs.end())
        return {std::nullopt, problem(Kind::manyEquals)};
    const SideReading left = readSide({glyphs.begin(), equals});
    if (!left.expression) return {std::nullopt, left.problem};
    SideReading right = readSide({equals + 1, glyphs.end()});
    if (!right.expression) {
        right.problem.rightSide = true;
        return {std::nullopt, right.problem};
    }
    return {Equation{*left.expression, *right.expression}, {}};
}

EquationReading readEquation(std::string_view key) {
    const auto glyphs = splitKey(key);
    if (!glyphs) return {std::nullopt, problem(Kind::unknownSymbol)};
    return readEquation(*glyphs);
}
