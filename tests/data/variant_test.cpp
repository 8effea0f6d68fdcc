#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "data/variant.h"
#include "platform/base/codepage.h"

namespace {

constexpr auto kNo = std::nullopt;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

CVariant Int64(std::int64_t v) {
    CVariant r;
    r.SetInt64(v);
    return r;
}
CVariant Dbl(double v) {
    CVariant r;
    r.SetDouble(v);
    return r;
}
CVariant Flt(float v) {
    CVariant r;
    r.SetFloat(v);
    return r;
}
CVariant Chr(char v) {
    CVariant r;
    r.SetChar(v);
    return r;
}
CVariant Bool(int v) {
    CVariant r;
    r.SetBool(v);
    return r;
}
CVariant Borrow(std::wstring* text) {
    CVariant r;
    r.SetPtStr(text);
    return r;
}

std::wstring g_borrowedNumber = L"42";
std::wstring g_borrowedTrue = L"True";

// One source value and what each getter gives; kNo: the getter fails.
struct ConversionRow {
    const char* source;
    CVariant value;
    std::optional<int> asInt;
    std::optional<unsigned> asUInt;
    std::optional<std::int64_t> asInt64;
    std::optional<double> asDouble;
    std::optional<float> asFloat;
    std::optional<int> asBool;
    std::optional<char> asChar;
};

const ConversionRow kRows[] = {
    {"int -7", -7, -7, 0xFFFFFFF9u, -7, -7.0, -7.0f, 1, kNo},
    {"int 0", 0, 0, 0u, 0, 0.0, 0.0f, 0, kNo},
    {"uint 0xFFFFFFFE",
     0xFFFFFFFEu,
     -2,
     0xFFFFFFFEu,
     4294967294,
     4294967294.0,
     4294967296.0f,
     1,
     kNo},
    {"int64 2^32+5", Int64(0x100000005), 5, 5u, 0x100000005, 4294967301.0, 4294967296.0f, 1, kNo},
    {"int64 2^32", Int64(0x100000000), 0, 0u, 0x100000000, 4294967296.0, 4294967296.0f, 1, kNo},
    {"int64 -1", Int64(-1), -1, 0xFFFFFFFFu, -1, -1.0, -1.0f, 1, kNo},
    {"int64 0", Int64(0), 0, 0u, 0, 0.0, 0.0f, 0, kNo},
    {"double -2.7", Dbl(-2.7), -2, 0xFFFFFFFEu, -2, -2.7, -2.7f, kNo, kNo},
    // Beyond int: the int is the x86 "indefinite"; the unsigned keeps the low 32 bits.
    {"double 5e9", Dbl(5e9), INT32_MIN, 705032704u, 5000000000, 5e9, 5e9f, kNo, kNo},
    {"float 3.9", Flt(3.9f), 3, 3u, 3, static_cast<double>(3.9f), 3.9f, kNo, kNo},
    {"float -1.5", Flt(-1.5f), -1, 0xFFFFFFFFu, -1, -1.5, -1.5f, kNo, kNo},
    {"char 7", Chr('7'), 7, 7u, 7, 7.0, 7.0f, kNo, '7'},
    {"char x", Chr('x'), kNo, kNo, kNo, kNo, kNo, kNo, 'x'},
    {"text 12abc", L"12abc", 12, 12u, 12, 12.0, 12.0f, kNo, '1'},
    {"text abc", L"abc", 0, kNo, 0, 0.0, 0.0f, kNo, 'a'},
    {"text tab -5", L"\t-5", -5, 0xFFFFFFFBu, -5, -5.0, -5.0f, kNo, '\t'},
    {"text 3.75e1", L"3.75e1", 3, 3u, 3, 37.5, 37.5f, kNo, '3'},
    {"text 99999999999",
     L"99999999999",
     INT32_MAX,
     0xFFFFFFFFu,
     99999999999,
     99999999999.0,
     99999999999.0f,
     kNo,
     '9'},
    {"text TRUE", L"TRUE", 0, kNo, 0, 0.0, 0.0f, 1, 'T'},
    {"text false", L"false", 0, kNo, 0, 0.0, 0.0f, 0, 'f'},
    {"text yes", L"yes", 0, kNo, 0, 0.0, 0.0f, kNo, 'y'},
    {"text empty", L"", 0, kNo, 0, 0.0, 0.0f, kNo, kNo},
    {"borrowed 42", Borrow(&g_borrowedNumber), 42, 42u, 42, 42.0, 42.0f, kNo, '4'},
    {"borrowed True", Borrow(&g_borrowedTrue), 0, kNo, 0, 0.0, 0.0f, 1, 'T'},
    {"bool 5", Bool(5), kNo, kNo, kNo, kNo, kNo, 1, kNo},
    {"bool 0", Bool(0), kNo, kNo, kNo, kNo, kNo, 0, kNo},
    {"null", CVariant(), kNo, kNo, kNo, kNo, kNo, kNo, kNo},
};

// The out-parameter form must succeed with the value or fail leaving `out` alone; the by-value
// form must give the value or the fallback.
template <class T, class OutGetter>
void ExpectConversion(
    const char* what, const std::optional<T>& expected, OutGetter get, T byValue, T fallback) {
    SCOPED_TRACE(what);
    const T untouched = static_cast<T>(43);
    T out = untouched;
    EXPECT_EQ(get(out), expected.has_value());
    EXPECT_EQ(out, expected.value_or(untouched));
    EXPECT_EQ(byValue, expected.value_or(fallback));
}

TEST(VariantConversion, EveryRowOfTheTable) {
    for (const ConversionRow& row : kRows) {
        SCOPED_TRACE(row.source);
        const CVariant& v = row.value;
        ExpectConversion<int>(
            "GetInt", row.asInt, [&](int& o) { return v.GetInt(o); }, v.GetInt(), 0);
        ExpectConversion<unsigned>(
            "GetUInt", row.asUInt, [&](unsigned& o) { return v.GetUInt(o); }, v.GetUInt(), 0u);
        ExpectConversion<std::int64_t>(
            "GetInt64",
            row.asInt64,
            [&](std::int64_t& o) { return v.GetInt64(o); },
            v.GetInt64(),
            0);
        ExpectConversion<double>(
            "GetDouble",
            row.asDouble,
            [&](double& o) { return v.GetDouble(o); },
            v.GetDouble(),
            0.0);
        ExpectConversion<float>(
            "GetFloat", row.asFloat, [&](float& o) { return v.GetFloat(o); }, v.GetFloat(), 0.0f);
        ExpectConversion<int>(
            "GetBool", row.asBool, [&](int& o) { return v.GetBool(o); }, v.GetBool(), 0);
        ExpectConversion<char>(
            "GetChar", row.asChar, [&](char& o) { return v.GetChar(o); }, v.GetChar(), ' ');
    }
}

TEST(VariantConversion, OutOfRangeAndNaNGiveTheLowestInteger) {
    EXPECT_EQ(Dbl(kNaN).GetInt(), INT32_MIN);
    EXPECT_EQ(Dbl(kNaN).GetInt64(), INT64_MIN);
    EXPECT_EQ(Dbl(-1e300).GetInt64(), INT64_MIN);
    EXPECT_EQ(Dbl(1e300).GetUInt(), 0u) << "low half of the 64-bit indefinite";
    EXPECT_EQ(Flt(std::numeric_limits<float>::infinity()).GetInt(), INT32_MIN);
    EXPECT_EQ(Dbl(-2147483648.9).GetInt(), INT32_MIN) << "truncates into range";
    EXPECT_EQ(Dbl(2147483647.9).GetInt(), INT32_MAX);
}

TEST(VariantConversion, CharOfTextIsTheFirstCodePageByte) {
    const std::string previous = plat::ProcessCodePage();
    ASSERT_TRUE(plat::SetProcessCodePage("CP949"));
    EXPECT_EQ(CVariant(L"한글").GetChar(), '\xC7');
    plat::SetProcessCodePage(previous);
}

TEST(VariantConversion, BorrowedPointerOnlyFromPtStr) {
    std::wstring* out = nullptr;
    EXPECT_FALSE(CVariant(L"owned").GetPtStr(out));
    EXPECT_EQ(out, nullptr);
    ASSERT_TRUE(Borrow(&g_borrowedNumber).GetPtStr(out));
    EXPECT_EQ(out, &g_borrowedNumber);
    EXPECT_EQ(Borrow(&g_borrowedNumber).GetRawString(), &g_borrowedNumber);
    EXPECT_EQ(*CVariant(L"owned").GetRawString(), L"owned");
    EXPECT_EQ(CVariant(3).GetRawString(), nullptr);
}

TEST(VariantText, FormsOfEveryType) {
    const struct {
        CVariant value;
        std::optional<std::wstring> text;
    } rows[] = {
        {-42, L"-42"},
        {INT32_MIN, L"-2147483648"},
        {4294967295u, L"4294967295"},
        {Int64(-9007199254740993), L"-9007199254740993"},
        {Int64(INT64_MIN), L"-9223372036854775808"},
        {Dbl(-2.7), L"-2.700000"},
        {Dbl(1e20), L"100000000000000000000.000000"},
        {Dbl(0.0000004), L"0.000000"},
        {Dbl(kNaN), L"nan"},
        {Dbl(-std::numeric_limits<double>::infinity()), L"-inf"},
        {Flt(3.25f), L"3.250000"},
        {Flt(0.1f), L"0.100000"},
        {Chr('Q'), L"Q"},
        {Bool(-3), L"true"},
        {Bool(0), L"false"},
        {L"Ab c", L"Ab c"},
        {Borrow(&g_borrowedNumber), L"42"},
        {CVariant(), kNo},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.text.value_or(L"(none)")));
        std::wstring text = L"untouched", twin = L"untouched";
        EXPECT_EQ(row.value.Get(text), row.text.has_value());
        EXPECT_EQ(row.value.GetString(twin), row.text.has_value());
        EXPECT_EQ(text, row.text.value_or(L"untouched"));
        EXPECT_EQ(twin, text);
    }
}

