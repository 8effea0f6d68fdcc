#include <gtest/gtest.h>

#include <string>

#include "flow/infix_to_postfix.h"

namespace {

TEST(InfixToPostfixTest, ConvertsByPrecedenceLeftToRight) {
    struct Case {
        const wchar_t* infix;
        const wchar_t* postfix;
    } cases[] = {
        {L"a + b * c", L"a b c * +"},
        {L"a - b - c", L"a b - c -"},
        {L"2 ^ 3 ^ 2", L"2 3 ^ 2 ^"},
        {L"a * b % c / d", L"a b * c % d /"},
        {L"(a + b) * c", L"a b + c *"},
        {L"((a))", L"a"},
        {L"a >= b && c != d || e", L"a b >= c d != && e ||"},
        {L"a<=b", L"a b <="},
        {L"a<b", L"a b <"},
        {L"a>b==c", L"a b > c =="},
        {L"c ? a", L"c a ?"},
        {L"a || b ? c", L"a b || c ?"},
        {L"", L""},
        // A leading or doubled operator gets a zero left operand.
        {L"-price", L"0 price -"},
        {L"(-5)", L"0 5 -"},
        {L"a * -b", L"a 0 * b -"},
        {L"a == (-1)", L"a 0 1 - =="},
        // Operands: paths, object names, brackets holding anything.
        {L"items[2].px+:Last", L"items[2].px :Last +"},
        {L"[1].price*1.5", L"[1].price 1.5 *"},
        {L"grid.[a-b (c)]+_R0", L"grid.[a-b (c)] _R0 +"},
        {L"grid.[[x]-y]-1", L"grid.[[x]-y] 1 -"},
        {L"a,b", L"a,b"},
        {L"\x0AC00\x0AC01 + 1", L"\x0AC00\x0AC01 1 +"},
    };
    for (const Case& c : cases) {
        std::wstring postfix;
        EXPECT_TRUE(orvo::InfixToPostfix(c.infix, postfix)) << c.infix;
        EXPECT_EQ(postfix, c.postfix) << c.infix;
    }
}

TEST(InfixToPostfixTest, MalformedTextIsRefused) {
    const wchar_t* malformed[] = {
        L"(a + b",
        L"a + b)",
        L")(",
        L"a $ b",
        L"a = b",
        L"a & b",
        L"a | b",
        L"!a",
        L"a + (b",
    };
    for (const wchar_t* infix : malformed) {
        std::wstring postfix;
        EXPECT_FALSE(orvo::InfixToPostfix(infix, postfix)) << infix;
    }
}

} // namespace
