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

template <class C> Integer ReadInteger(std::basic_string_view<C> text) {
    const Prefix p = ReadPrefix(text);
    Integer n;
    n.negative = p.negative;
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    for (std::size_t i = p.pos; i < text.size() && IsDigit(text[i]); ++i) {
        n.anyDigit = true;
        const auto d = static_cast<std::uint64_t>(text[i] - C('0'));
        n.magnitude = n.magnitude > (kMax - d) / 10 ? kMax : n.magnitude * 10 + d;
    }
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

template <class C> double ReadDouble(std::basic_string_view<C> text) {
    const Prefix p = ReadPrefix(text);
    const double sign = p.negative ? -1.0 : 1.0;
    if (MatchesWord(text, p.pos, "inf")) {
        return sign * std::numeric_limits<double>::infinity();
    }
    if (MatchesWord(text, p.pos, "nan")) {
        return std::copysign(std::numeric_limits<double>::quiet_NaN(), sign);
    }
    long long leadPower = 0;
    const std::string number = ReadDecimal(text, p.pos, leadPower);
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
    return sign * value;
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
