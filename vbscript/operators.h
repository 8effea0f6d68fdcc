#pragma once
// Every operator of the language on Values, with the documented result subtypes: Integer
// arithmetic that overflows moves to Long, Long to Double; Byte stays Byte while it fits;
// Null propagates (with the And/Or/Imp exceptions); Empty is 0 or "". The common cases
// (Long with Long, Double with Double) are decided here inline before the general path.
//
// Comparing a number (or Boolean) with a string: two variables compare with the number as
// the smaller. When one of them was written as a literal they compare as text, so "If x = 10"
// holds for a string x of "10" and "010" = n does not for a number n of 10. When both were,
// the string is read as the other's kind: "010" = 10 and "True" = True hold, "abc" = 5 is a
// type mismatch.
#include <cstdint>

#include "vbscript/value.h"

namespace vbs {

Value AddSlow(const Value& a, const Value& b);
Value SubtractSlow(const Value& a, const Value& b);
Value MultiplySlow(const Value& a, const Value& b);

// +: strings concatenate, anything else adds as numbers.
inline Value Add(const Value& a, const Value& b) {
    std::int32_t r;
    if (a.Type() == VarType::Long && b.Type() == VarType::Long &&
        !__builtin_add_overflow(a.AsLong(), b.AsLong(), &r))
        return Value::Long(r);
    if (a.Type() == VarType::Double && b.Type() == VarType::Double) {
        const double d = a.AsDouble() + b.AsDouble();
        if (d - d == 0) // finite
            return Value::Double(d);
    }
    return AddSlow(a, b);
}

inline Value Subtract(const Value& a, const Value& b) {
    std::int32_t r;
    if (a.Type() == VarType::Long && b.Type() == VarType::Long &&
        !__builtin_sub_overflow(a.AsLong(), b.AsLong(), &r))
        return Value::Long(r);
    if (a.Type() == VarType::Double && b.Type() == VarType::Double) {
        const double d = a.AsDouble() - b.AsDouble();
        if (d - d == 0)
            return Value::Double(d);
    }
    return SubtractSlow(a, b);
}

inline Value Multiply(const Value& a, const Value& b) {
    std::int32_t r;
    if (a.Type() == VarType::Long && b.Type() == VarType::Long &&
        !__builtin_mul_overflow(a.AsLong(), b.AsLong(), &r))
        return Value::Long(r);
    if (a.Type() == VarType::Double && b.Type() == VarType::Double) {
        const double d = a.AsDouble() * b.AsDouble();
        if (d - d == 0)
            return Value::Double(d);
    }
    return MultiplySlow(a, b);
}

// / always gives a Double.
Value Divide(const Value& a, const Value& b);
// \ and Mod round both operands to whole numbers first; the sign of Mod follows a.
Value IntegerDivide(const Value& a, const Value& b);
Value Modulo(const Value& a, const Value& b);
Value Power(const Value& a, const Value& b);
Value Negate(const Value& a);
// &: Null counts as "" unless both are Null. Takes a by value so that a caller moving an
// unshared string in gets it extended in place.
Value Concatenate(Value a, const Value& b);

Value Not(const Value& a);
Value And(const Value& a, const Value& b);
Value Or(const Value& a, const Value& b);
Value Xor(const Value& a, const Value& b);
Value Eqv(const Value& a, const Value& b);
Value Imp(const Value& a, const Value& b);
// Object identity; Error 424 unless both are objects (Nothing included).
Value Is(const Value& a, const Value& b);

enum class Comparison { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };

// Which operands the script wrote as literals (see the comment at the top).
struct OperandOrigin {
    bool leftLiteral = false;
    bool rightLiteral = false;
};

Value CompareSlow(Comparison op, const Value& a, const Value& b, OperandOrigin origin);

inline bool ComparisonHolds(Comparison op, int order) {
    switch (op) {
    case Comparison::Equal:
        return order == 0;
    case Comparison::NotEqual:
        return order != 0;
    case Comparison::Less:
        return order < 0;
    case Comparison::Greater:
        return order > 0;
    case Comparison::LessEqual:
        return order <= 0;
    case Comparison::GreaterEqual:
        return order >= 0;
    }
    return false;
}

// Boolean, or Null when either side is Null.
inline Value Compare(Comparison op, const Value& a, const Value& b, OperandOrigin origin = {}) {
    if (a.Type() == VarType::Long && b.Type() == VarType::Long)
        return Value::Boolean(
            ComparisonHolds(op, (a.AsLong() > b.AsLong()) - (a.AsLong() < b.AsLong())));
    return CompareSlow(op, a, b, origin);
}

} // namespace vbs
