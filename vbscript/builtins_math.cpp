// The numeric functions. Each answers a Double (Rnd a Single, RGB a Long) except Round, which
// keeps the subtype of its argument (Boolean included); Null gives Null, except to RGB.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <span>

#include "vbscript/builtins.h"
#include "vbscript/clock.h"
#include "vbscript/coerce.h"
#include "vbscript/runtime.h"
#include "vbscript/script_error.h"

namespace vbs {
namespace {

Value Checked(double d) {
    if (!std::isfinite(d))
        RaiseError(err::Overflow);
    return Value::Double(d);
}

template <double (*F)(double)> Value Plain(Runtime*, std::span<Value> a) {
    if (a[0].IsNull())
        return Value::Null();
    return Checked(F(ToDouble(a[0])));
}

double Square(double d) {
    if (d < 0)
        RaiseError(err::InvalidCall);
    return std::sqrt(d);
}

double Logarithm(double d) {
    if (d <= 0)
        RaiseError(err::InvalidCall);
    return std::log(d);
}

double Exponential(double d) {
    return std::exp(d);
}
double Sine(double d) {
    return std::sin(d);
}
double Cosine(double d) {
    return std::cos(d);
}
double Tangent(double d) {
    return std::tan(d);
}
double ArcTangent(double d) {
    return std::atan(d);
}

// Scales, rounds half to even and scales back, so the double's own error decides near-halves:
// 1.005 is slightly below 1.005 and rounds to 1.
double RoundDouble(double d, int digits) {
    const double scale = std::pow(10.0, digits);
    const double scaled = d * scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) // already whole
        return d;
    return std::nearbyint(scaled) / scale;
}

std::int64_t RoundCurrency(std::int64_t c, int digits) {
    if (digits >= 4)
        return c;
    std::int64_t unit = 1;
    for (int i = digits; i < 4; ++i)
        unit *= 10;
    const std::int64_t low = c / unit * unit; // toward zero
    const std::int64_t rest = c - low;
    const std::int64_t twice = 2 * (rest < 0 ? -rest : rest);
    const bool lowIsEven = (low / unit) % 2 == 0;
    if (twice < unit || (twice == unit && lowIsEven))
        return low;
    return rest < 0 ? low - unit : low + unit;
}

Value Round(Runtime*, std::span<Value> a) {
    const std::int32_t digits = a.size() > 1 ? ToLong(a[1]) : 0;
    if (digits < 0)
        RaiseError(err::InvalidCall);
    const Value& v = a[0];
    switch (v.Type()) {
    case VarType::Null:
        return Value::Null();
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
        return v;
    case VarType::Empty:
        return Value::Integer(0);
    case VarType::Currency:
        return Value::Currency(RoundCurrency(v.AsCurrency(), digits));
    case VarType::Single:
        return Value::Single(static_cast<float>(RoundDouble(v.AsSingle(), digits)));
    case VarType::Date:
        return Value::Date(RoundDouble(v.AsDate(), digits));
    default:
        return Value::Double(RoundDouble(ToDouble(v), digits));
    }
}

// The next number of the language's generator: a 24-bit linear congruential sequence.
float NextRandom(std::uint32_t& seed) {
    seed = (seed * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFF;
    return static_cast<float>(seed) / 16777216.0f;
}

std::uint32_t BitsOf(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

// Rnd(): the next number; Rnd(0): the last again (the state as a number); Rnd(negative): a
// number fixed by the argument's Single bits, which also restarts the sequence from it.
Value Rnd(Runtime* runtime, std::span<Value> a) {
    std::uint32_t& seed = runtime->RandomSeed();
    if (a.empty())
        return Value::Single(NextRandom(seed));
    const float f = ToSingle(a[0]);
    if (f == 0)
        return Value::Single(static_cast<float>(seed) / 16777216.0f);
    if (f < 0) {
        const std::uint32_t bits = BitsOf(f);
        seed = (bits + (bits >> 24)) & 0xFFFFFF;
    }
    return Value::Single(NextRandom(seed));
}

// Randomize [seed]: mixes the seed (the time of day when there is none) into the middle
// bytes of the state, so equal seeds give equal sequences only from the same state (Rnd
// with a negative argument first).
Value Randomize(Runtime* runtime, std::span<Value> a) {
    const double now = NowOleDate();
    const double seed = a.empty() ? (now - std::floor(now)) * 86400.0 : ToDouble(a[0]);
    std::uint64_t bits;
    std::memcpy(&bits, &seed, sizeof bits);
    const std::uint32_t high = static_cast<std::uint32_t>(bits >> 32);
    const std::uint32_t mixed = ((high >> 16) ^ high) & 0xFFFF;
    std::uint32_t& state = runtime->RandomSeed();
    state = (state & 0xFF0000FF) | (mixed << 8);
    return Value();
}

// RGB(red, green, blue): a colour as the Long red + 256 * green + 65536 * blue. A part
// above 255 counts as 255; a negative one is an invalid argument.
Value Rgb(Runtime*, std::span<Value> a) {
    std::int32_t colour = 0;
    for (int i = 2; i >= 0; --i) {
        const std::int32_t part = ToLong(a[static_cast<std::size_t>(i)]);
        if (part < 0)
            RaiseError(err::InvalidCall);
        colour = colour * 256 + std::min(part, 255);
    }
    return Value::Long(colour);
}

const Builtin mathBuiltins[] = {
    {L"Atn", Plain<ArcTangent>, 1, 1},
    {L"Cos", Plain<Cosine>, 1, 1},
    {L"Exp", Plain<Exponential>, 1, 1},
    {L"Log", Plain<Logarithm>, 1, 1},
    {L"Randomize", Randomize, 0, 1},
    {L"RGB", Rgb, 3, 3},
    {L"Rnd", Rnd, 0, 1},
    {L"Round", Round, 1, 2},
    {L"Sin", Plain<Sine>, 1, 1},
    {L"Sqr", Plain<Square>, 1, 1},
    {L"Tan", Plain<Tangent>, 1, 1},
};

} // namespace

std::span<const Builtin> MathBuiltins() {
    return mathBuiltins;
}

} // namespace vbs