TEST(VariantEquality, SameTypeAndValueOnly) {
    std::wstring first = L"same", second = L"same";
    const struct {
        const char* what;
        CVariant a, b;
        bool equal;
    } rows[] = {
        {"int, int", 5, 5, true},
        {"int 5, int 6", 5, 6, false},
        {"int, uint", 5, 5u, false},
        {"int, text", 5, L"5", false},
        {"int, int64", 5, Int64(5), false},
        {"int64 differing high half", Int64(0x100000005), Int64(5), false},
        {"int64", Int64(-9), Int64(-9), true},
        {"uint", 7u, 7u, true},
        {"char", Chr('a'), Chr('a'), true},
        {"char a, b", Chr('a'), Chr('b'), false},
        {"bool truths", Bool(2), Bool(9), true},
        {"bool true, false", Bool(1), Bool(0), false},
        {"double -0, 0", Dbl(-0.0), Dbl(0.0), true},
        {"double NaN", Dbl(kNaN), Dbl(kNaN), false},
        {"float", Flt(1.5f), Flt(1.5f), true},
        {"float, double", Flt(1.5f), Dbl(1.5), false},
        {"text", L"abc", L"abc", true},
        {"text by case", L"abc", L"ABC", false},
        {"borrowed, equal texts", Borrow(&first), Borrow(&second), false},
        {"borrowed, same string", Borrow(&first), Borrow(&first), true},
        {"borrowed, owned", Borrow(&first), L"same", false},
        {"two nulls", CVariant(), CVariant(), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.a == row.b, row.equal);
        EXPECT_EQ(row.b == row.a, row.equal);
    }
    const CVariant null, nan = Dbl(kNaN);
    EXPECT_TRUE(null == null) << "the same object";
    EXPECT_TRUE(nan == nan);
}

