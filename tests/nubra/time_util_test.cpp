#include "nubra/time_util.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

std::int64_t g_fakeNow = 0;
std::int64_t FakeNow() {
    return g_fakeNow;
}

// Pins the time zone and the clock so results do not depend on the machine.
class TimeUtilTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ")) {
            m_previousTz = tz;
        }
        setenv("TZ", "UTC", 1);
        tzset();
        orvo::SetClock(&FakeNow);
    }
    void TearDown() override {
        orvo::SetClock(nullptr);
        if (m_previousTz) {
            setenv("TZ", m_previousTz->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    std::optional<std::string> m_previousTz;
};

constexpr std::int64_t kDayMs = 86'400'000;

TEST_F(TimeUtilTest, DateTimeMasks) {
    // 2024-03-05 07:08:09.500 UTC: 19787 days after the epoch.
    g_fakeNow = 19787 * kDayMs + ((7 * 60 + 8) * 60 + 9) * 1000 + 500;
    EXPECT_EQ(GetDateTime(L"YYYYMMDD"), L"20240305");
    EXPECT_EQ(GetDateTime(L"HHMMSS"), L"070309"); // "MM" is the month even beside hours
    EXPECT_EQ(GetDateTime(L"hhmmss"), L"070809");
    EXPECT_EQ(GetDateTime(L"yy/MM/dd HH:mm:ss"), L"24/03/05 07:08:09");
    EXPECT_EQ(GetDateTime(L"[Y]"), L"[Y]");
}

TEST_F(TimeUtilTest, MakeTimeReadsLocalDateAndTime) {
    EXPECT_EQ(MakeTime(L"19700102", L"000000"), 86400);
    EXPECT_EQ(MakeTime(L"19700101", L"01:02:03"), 3723);
    EXPECT_EQ(MakeTime(L"19700101", L"0102"), 3720);
    EXPECT_EQ(MakeTime(L"20240229", L"") - MakeTime(L"20240228", L""), 86400);
    for (const auto& [date, time] : {std::pair{L"20230229", L"000000"},
                                     {L"20241301", L""},
                                     {L"20240100", L""},
                                     {L"2024011", L""},
                                     {L"2024o101", L""},
                                     {L"20240101", L"240000"},
                                     {L"20240101", L"12:60"}}) {
        EXPECT_EQ(MakeTime(date, time), -1) << date << " " << time;
    }
}

TEST_F(TimeUtilTest, ValidTimes) {
    for (const wchar_t* good : {L"000000", L"235959", L"0930", L"09:30:15", L"23:59"}) {
        EXPECT_TRUE(IsValidTime(good)) << good;
    }
    for (const wchar_t* bad : {L"",
                               L"240000",
                               L"126000",
                               L"120060",
                               L"9:30",
                               L"09:3015",
                               L"0930151",
                               L"09-30",
                               L"ab:cd",
                               L"093"}) {
        EXPECT_FALSE(IsValidTime(bad)) << bad;
    }
}

TEST_F(TimeUtilTest, WaitTimeOutPumpsUntilDoneOrTimeUp) {
    g_fakeNow = 1000;
    int pumps = 0;
    const auto tick = [&] {
        ++pumps;
        g_fakeNow += 10;
    };
    EXPECT_FALSE(WaitTimeOut(
        100, [] { return false; }, tick));
    EXPECT_EQ(pumps, 10);
    EXPECT_EQ(g_fakeNow, 1100);

    pumps = 0;
    EXPECT_TRUE(WaitTimeOut(
        100, [&] { return pumps == 3; }, tick));
    EXPECT_EQ(pumps, 3);
}

} // namespace
