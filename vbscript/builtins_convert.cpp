// Conversions, whole-number parts and the questions about a value's subtype.
#include <cmath>
#include <span>
#include <string>

#include "vbscript/builtins.h"
#include "vbscript/coerce.h"
#include "vbscript/script_error.h"

namespace vbs {
namespace {

template <VarType Target> Value ConvertTo(Runtime*, std::span<Value> a) {
    return Convert(a[0], Target);
}

// Integer, Byte and Boolean are shown in 16 bits (Hex(-1) is "FFFF"); everything else is
// rounded to a Long first.
Value InRadix(const Value& v, unsigned bitsPerDigit) {
    if (v.IsNull())
        return Value::Null();
    const VarType t = v.Type();
    const bool narrow =
        t == VarType::Integer || t == VarType::Byte || t == VarType::Boolean || t == VarType::Empty;
    std::uint32_t bits = static_cast<std::uint32_t>(ToLong(v));
    if (narrow)
        bits &= 0xFFFF;
    const unsigned mask = (1u << bitsPerDigit) - 1;
    std::wstring digits;
    do {
        digits.insert(digits.begin(), L"0123456789ABCDEF"[bits & mask]);
        bits >>= bitsPerDigit;
    } while (bits);
    return Value::String(digits);
}

Value Hex(Runtime*, std::span<Value> a) {
    return InRadix(a[0], 4);
}
Value Oct(Runtime*, std::span<Value> a) {
    return InRadix(a[0], 3);
}

// Fix and Int keep the subtype of a number: text becomes a Double, Boolean and Empty an
// Integer.
// Int moves toward minus infinity, Fix toward zero.
Value WholePart(const Value& v, bool towardMinusInfinity) {
    const auto whole = [&](double d) {
        return towardMinusInfinity ? std::floor(d) : std::trunc(d);
    };
    switch (v.Type()) {
    case VarType::Null:
        return Value::Null();
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
        return v;
    case VarType::Empty:
    case VarType::Boolean:
        return Value::Integer(ToInteger(v));
    case VarType::Single:
        return Value::Single(static_cast<float>(whole(static_cast<double>(v.AsSingle()))));
    case VarType::Date:
        return Value::Date(whole(v.AsDate()));
    case VarType::Currency: {
        const std::int64_t c = v.AsCurrency();
        const std::int64_t truncated = c / 10000 * 10000;
        return Value::Currency(towardMinusInfinity && truncated > c ? truncated - 10000
                                                                    : truncated);
    }
    default:
        return Value::Double(whole(ToDouble(v)));
    }
}

Value Fix(Runtime*, std::span<Value> a) {
    return WholePart(a[0], false);
}
Value Int(Runtime*, std::span<Value> a) {
    return WholePart(a[0], true);
}

Value Abs(Runtime*, std::span<Value> a) {
    const Value& v = a[0];
    switch (v.Type()) {
    case VarType::Null:
        return Value::Null();
    case VarType::Byte:
        return v;
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Integer: {
        const std::int32_t n = ToInteger(v);
        return n == -32768 ? Value::Long(32768)
                           : Value::Integer(static_cast<std::int16_t>(std::abs(n)));
    }
    case VarType::Long:
        return v.AsLong() == INT32_MIN ? Value::Double(2147483648.0)
                                       : Value::Long(std::abs(v.AsLong()));
    case VarType::Single:
        return Value::Single(std::fabs(v.AsSingle()));
    case VarType::Currency:
        if (v.AsCurrency() == INT64_MIN)
            RaiseError(err::Overflow);
        return Value::Currency(std::abs(v.AsCurrency()));
    default:
        return Value::Double(std::fabs(ToDouble(v)));
    }
}

Value Sgn(Runtime*, std::span<Value> a) {
    const double d = ToDouble(a[0]);
    return Value::Integer(static_cast<std::int16_t>((d > 0) - (d < 0)));
}

Value IsNumeric(Runtime*, std::span<Value> a) {
    const Value& v = a[0];
    double ignored = 0;
    if (v.Type() == VarType::String)
        return Value::Boolean(ParseNumber(v.AsString(), ignored));
    return Value::Boolean(v.IsEmpty() || v.IsNumeric());
}

Value IsDate(Runtime*, std::span<Value> a) {
    const Value& v = a[0];
    double ignored = 0;
    if (v.Type() == VarType::String)
        return Value::Boolean(ParseDate(v.AsString(), ignored));
    return Value::Boolean(v.Type() == VarType::Date);
}

Value IsEmpty(Runtime*, std::span<Value> a) {
    return Value::Boolean(a[0].IsEmpty());
}
Value IsNull(Runtime*, std::span<Value> a) {
    return Value::Boolean(a[0].IsNull());
}
Value IsArray(Runtime*, std::span<Value> a) {
    return Value::Boolean(a[0].Type() == VarType::Array);
}
Value IsObject(Runtime*, std::span<Value> a) {
    return Value::Boolean(a[0].Type() == VarType::Object);
}

Value VarTypeOf(Runtime*, std::span<Value> a) {
    return Value::Integer(static_cast<std::int16_t>(VarTypeCode(a[0])));
}

Value TypeNameOf(Runtime*, std::span<Value> a) {
    return Value::String(TypeName(a[0]));
}

const Builtin convertBuiltins[] = {
    {L"Abs", Abs, 1, 1},
    {L"CBool", ConvertTo<VarType::Boolean>, 1, 1},
    {L"CByte", ConvertTo<VarType::Byte>, 1, 1},
    {L"CCur", ConvertTo<VarType::Currency>, 1, 1},
    {L"CDate", ConvertTo<VarType::Date>, 1, 1},
    {L"CDbl", ConvertTo<VarType::Double>, 1, 1},
    {L"CInt", ConvertTo<VarType::Integer>, 1, 1},
    {L"CLng", ConvertTo<VarType::Long>, 1, 1},
    {L"CSng", ConvertTo<VarType::Single>, 1, 1},
    {L"CStr", ConvertTo<VarType::String>, 1, 1},
    {L"Fix", Fix, 1, 1},
    {L"Hex", Hex, 1, 1},
    {L"Int", Int, 1, 1},
    {L"IsArray", IsArray, 1, 1},
    {L"IsDate", IsDate, 1, 1},
    {L"IsEmpty", IsEmpty, 1, 1},
    {L"IsNull", IsNull, 1, 1},
    {L"IsNumeric", IsNumeric, 1, 1},
    {L"IsObject", IsObject, 1, 1},
    {L"Oct", Oct, 1, 1},
    {L"Sgn", Sgn, 1, 1},
    {L"TypeName", TypeNameOf, 1, 1},
    {L"VarType", VarTypeOf, 1, 1},
};

} // namespace

std::span<const Builtin> ConvertBuiltins() {
    return convertBuiltins;
}

} // namespace vbs
