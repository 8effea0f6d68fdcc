#include "vbscript/coerce.h"

#include <charconv>
#include <cmath>
#include <cwctype>
#include <limits>
#include <string>
#include <vector>

#include "vbscript/script_error.h"

namespace vbs {
namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    }
    return true;
}

// "&H" and "&O" numbers: the digit count picks Integer or Long, as the literals do.
bool ParseRadix(std::wstring_view digits, int radix, double& out) {
    if (digits.empty())
        return false;
    std::uint64_t value = 0;
    for (wchar_t c : digits) {
        int digit = -1;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (radix == 16 && c >= L'a' && c <= L'f')
            digit = c - L'a' + 10;
        else if (radix == 16 && c >= L'A' && c <= L'F')
            digit = c - L'A' + 10;
        if (digit < 0 || digit >= radix)
            return false;
        value = value * radix + digit;
        if (value > 0xFFFFFFFFu)
            return false;
    }
    if (value <= 0xFFFF)
        out = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    else
        out = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return true;
}

double RoundHalfEven(double v) {
    return std::nearbyint(v);
}

[[noreturn]] void Mismatch() {
    RaiseError(err::TypeMismatch);
}

double CheckedDouble(double v) {
    if (!std::isfinite(v))
        RaiseError(err::Overflow);
    return v;
}

double StringToDouble(std::wstring_view text) {
    double d = 0;
    if (!ParseNumber(text, d))
        Mismatch();
    return CheckedDouble(d);
}

std::wstring ToWide(const char* begin, const char* end) {
    return std::wstring(begin, end);
}

// Short month names are accepted alongside the full ones.
int MonthFromName(std::wstring_view word) {
    static const wchar_t* const names[] = {L"january",
                                           L"february",
                                           L"march",
                                           L"april",
                                           L"may",
                                           L"june",
                                           L"july",
                                           L"august",
                                           L"september",
                                           L"october",
                                           L"november",
                                           L"december"};
    if (word.size() < 3)
        return 0;
    for (int m = 0; m < 12; ++m) {
        std::wstring_view name = names[m];
        if (word.size() <= name.size() && EqualsNoCase(word, name.substr(0, word.size())))
            return m + 1;
    }
    return 0;
}

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

struct DateToken {
    enum Kind { Number, Word, Colon } kind;
    int value = 0;
    int digits = 0;
    std::wstring_view word;
};

bool Tokenize(std::wstring_view text, std::vector<DateToken>& tokens) {
    std::size_t i = 0;
    while (i < text.size()) {
        const wchar_t c = text[i];
        if (c >= L'0' && c <= L'9') {
            DateToken t{DateToken::Number, 0, 0, {}};
            while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
                if (t.digits++ > 5)
                    return false;
                t.value = t.value * 10 + (text[i++] - L'0');
            }
            tokens.push_back(t);
        } else if (std::iswalpha(c)) {
            const std::size_t start = i;
            while (i < text.size() && std::iswalpha(text[i]))
                ++i;
            DateToken t{DateToken::Word, 0, 0, {}};
            t.word = text.substr(start, i - start);
            tokens.push_back(t);
        } else if (c == L':') {
            tokens.push_back(DateToken{DateToken::Colon, 0, 0, {}});
            ++i;
        } else if (c == L'/' || c == L'-' || c == L',' || c == L'.' || IsBlank(c)) {
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

int ExpandYear(const DateToken& t) {
    return t.digits <= 2 ? (t.value < 30 ? 2000 : 1900) + t.value : t.value;
}

} // namespace

bool ParseNumber(std::wstring_view text, double& out) {
    text = Trim(text);
    if (text.size() >= 2 && text[0] == L'&') {
        if (text[1] == L'h' || text[1] == L'H')
            return ParseRadix(text.substr(2), 16, out);
        if (text[1] == L'o' || text[1] == L'O')
            return ParseRadix(text.substr(2), 8, out);
        return ParseRadix(text.substr(1), 8, out);
    }
    std::string clean;
    std::size_t i = 0;
    auto take = [&](wchar_t c) {
        if (i < text.size() && text[i] == c) {
            ++i;
            return true;
        }
        return false;
    };
    take(L'$');
    if (take(L'-'))
        clean += '-';
    else
        take(L'+');
    take(L'$');
    int mantissaDigits = 0;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c >= L'0' && c <= L'9') {
            clean += static_cast<char>(c);
            ++mantissaDigits;
        } else if (c != L',' || mantissaDigits == 0) {
            break;
        }
    }
    if (take(L'.')) {
        clean += '.';
        for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i, ++mantissaDigits)
            clean += static_cast<char>(text[i]);
    }
    if (mantissaDigits == 0)
        return false;
    if (i < text.size() &&
        (text[i] == L'e' || text[i] == L'E' || text[i] == L'd' || text[i] == L'D')) {
        ++i;
        clean += 'e';
        if (take(L'-'))
            clean += '-';
        else
            take(L'+');
        int exponentDigits = 0;
        for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i, ++exponentDigits)
            clean += static_cast<char>(text[i]);
        if (exponentDigits == 0)
            return false;
    }
    if (i != text.size())
        return false;
    const auto result = std::from_chars(clean.data(), clean.data() + clean.size(), out);
    if (result.ec == std::errc::result_out_of_range) {
        // Either too large (overflow) or too small (a zero).
        std::size_t e = clean.find('e');
        const bool tiny = e != std::string::npos && clean[e + 1] == '-';
        out = tiny ? 0.0 : (clean[0] == '-' ? -HUGE_VAL : HUGE_VAL);
        return true;
    }
    return result.ec == std::errc();
}

