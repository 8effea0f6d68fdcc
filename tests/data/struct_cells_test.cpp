#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/notice_man.h"
#include "platform/base/codepage.h"
#include "struct_page.h"
#include "support/recording_presenter.h"

namespace {

constexpr std::string_view kAllTypes = R"(
<structure Name="all" count="2">
  <this.field item="i" type="Integer" value="7"/>
  <this.field item="u" type="UInteger"/>
  <this.field item="s" type="String" size="4"/>
  <this.field item="p" type="String" value="memo"/>
  <this.field item="b" type="Boolean"/>
  <this.field item="d" type="Double"/>
  <this.field item="f" type="Float"/>
  <this.field item="c" type="Char"/>
  <this.field item="l" type="Integer64"/>
  <structure Name="book" count="2">
    <this.field item="px" type="Integer"/>
    <this.field item="code" type="String" size="3"/>
  </structure>
</structure>)";

enum Col { I, U, S, P, B, D, F, C, L, Book };

class StructCellsTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
        page = test::BuildPage(kAllTypes);
        s = test::FindStruct(page.get(), L"all");
        ASSERT_NE(s, nullptr);
        ASSERT_TRUE(notices.confirms.empty());
    }
    void TearDown() override { XNoticeMan::Instance().SetPresenter(previous); }
    std::wstring Text(int row, int col) {
        std::wstring out = L"<none>";
        return s->GetVal(row, col, out) ? out : L"<none>";
    }

    RecordingPresenter notices;
    orvo::NoticePresenter* previous = nullptr;
    orvo::XDOPtr page;
    XStruct* s = nullptr;
};

TEST_F(StructCellsTest, NewRowsTakeDefaultsAndOwnStrings) {
    EXPECT_EQ(s->GetRows(), 2);
    EXPECT_EQ(Text(1, I), L"7");
    EXPECT_EQ(Text(1, P), L"memo");
    ASSERT_TRUE(s->SetVal(0, P, L"changed"));
    EXPECT_EQ(Text(1, P), L"memo") << "each row owns its own string";
    std::wstring* first = nullptr;
    std::wstring* second = nullptr;
    ASSERT_TRUE(s->GetVal(0, P, first));
    ASSERT_TRUE(s->GetVal(1, P, second));
    EXPECT_NE(first, second);
}

