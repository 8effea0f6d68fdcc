#include "flow/infix_to_postfix.h"

#include <vector>

#include "flow/formula_operator.h"

namespace orvo {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

// Field paths ("items[2].px"), object names (":grid.[col]") and numbers. Characters beyond
// ASCII count as letters: field and object names may be Korean.
bool IsOperandChar(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
           c == L'[' || c == L']' || c == L'.' || c == L',' || c == L'_' || c == L':' || c >= 0x80;
}

// The end of the operand starting at `from`; inside square brackets everything belongs to
// it, nesting counted.
std::size_t OperandEnd(std::wstring_view text, std::size_t from) {
    std::size_t i = from;
    int depth = 0;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'[') {
            ++depth;
        } else if (depth > 0) {
            if (c == L']')
                --depth;
        } else if (!IsOperandChar(c)) {
            break;
        }
    }
    return i;
}

void Append(std::wstring& out, std::wstring_view item) {
    if (!out.empty())
        out += L' ';
    out += item;
}

} // namespace

bool InfixToPostfix(std::wstring_view infix, std::wstring& postfix) {
    postfix.clear();
    // Null stands for an opening parenthesis.
    std::vector<const FormulaOperator*> stack;
    bool lastWasOperator = false;
    for (std::size_t i = 0; i < infix.size(); ++i) {
        const wchar_t c = infix[i];
        const wchar_t lookAhead = i + 1 < infix.size() ? infix[i + 1] : L' ';
        if (IsBlank(c))
            continue;
        if (c == L'(') {
            stack.push_back(nullptr);
            continue;
        }
        if (c == L')') {
            while (!stack.empty() && stack.back()) {
                Append(postfix, stack.back()->text);
                stack.pop_back();
            }
            if (stack.empty())
                return false;
            stack.pop_back();
            continue;
        }
        if (const FormulaOperator* op = MatchOperator(c, lookAhead)) {
            i += op->text.size() - 1;
            if (postfix.empty() || lastWasOperator)
                Append(postfix, L"0");
            while (!stack.empty() && stack.back() && stack.back()->precedence >= op->precedence) {
                Append(postfix, stack.back()->text);
                stack.pop_back();
            }
            stack.push_back(op);
            lastWasOperator = true;
            continue;
        }
        const std::size_t end = OperandEnd(infix, i);
        if (end == i)
            return false;
        Append(postfix, infix.substr(i, end - i));
        lastWasOperator = false;
        i = end - 1;
    }
    while (!stack.empty()) {
        if (!stack.back())
            return false;
        Append(postfix, stack.back()->text);
        stack.pop_back();
    }
    return true;
}

} // namespace orvo