TEST(VariantOwnership, CopiesOwnTheirText) {
    CVariant a(L"abc");
    CVariant b(a);
    CVariant c;
    c = a;
    EXPECT_NE(a.GetRawString(), b.GetRawString());
    EXPECT_NE(a.GetRawString(), c.GetRawString());
    a.SetString(L"xyz");
    EXPECT_EQ(b.GetType(), DT_STR);
    EXPECT_EQ(*b.GetRawString(), L"abc");
    EXPECT_EQ(*c.GetRawString(), L"abc");
}

TEST(VariantOwnership, OwnedStringIsReused) {
    CVariant v(L"short");
    const std::wstring* owned = v.GetRawString();
    EXPECT_TRUE(v.SetString(L"a much longer text than the first one"));
    EXPECT_EQ(v.GetRawString(), owned);
    EXPECT_TRUE(v.Set(CVariant(L"copied in")));
    EXPECT_EQ(v.GetRawString(), owned);
    EXPECT_EQ(*owned, L"copied in");
}

TEST(VariantOwnership, NullInputsKeepThePreviousValue) {
    CVariant number(12), text(L"kept");
    EXPECT_FALSE(number.SetString(nullptr));
    EXPECT_EQ(number.GetType(), DT_INT);
    EXPECT_EQ(number.GetInt(), 12);
    EXPECT_FALSE(text.SetString(nullptr));
    EXPECT_FALSE(text.SetPtStr(nullptr));
    EXPECT_EQ(*text.GetRawString(), L"kept");
    EXPECT_EQ(CVariant(static_cast<const wchar_t*>(nullptr)).GetType(), DT_NONE);
}

