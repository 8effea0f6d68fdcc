#pragma once
// The common number forms of received text, read inline: an optional sign and decimal
// digits, with a point and more digits for a double. Each reader gives exactly what the
// lenient conversion of the same text gives, and leaves every other form to it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/base/lenient.h"

namespace orvo {

namespace inline_number {

// Exact doubles, as are mantissas below 10^15: one division rounds as the lenient reader's.
constexpr double kExactPowersOfTen[] = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr std::size_t kMantissaDigits = 15;

// Appends the decimal digits at p to `value` and steps past them. Returns how many there
// were, or room + 1 as soon as there are more than `room`.
inline std::size_t
AppendDigits(const char*& p, const char* end, std::size_t room, std::uint64_t& value) {
    const char* start = p;
    for (unsigned d = 0; p != end && (d = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9;
         ++p) {
        if (static_cast<std::size_t>(p - start) == room)
            return room + 1;
        value = value * 10 + d;
    }
    return static_cast<std::size_t>(p - start);
}

// An optional sign at the start of the text, stepped over.
inline bool ReadSign(const char*& p, const char* end) {
    const bool negative = p != end && *p == '-';
    p += p != end && (*p == '-' || *p == '+');
    return negative;
}

// A signed integer of 1 to `maxDigits` digits, too few to saturate.
inline bool ReadSmallInteger(std::string_view text, std::size_t maxDigits, std::int64_t& value) {
    const char* p = text.data();
    const char* end = p + text.size();
    const bool negative = ReadSign(p, end);
    std::uint64_t magnitude = 0;
    const std::size_t digits = AppendDigits(p, end, maxDigits, magnitude);
    if (digits == 0 || digits > maxDigits)
        return false;
    value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

} // namespace inline_number

// plat::_atoi of the text.
inline std::int32_t InlineAtoi(std::string_view text) {
    std::int64_t value = 0;
    return inline_number::ReadSmallInteger(text, 9, value) ? static_cast<std::int32_t>(value)
                                                           : plat::_atoi(text);
}

// plat::_atoi64 of the text.
inline std::int64_t InlineAtoi64(std::string_view text) {
    std::int64_t value = 0;
    return inline_number::ReadSmallInteger(text, 18, value) ? value : plat::_atoi64(text);
}

// plat::_atof of the text. Exponents, words, blanks and long mantissas go the lenient way.
inline double InlineAtof(std::string_view text) {
    using namespace inline_number;
    const char* p = text.data();
    const char* end = p + text.size();
    const bool negative = ReadSign(p, end);
    std::uint64_t mantissa = 0;
    const std::size_t whole = AppendDigits(p, end, kMantissaDigits, mantissa);
    std::size_t fraction = 0;
    if (whole <= kMantissaDigits && p != end && *p == '.') {
        ++p;
        fraction = AppendDigits(p, end, kMantissaDigits - whole, mantissa);
    }
    const std::size_t digits = whole + fraction;
    if (digits == 0 || digits > kMantissaDigits || (p != end && (*p | 0x20) == 'e'))
        return plat::_atof(text);
    const double value = static_cast<double>(mantissa) / kExactPowersOfTen[fraction];
    return negative ? -value : value;
}

} // namespace orvo
