#pragma once
// Conversions between subtypes with the language's rules: invariant US number and date
// text, halves rounded to even, Error 6 when a result does not fit, Error 94 for Null and
// Error 13 for text that is not a number. CBool ... CStr are Convert(v, subtype).
#include <cstdint>
#include <string>
#include <string_view>

#include "vbscript/value.h"

namespace vbs {

// The first and one past the last day an OLE date may hold (years 100 to 9999).
inline constexpr double MinDate = -657434.0;
inline constexpr double MaxDate = 2958466.0;

// Number text: blanks around, sign, "$", "," between digits, ".", exponent, "&H" and "&O"
// (up to four digits read as an Integer, up to eight as a Long, so "&HFFFF" is -1). Too
// large a magnitude gives an infinity, which the callers report as Overflow.
bool ParseNumber(std::wstring_view text, double& out);
// Date text: "M/D/YYYY", "YYYY-M-D", month names ("Jan 2, 2000", "2 January 2000"),
// "h:mm[:ss] [AM|PM]" alone or after a date. A date needs its year.
bool ParseDate(std::wstring_view text, double& out);

// An object's default property; Error 91 for Nothing, 438 when it has none. Other values
// come back unchanged.
Value Dereference(const Value& v);

bool ToBoolean(const Value& v);
std::uint8_t ToByte(const Value& v);
std::int16_t ToInteger(const Value& v);
std::int32_t ToLong(const Value& v);
float ToSingle(const Value& v);
double ToDouble(const Value& v);
std::int64_t ToCurrency(const Value& v);
double ToDate(const Value& v);
std::wstring ToString(const Value& v);

// CBool, CByte, CInt, CLng, CSng, CDbl, CCur, CDate and CStr by target subtype.
Value Convert(const Value& v, VarType target);

// The texts CStr gives.
std::wstring FormatDouble(double value);
std::wstring FormatSingle(float value);
std::wstring FormatCurrency(std::int64_t tenThousandths);
std::wstring FormatDate(double oleDate);

// Days since 1899-12-30 of a calendar date; no range check.
std::int64_t DaySerial(int year, int month, int day);

} // namespace vbs
