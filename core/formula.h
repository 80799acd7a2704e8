// A row of symbols read as a formula: x, y, z, 0 and 1 joined by ∨, •, → and ↔, with brackets,
// and "=" between two sides. A maximal run of barred pictures side by side is one negation over
// what they form (x̄ ∨̄ ȳ is ¬(x ∨ y), x̄ • ȳ is ¬x • ¬y); x̿ is ¬¬x. Binding, tightest first:
// negation, •, ∨, → (grouping to the right), ↔ (to the left).
#pragma once

#include "core/symbols.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// An expression's values over all eight assignments of x, y, z: bit i holds the value where x,
// y and z are the bits of i, x the highest. Bit 0 is all zero, and counting up goes through the
// assignments in the order a pupil writes a truth table.
using TruthTable = std::uint8_t;
inline constexpr TruthTable kTableX = 0xF0, kTableY = 0xCC, kTableZ = 0xAA, kTableOne = 0xFF;

// The variables written in an expression, each as its bit in an assignment's number.
enum VariableBit : std::uint8_t { kBitX = 4, kBitY = 2, kBitZ = 1 };

struct Expression {
    TruthTable values = 0;
    std::uint8_t variables = 0; // VariableBit of each variable written
};

// Why a row is no formula, as far as the first thing that does not fit.
struct FormulaProblem {
    enum class Kind : std::uint8_t {
        emptyRow,
        unknownSymbol, // a key with text that is no symbol's tag
        noEquals,
        manyEquals,
        emptySide,
        unclosedBracket,
        strayCloseBracket,
        emptyBrackets,
        twoSigns,    // first, second
        twoOperands, // first, second: nothing joins them
        signAtStart, // first: opens a side, a bracket or a negation bar (edge)
        signAtEnd,   // first: closes one
    };
    enum class Edge : std::uint8_t { side, bracket, bar };
    Kind kind = Kind::emptyRow;
    bool rightSide = false; // found in the right-hand side
    Edge edge = Edge::side;
    Glyph first = Glyph::x, second = Glyph::x;
};

struct Equation {
    Expression left, right;
    bool identity() const { return left.values == right.values; }
    std::uint8_t variables() const { return left.variables | right.variables; }
};

struct SideReading {
    std::optional<Expression> expression;
    FormulaProblem problem; // meaningful without an expression
};

struct EquationReading {
    std::optional<Equation> equation;
    FormulaProblem problem; // meaningful without an equation
};

// One side, without "=".
SideReading readSide(std::span<const Glyph> glyphs);
SideReading readSide(std::string_view key);
// A whole row.
EquationReading readEquation(std::span<const Glyph> glyphs);
EquationReading readEquation(std::string_view key);