std::int64_t DaySerial(int year, int month, int day) {
    // Days from the civil calendar, counted from 1970-01-01, then moved to 1899-12-30.
    const std::int64_t y = month <= 2 ? year - 1 : year;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25569;
}

bool ParseDate(std::wstring_view text, double& out) {
    std::vector<DateToken> tokens;
    if (!Tokenize(Trim(text), tokens) || tokens.empty())
        return false;
    std::vector<DateToken> dateNumbers;
    int month = 0;
    int timeParts[3] = {0, 0, 0};
    int timeCount = 0;
    int meridiem = 0; // 1 AM, 2 PM
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const DateToken& t = tokens[i];
        if (t.kind == DateToken::Number && i + 1 < tokens.size() &&
            tokens[i + 1].kind == DateToken::Colon) {
            if (timeCount)
                return false;
            for (;;) {
                if (i >= tokens.size() || tokens[i].kind != DateToken::Number || timeCount == 3)
                    return false;
                timeParts[timeCount++] = tokens[i].value;
                if (i + 1 < tokens.size() && tokens[i + 1].kind == DateToken::Colon)
                    i += 2;
                else
                    break;
            }
        } else if (t.kind == DateToken::Number) {
            dateNumbers.push_back(t);
        } else if (t.kind == DateToken::Word) {
            if (EqualsNoCase(t.word, L"am") || EqualsNoCase(t.word, L"a"))
                meridiem = 1;
            else if (EqualsNoCase(t.word, L"pm") || EqualsNoCase(t.word, L"p"))
                meridiem = 2;
            else if (!month && MonthFromName(t.word))
                month = MonthFromName(t.word);
            else
                return false;
        } else {
            return false;
        }
    }
    if (meridiem && !timeCount)
        return false;

    std::int64_t serial = 0;
    const bool hasDate = month || !dateNumbers.empty();
    if (hasDate) {
        int year = 0, day = 0;
        if (month) {
            if (dateNumbers.size() != 2)
                return false;
            const bool yearFirst = dateNumbers[0].digits > 2 || dateNumbers[0].value > 31;
            day = dateNumbers[yearFirst ? 1 : 0].value;
            year = ExpandYear(dateNumbers[yearFirst ? 0 : 1]);
        } else {
            if (dateNumbers.size() != 3)
                return false;
            if (dateNumbers[0].digits > 2 || dateNumbers[0].value > 31) {
                year = ExpandYear(dateNumbers[0]);
                month = dateNumbers[1].value;
                day = dateNumbers[2].value;
            } else {
                month = dateNumbers[0].value;
                day = dateNumbers[1].value;
                year = ExpandYear(dateNumbers[2]);
                // "13/1/2000" cannot be month/day, so it is read day/month.
                if (month > 12 && day <= 12)
                    std::swap(month, day);
            }
        }
        if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
            day > DaysInMonth(year, month))
            return false;
        serial = DaySerial(year, month, day);
    }
    double fraction = 0;
    if (timeCount) {
        int hour = timeParts[0];
        if (meridiem) {
            if (hour < 1 || hour > 12)
                return false;
            hour = hour % 12 + (meridiem == 2 ? 12 : 0);
        }
        if (hour > 23 || timeParts[1] > 59 || timeParts[2] > 59)
            return false;
        fraction = (hour * 3600 + timeParts[1] * 60 + timeParts[2]) / 86400.0;
    }
    out = serial >= 0 ? static_cast<double>(serial) + fraction
                      : static_cast<double>(serial) - fraction;
    return true;
}

