// FormatNumber, FormatCurrency, FormatPercent and FormatDateTime with the invariant US
// rules: "." and ",", two decimals, "$" in front, negative currency in parentheses.
#include <charconv>
#include <cmath>
#include <span>
#include <string>

#include "vbscript/builtins.h"
#include "vbscript/coerce.h"
#include "vbscript/script_error.h"

namespace vbs {
namespace {

constexpr int MaxDecimals = 255;

struct NumberStyle {
    int decimals = 2;
    bool leadingDigit = true;
    bool parentheses = false;
    bool groupDigits = true;
};

// The tristate arguments: -1 True, 0 False, -2 the regional default.
bool Tristate(std::span<Value> a, std::size_t index, bool fallback) {
    if (a.size() <= index)
        return fallback;
    const std::int32_t v = ToLong(a[index]);
    if (v == -2)
        return fallback;
    if (v != -1 && v != 0)
        RaiseError(err::InvalidCall);
    return v == -1;
}

NumberStyle StyleOf(std::span<Value> a, bool parenthesesByDefault) {
    NumberStyle style;
    const std::int32_t decimals = a.size() > 1 ? ToLong(a[1]) : -1;
    if (decimals < -1 || decimals > MaxDecimals)
        RaiseError(err::InvalidCall);
    if (decimals >= 0)
        style.decimals = decimals;
    style.leadingDigit = Tristate(a, 2, true);
    style.parentheses = Tristate(a, 3, parenthesesByDefault);
    style.groupDigits = Tristate(a, 4, true);
    return style;
}

// The magnitude with the requested decimals. It starts from the 15 significant digits CStr
// shows, so 1.005 formats as 1.01 as it reads, and halves round away from zero.
std::wstring Digits(double magnitude, const NumberStyle& style) {
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14)
            .ptr;
    std::string significant;
    const char* p = buffer;
    for (; p != end && *p != 'e'; ++p) {
        if (*p != '.')
            significant += *p;
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
    // Whole digits, then decimals, each as plain digit characters.
    std::string whole, fraction;
    const int point = exponent + 1;
    for (int i = 0; i < point; ++i)
        whole += i < static_cast<int>(significant.size()) ? significant[i] : '0';
    for (int i = point; i < point + style.decimals + 1; ++i)
        fraction += i >= 0 && i < static_cast<int>(significant.size()) ? significant[i] : '0';
    const bool roundUp = fraction.back() >= '5';
    fraction.pop_back();
    if (whole.empty())
        whole = "0";
    if (roundUp) {
        std::string all = whole + fraction;
        int i = static_cast<int>(all.size()) - 1;
        for (; i >= 0 && all[i] == '9'; --i)
            all[i] = '0';
        if (i < 0)
            all.insert(all.begin(), '1');
        else
            ++all[i];
        whole = all.substr(0, all.size() - fraction.size());
        fraction = all.substr(all.size() - fraction.size());
    }
    std::wstring text;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (style.groupDigits && i && (whole.size() - i) % 3 == 0)
            text += L',';
        text += static_cast<wchar_t>(whole[i]);
    }
    if (!style.leadingDigit && whole == "0" && !fraction.empty())
        text.clear();
    if (!fraction.empty())
        text += L'.' + std::wstring(fraction.begin(), fraction.end());
    return text;
}

std::wstring Formatted(double value,
                       const NumberStyle& style,
                       std::wstring_view prefix,
                       std::wstring_view suffix) {
    if (!std::isfinite(value))
        RaiseError(err::Overflow);
    const std::wstring digits = Digits(std::fabs(value), style);
    const std::wstring body = std::wstring(prefix) + digits + std::wstring(suffix);
    // A value that rounds to zero shows no sign.
    if (value >= 0 || digits.find_first_of(L"123456789") == std::wstring::npos)
        return body;
    return style.parentheses ? L'(' + body + L')' : L'-' + body;
}

Value FormatNumber(Runtime*, std::span<Value> a) {
    // Null fails as a number that cannot be converted, not as a misused Null.
    if (a[0].IsNull())
        RaiseError(err::TypeMismatch);
    return Value::String(Formatted(ToDouble(a[0]), StyleOf(a, false), L"", L""));
}

Value FormatCurrencyText(Runtime*, std::span<Value> a) {
    return Value::String(Formatted(ToDouble(a[0]), StyleOf(a, true), L"$", L""));
}

Value FormatPercent(Runtime*, std::span<Value> a) {
    return Value::String(Formatted(ToDouble(a[0]) * 100.0, StyleOf(a, false), L"", L"%"));
}

// The date parts come from the date built-ins, so both agree on the calendar.
Value CallBuiltin(const wchar_t* name, const Value& argument) {
    Value args[] = {argument};
    return FindBuiltin(name)->function(nullptr, std::span<Value>(args));
}

int DatePartOf(const wchar_t* function, const Value& date) {
    return CallBuiltin(function, date).AsInteger();
}

std::wstring NameOf(const wchar_t* function, int number) {
    return std::wstring(
        CallBuiltin(function, Value::Integer(static_cast<std::int16_t>(number))).AsString());
}

// vbGeneralDate (0), vbLongDate (1) "Saturday, January 1, 2000", vbShortDate (2)
// "1/1/2000", vbLongTime (3) "1:05:09 PM", vbShortTime (4) "13:05".
Value FormatDateTime(Runtime*, std::span<Value> a) {
    const std::int32_t format = a.size() > 1 ? ToLong(a[1]) : 0;
    const Value date = Value::Date(ToDate(a[0]));
    const auto number = [&](const wchar_t* part) {
        return std::to_wstring(DatePartOf(part, date));
    };
    switch (format) {
    case 0:
        return Value::String(FormatDate(date.AsDate()));
    case 1:
        return Value::String(NameOf(L"WeekdayName", DatePartOf(L"Weekday", date)) + L", " +
                             NameOf(L"MonthName", DatePartOf(L"Month", date)) + L' ' +
                             number(L"Day") + L", " + number(L"Year"));
    case 2:
        return Value::String(number(L"Month") + L'/' + number(L"Day") + L'/' + number(L"Year"));
    case 3:
        return Value::String(FormatDate(CallBuiltin(L"TimeValue", date).AsDate()));
    case 4: {
        std::wstring hour = number(L"Hour"), minute = number(L"Minute");
        return Value::String((hour.size() < 2 ? L"0" : L"") + hour + L':' +
                             (minute.size() < 2 ? L"0" : L"") + minute);
    }
    default:
        RaiseError(err::InvalidCall);
    }
}

const Builtin formatBuiltins[] = {
    {L"FormatCurrency", FormatCurrencyText, 1, 5},
    {L"FormatDateTime", FormatDateTime, 1, 2},
    {L"FormatNumber", FormatNumber, 1, 5},
    {L"FormatPercent", FormatPercent, 1, 5},
};

} // namespace

std::span<const Builtin> FormatBuiltins() {
    return formatBuiltins;
}

} // namespace vbs
