#include "nubra/attr_readers.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/base/codepage.h"

namespace {

class AttrReadersTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_map.Set(L"Text", L"hello");
        m_map.Set(L"Count", L"12abc");
        m_map.Set(L"Word", L"abc");
        m_map.Set(L"Ratio", L"2.5");
        m_map.Set(L"Big", L"9000000000");
        m_map.Set(L"Empty", L"");
    }
    CMapStringToString m_map;
};

TEST_F(AttrReadersTest, AbsentKeyOrNullMapLeavesOutputUntouched) {
    std::wstring text = L"keep";
    int number = 7;
    bool flag = true;
    EXPECT_EQ(GetValue(&m_map, L"missing", text), 0);
    EXPECT_EQ(GetValue(nullptr, L"Text", text), 0);
    EXPECT_EQ(GetValue(&m_map, L"missing", number), 0);
    EXPECT_EQ(GetBool(nullptr, L"Text", flag), 0);
    EXPECT_EQ(text, L"keep");
    EXPECT_EQ(number, 7);
    EXPECT_TRUE(flag);
}

TEST_F(AttrReadersTest, KeysCompareWithoutCase) {
    std::wstring text;
    EXPECT_NE(GetValue(&m_map, L"TEXT", text), 0);
    EXPECT_EQ(text, L"hello");
    int count = 0;
    EXPECT_NE(GetValue(&m_map, L"count", count), 0);
    EXPECT_EQ(count, 12);
}

TEST_F(AttrReadersTest, NumbersConvertLeniently) {
    int word = 5;
    EXPECT_NE(GetValue(&m_map, L"Word", word), 0);
    EXPECT_EQ(word, 0);
    double ratio = 0;
    float ratioF = 0;
    EXPECT_NE(GetValue(&m_map, L"Ratio", ratio), 0);
    EXPECT_NE(GetValue(&m_map, L"Ratio", ratioF), 0);
    EXPECT_DOUBLE_EQ(ratio, 2.5);
    EXPECT_FLOAT_EQ(ratioF, 2.5F);
    std::int64_t big = 0;
    EXPECT_NE(GetInt64(&m_map, L"Big", big), 0);
    EXPECT_EQ(big, 9000000000LL);

    unsigned u = 99;
    EXPECT_NE(GetUInt(&m_map, L"Word", u), 0);
    EXPECT_EQ(u, 0u);
    m_map.Set(L"Minus", L"-1");
    EXPECT_NE(GetUInt(&m_map, L"Minus", u), 0);
    EXPECT_EQ(u, 0xFFFFFFFFu);
}

TEST_F(AttrReadersTest, BooleanWords) {
    for (const wchar_t* yes :
         {L"True", L"TRUE", L" true ", L"Yes", L"ON", L"t", L"Y", L"1", L"-2", L"0.5"}) {
        m_map.Set(L"Flag", yes);
        bool flag = false;
        int asInt = 0;
        EXPECT_NE(GetBool(&m_map, L"flag", flag), 0);
        EXPECT_NE(GetBool(&m_map, L"flag", asInt), 0);
        EXPECT_TRUE(flag) << yes;
        EXPECT_EQ(asInt, 1) << yes;
    }
    for (const wchar_t* no : {L"False", L"0", L"0.0", L"no", L"off", L"maybe", L"", L"yess"}) {
        m_map.Set(L"Flag", no);
        bool flag = true;
        int asInt = 5;
        EXPECT_NE(GetBool(&m_map, L"flag", flag), 0) << no;
        EXPECT_NE(GetBool(&m_map, L"flag", asInt), 0) << no;
        EXPECT_FALSE(flag) << no;
        EXPECT_EQ(asInt, 0) << no;
    }
}

TEST_F(AttrReadersTest, CharactersTakeTheFirstOne) {
    wchar_t wide = L'x';
    EXPECT_NE(GetChar(&m_map, L"Text", wide), 0);
    EXPECT_EQ(wide, L'h');
    EXPECT_NE(GetChar(&m_map, L"Empty", wide), 0);
    EXPECT_EQ(wide, L'\0');

    const std::string previous = plat::ProcessCodePage();
    ASSERT_TRUE(plat::SetProcessCodePage("CP949"));
    m_map.Set(L"Korean", L"\uAC00\uB098"); // "가나": 0xB0 0xA1 0xB3 0xAA in CP949
    char narrow = 0;
    EXPECT_NE(GetChar(&m_map, L"Korean", narrow), 0);
    EXPECT_EQ(static_cast<unsigned char>(narrow), 0xB0);
    EXPECT_NE(GetChar(&m_map, L"Text", narrow), 0);
    EXPECT_EQ(narrow, 'h');
    plat::SetProcessCodePage(previous);
}

} // namespace
