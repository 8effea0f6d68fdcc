#include "flow/formula_operator.h"

#include <array>

namespace orvo {

namespace {

constexpr std::array<FormulaOperator, 15> kOperators{{
    {L"*", 8, OP_MUL},
    {L"/", 8, OP_DIV},
    {L"%", 8, OP_MOD},
    {L"^", 8, OP_POW},
    {L"+", 7, OP_ADD},
    {L"-", 7, OP_SUB},
    {L"==", 6, OP_EQ},
    {L"!=", 6, OP_NE},
    {L">=", 6, OP_GE},
    {L"<=", 6, OP_LE},
    {L">", 6, OP_GT},
    {L"<", 6, OP_LT},
    {L"&&", 5, OP_AND},
    {L"||", 4, OP_OR},
    {L"?", 2, OP_CHOICE},
}};

} // namespace

const FormulaOperator* MatchOperator(wchar_t c, wchar_t lookAhead) {
    for (const FormulaOperator& op : kOperators) {
        if (op.text[0] != c)
            continue;
        if (op.text.size() == 1 || op.text[1] == lookAhead)
            return &op;
    }
    return nullptr;
}

const FormulaOperator* FindOperator(std::wstring_view text) {
    for (const FormulaOperator& op : kOperators) {
        if (op.text == text)
            return &op;
    }
    return nullptr;
}

} // namespace orvo