TEST(VariantOwnership, CopyingANullVariant) {
    CVariant number(12), text(L"gone");
    EXPECT_FALSE(number.Set(CVariant()));
    EXPECT_EQ(number.GetInt(), 12) << "a number stays";
    EXPECT_FALSE(text.Set(CVariant()));
    EXPECT_EQ(text.GetType(), DT_NONE) << "an owned string is dropped all the same";
}

TEST(VariantOwnership, SelfAssignmentKeepsTheString) {
    CVariant v(L"mine");
    const std::wstring* owned = v.GetRawString();
    CVariant& alias = v;
    v = alias;
    EXPECT_TRUE(v.Set(alias));
    v = std::move(alias);
    EXPECT_EQ(v.GetRawString(), owned);
    EXPECT_EQ(*v.GetRawString(), L"mine");
}

TEST(VariantOwnership, MoveTakesTheString) {
    CVariant a(L"moved");
    const std::wstring* owned = a.GetRawString();
    CVariant b(std::move(a));
    EXPECT_EQ(b.GetRawString(), owned);
    EXPECT_EQ(a.GetType(), DT_NONE) << "the source gave its string away";
    CVariant c(L"replaced");
    c = std::move(b);
    EXPECT_EQ(c.GetRawString(), owned);
    EXPECT_EQ(b.GetType(), DT_NONE);
    CVariant d(7);
    d = std::move(c);
    EXPECT_EQ(*d.GetRawString(), L"moved");
}

TEST(VariantOwnership, BorrowedStringIsNeverFreed) {
    // A stack string: freeing it would be reported by the sanitizer.
    std::wstring record = L"record text";
    {
        CVariant a = Borrow(&record);
        CVariant b(a);
        CVariant c(L"owned before");
        c = a;
        CVariant d(std::move(b));
        c.SetString(L"owned again");
        a.SetInt(1);
        EXPECT_EQ(d.GetRawString(), &record);
        std::wstring* through = nullptr;
        ASSERT_TRUE(d.GetPtStr(through));
        *through = L"written through";
    }
    EXPECT_EQ(record, L"written through");
}

TEST(VariantOwnership, EverySetterReplacesAnOwnedString) {
    std::wstring borrowed = L"b";
    // Each setter runs on a variant that owns a string; a leak is reported at exit.
    const auto setters = {
        +[](CVariant& v, std::wstring*) { return v.SetNull() && v.GetType() == DT_NONE; },
        +[](CVariant& v, std::wstring*) { return v.SetInt(-1) && v.GetType() == DT_INT; },
        +[](CVariant& v, std::wstring*) { return v.SetUInt(1) && v.GetType() == DT_UINT; },
        +[](CVariant& v, std::wstring*) { return v.SetBool(1) && v.GetType() == DT_BOOL; },
        +[](CVariant& v, std::wstring*) { return v.SetDouble(1) && v.GetType() == DT_DOUBLE; },
        +[](CVariant& v, std::wstring*) { return v.SetFloat(1) && v.GetType() == DT_FLOAT; },
        +[](CVariant& v, std::wstring*) { return v.SetChar('c') && v.GetType() == DT_CHAR; },
        +[](CVariant& v, std::wstring*) { return v.SetInt64(1) && v.GetType() == DT_INT64; },
        +[](CVariant& v, std::wstring* b) { return v.SetPtStr(b) && v.GetType() == DT_PT_STR; },
        +[](CVariant& v, std::wstring*) { return v.Set(CVariant(2u)) && v.GetType() == DT_UINT; },
    };
    for (auto set : setters) {
        CVariant v(L"owned");
        EXPECT_TRUE(set(v, &borrowed));
        EXPECT_EQ(v.GetRawString() == nullptr, v.GetType() != DT_PT_STR);
    }
}

} // namespace
