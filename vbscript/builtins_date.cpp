// Dates and times. An OLE date keeps the time of day as the distance from midnight even
// before 1899-12-30 (-1.25 is 12/29/1899 06:00), so arithmetic goes through a linear count
// of days and seconds and is turned back into an OLE date at the end.
#include <algorithm>
#include <cmath>
#include <ctime>
#include <cwctype>
#include <span>
#include <string>

#include "vbscript/builtins.h"
#include "vbscript/clock.h"
#include "vbscript/coerce.h"
#include "vbscript/script_error.h"

namespace vbs {
namespace {

double (*testClock)() = nullptr;

double SystemNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    const double seconds =
        local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + now.tv_nsec / 1e9;
    return static_cast<double>(DaySerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday)) +
           seconds / 86400.0;
}

struct Moment {
    std::int64_t day;     // days since 1899-12-30
    std::int64_t seconds; // of the day, 0 to 86399
};

struct Civil {
    int year, month, day;
};

Moment Split(double oleDate) {
    std::int64_t day = static_cast<std::int64_t>(std::trunc(oleDate));
    std::int64_t seconds = std::llround(std::fabs(oleDate - std::trunc(oleDate)) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++day;
    }
    return {day, seconds};
}

Value DateOf(Moment m) {
    const double fraction = static_cast<double>(m.seconds) / 86400.0;
    const double d =
        m.day >= 0 ? static_cast<double>(m.day) + fraction : static_cast<double>(m.day) - fraction;
    if (!(d > MinDate - 1 && d < MaxDate))
        RaiseError(err::InvalidCall);
    return Value::Date(d);
}

Moment FromSeconds(std::int64_t total) {
    const std::int64_t day = total >= 0 ? total / 86400 : -((-total + 86399) / 86400);
    return {day, total - day * 86400};
}

Civil CivilOf(std::int64_t serial) {
    const std::int64_t z = serial - 25569 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0)), m, d};
}

// Months past December or before January move into the neighbouring years.
std::int64_t SerialOf(std::int64_t year, std::int64_t month, std::int64_t day) {
    const std::int64_t months = year * 12 + month - 1;
    const std::int64_t y = months >= 0 ? months / 12 : -((-months + 11) / 12);
    const int m = static_cast<int>(months - y * 12) + 1;
    if (y < 0 || y > 10000)
        RaiseError(err::InvalidCall);
    return DaySerial(static_cast<int>(y), m, 1) + day - 1;
}

int DaysInMonth(int year, int month) {
    return static_cast<int>(SerialOf(year, month + 1, 1) - SerialOf(year, month, 1));
}

// The argument as a date; Null is answered before this is called.
Moment MomentOf(const Value& v) {
    return Split(ToDate(v));
}

// 1 is Sunday; 1899-12-30 was a Saturday.
int SundayBasedWeekday(std::int64_t day) {
    return static_cast<int>(((day + 6) % 7 + 7) % 7) + 1;
}

// vbUseSystemDayOfWeek (0) is Sunday under the invariant rules.
int FirstDayOfWeek(std::span<Value> a, std::size_t index) {
    const std::int32_t first = a.size() > index ? ToLong(a[index]) : 1;
    if (first < 0 || first > 7)
        RaiseError(err::InvalidCall);
    return first == 0 ? 1 : first;
}

int WeekdayFrom(std::int64_t day, int firstDay) {
    return (SundayBasedWeekday(day) - firstDay + 7) % 7 + 1;
}

template <class Part> Value PartOf(const Value& v, Part part) {
    if (v.IsNull())
        return Value::Null();
    return Value::Integer(static_cast<std::int16_t>(part(MomentOf(v))));
}

