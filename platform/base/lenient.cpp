#include "platform/base/lenient.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <string>

namespace plat {

namespace {

// Every rule is ASCII, so wide text and code-page bytes read alike.
template <class C> bool IsBlank(C c) {
    return c == C(' ') || (c >= C('\t') && c <= C('\r'));
}
template <class C> bool IsDigit(C c) {
    return c >= C('0') && c <= C('9');
}
// The value of a decimal digit, 10 or more for anything else: one subtraction and one
// compare per character in the digit loops.
template <class C> std::uint32_t DigitValue(C c) {
    return static_cast<std::uint32_t>(c) - static_cast<std::uint32_t>('0');
}
template <class C> C AsciiLower(C c) {
    return (c >= C('A') && c <= C('Z')) ? C(c + ('a' - 'A')) : c;
}

// Leading blanks and an optional sign, shared by every conversion.
struct Prefix {
    std::size_t pos = 0;
    bool negative = false;
};

template <class C> Prefix ReadPrefix(std::basic_string_view<C> text) {
    Prefix p;
    while (p.pos < text.size() && IsBlank(text[p.pos])) {
        ++p.pos;
    }
    if (p.pos < text.size() && (text[p.pos] == C('+') || text[p.pos] == C('-'))) {
        p.negative = text[p.pos] == C('-');
        ++p.pos;
    }
    return p;
}

struct Integer {
    bool negative = false;
    bool anyDigit = false;
    std::uint64_t magnitude = 0; // saturates at UINT64_MAX
};

// Inline into each conversion: received numbers are read by the hundred thousand.
template <class C>
[[gnu::always_inline]] inline Integer ReadInteger(std::basic_string_view<C> text) {
    const Prefix p = ReadPrefix(text);
    Integer n;
    n.negative = p.negative;
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    // Up to here no digit can overflow, so most numbers never test for saturation.
    constexpr std::uint64_t kSafe = (kMax - 9) / 10;
    std::size_t i = p.pos;
    for (std::uint32_t d = 0; i < text.size() && (d = DigitValue(text[i])) <= 9; ++i) {
        if (n.magnitude <= kSafe)
            n.magnitude = n.magnitude * 10 + d;
        else
            n.magnitude = n.magnitude > (kMax - d) / 10 ? kMax : n.magnitude * 10 + d;
    }
    n.anyDigit = i > p.pos;
    return n;
}

std::int64_t Clamp(const Integer& n, std::int64_t min, std::int64_t max) {
    if (n.negative) {
        const std::uint64_t limit = 0 - static_cast<std::uint64_t>(min);
        return n.magnitude >= limit ? min : -static_cast<std::int64_t>(n.magnitude);
    }
    return n.magnitude >= static_cast<std::uint64_t>(max) ? max
                                                          : static_cast<std::int64_t>(n.magnitude);
}

template <class C>
bool MatchesWord(std::basic_string_view<C> text, std::size_t pos, std::string_view word) {
    if (text.size() - pos < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (AsciiLower(text[pos + i]) != static_cast<C>(word[i])) {
            return false;
        }
    }
    return true;
}

// The decimal number at `pos`, as ASCII text from_chars accepts ("12.5e-3"); empty when
// there is no digit. `leadPower` receives the decimal power of the first non-zero digit
// (0 when all digits are zero) to tell overflow from underflow.
template <class C>
std::string ReadDecimal(std::basic_string_view<C> text, std::size_t pos, long long& leadPower) {
    std::string digits;
    std::size_t i = pos;
    std::size_t intDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        digits += static_cast<char>(text[i]);
        ++intDigits;
    }
    std::size_t fracDigits = 0;
    if (i < text.size() && text[i] == C('.')) {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            digits += static_cast<char>(text[i]);
            ++fracDigits;
        }
    }
    if (digits.empty()) {
        return {};
    }
    leadPower = 0;
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero != std::string::npos) {
        leadPower = static_cast<long long>(intDigits) - 1 - static_cast<long long>(firstNonZero);
    }
    std::string number = digits.substr(0, intDigits);
    if (number.empty()) {
        number = "0";
    }
    if (fracDigits > 0) {
        number += '.';
        number.append(digits, intDigits, std::string::npos);
    }
    // An exponent counts only with at least one digit: "1e" and "1e+" read as 1.
    if (i < text.size() && (text[i] == C('e') || text[i] == C('E'))) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == C('+') || text[j] == C('-'))) {
            negativeExponent = text[j] == C('-');
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            // Far beyond any double's range; keeps the arithmetic below in range.
            constexpr long long kExponentLimit = 1'000'000'000;
            long long exponent = 0;
            for (; j < text.size() && IsDigit(text[j]); ++j) {
                exponent = std::min(exponent * 10 + (text[j] - C('0')), kExponentLimit);
            }
            if (negativeExponent) {
                exponent = -exponent;
            }
            leadPower += exponent;
            number += 'e';
            number += std::to_string(exponent);
        }
    }
    return number;
}

} // namespace

int _wtoi(const wchar_t* text) {
    return text ? _wtoi(std::wstring_view(text)) : 0;
}

int _wtoi(std::wstring_view text) {
    return static_cast<int>(Clamp(ReadInteger(text), INT_MIN, INT_MAX));
}

std::int64_t _wtoi64(const wchar_t* text) {
    return text ? _wtoi64(std::wstring_view(text)) : 0;
}

