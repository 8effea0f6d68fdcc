#include "platform/base/nocase.h"

#include <gtest/gtest.h>

namespace {

using namespace plat;

TEST(NoCaseTest, FoldsLatinGreekAndCyrillicOnly) {
    EXPECT_EQ(ToLower(L"ABCxyz@[`{"), L"abcxyz@[`{");
    EXPECT_EQ(ToLower(L"ÀÉÖØÞ×ß"), L"àéöøþ×ß");
    EXPECT_EQ(ToLower(L"ΑΣΩΆΏΪ"), L"ασωάώϊ");
    EXPECT_EQ(ToLower(L"АЯЁЂЏ"), L"аяёђџ");
    EXPECT_EQ(ToLower(L"한글 123"), L"한글 123");
    EXPECT_EQ(ToUpper(L"abcàöþÿασςωάώёя"), L"ABCÀÖÞŸΑΣΣΩΆΏЁЯ");
    EXPECT_EQ(ToUpper(L"÷µß"), L"÷µß");

    std::wstring text = L"MiXeD Ж";
    MakeLower(text);
    EXPECT_EQ(text, L"mixed ж");
}

TEST(NoCaseTest, ComparesAfterFolding) {
    EXPECT_TRUE(EqualsNoCase(L"Attribute", L"aTTRIBUTE"));
    EXPECT_TRUE(EqualsNoCase(L"ПРИВЕТ", L"привет"));
    EXPECT_FALSE(EqualsNoCase(L"abc", L"abcd"));
    EXPECT_EQ(CompareNoCase(L"apple", L"BANANA"), -1);
    EXPECT_EQ(CompareNoCase(L"Zebra", L"apple"), 1);
    EXPECT_EQ(CompareNoCase(L"ABC", L"abc"), 0);
    EXPECT_EQ(CompareNoCase(L"ab", L"ABC"), -1);
    EXPECT_TRUE(StartsWithNoCase(L"Lib.Param", L"LIB."));
    EXPECT_FALSE(StartsWithNoCase(L"Li", L"lib"));
    EXPECT_TRUE(NoCaseLess{}(L"alpha", L"BETA"));
}

TEST(NoCaseTest, FindsWithoutCase) {
    EXPECT_EQ(FindNoCase(L"Run(Lib,Func)", L"LIB"), 4u);
    EXPECT_EQ(FindNoCase(L"abcABC", L"abc", 1), 3u);
    EXPECT_EQ(FindNoCase(L"abc", L"abcd"), std::wstring_view::npos);
    EXPECT_EQ(FindNoCase(L"abc", L"", 3), 3u);
    EXPECT_EQ(FindNoCase(L"abc", L"a", 9), std::wstring_view::npos);
}

TEST(NoCaseTest, MapFindsEverySpelling) {
    EXPECT_EQ(NoCaseHash{}(L"Quote.Board"), NoCaseHash{}(L"QUOTE.board"));
    EXPECT_NE(NoCaseHash{}(L"ab"), NoCaseHash{}(L"ba"));
    NoCaseMap<int> map;
    map.emplace(L"Price", 1);
    map.emplace(L"ЦЕНА", 2);
    EXPECT_EQ(map.find(std::wstring_view(L"PRICE"))->second, 1);
    EXPECT_EQ(map.find(std::wstring_view(L"цена"))->second, 2);
    EXPECT_FALSE(map.emplace(L"price", 3).second);
}

} // namespace