Value Dereference(const Value& v) {
    if (v.Type() != VarType::Object)
        return v;
    Object* object = v.AsObject();
    if (!object)
        RaiseError(err::ObjectNotSet);
    Value inner;
    if (!object->DefaultValue(inner) || inner.Type() == VarType::Object)
        RaiseError(err::NoSuchMember);
    return inner;
}

double ToDouble(const Value& v) {
    switch (v.Type()) {
    case VarType::Empty:
        return 0;
    case VarType::Null:
        RaiseError(err::InvalidUseOfNull);
    case VarType::Boolean:
        return v.AsBoolean() ? -1 : 0;
    case VarType::Byte:
        return v.AsByte();
    case VarType::Integer:
        return v.AsInteger();
    case VarType::Long:
        return v.AsLong();
    case VarType::Single:
        return v.AsSingle();
    case VarType::Double:
    case VarType::Date:
        return v.AsDouble();
    case VarType::Currency:
        return static_cast<double>(v.AsCurrency()) / 10000.0;
    case VarType::String:
        return StringToDouble(v.AsString());
    case VarType::Object:
        return ToDouble(Dereference(v));
    default:
        Mismatch();
    }
}

namespace {

template <class T> T ToWhole(const Value& v) {
    const double r = RoundHalfEven(ToDouble(v));
    if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
          r <= static_cast<double>(std::numeric_limits<T>::max())))
        RaiseError(err::Overflow);
    return static_cast<T>(r);
}

// Beyond the range where the decimal digits matter; only the limit check is left.
std::int64_t CurrencyNearLimit(double d) {
    const double scaled = RoundHalfEven(d * 10000.0);
    if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0))
        RaiseError(err::Overflow);
    return static_cast<std::int64_t>(scaled);
}

} // namespace

bool ToBoolean(const Value& v) {
    if (v.Type() == VarType::String) {
        const std::wstring_view text = Trim(v.AsString());
        // "#TRUE#" and "#FALSE#" are how Booleans are written to files.
        if (EqualsNoCase(text, L"true") || EqualsNoCase(text, L"#true#"))
            return true;
        if (EqualsNoCase(text, L"false") || EqualsNoCase(text, L"#false#"))
            return false;
    }
    if (v.Type() == VarType::Boolean)
        return v.AsBoolean();
    if (v.Type() == VarType::Currency)
        return v.AsCurrency() != 0;
    return ToDouble(v) != 0;
}

std::uint8_t ToByte(const Value& v) {
    return ToWhole<std::uint8_t>(v);
}
std::int16_t ToInteger(const Value& v) {
    return ToWhole<std::int16_t>(v);
}

std::int32_t ToLong(const Value& v) {
    if (v.Type() == VarType::Long)
        return v.AsLong();
    return ToWhole<std::int32_t>(v);
}

float ToSingle(const Value& v) {
    const double d = ToDouble(v);
    if (std::fabs(d) > std::numeric_limits<float>::max())
        RaiseError(err::Overflow);
    return static_cast<float>(d);
}

std::int64_t ToCurrency(const Value& v) {
    switch (v.Type()) {
    case VarType::Currency:
        return v.AsCurrency();
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
        return static_cast<std::int64_t>(ToDouble(v)) * 10000;
    default:
        break;
    }
    const double d = ToDouble(v);
    if (!(std::fabs(d) < 922337203685477.0))
        return CurrencyNearLimit(d);
    // Round the decimal text rather than d * 10000, which is inexact: 1.00005 is a half.
    char buffer[512];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(d), std::chars_format::fixed);
    std::int64_t scaled = 0;
    int decimals = -1;
    int nextDigit = 0;
    bool beyond = false;
    for (const char* p = buffer; p != result.ptr; ++p) {
        if (*p == '.') {
            decimals = 0;
        } else if (decimals < 0 || decimals < 4) {
            scaled = scaled * 10 + (*p - '0');
            decimals += decimals >= 0 ? 1 : 0;
        } else if (decimals++ == 4) {
            nextDigit = *p - '0';
        } else {
            beyond = beyond || *p != '0';
        }
    }
    for (int i = decimals < 0 ? 0 : decimals; i < 4; ++i)
        scaled *= 10;
    if (nextDigit > 5 || (nextDigit == 5 && (beyond || (scaled & 1))))
        ++scaled;
    return d < 0 ? -scaled : scaled;
}

double ToDate(const Value& v) {
    double d = 0;
    if (v.Type() == VarType::String) {
        // Text that is no date but a number is that many days ("1" is 12/31/1899).
        if (!ParseDate(v.AsString(), d) && !ParseNumber(v.AsString(), d))
            Mismatch();
    } else {
        d = ToDouble(v);
    }
    if (!(d > MinDate - 1 && d < MaxDate))
        RaiseError(err::Overflow);
    return d;
}