TEST_F(StructCellsTest, TextIsConvertedByTheFieldType) {
    struct Case {
        int col;
        const wchar_t* written;
        const wchar_t* read;
    } cases[] = {
        {I, L"  -12abc", L"-12"},
        {U, L"4000000000", L"4000000000"},
        {S, L"12345678", L"1234"},
        {P, L"a long variable text", L"a long variable text"},
        {B, L"TRUE", L"true"},
        {D, L"3.5", L"3.500000"},
        {F, L"0.25", L"0.250000"},
        {C, L"xyz", L"x"},
        {L, L"-9000000000", L"-9000000000"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(s->SetVal(0, c.col, c.written)) << c.col;
        EXPECT_EQ(Text(0, c.col), c.read) << c.col;
    }
    ASSERT_TRUE(s->SetVal(0, B, L"yes"));
    EXPECT_EQ(Text(0, B), L"false");
    // An unsigned cell keeps its value when nothing can be scanned.
    ASSERT_TRUE(s->SetVal(0, U, L"none"));
    EXPECT_EQ(Text(0, U), L"4000000000");
    // A short text clears the rest of a fixed-width cell.
    ASSERT_TRUE(s->SetVal(0, S, L"ab"));
    EXPECT_EQ(Text(0, S), L"ab");
    EXPECT_FALSE(s->SetVal(0, Book, L"1")) << "an inner structure takes no text";
    EXPECT_EQ(Text(0, Book), L"<none>");
}

TEST_F(StructCellsTest, FixedWidthTextIsStoredInTheProcessCodePage) {
    ASSERT_TRUE(plat::SetProcessCodePage("CP949"));
    ASSERT_TRUE(s->SetVal(0, S, L"가나다"));
    void* where = nullptr;
    ASSERT_TRUE(s->GetValBlob(0, S, where));
    // Two bytes per Hangul syllable: the third does not fit the four bytes.
    EXPECT_EQ(std::memcmp(where, "\xB0\xA1\xB3\xAA", 4), 0);
    EXPECT_EQ(Text(0, S), L"가나");
    ASSERT_TRUE(s->SetVal(0, S, "\xB4\xD9"));
    EXPECT_EQ(Text(0, S), L"다");
}

TEST_F(StructCellsTest, VariantsCarryTheCellType) {
    ASSERT_TRUE(s->SetVal(0, I, L"42"));
    CVariant v;
    ASSERT_TRUE(s->GetVal(0, I, v));
    EXPECT_EQ(v.GetType(), DT_INT);
    EXPECT_EQ(v.GetInt(), 42);
    ASSERT_TRUE(s->GetVal(0, P, v));
    EXPECT_EQ(v.GetType(), DT_STR) << "a copy, not the row's own string";
    // Non-text variants are converted to the cell's type; text variants are written as text.
    ASSERT_TRUE(s->SetVal(0, D, CVariant(3)));
    double d = 0;
    ASSERT_TRUE(s->GetVal(0, D, d));
    EXPECT_EQ(d, 3.0);
    ASSERT_TRUE(s->SetVal(0, I, CVariant(L"17")));
    EXPECT_EQ(Text(0, I), L"17");
    CVariant price;
    price.SetDouble(2.75);
    ASSERT_TRUE(s->SetVal(0, S, price));
    EXPECT_EQ(Text(0, S), L"2.75");
    EXPECT_FALSE(s->SetVal(0, I, CVariant())) << "a null variant converts to nothing";
}

TEST_F(StructCellsTest, TypedAccessTouchesOnlyItsOwnType) {
    ASSERT_TRUE(s->SetVal(0, I, 5));
    bool flag = false;
    EXPECT_FALSE(s->SetValBool(0, I, true));
    EXPECT_FALSE(s->GetValBool(0, I, flag));
    int i = 0;
    ASSERT_TRUE(s->GetVal(0, I, i));
    EXPECT_EQ(i, 5);
    EXPECT_FALSE(s->GetVal(0, D, i));
    EXPECT_TRUE(s->SetValBool(0, B, true));
    EXPECT_TRUE(s->GetValBool(0, B, flag) && flag);
    EXPECT_TRUE(s->SetValUInt(0, U, 9u));
    EXPECT_TRUE(s->SetValFloat(0, F, 1.5f));
    EXPECT_TRUE(s->SetValChar(0, C, 'Q'));
    EXPECT_TRUE(s->SetValInt64(0, L, INT64_C(1) << 40));
    EXPECT_EQ(Text(0, U), L"9");
    EXPECT_EQ(Text(0, F), L"1.500000");
    EXPECT_EQ(Text(0, C), L"Q");
    EXPECT_EQ(Text(0, L), L"1099511627776");
}

TEST_F(StructCellsTest, PathsReachInnerRows) {
    std::vector<int> path;
    ASSERT_TRUE(s->GetRowFieldIndex(L"[1].book[1].code", path));
    ASSERT_EQ(path, (std::vector<int>{1, Book, 1, 1}));
    ASSERT_TRUE(s->SetVal(path, L"XYZW"));
    EXPECT_EQ(s->GetFieldType(path), DT_STR);
    std::wstring text;
    ASSERT_TRUE(s->GetVal(path, text));
    EXPECT_EQ(text, L"XYZ");
    ASSERT_TRUE(s->GetRowFieldIndex(L"[1].book[1].px", path));
    ASSERT_TRUE(s->SetVal(path, L"99"));
    int px = 0;
    ASSERT_TRUE(s->GetVal(path, px));
    EXPECT_EQ(px, 99);
    // The neighbours of the written inner cells are untouched.
    ASSERT_TRUE(s->GetRowFieldIndex(L"[1].book[0].px", path));
    ASSERT_TRUE(s->GetVal(path, px));
    EXPECT_EQ(px, 0);
    EXPECT_EQ(Text(1, L), L"0");
}

TEST_F(StructCellsTest, EveryAccessOutsideTheRowsFails) {
    std::wstring text;
    CVariant v;
    int i = 0;
    for (int row : {-1, 2, INT32_MAX})
        EXPECT_FALSE(s->GetVal(row, I, text) || s->SetVal(row, I, L"1") || s->GetVal(row, I, v))
            << row;
    for (int col : {-1, 10, INT32_MIN})
        EXPECT_FALSE(s->GetVal(0, col, text) || s->SetVal(0, col, 1) || s->GetVal(0, col, i))
            << col;
    const std::vector<std::vector<int>> bad = {
        {},
        {0},
        {0, I, 0},
        {0, Book, 2, 0},
        {0, Book, -1, 0},
        {0, Book, 0, 5},
        {0, I, 0, 0},
        {0, Book, 0, 0, 0, 0},
    };
    for (const auto& path : bad)
        EXPECT_FALSE(s->GetVal(path, text) || s->SetVal(path, L"1")) << path.size();
    EXPECT_FALSE(s->SetVal(0, S, static_cast<const wchar_t*>(nullptr)));
}

TEST_F(StructCellsTest, BinaryWritesFollowTheFieldWidth) {
    ASSERT_TRUE(s->SetVal(0, S, L"abcd"));
    ASSERT_TRUE(s->SetValBin(0, S, "xy", 2));
    EXPECT_EQ(Text(0, S), L"xy") << "a shorter value clears the cell first";
    ASSERT_TRUE(s->SetValBin(0, S, "123456", 6));
    EXPECT_EQ(Text(0, S), L"1234");
    const int bookWidth = s->GetRecord().GetField(Book)->Size;
    std::vector<unsigned char> inner(static_cast<std::size_t>(bookWidth), 0);
    inner[0] = 3;
    EXPECT_FALSE(s->SetValBin(0, Book, inner.data(), bookWidth - 1));
    ASSERT_TRUE(s->SetValBin(0, Book, inner.data(), bookWidth));
    int px = 0;
    ASSERT_TRUE(s->GetVal(std::vector<int>{0, Book, 0, 0}, px));
    EXPECT_EQ(px, 3);
    EXPECT_FALSE(s->SetValBin(0, I, "1234", 4));
    EXPECT_FALSE(s->SetValBin(0, S, nullptr, 2));
}

} // namespace
