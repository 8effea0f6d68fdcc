#pragma once
// What each formula operator computes, per precision. Integer arithmetic wraps instead of
// overflowing, a zero divisor fails, and the quotient of the smallest integer by -1 wraps
// to the smallest integer (its remainder is 0), so no input has an undefined result.
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

#include "flow/formula_operator.h"

namespace orvo {

// `value` truncated toward zero to the integer type; out of range saturates, NaN gives 0.
template <class T> T TruncateTo(double value) {
    constexpr double limit = -static_cast<double>(std::numeric_limits<T>::min()); // 2^(bits-1)
    if (std::isnan(value))
        return 0;
    if (value >= limit)
        return std::numeric_limits<T>::max();
    if (value <= -limit)
        return std::numeric_limits<T>::min();
    return static_cast<T>(value);
}

// a (lower) op b (top) for 32-bit and 64-bit integers; false for a zero divisor or for
// "?", which takes three operands.
template <class T> inline bool ApplyOperator(int op, T a, T b, T& out) {
    static_assert(std::is_integral_v<T> && std::is_signed_v<T>);
    using U = std::make_unsigned_t<T>;
    switch (op) {
    case OP_ADD:
        out = static_cast<T>(static_cast<U>(a) + static_cast<U>(b));
        return true;
    case OP_SUB:
        out = static_cast<T>(static_cast<U>(a) - static_cast<U>(b));
        return true;
    case OP_MUL:
        out = static_cast<T>(static_cast<U>(a) * static_cast<U>(b));
        return true;
    case OP_DIV:
        if (b == 0)
            return false;
        out = b == -1 ? static_cast<T>(U{0} - static_cast<U>(a)) : a / b;
        return true;
    case OP_MOD:
        if (b == 0)
            return false;
        out = b == -1 ? 0 : a % b;
        return true;
    case OP_POW:
        out = TruncateTo<T>(std::pow(static_cast<double>(a), static_cast<double>(b)));
        return true;
    case OP_EQ:
        out = a == b;
        return true;
    case OP_NE:
        out = a != b;
        return true;
    case OP_GT:
        out = a > b;
        return true;
    case OP_LT:
        out = a < b;
        return true;
    case OP_GE:
        out = a >= b;
        return true;
    case OP_LE:
        out = a <= b;
        return true;
    case OP_AND:
        out = a != 0 && b != 0;
        return true;
    case OP_OR:
        out = a != 0 || b != 0;
        return true;
    default:
        return false;
    }
}

// Double precision: "%" works on the operands truncated to 32-bit integers.
bool ApplyOperator(int op, double a, double b, double& out);

// String precision: "+" joins the texts, "==" and "!=" compare them without case, everything
// else works on the texts read as 32-bit integers and gives the result's decimal text.
bool ApplyOperator(int op, const std::wstring& a, const std::wstring& b, std::wstring& out);

} // namespace orvo
