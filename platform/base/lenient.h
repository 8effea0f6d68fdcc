#pragma once
// Lenient number conversions of the Windows C runtime, independent of the process locale:
// leading white space is skipped, an optional sign is read, digits are taken up to the first
// character that does not fit, and text without digits yields 0.
#include <cstdint>
#include <string_view>

namespace plat {

// Out of range saturates to INT_MIN/INT_MAX.
int _wtoi(const wchar_t* text);
int _wtoi(std::wstring_view text);
// Out of range saturates to INT64_MIN/INT64_MAX.
std::int64_t _wtoi64(const wchar_t* text);
std::int64_t _wtoi64(std::wstring_view text);
// Decimal digits, '.', exponent; "inf"/"nan" words; overflow yields +-HUGE_VAL. '.' is the
// only decimal point whatever the locale.
double _wtof(const wchar_t* text);
double _wtof(std::wstring_view text);
// The "%u" scan of swscanf: white space, optional sign, decimal digits. A '-' negates modulo
// 2^32 and out-of-range magnitudes give 0xFFFFFFFF. Returns false (out untouched) when no
// digit follows.
bool ScanUnsigned(std::wstring_view text, unsigned& out);

// The same rules over bytes of the process code page (every rule is ASCII), for received
// text that need not be decoded first.
int _atoi(std::string_view text);
std::int64_t _atoi64(std::string_view text);
double _atof(std::string_view text);
bool ScanUnsigned(std::string_view text, unsigned& out);

} // namespace plat
