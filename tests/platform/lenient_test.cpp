#include "platform/base/lenient.h"

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace plat;

TEST(LenientTest, IntegersStopAtTheFirstNonDigit) {
    EXPECT_EQ(_wtoi(L" -12abc"), -12);
    EXPECT_EQ(_wtoi(L"\t\n+7 8"), 7);
    EXPECT_EQ(_wtoi(L"abc"), 0);
    EXPECT_EQ(_wtoi(L""), 0);
    EXPECT_EQ(_wtoi(L"- 5"), 0);
    EXPECT_EQ(_wtoi(L"0x1F"), 0);
    EXPECT_EQ(_wtoi(L"１２"), 0); // full-width digits are not digits here
    EXPECT_EQ(_wtoi(static_cast<const wchar_t*>(nullptr)), 0);
    EXPECT_EQ(_wtoi(std::wstring_view(L"123", 2)), 12);
    EXPECT_EQ(_wtoi64(L"  9007199254740993 rows"), 9007199254740993LL);
}

TEST(LenientTest, IntegersSaturate) {
    EXPECT_EQ(_wtoi(L"2147483647"), INT_MAX);
    EXPECT_EQ(_wtoi(L"2147483648"), INT_MAX);
    EXPECT_EQ(_wtoi(L"-2147483648"), INT_MIN);
    EXPECT_EQ(_wtoi(L"-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(_wtoi64(L"9223372036854775807"), INT64_MAX);
    EXPECT_EQ(_wtoi64(L"9223372036854775808"), INT64_MAX);
    EXPECT_EQ(_wtoi64(L"-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(_wtoi64(L"-18446744073709551617"), INT64_MIN);
}

TEST(LenientTest, ScanUnsignedWrapsNegativeAndSaturates) {
    unsigned out = 7;
    EXPECT_FALSE(ScanUnsigned(L"  x1", out));
    EXPECT_FALSE(ScanUnsigned(L"-", out));
    EXPECT_EQ(out, 7u);
    ASSERT_TRUE(ScanUnsigned(L" 42px", out));
    EXPECT_EQ(out, 42u);
    ASSERT_TRUE(ScanUnsigned(L"-1", out));
    EXPECT_EQ(out, 4294967295u);
    ASSERT_TRUE(ScanUnsigned(L"-4294967295", out));
    EXPECT_EQ(out, 1u);
    ASSERT_TRUE(ScanUnsigned(L"4294967296", out));
    EXPECT_EQ(out, 4294967295u);
}

TEST(LenientTest, DoublesReadTheLongestNumber) {
    EXPECT_DOUBLE_EQ(_wtof(L"1.5e3x"), 1500.0);
    EXPECT_DOUBLE_EQ(_wtof(L"  -.25"), -0.25);
    EXPECT_DOUBLE_EQ(_wtof(L"3."), 3.0);
    EXPECT_DOUBLE_EQ(_wtof(L"2e"), 2.0);
    EXPECT_DOUBLE_EQ(_wtof(L"2e+"), 2.0);
    EXPECT_DOUBLE_EQ(_wtof(L"1,5"), 1.0);
    EXPECT_DOUBLE_EQ(_wtof(L"12.5E-1"), 1.25);
    EXPECT_EQ(_wtof(L"."), 0.0);
    EXPECT_EQ(_wtof(L"abc"), 0.0);
    EXPECT_EQ(_wtof(static_cast<const wchar_t*>(nullptr)), 0.0);
    EXPECT_EQ(_wtof(L"0.1"), 0.1); // correctly rounded
}

// Short decimals are read by an exact shortcut; each must give the double strtod rounds to,
// at the shortcut's limits (2^53, 1e22, 19 digits), just past them, and across random texts.
TEST(LenientTest, DecimalsRoundToTheNearestDouble) {
    std::vector<std::string> texts = {"9007199254740992",
                                      "9007199254740993",
                                      "9007199254740992e-22",
                                      "9007199254740992e22",
                                      "1e22",
                                      "1e23",
                                      "0.1e-21",
                                      "1234567890123456789e-3",
                                      "12345678901234567891e-3",
                                      "-0.00000000000000000000000123",
                                      "0.3e-999",
                                      "7.e5"};
    std::uint32_t state = 2024;
    auto random = [&state](std::uint32_t bound) {
        state = state * 1'103'515'245u + 12'345u;
        return (state >> 8) % bound;
    };
    for (int i = 0; i < 20'000; ++i) {
        std::string text = random(3) == 0 ? "-" : "";
        const std::uint32_t digits = 1 + random(20);
        const std::uint32_t point = random(digits + 2);
        for (std::uint32_t d = 0; d < digits; ++d) {
            if (d == point)
                text += '.';
            text += static_cast<char>('0' + random(10));
        }
        if (random(2) == 0)
            text += "e" + std::to_string(static_cast<int>(random(61)) - 30);
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        const double expected = std::strtod(text.c_str(), nullptr);
        EXPECT_EQ(_atof(text), expected) << text;
        EXPECT_EQ(_wtof(std::wstring(text.begin(), text.end())), expected) << text;
    }
}

TEST(LenientTest, DoublesHandleRangeAndWords) {
    EXPECT_EQ(_wtof(L"1e999"), HUGE_VAL);
    EXPECT_EQ(_wtof(L"-1e99999999999999999999"), -HUGE_VAL);
    EXPECT_EQ(_wtof(L"1e-999"), 0.0);
    EXPECT_EQ(_wtof(L"0.000001e-400"), 0.0);
    EXPECT_EQ(_wtof(L"1000e-310"), 1e-307);
    EXPECT_EQ(_wtof(L"0e999999"), 0.0);
    EXPECT_EQ(_wtof(L"INF"), HUGE_VAL);
    EXPECT_EQ(_wtof(L" -Infinity"), -HUGE_VAL);
    EXPECT_TRUE(std::isnan(_wtof(L"nan(ind)")));
}

TEST(LenientTest, DecimalPointIsAlwaysAPeriod) {
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    }
    const double comma = _wtof(L"1,5");
    const double period = _wtof(L"1.5");
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(comma, 1.0);
    EXPECT_EQ(period, 1.5);
}

} // namespace

// Received text is converted without decoding: the byte forms must read every text exactly as
// the wide forms do.
TEST(LenientTest, ByteFormsReadAsTheWideForms) {
    const char* texts[] = {"  -42x",
                           "+7",
                           "\t\n 99999999999999999999",
                           "-9223372036854775809",
                           "1.5e3",
                           " -0.25e-2z",
                           "inf",
                           "-NaN",
                           "",
                           "abc",
                           "4294967296",
                           "-1",
                           "1,234",
                           "\xB0\xA1"
                           "12",
                           "12\xB0\xA1",
                           "1e400"};
    for (const char* text : texts) {
        const std::string_view bytes(text);
        const std::wstring wide(bytes.begin(), bytes.end());
        EXPECT_EQ(plat::_atoi(bytes), plat::_wtoi(wide)) << text;
        EXPECT_EQ(plat::_atoi64(bytes), plat::_wtoi64(wide)) << text;
        const double a = plat::_atof(bytes);
        const double w = plat::_wtof(wide);
        EXPECT_TRUE(a == w || (a != a && w != w)) << text;
        unsigned ua = 1, uw = 1;
        EXPECT_EQ(plat::ScanUnsigned(bytes, ua), plat::ScanUnsigned(std::wstring_view(wide), uw))
            << text;
        EXPECT_EQ(ua, uw) << text;
    }
}
