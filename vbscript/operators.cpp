#include "vbscript/operators.h"

#include <cmath>
#include <limits>

#include "vbscript/coerce.h"
#include "vbscript/script_error.h"

namespace vbs {
namespace {

enum class Arith { Add, Subtract, Multiply };

// An arithmetic operand after the implicit conversions: Boolean counts as Integer, text as
// Double, objects give their default value. Empty stays Empty until the other side is known.
Value ArithmeticOperand(const Value& v) {
    switch (v.Type()) {
    case VarType::Boolean:
        return Value::Integer(v.AsBoolean() ? -1 : 0);
    case VarType::String:
        return Value::Double(ToDouble(v));
    case VarType::Object:
        return ArithmeticOperand(Dereference(v));
    case VarType::Array:
    case VarType::Error:
        RaiseError(err::TypeMismatch);
    default:
        return v;
    }
}

// Precision order of + and -: Byte, Integer, Long, Single, Double, Currency. Multiplication
// puts Currency below Double.
int Rank(VarType t, Arith op) {
    switch (t) {
    case VarType::Byte:
        return 0;
    case VarType::Integer:
        return 1;
    case VarType::Long:
        return 2;
    case VarType::Single:
        return 3;
    case VarType::Double:
        return op == Arith::Multiply ? 5 : 4;
    case VarType::Currency:
        return op == Arith::Multiply ? 4 : 5;
    default:
        return 6; // Date
    }
}

Value ZeroOf(VarType t) {
    switch (t) {
    case VarType::Byte:
        return Value::Byte(0);
    case VarType::Long:
        return Value::Long(0);
    case VarType::Single:
        return Value::Single(0);
    case VarType::Double:
        return Value::Double(0);
    case VarType::Currency:
        return Value::Currency(0);
    case VarType::Date:
        return Value::Date(0);
    default:
        return Value::Integer(0);
    }
}

double Apply(Arith op, double x, double y) {
    return op == Arith::Add ? x + y : op == Arith::Subtract ? x - y : x * y;
}

Value DoubleResult(double d) {
    if (!std::isfinite(d))
        RaiseError(err::Overflow);
    return Value::Double(d);
}

// Whole-number results take the smallest of Byte, Integer, Long that the operands' type
// allows and the result fits, then Double.
Value WholeResult(std::int64_t r, VarType type) {
    if (type == VarType::Byte && r >= 0 && r <= 255)
        return Value::Byte(static_cast<std::uint8_t>(r));
    if (type != VarType::Long && r >= std::numeric_limits<std::int16_t>::min() &&
        r <= std::numeric_limits<std::int16_t>::max())
        return Value::Integer(static_cast<std::int16_t>(r));
    if (r >= std::numeric_limits<std::int32_t>::min() &&
        r <= std::numeric_limits<std::int32_t>::max())
        return Value::Long(static_cast<std::int32_t>(r));
    return Value::Double(static_cast<double>(r));
}

std::int64_t CurrencyProduct(std::int64_t x, std::int64_t y) {
    const __int128 product = static_cast<__int128>(x) * y;
    __int128 quotient = product / 10000;
    const __int128 remainder = product % 10000;
    // Halves go to the even neighbour.
    const __int128 twice = (remainder < 0 ? -remainder : remainder) * 2;
    if (twice > 10000 || (twice == 10000 && (quotient & 1)))
        quotient += product < 0 ? -1 : 1;
    if (quotient > std::numeric_limits<std::int64_t>::max() ||
        quotient < std::numeric_limits<std::int64_t>::min())
        RaiseError(err::Overflow);
    return static_cast<std::int64_t>(quotient);
}

Value Arithmetic(Arith op, const Value& a, const Value& b) {
    if (a.IsNull() || b.IsNull())
        return Value::Null();
    Value x = ArithmeticOperand(a);
    Value y = ArithmeticOperand(b);
    if (x.IsEmpty())
        x = ZeroOf(y.Type());
    if (y.IsEmpty())
        y = ZeroOf(x.Type());
    const VarType tx = x.Type();
    const VarType ty = y.Type();

    if (tx == VarType::Date || ty == VarType::Date) {
        const double d = Apply(op, ToDouble(x), ToDouble(y));
        if (op == Arith::Multiply || (op == Arith::Subtract && tx == ty))
            return DoubleResult(d);
        if (!(d > MinDate - 1 && d < MaxDate))
            RaiseError(err::Overflow);
        return Value::Date(d);
    }
    const VarType type = Rank(tx, op) >= Rank(ty, op) ? tx : ty;
    const bool singleWithLong = (tx == VarType::Single && ty == VarType::Long) ||
                                (tx == VarType::Long && ty == VarType::Single);
    switch (type) {
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long: {
        const std::int64_t p = ToLong(x), q = ToLong(y);
        return WholeResult(op == Arith::Add ? p + q : op == Arith::Subtract ? p - q : p * q, type);
    }
    case VarType::Single: {
        const double d = Apply(op, ToDouble(x), ToDouble(y));
        if (!singleWithLong && std::fabs(d) <= std::numeric_limits<float>::max())
            return Value::Single(static_cast<float>(d));
        return DoubleResult(d);
    }
    case VarType::Currency: {
        const std::int64_t p = ToCurrency(x), q = ToCurrency(y);
        std::int64_t r;
        if (op == Arith::Multiply)
            r = CurrencyProduct(p, q);
        else if (op == Arith::Add ? __builtin_add_overflow(p, q, &r)
                                  : __builtin_sub_overflow(p, q, &r))
            RaiseError(err::Overflow);
        return Value::Currency(r);
    }
    default:
        return DoubleResult(Apply(op, ToDouble(x), ToDouble(y)));
    }
}

// \ and Mod: Byte when both are Byte, Integer when neither is wider, else Long.
VarType WholeOperandType(const Value& x, const Value& y) {
    auto width = [](const Value& v) {
        switch (v.Type()) {
        case VarType::Byte:
            return 0;
        case VarType::Empty:
        case VarType::Boolean:
        case VarType::Integer:
            return 1;
        default:
            return 2;
        }
    };
    const int w = std::max(width(x), width(y));
    return w == 0 ? VarType::Byte : w == 1 ? VarType::Integer : VarType::Long;
}

template <class Combine> Value WholeDivision(const Value& a, const Value& b, Combine combine) {
    if (a.IsNull() || b.IsNull())
        return Value::Null();
    const Value x = Dereference(a), y = Dereference(b);
    const std::int64_t p = ToLong(x), q = ToLong(y);
    if (q == 0)
        RaiseError(err::DivisionByZero);
    const std::int64_t r = combine(p, q);
    const VarType type = WholeOperandType(x, y);
    if (r < std::numeric_limits<std::int32_t>::min() ||
        r > std::numeric_limits<std::int32_t>::max())
        RaiseError(err::Overflow);
    return WholeResult(r, type);
}

// A logical operand: Boolean, Byte, Integer or Long; Null passes through.
Value LogicalOperand(const Value& v) {
    switch (v.Type()) {
    case VarType::Null:
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
        return v;
    case VarType::Empty:
        return Value::Long(0);
    case VarType::String: {
        double d;
        if (!ParseNumber(v.AsString(), d))
            return Value::Boolean(ToBoolean(v));
        return Value::Long(ToLong(v));
    }
    case VarType::Object:
        return LogicalOperand(Dereference(v));
    default:
        return Value::Long(ToLong(v));
    }
}

std::int32_t Bits(const Value& v) {
    switch (v.Type()) {
    case VarType::Boolean:
        return v.AsBoolean() ? -1 : 0;
    case VarType::Byte:
        return v.AsByte();
    case VarType::Integer:
        return v.AsInteger();
    default:
        return v.AsLong();
    }
}

Value FromBits(std::int32_t bits, VarType type) {
    switch (type) {
    case VarType::Boolean:
        return Value::Boolean(bits != 0);
    case VarType::Byte:
        return Value::Byte(static_cast<std::uint8_t>(bits));
    case VarType::Integer:
        return Value::Integer(static_cast<std::int16_t>(bits));
    default:
        return Value::Long(bits);
    }
}

std::int32_t AllOnes(VarType type) {
    return type == VarType::Byte ? 0xFF : -1;
}

enum class Logic { And, Or, Xor, Eqv, Imp };

std::int32_t Combine(Logic op, std::int32_t p, std::int32_t q) {
    switch (op) {
    case Logic::And:
        return p & q;
    case Logic::Or:
        return p | q;
    case Logic::Xor:
        return p ^ q;
    case Logic::Eqv:
        return ~(p ^ q);
    case Logic::Imp:
        return ~p | q;
    }
    return 0;
}

Value Logical(Logic op, const Value& a, const Value& b) {
    const Value x = LogicalOperand(a), y = LogicalOperand(b);
    if (x.IsNull() || y.IsNull()) {
        if (x.IsNull() && y.IsNull())
            return Value::Null();
        // The known side sometimes decides the result whatever the unknown bits are.
        const bool nullFirst = x.IsNull();
        const Value& known = nullFirst ? y : x;
        const VarType type = known.Type();
        const std::int32_t bits = Bits(known);
        const bool zero = bits == 0;
        const bool ones = bits == Bits(FromBits(AllOnes(type), type));
        if (op == Logic::And && zero)
            return known;
        if (op == Logic::Or && ones)
            return known;
        if (op == Logic::Imp && (nullFirst ? ones : zero))
            return FromBits(AllOnes(type), type);
        return Value::Null();
    }
    VarType type;
    if (x.Type() == VarType::Boolean && y.Type() == VarType::Boolean)
        type = VarType::Boolean;
    else if (x.Type() == VarType::Long || y.Type() == VarType::Long)
        type = VarType::Long;
    else if (x.Type() == VarType::Byte && y.Type() == VarType::Byte)
        type = VarType::Byte;
    else
        type = VarType::Integer;
    return FromBits(Combine(op, Bits(x), Bits(y)), type);
}

int Order(double p, double q) {
    return (p > q) - (p < q);
}

int OrderStrings(std::wstring_view p, std::wstring_view q) {
    const int c = p.compare(q);
    return (c > 0) - (c < 0);
}

bool IsWhole(VarType t) {
    return t == VarType::Boolean || t == VarType::Byte || t == VarType::Integer ||
           t == VarType::Long;
}

int OrderNumbers(const Value& x, const Value& y) {
    if (x.Type() == VarType::Currency && y.Type() == VarType::Currency)
        return (x.AsCurrency() > y.AsCurrency()) - (x.AsCurrency() < y.AsCurrency());
    if (IsWhole(x.Type()) && IsWhole(y.Type()))
        return (Bits(x) > Bits(y)) - (Bits(x) < Bits(y));
    return Order(ToDouble(x), ToDouble(y));
}

bool IsNumberLike(const Value& v) {
    return v.IsNumeric() || v.Type() == VarType::Date;
}

// Text compared with a literal of another kind, as a number on that kind's scale.
double ReadAs(const Value& text, VarType kind) {
    switch (kind) {
    case VarType::Boolean:
        return ToBoolean(text) ? -1 : 0;
    case VarType::Date:
        return ToDate(text);
    default:
        return ToDouble(text);
    }
}

} // namespace

Value AddSlow(const Value& a, const Value& b) {
    const bool aText = a.Type() == VarType::String, bText = b.Type() == VarType::String;
    if ((aText && (bText || b.IsEmpty())) || (bText && a.IsEmpty()))
        return Concatenate(a, b);
    return Arithmetic(Arith::Add, a, b);
}

Value SubtractSlow(const Value& a, const Value& b) {
    return Arithmetic(Arith::Subtract, a, b);
}
Value MultiplySlow(const Value& a, const Value& b) {
    return Arithmetic(Arith::Multiply, a, b);
}

Value Divide(const Value& a, const Value& b) {
    if (a.IsNull() || b.IsNull())
        return Value::Null();
    const double p = ToDouble(ArithmeticOperand(a));
    const double q = ToDouble(ArithmeticOperand(b));
    if (q == 0)
        RaiseError(p == 0 ? err::Overflow : err::DivisionByZero);
    return DoubleResult(p / q);
}

Value IntegerDivide(const Value& a, const Value& b) {
    return WholeDivision(a, b, [](std::int64_t p, std::int64_t q) { return p / q; });
}

Value Modulo(const Value& a, const Value& b) {
    return WholeDivision(a, b, [](std::int64_t p, std::int64_t q) { return p % q; });
}

Value Power(const Value& a, const Value& b) {
    if (a.IsNull() || b.IsNull())
        return Value::Null();
    const double p = ToDouble(ArithmeticOperand(a));
    const double q = ToDouble(ArithmeticOperand(b));
    const double r = std::pow(p, q);
    if (std::isnan(r))
        RaiseError(err::InvalidCall);
    if (p == 0 && q < 0)
        RaiseError(err::DivisionByZero);
    return DoubleResult(r);
}

Value Negate(const Value& a) {
    const Value x = ArithmeticOperand(a);
    switch (x.Type()) {
    case VarType::Null:
        return x;
    case VarType::Empty:
        return Value::Integer(0);
    case VarType::Byte:
        return Value::Integer(static_cast<std::int16_t>(-x.AsByte()));
    case VarType::Integer:
        return WholeResult(-static_cast<std::int64_t>(x.AsInteger()), VarType::Integer);
    case VarType::Long:
        return WholeResult(-static_cast<std::int64_t>(x.AsLong()), VarType::Long);
    case VarType::Single:
        return Value::Single(-x.AsSingle());
    case VarType::Currency:
        if (x.AsCurrency() == std::numeric_limits<std::int64_t>::min())
            RaiseError(err::Overflow);
        return Value::Currency(-x.AsCurrency());
    case VarType::Date:
        return Value::Date(-x.AsDate());
    default:
        return Value::Double(-x.AsDouble());
    }
}

Value Concatenate(Value a, const Value& b) {
    if (a.IsNull() && b.IsNull())
        return a;
    if (a.Type() != VarType::String)
        a = Value::String(a.IsNull() ? std::wstring() : ToString(a));
    if (b.Type() == VarType::String)
        a.AppendString(b.AsString());
    else if (!b.IsNull())
        a.AppendString(ToString(b));
    return a;
}

Value Not(const Value& a) {
    const Value x = LogicalOperand(a);
    if (x.IsNull())
        return x;
    return FromBits(~Bits(x), x.Type());
}

Value And(const Value& a, const Value& b) {
    return Logical(Logic::And, a, b);
}
Value Or(const Value& a, const Value& b) {
    return Logical(Logic::Or, a, b);
}
Value Xor(const Value& a, const Value& b) {
    return Logical(Logic::Xor, a, b);
}
Value Eqv(const Value& a, const Value& b) {
    return Logical(Logic::Eqv, a, b);
}
Value Imp(const Value& a, const Value& b) {
    return Logical(Logic::Imp, a, b);
}

Value Is(const Value& a, const Value& b) {
    if (a.Type() != VarType::Object || b.Type() != VarType::Object)
        RaiseError(err::ObjectRequired);
    const auto identity = [](const Value& v) -> const void* {
        return v.AsObject() ? v.AsObject()->Identity() : nullptr;
    };
    return Value::Boolean(identity(a) == identity(b));
}

Value CompareSlow(Comparison op, const Value& a, const Value& b, OperandOrigin origin) {
    if (a.IsNull() || b.IsNull())
        return Value::Null();
    const Value x = Dereference(a), y = Dereference(b);
    if (x.IsNull() || y.IsNull())
        return Value::Null();
    for (const Value* v : {&x, &y}) {
        if (v->Type() == VarType::Array || v->Type() == VarType::Error)
            RaiseError(err::TypeMismatch);
    }
    const bool xText = x.Type() == VarType::String, yText = y.Type() == VarType::String;
    int order;
    if (x.IsEmpty() && y.IsEmpty()) {
        order = 0;
    } else if (xText || yText) {
        const Value& text = xText ? x : y;
        const Value& other = xText ? y : x;
        const bool textLiteral = xText ? origin.leftLiteral : origin.rightLiteral;
        const bool otherLiteral = xText ? origin.rightLiteral : origin.leftLiteral;
        if (other.IsEmpty() || other.Type() == VarType::String) {
            order =
                OrderStrings(x.IsEmpty() ? L"" : x.AsString(), y.IsEmpty() ? L"" : y.AsString());
        } else if (textLiteral && otherLiteral) {
            // Both written out: the text takes the other's kind, or the types mismatch.
            const double read = ReadAs(text, other.Type());
            order = xText ? Order(read, ToDouble(other)) : Order(ToDouble(other), read);
        } else if (textLiteral || otherLiteral) {
            const std::wstring otherText = ToString(other);
            order = xText ? OrderStrings(text.AsString(), otherText)
                          : OrderStrings(otherText, text.AsString());
        } else {
            order = xText ? 1 : -1; // a number sorts before any string
        }
    } else {
        const Value p = x.IsEmpty() ? Value::Integer(0) : x;
        const Value q = y.IsEmpty() ? Value::Integer(0) : y;
        if (!IsNumberLike(p) || !IsNumberLike(q))
            RaiseError(err::TypeMismatch);
        order = OrderNumbers(p, q);
    }
    return Value::Boolean(ComparisonHolds(op, order));
}

} // namespace vbs
