#pragma once
// Date and time helpers. Every "now" goes through orvo::NowMs so that tests can replace the
// clock and never wait for real time.
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace orvo {

using ClockFn = std::int64_t (*)();
// Milliseconds since the Unix epoch; null restores the system clock.
void SetClock(ClockFn msSinceEpoch);
std::int64_t NowMs();

} // namespace orvo

// Local time of "YYYYMMDD" and a time of day in any form IsValidTime accepts (empty means
// midnight), like mktime. -1 for a date or time that does not exist.
std::time_t MakeTime(std::wstring_view yyyymmdd, std::wstring_view hhmmss);

// "HHMMSS", "HHMM", "HH:MM:SS" or "HH:MM", two digits per part, 00-23, 00-59, 00-59.
bool IsValidTime(std::wstring_view text);

// The current local time through a mask: "YYYY" year, "YY" year in two digits, "MM" month,
// "DD" day, "HH" hour (00-23), "mm" minutes, "SS" seconds. Only "MM" and "mm" depend on
// case (month and minutes); the others may be written in either case. Any other character
// is copied: GetDateTime(L"YYYY-MM-DD hh:mm:ss").
std::wstring GetDateTime(std::wstring_view mask);

// Calls pump() (when given) and then done() until done() answers true (result true) or the
// clock shows that `ms` milliseconds have passed since the call (result false).
bool WaitTimeOut(unsigned ms, const std::function<bool()>& done, const std::function<void()>& pump);