std::wstring FormatDouble(double value) {
    if (value == 0)
        return L"0";
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    for (char* p = buffer; p != result.ptr; ++p) {
        if (*p == 'e')
            *p = 'E';
    }
    return ToWide(buffer, result.ptr);
}

std::wstring FormatSingle(float value) {
    if (value == 0)
        return L"0";
    char buffer[64];
    const auto result = std::to_chars(
        buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::general, 7);
    for (char* p = buffer; p != result.ptr; ++p) {
        if (*p == 'e')
            *p = 'E';
    }
    return ToWide(buffer, result.ptr);
}

std::wstring FormatCurrency(std::int64_t tenThousandths) {
    const bool negative = tenThousandths < 0;
    // Work on the unsigned magnitude so the smallest value has a magnitude too.
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                             : static_cast<std::uint64_t>(tenThousandths);
    std::wstring text = (negative ? L"-" : L"") + std::to_wstring(magnitude / 10000);
    std::uint64_t fraction = magnitude % 10000;
    if (fraction) {
        std::wstring digits = std::to_wstring(fraction + 10000).substr(1);
        while (digits.back() == L'0')
            digits.pop_back();
        text += L'.' + digits;
    }
    return text;
}

std::wstring FormatDate(double oleDate) {
    if (!(oleDate > MinDate - 1 && oleDate < MaxDate))
        RaiseError(err::Overflow);
    std::int64_t day = static_cast<std::int64_t>(std::trunc(oleDate));
    std::int64_t seconds = std::llround(std::fabs(oleDate - std::trunc(oleDate)) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++day;
    }
    std::wstring text;
    const bool hasTime = seconds != 0;
    // The day 0 shows as a time alone, as midnight when there is no time.
    if (day != 0) {
        // Civil date from the serial: the inverse of DaySerial.
        const std::int64_t z = day - 25569 + 719468;
        const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
        const std::int64_t doe = z - era * 146097;
        const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        const std::int64_t mp = (5 * doy + 2) / 153;
        const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
        const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
        const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
        text = std::to_wstring(m) + L'/' + std::to_wstring(d) + L'/' + std::to_wstring(y);
    }
    if (hasTime || day == 0) {
        if (day != 0)
            text += L' ';
        const std::int64_t hour = seconds / 3600;
        const std::int64_t minute = seconds / 60 % 60;
        const std::int64_t second = seconds % 60;
        auto two = [](std::int64_t n) { return (n < 10 ? L"0" : L"") + std::to_wstring(n); };
        text += std::to_wstring(hour % 12 == 0 ? 12 : hour % 12) + L':' + two(minute) + L':' +
                two(second) + (hour < 12 ? L" AM" : L" PM");
    }
    return text;
}

std::wstring ToString(const Value& v) {
    switch (v.Type()) {
    case VarType::Empty:
        return {};
    case VarType::Null:
        RaiseError(err::InvalidUseOfNull);
    case VarType::Boolean:
        return v.AsBoolean() ? L"True" : L"False";
    case VarType::Byte:
        return std::to_wstring(v.AsByte());
    case VarType::Integer:
        return std::to_wstring(v.AsInteger());
    case VarType::Long:
        return std::to_wstring(v.AsLong());
    case VarType::Single:
        return FormatSingle(v.AsSingle());
    case VarType::Double:
        return FormatDouble(v.AsDouble());
    case VarType::Currency:
        return FormatCurrency(v.AsCurrency());
    case VarType::Date:
        return FormatDate(v.AsDate());
    case VarType::String:
        return std::wstring(v.AsString());
    case VarType::Object:
        return ToString(Dereference(v));
    default:
        Mismatch();
    }
}

Value Convert(const Value& v, VarType target) {
    switch (target) {
    case VarType::Boolean:
        return Value::Boolean(ToBoolean(v));
    case VarType::Byte:
        // True keeps its bits: all ones.
        if (v.Type() == VarType::Boolean)
            return Value::Byte(v.AsBoolean() ? 0xFF : 0);
        return Value::Byte(ToByte(v));
    case VarType::Integer:
        return Value::Integer(ToInteger(v));
    case VarType::Long:
        return Value::Long(ToLong(v));
    case VarType::Single:
        return Value::Single(ToSingle(v));
    case VarType::Double:
        return Value::Double(ToDouble(v));
    case VarType::Currency:
        return Value::Currency(ToCurrency(v));
    case VarType::Date:
        return Value::Date(ToDate(v));
    case VarType::String:
        return v.Type() == VarType::String ? v : Value::String(ToString(v));
    default:
        RaiseError(err::InvalidCall);
    }
}

} // namespace vbs
