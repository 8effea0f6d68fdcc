#include "nubra/format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const wchar_t* format;
    const wchar_t* value;
    const wchar_t* shown;
};

void ExpectAll(std::initializer_list<Case> cases) {
    for (const auto& c : cases) {
        EXPECT_EQ(CFormat(c.format).GetString(c.value), c.shown)
            << "format [" << c.format << "] value [" << c.value << "]";
    }
}

TEST(CFormatTest, RoundsHalfAwayFromZeroOnTheDecimalText) {
    ExpectAll({
        {L"#,##0.00", L"1234.565", L"1,234.57"}, // 1234.565 is below half in binary
        {L"#,##0.00", L"-1234.565", L"-1,234.57"},
        {L"#,##0.00", L"1234.564999", L"1,234.56"},
        {L"#,##0.00", L"999.995", L"1,000.00"},
        {L"0", L"0.5", L"1"},
        {L"0", L"-0.5", L"-1"},
        {L"0", L"9.49", L"9"},
        {L"#,##0", L"99999999999999999999999.5", L"100,000,000,000,000,000,000,000"},
    });
}

TEST(CFormatTest, GroupsAndPads) {
    ExpectAll({
        {L"#,##0", L"0000123450", L"123,450"},
        {L"#,##0", L"+1234567", L"1,234,567"},
        {L"#,##0", L"123", L"123"},
        {L"0", L"1234567", L"1234567"},
        {L"000", L"7", L"007"},
        {L"#,##0.00", L"  .5 ", L"0.50"},
        {L"#.00", L"0.5", L".50"},
        {L"0.0#", L"1.5", L"1.5"},
        {L"0.0#", L"1.456", L"1.46"},
        {L"0.0#", L"2", L"2.0"},
        {L"0.##", L"3.001", L"3"},
    });
}

TEST(CFormatTest, ScalesIntegerPrices) {
    ExpectAll({
        {L"[S2]#,##0.00", L"123450", L"1,234.50"},
        {L"[S2]#,##0.00", L"-5", L"-0.05"},
        {L"[s3]0.00", L"1005", L"1.01"},
        {L"[S-2]0", L"12.5", L"1250"},
        {L"[S2]0", L"49", L"0"},
    });
}

TEST(CFormatTest, SignSectionsAndZero) {
    ExpectAll({
        {L"+#,##0.00;-#,##0.00", L"12.3", L"+12.30"},
        {L"+#,##0.00;-#,##0.00", L"-12.3", L"-12.30"},
        {L"#,##0;(#,##0)", L"-1234", L"(1,234)"},
        {L"#,##0;#,##0", L"-1234", L"1,234"},
        {L"#,##0;-#,##0;", L"0", L""},
        {L"#,##0;-#,##0;-", L"-0.0", L"-"},
        {L"#,##0;-#,##0;-", L"5", L"5"},
        {L"#,###", L"0", L""},
        {L"0.00", L"-0.004", L"0.00"},     // no "-0.00"
        {L"0;(0);zero", L"-0.4", L"zero"}, // zero is judged after rounding
        {L"$#,##0.00", L"-1234.5", L"-$1,234.50"},
    });
}

TEST(CFormatTest, PercentAndLiterals) {
    ExpectAll({
        {L"0.00%", L"0.1234", L"12.34%"},
        {L"0.00\\%", L"12.34", L"12.34%"},
        {L"0.00\"%\"", L"12.34", L"12.34%"},
        {L"#,##0\uC6D0", L"15000", L"15,000\uC6D0"},
        {L"#,##0 USD", L"15000", L"15,000 USD"},
        {L"\"Qty \"#,##0\" shares\"", L"1500", L"Qty 1,500 shares"},
        {L"[KRW] 0", L"5", L"[KRW] 5"},
        {L"\\#0", L"5", L"#5"},
    });
}

TEST(CFormatTest, NonNumbersPassThroughNumberPictures) {
    ExpectAll({
        {L"#,##0.00", L"abc", L"abc"},
        {L"#,##0.00", L"", L""},
        {L"#,##0.00", L"1,234", L"1,234"},
        {L"#,##0.00", L"1e5", L"1e5"},
        {L"#,##0.00", L"-", L"-"},
        {L"#,##0.00", L"1.2.3", L"1.2.3"},
    });
}

TEST(CFormatTest, DateAndTimeMasks) {
    ExpectAll({
        {L"YYYY/MM/DD", L"20240315", L"2024/03/15"},
        {L"MM-DD", L"20240315", L"03-15"},
        {L"YY.MM.DD", L"20240315", L"24.03.15"},
        {L"HH:MM:SS", L"093015", L"09:30:15"},
        {L"HH:MM", L"093015", L"09:30"},
        {L"hh:mm", L"1405", L"14:05"},
        {L"MM:SS", L"093015", L"30:15"},
        {L"HH:MM:SS", L"93015", L"09:30:15"}, // numeric feeds drop the leading zero
        {L"YYYY-MM-DD HH:MM:SS", L"20240315093015", L"2024-03-15 09:30:15"},
        {L"YYYY\"y\"", L"20240315", L"2024y"},
        {L"YYYY/MM/DD", L"2024031", L"2024031"},
        {L"YYYY/MM/DD", L"2024-03-15", L"2024-03-15"},
        {L"HH:MM", L"12", L"12"},
    });
}

TEST(CFormatTest, TemplatesAndEmptyFormats) {
    ExpectAll({
        {L"[@]", L"A005930", L"[A005930]"},
        {L"", L"1234.5", L"1234.5"},
        {L"n/a", L"1234.5", L"1234.5"},
    });
}

TEST(CFormatTest, SetFormatReplacesTheWholeFormat) {
    CFormat format(L"[S2]#,##0;(#,##0);-");
    format.SetFormat(L"0.0");
    EXPECT_EQ(format.GetString(L"-12345"), L"-12345.0");
    EXPECT_EQ(format.GetString(L"0"), L"0.0");
    format.SetFormat(L"YYYY");
    EXPECT_EQ(format.GetString(L"20240315"), L"2024");
    format.SetFormat(L"");
    EXPECT_EQ(format.GetString(L"20240315"), L"20240315");
}

// Objects share one compiled format per text; past the cache's size the oldest entries are
// replaced, and every text still formats as its own.
TEST(CFormatTest, CompiledFormatsAreSharedPerTextAndStayRightPastTheCacheSize) {
    EXPECT_EQ(CFormat::Compiled(L"#,##0"), CFormat::Compiled(L"#,##0"));
    EXPECT_NE(CFormat::Compiled(L"#,##0"), CFormat::Compiled(L"#,##0.0"));
    for (int round = 0; round < 2; ++round) {
        for (int decimals = 0; decimals < 150; ++decimals) {
            const std::wstring format = L"0." + std::wstring(decimals, L'0') + L"x";
            const std::wstring shown = CFormat::Compiled(format)->GetString(L"1");
            EXPECT_EQ(shown, L"1." + std::wstring(decimals, L'0') + L"x") << format;
        }
    }
}

} // namespace