std::int64_t _wtoi64(std::wstring_view text) {
    return Clamp(ReadInteger(text),
                 std::numeric_limits<std::int64_t>::min(),
                 std::numeric_limits<std::int64_t>::max());
}

double _wtof(const wchar_t* text) {
    return text ? _wtof(std::wstring_view(text)) : 0.0;
}

namespace {

// The decimal number at `pos` through its text form and from_chars: any length, any exponent.
template <class C> double ReadDecimalInGeneral(std::basic_string_view<C> text, std::size_t pos) {
    long long leadPower = 0;
    const std::string number = ReadDecimal(text, pos, leadPower);
    if (number.empty()) {
        return 0.0;
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        value = leadPower > 0 ? HUGE_VAL : 0.0;
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    return value;
}

// Powers of ten that are exact doubles.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr long long kLargestExactPower = 22;
constexpr std::uint64_t kLargestExactMantissa = std::uint64_t(1) << 53;

// Received prices are short decimals, read by the hundred thousand. Their digits as an
// integer up to 2^53 and a power of ten up to 1e22 are both exact doubles, so one
// multiplication or division rounds correctly: the same double from_chars gives, without
// building its text first. Anything longer takes the general way.
template <class C> double ReadDecimalNumber(std::basic_string_view<C> text, std::size_t pos) {
    const std::size_t size = text.size();
    // The digits from the first non-zero one, as an integer; past 19 of them it wraps, but
    // then the general way reads the number.
    std::uint64_t mantissa = 0;
    std::size_t i = pos;
    while (i < size && text[i] == C('0')) {
        ++i;
    }
    const std::size_t firstSignificant = i;
    for (std::uint32_t d = 0; i < size && (d = DigitValue(text[i])) <= 9; ++i) {
        mantissa = mantissa * 10 + d;
    }
    std::size_t significant = i - firstSignificant;
    bool anyDigit = i > pos;
    long long fraction = 0; // digits after the point
    if (i < size && text[i] == C('.')) {
        const std::size_t fractionBegins = ++i;
        if (significant == 0) {
            while (i < size && text[i] == C('0')) {
                ++i;
            }
        }
        const std::size_t fractionSignificant = i;
        for (std::uint32_t d = 0; i < size && (d = DigitValue(text[i])) <= 9; ++i) {
            mantissa = mantissa * 10 + d;
        }
        significant += i - fractionSignificant;
        fraction = static_cast<long long>(i - fractionBegins);
        anyDigit = anyDigit || fraction > 0;
    }
    if (!anyDigit) {
        return 0.0;
    }
    long long exponent = 0;
    if (i < size && (text[i] == C('e') || text[i] == C('E'))) {
        std::size_t j = i + 1;
        const bool negative = j < size && text[j] == C('-');
        if (j < size && (text[j] == C('+') || text[j] == C('-'))) {
            ++j;
        }
        // Short exponents only; longer ones (and "1e", which has none) go the general way.
        for (int digits = 0; j < size && IsDigit(text[j]); ++j) {
            if (++digits > 3) {
                return ReadDecimalInGeneral(text, pos);
            }
            exponent = exponent * 10 + (text[j] - C('0'));
        }
        exponent = negative ? -exponent : exponent;
    }
    const long long power = exponent - fraction;
    if (significant > 19 || mantissa > kLargestExactMantissa || power < -kLargestExactPower ||
        power > kLargestExactPower) {
        return ReadDecimalInGeneral(text, pos);
    }
    const double digits = static_cast<double>(mantissa);
    return power < 0 ? digits / kExactPowersOfTen[-power] : digits * kExactPowersOfTen[power];
}

template <class C> double ReadDouble(std::basic_string_view<C> text) {
    const Prefix p = ReadPrefix(text);
    const double sign = p.negative ? -1.0 : 1.0;
    // Numbers start with a digit or the point; only anything else can be a word.
    if (p.pos < text.size() && DigitValue(text[p.pos]) > 9 && text[p.pos] != C('.')) {
        if (MatchesWord(text, p.pos, "inf")) {
            return sign * std::numeric_limits<double>::infinity();
        }
        if (MatchesWord(text, p.pos, "nan")) {
            return std::copysign(std::numeric_limits<double>::quiet_NaN(), sign);
        }
    }
    return sign * ReadDecimalNumber(text, p.pos);
}

template <class C> bool ReadUnsigned(std::basic_string_view<C> text, unsigned& out) {
    const Integer n = ReadInteger(text);
    if (!n.anyDigit) {
        return false;
    }
    if (n.magnitude > std::numeric_limits<std::uint32_t>::max()) {
        out = std::numeric_limits<std::uint32_t>::max();
    } else {
        const auto magnitude = static_cast<std::uint32_t>(n.magnitude);
        out = n.negative ? 0u - magnitude : magnitude;
    }
    return true;
}

} // namespace

double _wtof(std::wstring_view text) {
    return ReadDouble(text);
}

bool ScanUnsigned(std::wstring_view text, unsigned& out) {
    return ReadUnsigned(text, out);
}

int _atoi(std::string_view text) {
    return static_cast<int>(Clamp(ReadInteger(text), INT_MIN, INT_MAX));
}

std::int64_t _atoi64(std::string_view text) {
    return Clamp(ReadInteger(text),
                 std::numeric_limits<std::int64_t>::min(),
                 std::numeric_limits<std::int64_t>::max());
}

double _atof(std::string_view text) {
    return ReadDouble(text);
}

bool ScanUnsigned(std::string_view text, unsigned& out) {
    return ReadUnsigned(text, out);
}

} // namespace plat
