#include "nubra/tok.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> AllTokens(std::wstring_view text, std::wstring_view seps) {
    CTok tok(text, seps);
    std::vector<std::wstring> tokens;
    std::wstring token;
    while (tok.GetNext(token)) {
        tokens.push_back(token);
    }
    return tokens;
}

using Tokens = std::vector<std::wstring>;

TEST(CTokTest, SplitsAtEverySeparator) {
    EXPECT_EQ(AllTokens(L"a,,b", L","), (Tokens{L"a", L"", L"b"}));
    EXPECT_EQ(AllTokens(L",a", L","), (Tokens{L"", L"a"}));
    EXPECT_EQ(AllTokens(L"a b;c", L" ;"), (Tokens{L"a", L"b", L"c"}));
    EXPECT_EQ(AllTokens(L"abc", L","), (Tokens{L"abc"}));
    EXPECT_EQ(AllTokens(L"a,b", L""), (Tokens{L"a,b"}));
}

TEST(CTokTest, TrailingSeparatorStartsNoToken) {
    EXPECT_EQ(AllTokens(L"a,", L","), (Tokens{L"a"}));
    EXPECT_EQ(AllTokens(L"a,,", L","), (Tokens{L"a", L""}));
    EXPECT_EQ(AllTokens(L",", L","), (Tokens{L""}));
    EXPECT_TRUE(AllTokens(L"", L",").empty());
}

TEST(CTokTest, TailIsWhatIsLeft) {
    CTok tok(L"seq,gate,true,rest,with,commas", L",");
    std::wstring token;
    ASSERT_TRUE(tok.GetNext(token));
    ASSERT_TRUE(tok.GetNext(token));
    ASSERT_TRUE(tok.GetNext(token));
    EXPECT_EQ(token, L"true");
    EXPECT_EQ(tok.GetTail(), L"rest,with,commas");
    EXPECT_TRUE(tok.HasMore());

    CTok done(L"a,", L",");
    ASSERT_TRUE(done.GetNext(token));
    EXPECT_EQ(done.GetTail(), L"");
    EXPECT_FALSE(done.HasMore());
    token = L"untouched";
    EXPECT_FALSE(done.GetNext(token));
    EXPECT_EQ(token, L"untouched");
}

TEST(CTokTest, SeparatorsCanChangeMidway) {
    CTok tok(L"1,2;3,4", L",");
    std::wstring token;
    ASSERT_TRUE(tok.GetNext(token));
    tok.SetSep(L";");
    ASSERT_TRUE(tok.GetNext(token));
    EXPECT_EQ(token, L"2");
    ASSERT_TRUE(tok.GetNext(token));
    EXPECT_EQ(token, L"3,4");
}

TEST(CTokTest, IntegersAreLenient) {
    CTok tok(L"12, 7x,,abc", L",");
    int value = -1;
    std::vector<int> values;
    while (tok.GetNext(value)) {
        values.push_back(value);
    }
    EXPECT_EQ(values, (std::vector<int>{12, 7, 0, 0}));
}

TEST(CNameTokTest, SegmentsBetweenDots) {
    CNameTok tok(L"Form1.Grid..Price");
    std::vector<std::wstring> segments;
    std::wstring segment;
    while (tok.GetNext(segment)) {
        segments.push_back(segment);
    }
    EXPECT_EQ(segments, (Tokens{L"Form1", L"Grid", L"", L"Price"}));
}

TEST(CNameTokTest, SplitNameAtFirstDot) {
    std::wstring head;
    std::wstring tail = L"old";
    EXPECT_TRUE(CNameTok::SplitName(L"opener.Grid.[Cell]", head, tail));
    EXPECT_EQ(head, L"opener");
    EXPECT_EQ(tail, L"Grid.[Cell]");
    EXPECT_TRUE(CNameTok::SplitName(L"Edit.", head, tail));
    EXPECT_EQ(head, L"Edit");
    EXPECT_EQ(tail, L"");
    EXPECT_FALSE(CNameTok::SplitName(L"Edit1", head, tail));
    EXPECT_EQ(head, L"Edit1");
    EXPECT_EQ(tail, L"");
}

} // namespace
