// The parameter texts of the user functions: where pieces end, what is unbalanced, and how
// "key=value" items are read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/element.h"
#include "platform/base/text.h"
#include "shell/user_parameters.h"

namespace {

using orvo::UserParameters;

std::vector<std::wstring> Pieces(const UserParameters& parameters) {
    std::vector<std::wstring> pieces;
    for (std::size_t i = 0; i < parameters.Count(); ++i)
        pieces.push_back(parameters.At(i));
    return pieces;
}

TEST(UserParametersTest, CommasInsideParenthesesAndQuotesStayInTheirPiece) {
    struct Case {
        const wchar_t* text;
        std::vector<std::wstring> pieces;
    };
    const Case cases[] = {
        {L" price ,  Data(ticket.last) ", {L"price", L"Data(ticket.last)"}},
        {L"Quote, code=Data(Link(a,b)), qty=3", {L"Quote", L"code=Data(Link(a,b))", L"qty=3"}},
        {L"memo=\"a, (b\", x", {L"memo=\"a, (b\"", L"x"}},
        {L"a,,b,", {L"a", L"", L"b", L""}},
        {L"one", {L"one"}},
        {L"", {}},
        {L"   ", {}},
    };
    for (const Case& c : cases) {
        const UserParameters parameters(c.text);
        EXPECT_TRUE(parameters.IsBalanced()) << plat::ToUtf8(c.text);
        EXPECT_EQ(Pieces(parameters), c.pieces) << plat::ToUtf8(c.text);
    }
    EXPECT_EQ(UserParameters(nullptr).Count(), 0u);
    EXPECT_EQ(UserParameters(L"a").At(5), L"") << "past the last piece";
}

TEST(UserParametersTest, OpenOrStrayBracketsAndOpenQuotesAreUnbalanced) {
    for (const wchar_t* text : {L"price, Data(ticket.last",
                                L"a), b",
                                L"Data((x)",
                                L"memo=\"open, x",
                                L")(",
                                L"x=Data(a\"),\""}) {
        EXPECT_FALSE(UserParameters(text).IsBalanced()) << plat::ToUtf8(text);
    }
    EXPECT_TRUE(UserParameters(L"memo=\")\"").IsBalanced()) << "a bracket inside quotes";
}

TEST(UserParametersTest, ItemsAreKeyValuePairsOrNothingIsStored) {
    const UserParameters good(L"Quote, code=005930, memo=\"a, b\",  qty = 3 ");
    XElement items(L"param", nullptr);
    std::wstring why;
    ASSERT_TRUE(good.ItemsFrom(1, items, why));
    EXPECT_EQ(items.MakeString(), L"code=005930,memo=a, b,qty=3");

    for (const wchar_t* text : {L"Quote, code=1, qty", L"Quote, =5", L"Quote, code=1,,"}) {
        XElement refused(L"param", nullptr);
        std::wstring reason;
        EXPECT_FALSE(UserParameters(text).ItemsFrom(1, refused, reason)) << plat::ToUtf8(text);
        EXPECT_EQ(refused.GetSize(), 0) << "no item of a refused text is kept";
        EXPECT_NE(reason.find(L"is not key=value"), std::wstring::npos) << plat::ToUtf8(reason);
    }
}

TEST(UserParametersTest, ValuesLoseTheirQuotes) {
    const UserParameters parameters(L"box, \" padded, \", \"");
    std::wstring value;
    ASSERT_TRUE(parameters.ValueAt(1, value));
    EXPECT_EQ(value, L" padded, ");
    EXPECT_FALSE(parameters.IsBalanced()) << "the last quote opens and never closes";
}

} // namespace
