#include "platform/base/codepage.h"
#include "platform/base/format.h"

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace {

using namespace plat;

TEST(FormatTest, Integers) {
    EXPECT_EQ(Format(L"[%d|%5d|%-5d|%05d|%+d|% d]", 42, 42, 42, -42, 42, 42),
              L"[42|   42|42   |-0042|+42| 42]");
    EXPECT_EQ(Format(L"%.3d %.0d| %8.3d", 7, 0, -5), L"007 |     -005");
    EXPECT_EQ(Format(L"%x %X %#x %#o %o %#x", 255, 255, 255, 8, 8, 0), L"ff FF 0xff 010 10 0");
    EXPECT_EQ(Format(L"%#06x", 42), L"0x002a");
    EXPECT_EQ(Format(L"%I64d %lld %d", INT64_MIN, INT64_MAX, std::int64_t{1} << 40),
              L"-9223372036854775808 9223372036854775807 1099511627776");
    EXPECT_EQ(Format(L"%d %u", 4294967295u, UINT64_MAX), L"4294967295 18446744073709551615");
}

TEST(FormatTest, NegativeUnderUnsignedConversionsUseTheIntPattern) {
    EXPECT_EQ(Format(L"%u %x %X", -1, -1, -2), L"4294967295 ffffffff FFFFFFFE");
    EXPECT_EQ(Format(L"%I64u %llx", std::int64_t{-1}, std::int64_t{-1}),
              L"18446744073709551615 ffffffffffffffff");
    EXPECT_EQ(Format(L"%u", std::int64_t{-5000000000}), L"18446744068709551616");
}

TEST(FormatTest, FixedAndScientific) {
    EXPECT_EQ(Format(L"%f|%.2f|%.0f|%#.0f|%8.3f|%-8.1f|%08.2f",
                     3.14159,
                     2.675,
                     2.5,
                     2.0,
                     -1.5,
                     1.25,
                     -3.14159),
              L"3.141590|2.67|2|2.|  -1.500|1.2     |-0003.14");
    EXPECT_EQ(Format(L"%e|%.2E|%.0e|%#.0e", 1500.0, 0.000123, 5e10, 5e10),
              L"1.500000e+03|1.23E-04|5e+10|5.e+10");
    EXPECT_EQ(Format(L"%+.1f % .1f", 1.0, 1.0), L"+1.0  1.0");
    EXPECT_EQ(Format(L"%f", 7), L"7.000000");
    EXPECT_EQ(Format(L"%.3f", 1e20), L"100000000000000000000.000");
}

TEST(FormatTest, GeneralForm) {
    EXPECT_EQ(Format(L"%g|%g|%g|%g|%g|%g", 0.0, 100000.0, 1000000.0, 0.0001, 0.00001, 1.5),
              L"0|100000|1e+06|0.0001|1e-05|1.5");
    EXPECT_EQ(Format(L"%.3g|%.0g|%G|%#g|%#.3g", 3.14159, 26.0, 1e-10, 1.5, 100.0),
              L"3.14|3e+01|1E-10|1.50000|100.");
    EXPECT_EQ(Format(L"%g", 9.9999996), L"10");
}

TEST(FormatTest, SpecialDoubles) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Format(L"%f|%f|%F|%5f|%05f|%+f|%e", nan, -nan, nan, inf, -inf, inf, -inf),
              L"nan|nan|NAN|  inf| -inf|+inf|-inf");
    EXPECT_EQ(Format(L"%f|%.1f|%g", -0.0, -0.01, -0.0), L"-0.000000|-0.0|-0");
}

TEST(FormatTest, TextAndCharacters) {
    const std::string saved = ProcessCodePage();
    ASSERT_TRUE(SetProcessCodePage("CP949"));
    const std::string narrow = "\xC7\xD1\xB1\xDB";
    EXPECT_EQ(Format(L"[%s|%S|%hs|%ls]", L"wide", narrow, narrow.c_str(), L"l"),
              L"[wide|한글|한글|l]");
    EXPECT_EQ(Format(L"[%6s|%-6s|%.2s|%s]", L"ab", L"ab", L"한글이다", std::wstring()),
              L"[    ab|ab    |한글|]");
    EXPECT_EQ(Format(L"%c%c%c|%3c", L'한', 'A', 0x41, L'x'), L"한AA|  x");
    EXPECT_EQ(Format(L"%S", static_cast<const char*>(nullptr)), L"");
    SetProcessCodePage(saved);
}

TEST(FormatTest, MismatchedAndMissingArgumentsAreSafe) {
    EXPECT_EQ(Format(L"%d|%s|%f", 2.9, 12, L"1.5"), L"2|12|1.500000");
    EXPECT_EQ(Format(L"%d %d!", 1), L"1 !");
    EXPECT_EQ(Format(L"100%% %y %"), L"100% %y %");
    EXPECT_EQ(Format(L"%5"), L"%5");
    EXPECT_EQ(Format(L"%p", reinterpret_cast<const void*>(std::uintptr_t{0xBEEF})),
              L"000000000000BEEF");
    EXPECT_EQ(Format(L"ptr:%u", reinterpret_cast<const void*>(std::uintptr_t{0x123456789})),
              L"ptr:4886718345");
}

TEST(FormatTest, StarArgumentsAndClampedSizes) {
    EXPECT_EQ(Format(L"[%*d|%-*d|%.*f|%*d]", 4, 1, 3, 2, 1, 2.25, -3, 7), L"[   1|2  |2.2|7  ]");
    EXPECT_EQ(Format(L"%.*f", -1, 0.5), L"0.500000");
    EXPECT_EQ(Format(L"%999999999d", 1).size(), 4096u);
    EXPECT_EQ(Format(L"%*d", INT_MIN, 1).size(), 4096u);
    const std::wstring longFraction = Format(L"%.99999999f", 1.0);
    EXPECT_EQ(longFraction.size(), 2u + 4096u);
    EXPECT_EQ(Format(L"%.5000f", 1e308).size(), 309u + 1u + 4096u);
}

TEST(FormatTest, FixedForms) {
    EXPECT_EQ(FormatInt(-7), L"-7");
    EXPECT_EQ(FormatUInt(4294967295u), L"4294967295");
    EXPECT_EQ(FormatInt64(-9000000000LL), L"-9000000000");
    EXPECT_EQ(FormatDouble(2.5), L"2.500000");
    EXPECT_EQ(FormatDouble(2.5, 0), L"2");
    EXPECT_EQ(FormatDouble(-1.005, 2), L"-1.00");
}

TEST(FormatTest, DecimalPointIsAlwaysAPeriod) {
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    }
    const std::wstring text = Format(L"%.2f %g", 1.5, 0.25);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(text, L"1.50 0.25");
}

} // namespace
