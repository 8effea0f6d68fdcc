#include "nubra/time_util.h"

#include <chrono>
#include <optional>

namespace {

std::int64_t SystemNowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

orvo::ClockFn& CurrentClock() {
    static orvo::ClockFn clock = &SystemNowMs;
    return clock;
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// The number in text[pos, pos + count), or nullopt when any of it is not a digit.
std::optional<int> Digits(std::wstring_view text, std::size_t pos, std::size_t count) {
    if (pos + count > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (!IsDigit(text[i])) {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - L'0');
    }
    return value;
}

struct ClockTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

std::optional<ClockTime> ParseClockTime(std::wstring_view text) {
    const bool colons = text.size() == 5 || text.size() == 8;
    if (colons) {
        if (text[2] != L':' || (text.size() == 8 && text[5] != L':')) {
            return std::nullopt;
        }
    } else if (text.size() != 4 && text.size() != 6) {
        return std::nullopt;
    }
    const std::size_t step = colons ? 3 : 2;
    const bool withSeconds = text.size() == 6 || text.size() == 8;
    const auto hour = Digits(text, 0, 2);
    const auto minute = Digits(text, step, 2);
    const auto second = withSeconds ? Digits(text, 2 * step, 2) : std::optional<int>(0);
    if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    return ClockTime{*hour, *minute, *second};
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

void AppendTwoDigits(std::wstring& out, int value) {
    out.push_back(static_cast<wchar_t>(L'0' + value / 10 % 10));
    out.push_back(static_cast<wchar_t>(L'0' + value % 10));
}

bool HasPair(std::wstring_view mask, std::size_t pos, wchar_t upper, wchar_t lower) {
    if (pos + 1 >= mask.size()) {
        return false;
    }
    const auto matches = [&](wchar_t c) { return c == upper || c == lower; };
    return matches(mask[pos]) && matches(mask[pos + 1]);
}

} // namespace

namespace orvo {

void SetClock(ClockFn msSinceEpoch) {
    CurrentClock() = msSinceEpoch ? msSinceEpoch : &SystemNowMs;
}

std::int64_t NowMs() {
    return CurrentClock()();
}

} // namespace orvo

std::time_t MakeTime(std::wstring_view yyyymmdd, std::wstring_view hhmmss) {
    if (yyyymmdd.size() != 8) {
        return -1;
    }
    const auto year = Digits(yyyymmdd, 0, 4);
    const auto month = Digits(yyyymmdd, 4, 2);
    const auto day = Digits(yyyymmdd, 6, 2);
    if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 ||
        *day > DaysInMonth(*year, *month)) {
        return -1;
    }
    const auto clock =
        hhmmss.empty() ? std::optional<ClockTime>(ClockTime{}) : ParseClockTime(hhmmss);
    if (!clock) {
        return -1;
    }
    std::tm fields{};
    fields.tm_year = *year - 1900;
    fields.tm_mon = *month - 1;
    fields.tm_mday = *day;
    fields.tm_hour = clock->hour;
    fields.tm_min = clock->minute;
    fields.tm_sec = clock->second;
    fields.tm_isdst = -1; // let the time zone rules decide, as the Windows runtime does
    return std::mktime(&fields);
}

bool IsValidTime(std::wstring_view text) {
    return ParseClockTime(text).has_value();
}

std::wstring GetDateTime(std::wstring_view mask) {
    const std::int64_t ms = orvo::NowMs();
    // Floor division, so instants before 1970 still fall in the right second.
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000 - (ms % 1000 < 0 ? 1 : 0));
    std::tm local{};
    if (!localtime_r(&seconds, &local)) {
        return {};
    }
    const int year = local.tm_year + 1900;
    std::wstring out;
    out.reserve(mask.size() + 4);
    for (std::size_t i = 0; i < mask.size();) {
        if (HasPair(mask, i, L'Y', L'y') && HasPair(mask, i + 2, L'Y', L'y')) {
            AppendTwoDigits(out, year / 100);
            AppendTwoDigits(out, year);
            i += 4;
        } else if (HasPair(mask, i, L'Y', L'y')) {
            AppendTwoDigits(out, year);
            i += 2;
        } else if (HasPair(mask, i, L'M', L'M')) {
            AppendTwoDigits(out, local.tm_mon + 1);
            i += 2;
        } else if (HasPair(mask, i, L'm', L'm')) {
            AppendTwoDigits(out, local.tm_min);
            i += 2;
        } else if (HasPair(mask, i, L'D', L'd')) {
            AppendTwoDigits(out, local.tm_mday);
            i += 2;
        } else if (HasPair(mask, i, L'H', L'h')) {
            AppendTwoDigits(out, local.tm_hour);
            i += 2;
        } else if (HasPair(mask, i, L'S', L's')) {
            AppendTwoDigits(out, local.tm_sec);
            i += 2;
        } else {
            out.push_back(mask[i]);
            ++i;
        }
    }
    return out;
}

bool WaitTimeOut(unsigned ms,
                 const std::function<bool()>& done,
                 const std::function<void()>& pump) {
    const std::int64_t start = orvo::NowMs();
    for (;;) {
        if (pump) {
            pump();
        }
        if (done && done()) {
            return true;
        }
        if (orvo::NowMs() - start >= static_cast<std::int64_t>(ms)) {
            return false;
        }
    }
}
