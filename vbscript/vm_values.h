#pragma once
// What the VM's loop asks of values, inlined into it: Integer/Long/Double arithmetic and
// comparisons decided without the operators module (each gives what the operators module
// would), the truth of a condition, For's test, and the place of a one-dimensional element.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vbscript/coerce.h"
#include "vbscript/instructions.h"
#include "vbscript/operators.h"
#include "vbscript/script_error.h"
#include "vbscript/value.h"

namespace vbs::vm_values {

[[gnu::always_inline]] inline bool IsWhole(const Value& v) {
    static_assert(static_cast<int>(VarType::Long) == static_cast<int>(VarType::Integer) + 1);
    return static_cast<unsigned>(v.Type()) - static_cast<unsigned>(VarType::Integer) <= 1;
}
[[gnu::always_inline]] inline std::int64_t Whole(const Value& v) {
    return v.Type() == VarType::Long ? v.AsLong() : v.AsInteger();
}

// A condition: Null counts as False, as If and loops treat it.
[[gnu::always_inline]] inline bool IsTrue(const Value& v) {
    if (v.Type() == VarType::Boolean)
        return v.AsBoolean();
    if (v.IsNull())
        return false;
    return ToBoolean(v);
}

// The result of + or - on two Integer/Long operands: Integer while both are Integer and it
// fits, then Long, then Double, as the operators module does on its slower path.
[[gnu::always_inline]] inline Value WholeResult(const Value& a, const Value& b, std::int64_t r) {
    if (a.Type() == VarType::Integer && b.Type() == VarType::Integer && r >= INT16_MIN &&
        r <= INT16_MAX)
        return Value::Integer(static_cast<std::int16_t>(r));
    if (r >= INT32_MIN && r <= INT32_MAX)
        return Value::Long(static_cast<std::int32_t>(r));
    return Value::Double(static_cast<double>(r));
}

[[gnu::always_inline]] inline bool IsDoubleOrWhole(const Value& v) {
    constexpr unsigned kMask = (1u << static_cast<unsigned>(VarType::Integer)) |
                               (1u << static_cast<unsigned>(VarType::Long)) |
                               (1u << static_cast<unsigned>(VarType::Double));
    const auto type = static_cast<unsigned>(v.Type());
    return type < 32 && ((kMask >> type) & 1u) != 0;
}
[[gnu::always_inline]] inline double AsNumber(const Value& v) {
    return v.Type() == VarType::Double ? v.AsDouble() : static_cast<double>(Whole(v));
}

// The frequent loop shapes (Integer, Long, Double mixed) without leaving the VM.
[[gnu::always_inline]] inline Value FastAdd(const Value& a, const Value& b, int sign) {
    if (IsWhole(a) && IsWhole(b))
        return WholeResult(a, b, Whole(a) + sign * Whole(b));
    if (IsDoubleOrWhole(a) && IsDoubleOrWhole(b)) {
        // Added or subtracted as they are: multiplying by the sign would convert it first.
        const double d = sign > 0 ? AsNumber(a) + AsNumber(b) : AsNumber(a) - AsNumber(b);
        if (d - d == 0) // finite; the operators module reports the overflow otherwise
            return Value::Double(d);
    }
    return sign > 0 ? Add(a, b) : Subtract(a, b);
}

// a + sign * b stored straight into `out` for Integer/Long/Double operands, as FastAdd
// would compute it; false (with `out` untouched) for anything else.
[[gnu::always_inline]] inline bool AddInto(Value& out, const Value& a, const Value& b, int sign) {
    if (IsWhole(a) && IsWhole(b)) {
        const std::int64_t r = Whole(a) + sign * Whole(b);
        if (a.Type() == VarType::Integer && b.Type() == VarType::Integer && r >= INT16_MIN &&
            r <= INT16_MAX)
            out.SetInteger(static_cast<std::int16_t>(r));
        else if (r >= INT32_MIN && r <= INT32_MAX)
            out.SetLong(static_cast<std::int32_t>(r));
        else
            out.SetDouble(static_cast<double>(r));
        return true;
    }
    if (IsDoubleOrWhole(a) && IsDoubleOrWhole(b)) {
        // Added or subtracted as they are: multiplying by the sign would convert it first.
        const double d = sign > 0 ? AsNumber(a) + AsNumber(b) : AsNumber(a) - AsNumber(b);
        if (d - d == 0) {
            out.SetDouble(d);
            return true;
        }
    }
    return false;
}

// + or - as the loop computes it: with kFast false always the operators module's way, so
// that the fast forms can be switched off and compared with it.
template <bool kFast>
[[gnu::always_inline]] inline Value AddOrSubtract(const Value& a, const Value& b, int sign) {
    if constexpr (kFast)
        return FastAdd(a, b, sign);
    return sign > 0 ? Add(a, b) : Subtract(a, b);
}

// The result of a fused Add, Subtract or Multiply.
template <bool kFast>
[[gnu::always_inline]] inline Value Fused(FusedOp op, const Value& a, const Value& b) {
    switch (op) {
    case FusedOp::Add:
        return AddOrSubtract<kFast>(a, b, 1);
    case FusedOp::Subtract:
        return AddOrSubtract<kFast>(a, b, -1);
    case FusedOp::Multiply:
        break;
    }
    return Multiply(a, b);
}

// A comparison of two values that are not objects, as a Boolean value.
template <bool kFast>
[[gnu::always_inline]] inline Value
CompareValues(Comparison op, const Value& a, const Value& b, OperandOrigin origin) {
    if (kFast && IsWhole(a) && IsWhole(b))
        return Value::Boolean(ComparisonHolds(op, (Whole(a) > Whole(b)) - (Whole(a) < Whole(b))));
    return Compare(op, a, b, origin);
}

// The same comparison as a condition.
template <bool kFast>
[[gnu::always_inline]] inline bool
ComparisonTrue(Comparison op, const Value& a, const Value& b, OperandOrigin origin) {
    if (kFast && IsWhole(a) && IsWhole(b))
        return ComparisonHolds(op, (Whole(a) > Whole(b)) - (Whole(a) < Whole(b)));
    return IsTrue(Compare(op, a, b, origin));
}

template <bool kFast>
[[gnu::always_inline]] inline bool
ForContinues(const Value& counter, const Value& limit, const Value& step) {
    if constexpr (kFast) {
        if (IsWhole(counter) && IsWhole(limit) && IsWhole(step))
            return Whole(step) >= 0 ? Whole(counter) <= Whole(limit)
                                    : Whole(counter) >= Whole(limit);
    }
    const double c = ToDouble(counter);
    return ToDouble(step) >= 0 ? c <= ToDouble(limit) : c >= ToDouble(limit);
}

// The element of a one-dimensional array (callers check that) at a whole-number subscript.
[[gnu::always_inline]] inline std::size_t OneIndex(const Array& array, std::int64_t subscript) {
    const std::int64_t index = subscript - array.FirstLowerBound();
    if (index < 0 || static_cast<std::size_t>(index) >= array.Size())
        RaiseError(err::SubscriptOutOfRange);
    return static_cast<std::size_t>(index);
}

// Let assignment of an object stores its default value.
void LetValue(Value& v);
// Error `number` naming the member `name` that was asked for.
[[noreturn]] void NoMember(int number, std::wstring_view name);

} // namespace vbs::vm_values
