#pragma once
// The operators of formula text, in the order the infix scanner tries them: the first that
// matches wins, so ">=" is found before ">". All are left-associative.
#include <string_view>

namespace orvo {

enum FormulaOp : int {
    OP_ADD = 1,
    OP_SUB = 2,
    OP_MUL = 3,
    OP_DIV = 4,
    OP_MOD = 5,
    OP_POW = 6,
    OP_EQ = 7,
    OP_NE = 8,
    OP_GT = 9,
    OP_LT = 10,
    OP_GE = 11,
    OP_LE = 12,
    OP_AND = 13,
    OP_OR = 14,
    OP_CHOICE = 15, // c a b ?: a when c is non-zero, else b
};

struct FormulaOperator {
    std::wstring_view text;
    int precedence; // higher binds tighter
    FormulaOp code;
};

// The operator written at `c`, given the character after it (a blank at the end); null when
// `c` starts no operator.
const FormulaOperator* MatchOperator(wchar_t c, wchar_t lookAhead);
// The operator whose whole text is `text`; null when none.
const FormulaOperator* FindOperator(std::wstring_view text);

} // namespace orvo