Value Year(Runtime*, std::span<Value> a) {
    return PartOf(a[0], [](Moment m) { return CivilOf(m.day).year; });
}
Value Month(Runtime*, std::span<Value> a) {
    return PartOf(a[0], [](Moment m) { return CivilOf(m.day).month; });
}
Value Day(Runtime*, std::span<Value> a) {
    return PartOf(a[0], [](Moment m) { return CivilOf(m.day).day; });
}
Value Hour(Runtime*, std::span<Value> a) {
    return PartOf(a[0], [](Moment m) { return static_cast<int>(m.seconds / 3600); });
}
Value Minute(Runtime*, std::span<Value> a) {
    return PartOf(a[0], [](Moment m) { return static_cast<int>(m.seconds / 60 % 60); });
}
Value Second(Runtime*, std::span<Value> a) {
    return PartOf(a[0], [](Moment m) { return static_cast<int>(m.seconds % 60); });
}

Value Weekday(Runtime*, std::span<Value> a) {
    const int first = FirstDayOfWeek(a, 1);
    return PartOf(a[0], [first](Moment m) { return WeekdayFrom(m.day, first); });
}

const wchar_t* const dayNames[] = {
    L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"};
const wchar_t* const monthNames[] = {L"January",
                                     L"February",
                                     L"March",
                                     L"April",
                                     L"May",
                                     L"June",
                                     L"July",
                                     L"August",
                                     L"September",
                                     L"October",
                                     L"November",
                                     L"December"};

Value Name(const wchar_t* name, bool abbreviate) {
    std::wstring_view text = name;
    return Value::String(abbreviate ? text.substr(0, 3) : text);
}

Value WeekdayName(Runtime*, std::span<Value> a) {
    const std::int32_t weekday = ToLong(a[0]);
    const bool abbreviate = a.size() > 1 && ToBoolean(a[1]);
    const int first = FirstDayOfWeek(a, 2);
    if (weekday < 1 || weekday > 7)
        RaiseError(err::InvalidCall);
    return Name(dayNames[(weekday + first - 2) % 7], abbreviate);
}

Value MonthName(Runtime*, std::span<Value> a) {
    const std::int32_t month = ToLong(a[0]);
    if (month < 1 || month > 12)
        RaiseError(err::InvalidCall);
    return Name(monthNames[month - 1], a.size() > 1 && ToBoolean(a[1]));
}

// DateSerial(year, month, day): two-digit years are 1930 to 2029, and months and days
// outside their range carry into the neighbours (DateSerial(2000, 2, 30) is 3/1/2000).
Value DateSerial(Runtime*, std::span<Value> a) {
    if (a[0].IsNull() || a[1].IsNull() || a[2].IsNull())
        RaiseError(err::InvalidUseOfNull);
    std::int64_t year = ToInteger(a[0]);
    if (year >= 0 && year < 30)
        year += 2000;
    else if (year >= 30 && year < 100)
        year += 1900;
    return DateOf({SerialOf(year, ToInteger(a[1]), ToInteger(a[2])), 0});
}

Value TimeSerial(Runtime*, std::span<Value> a) {
    if (a[0].IsNull() || a[1].IsNull() || a[2].IsNull())
        RaiseError(err::InvalidUseOfNull);
    const std::int64_t total =
        std::int64_t{ToInteger(a[0])} * 3600 + std::int64_t{ToInteger(a[1])} * 60 + ToInteger(a[2]);
    return DateOf(FromSeconds(total));
}

Value DateValue(Runtime*, std::span<Value> a) {
    if (a[0].IsNull())
        return Value::Null();
    return DateOf({MomentOf(a[0]).day, 0});
}

Value TimeValue(Runtime*, std::span<Value> a) {
    if (a[0].IsNull())
        return Value::Null();
    return DateOf({0, MomentOf(a[0]).seconds});
}

enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

Interval IntervalOf(const Value& v) {
    static const struct {
        const wchar_t* code;
        Interval interval;
    } codes[] = {{L"yyyy", Interval::Year},
                 {L"q", Interval::Quarter},
                 {L"m", Interval::Month},
                 {L"y", Interval::DayOfYear},
                 {L"d", Interval::Day},
                 {L"w", Interval::Weekday},
                 {L"ww", Interval::Week},
                 {L"h", Interval::Hour},
                 {L"n", Interval::Minute},
                 {L"s", Interval::Second}};
    std::wstring code = ToString(v);
    for (wchar_t& c : code)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    for (const auto& entry : codes) {
        if (code == entry.code)
            return entry.interval;
    }
    RaiseError(err::InvalidCall);
}

std::int64_t LinearSeconds(Moment m) {
    return m.day * 86400 + m.seconds;
}

// DateAdd(interval, number, date): adding months keeps the day where the month has it and
// takes the month's last day otherwise (1/31 plus a month is 2/29 in 2000).
Value DateAdd(Runtime*, std::span<Value> a) {
    const Interval interval = IntervalOf(a[0]);
    if (a[1].IsNull() || a[2].IsNull())
        return Value::Null();
    const double amount = ToDouble(a[1]);
    if (std::fabs(amount) > 1e10) // far beyond any date, and small enough to multiply safely
        RaiseError(err::InvalidCall);
    const std::int64_t number = static_cast<std::int64_t>(std::trunc(amount));
    const Moment m = MomentOf(a[2]);
    std::int64_t months = 0;
    std::int64_t seconds = 0;
    switch (interval) {
    case Interval::Year:
        months = number * 12;
        break;
    case Interval::Quarter:
        months = number * 3;
        break;
    case Interval::Month:
        months = number;
        break;
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday:
        seconds = number * 86400;
        break;
    case Interval::Week:
        seconds = number * 7 * 86400;
        break;
    case Interval::Hour:
        seconds = number * 3600;
        break;
    case Interval::Minute:
        seconds = number * 60;
        break;
    case Interval::Second:
        seconds = number;
        break;
    }
    if (months) {
        const Civil c = CivilOf(m.day);
        const std::int64_t first = SerialOf(c.year, c.month + months, 1);
        const Civil target = CivilOf(first);
        const int day = std::min(c.day, DaysInMonth(target.year, target.month));
        return DateOf({first + day - 1, m.seconds});
    }
    return DateOf(FromSeconds(LinearSeconds(m) + seconds));
}

// Week boundaries crossed, counting from the first day of the week.
std::int64_t WeekNumber(std::int64_t day, int firstDay) {
    const std::int64_t shifted = day - (firstDay - 1) + 6; // 1899-12-31 was a Sunday
    return shifted >= 0 ? shifted / 7 : -((-shifted + 6) / 7);
}

std::int64_t FloorDivide(std::int64_t value, std::int64_t by) {
    return value >= 0 ? value / by : -((-value + by - 1) / by);
}

// DateDiff counts the boundaries between the two dates: DateDiff("yyyy", 12/31/1999,
// 1/1/2000) is 1.
Value DateDiff(Runtime*, std::span<Value> a) {
    const Interval interval = IntervalOf(a[0]);
    const int firstDay = FirstDayOfWeek(a, 3);
    if (a[1].IsNull() || a[2].IsNull())
        return Value::Null();
    const Moment from = MomentOf(a[1]), to = MomentOf(a[2]);
    const Civil p = CivilOf(from.day), q = CivilOf(to.day);
    const std::int64_t s1 = LinearSeconds(from), s2 = LinearSeconds(to);
    std::int64_t result = 0;
    switch (interval) {
    case Interval::Year:
        result = q.year - p.year;
        break;
    case Interval::Quarter:
        result = (q.year * 4 + (q.month - 1) / 3) - (p.year * 4 + (p.month - 1) / 3);
        break;
    case Interval::Month:
        result = (q.year * 12 + q.month) - (p.year * 12 + p.month);
        break;
    case Interval::DayOfYear:
    case Interval::Day:
        result = to.day - from.day;
        break;
    case Interval::Weekday:
        result = (to.day - from.day) / 7;
        break;
    case Interval::Week:
        result = WeekNumber(to.day, firstDay) - WeekNumber(from.day, firstDay);
        break;
    case Interval::Hour:
        result = FloorDivide(s2, 3600) - FloorDivide(s1, 3600);
        break;
    case Interval::Minute:
        result = FloorDivide(s2, 60) - FloorDivide(s1, 60);
        break;
    case Interval::Second:
        result = s2 - s1;
        break;
    }
    return Value::Long(static_cast<std::int32_t>(result));
}

// Week of the year: vbFirstJan1 (1, also 0), vbFirstFourDays (2) or vbFirstFullWeek (3)
// decides where week 1 starts.
int WeekOfYear(std::int64_t day, int firstDay, int firstWeek) {
    const auto weekOneStart = [&](int year) {
        const std::int64_t jan1 = DaySerial(year, 1, 1);
        const int w = WeekdayFrom(jan1, firstDay);
        if (firstWeek == 2 && w > 4)
            return jan1 + (8 - w);
        if (firstWeek == 3 && w != 1)
            return jan1 + (8 - w);
        return jan1 - (w - 1);
    };
    const int year = CivilOf(day).year;
    std::int64_t start = weekOneStart(year);
    if (day < start)
        start = weekOneStart(year - 1);
    return static_cast<int>((day - start) / 7 + 1);
}

Value DatePart(Runtime*, std::span<Value> a) {
    const Interval interval = IntervalOf(a[0]);
    const int firstDay = FirstDayOfWeek(a, 2);
    const std::int32_t firstWeek = a.size() > 3 ? ToLong(a[3]) : 1;
    if (firstWeek < 0 || firstWeek > 3)
        RaiseError(err::InvalidCall);
    if (a[1].IsNull())
        return Value::Null();
    const Moment m = MomentOf(a[1]);
    const Civil c = CivilOf(m.day);
    int part = 0;
    switch (interval) {
    case Interval::Year:
        part = c.year;
        break;
    case Interval::Quarter:
        part = (c.month - 1) / 3 + 1;
        break;
    case Interval::Month:
        part = c.month;
        break;
    case Interval::DayOfYear:
        part = static_cast<int>(m.day - DaySerial(c.year, 1, 1) + 1);
        break;
    case Interval::Day:
        part = c.day;
        break;
    case Interval::Weekday:
        part = WeekdayFrom(m.day, firstDay);
        break;
    case Interval::Week:
        part = WeekOfYear(m.day, firstDay, firstWeek);
        break;
    case Interval::Hour:
        part = static_cast<int>(m.seconds / 3600);
        break;
    case Interval::Minute:
        part = static_cast<int>(m.seconds / 60 % 60);
        break;
    case Interval::Second:
        part = static_cast<int>(m.seconds % 60);
        break;
    }
    return Value::Integer(static_cast<std::int16_t>(part));
}

Value Now(Runtime*, std::span<Value>) {
    return Value::Date(NowOleDate());
}

Value Today(Runtime*, std::span<Value>) {
    return DateOf({Split(NowOleDate()).day, 0});
}

Value TimeOfDay(Runtime*, std::span<Value>) {
    return DateOf({0, Split(NowOleDate()).seconds});
}

// Seconds since midnight.
Value Timer(Runtime*, std::span<Value>) {
    const double now = NowOleDate();
    return Value::Single(static_cast<float>(std::fabs(now - std::trunc(now)) * 86400.0));
}

const Builtin dateBuiltins[] = {
    {L"Date", Today, 0, 0},
    {L"DateAdd", DateAdd, 3, 3},
    {L"DateDiff", DateDiff, 3, 5},
    {L"DatePart", DatePart, 2, 4},
    {L"DateSerial", DateSerial, 3, 3},
    {L"DateValue", DateValue, 1, 1},
    {L"Day", Day, 1, 1},
    {L"Hour", Hour, 1, 1},
    {L"Minute", Minute, 1, 1},
    {L"Month", Month, 1, 1},
    {L"MonthName", MonthName, 1, 2},
    {L"Now", Now, 0, 0},
    {L"Second", Second, 1, 1},
    {L"Time", TimeOfDay, 0, 0},
    {L"TimeSerial", TimeSerial, 3, 3},
    {L"TimeValue", TimeValue, 1, 1},
    {L"Timer", Timer, 0, 0},
    {L"Weekday", Weekday, 1, 2},
    {L"WeekdayName", WeekdayName, 1, 3},
    {L"Year", Year, 1, 1},
};

} // namespace

double NowOleDate() {
    return testClock ? testClock() : SystemNow();
}

void SetClockForTests(double (*clock)()) {
    testClock = clock;
}

std::span<const Builtin> DateBuiltins() {
    return dateBuiltins;
}

} // namespace vbs
