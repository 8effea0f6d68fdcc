#include <gtest/gtest.h>

#include <string>

#include "formula_page.h"

namespace {

using test::FormulaTest;

struct Case {
    const wchar_t* text; // infix
    const wchar_t* expected;
    int row = 0;
};

class FormulaEvaluateTest : public FormulaTest {
protected:
    void ExpectAll(CFormula::PRECISION precision, std::initializer_list<Case> cases) {
        for (const Case& c : cases)
            EXPECT_EQ(Eval(precision, c.text, false, c.row), c.expected)
                << "precision " << precision << ": " << std::wstring(c.text);
    }
    void ExpectAllPostfix(CFormula::PRECISION precision, std::initializer_list<Case> cases) {
        for (const Case& c : cases)
            EXPECT_EQ(Eval(precision, c.text, true, c.row), c.expected)
                << "precision " << precision << ": " << std::wstring(c.text);
    }
};

TEST_F(FormulaEvaluateTest, IntegerPrecision) {
    ExpectAll(CFormula::PRECISION_INT,
              {
                  {L"price * qty + 1", L"301"},
                  {L"price - qty - 1", L"96"},
                  {L"(price + qty) * 2", L"206", 0},
                  {L"price * qty", L"800", 1},
                  {L"2 ^ 3 ^ 2", L"64"},
                  {L"2 ^ 40", L"2147483647"},
                  {L"0 - 2 ^ 40", L"-2147483647"},
                  {L"-price", L"-100"},
                  {L"7 / 2", L"3"},
                  {L"-7 / 2", L"-3"},
                  {L"7 % 3", L"1"},
                  {L"-7 % 3", L"-1"},
                  {L"7 / 0", L"<fail>"},
                  {L"7 % 0", L"<fail>"},
                  {L"1.9 + 1", L"2"},
                  {L"2147483647 + 1", L"-2147483648"},
                  {L"65536 * 65536", L"0"},
                  {L"99999999999999999999 + 0", L"2147483647"},
                  {L"price > qty", L"1"},
                  {L"price < qty", L"0"},
                  {L"price >= 100", L"1"},
                  {L"price <= 99", L"0"},
                  {L"price == 100", L"1"},
                  {L"price != 100", L"0"},
                  {L"price && 0", L"0"},
                  {L"0 || qty", L"1"},
                  {L"px + 1", L"3"},
                  {L"big", L"705032704"},
              });
}

TEST_F(FormulaEvaluateTest, Int64Precision) {
    ExpectAll(CFormula::PRECISION_INT64,
              {
                  {L"big * 2", L"10000000000"},
                  {L"big / 3", L"1666666666"},
                  {L"big % 7", L"2"},
                  {L"9223372036854775807 + 1", L"-9223372036854775808"},
                  {L"2 ^ 62", L"4611686018427387904"},
                  {L"2 ^ 63", L"9223372036854775807"},
                  {L"2 ^ 3 ^ 2", L"64"},
                  {L"7 / 2", L"3"},
                  {L"7 / 0", L"<fail>"},
                  {L"big % 0", L"<fail>"},
                  {L"big > 4000000000", L"1"},
                  {L"big == 5000000000", L"1"},
                  {L"big && 0", L"0"},
              });
}

TEST_F(FormulaEvaluateTest, DoublePrecision) {
    ExpectAll(CFormula::PRECISION_DOUBLE,
              {
                  {L"px * 2", L"5.000000"},
                  {L"7 / 2", L"3.500000"},
                  {L"7 / 0", L"<fail>"},
                  {L"7.9 % 3", L"1.000000"},
                  {L"7 % 0.5", L"<fail>"},
                  {L"99999999999 % 7", L"1.000000"},
                  {L"2 ^ 0.5", L"1.414214"},
                  {L"2 ^ 3 ^ 2", L"64.000000"},
                  {L"px > 2", L"1.000000"},
                  {L"px == 2.5", L"1.000000"},
                  {L"px <= 2", L"0.000000"},
                  {L"px && 0", L"0.000000"},
                  {L"0 || px", L"1.000000"},
                  {L"price / qty", L"33.333333"},
                  {L"-px", L"-2.500000"},
              });
}

TEST_F(FormulaEvaluateTest, StringPrecision) {
    ExpectAll(CFormula::PRECISION_STRING,
              {
                  {L"code + memo", L"ABCD"},
                  {L"code == memo", L"1", 1},
                  {L"code != memo", L"0", 1},
                  {L"code == memo", L"0"},
                  {L"price == 100", L"1"},
                  {L"price + qty", L"1003"},
                  {L"price - qty", L"97"},
                  {L"price * 2", L"200"},
                  {L"price / 3", L"33"},
                  {L"price / 0", L"<fail>"},
                  {L"10 % 4", L"2"},
                  {L"10 % 0", L"<fail>"},
                  {L"2 ^ 10", L"1024"},
                  {L"price > qty", L"1"},
                  {L"9 < 10", L"1"},
                  {L"code && 1", L"0"},
                  {L"code || 1", L"1"},
                  {L"px", L"2.500000"},
              });
}

TEST_F(FormulaEvaluateTest, ChoiceTakesThreeOperands) {
    ExpectAllPostfix(CFormula::PRECISION_INT,
                     {
                         {L"1 10 20 ?", L"10"},
                         {L"0 10 20 ?", L"20"},
                         {L"price qty 5 > 7 8 ? +", L"108"},
                         {L"10 20 ?", L"<fail>"},
                     });
    ExpectAllPostfix(CFormula::PRECISION_DOUBLE, {{L"px 1 2 ?", L"1.000000"}});
    ExpectAllPostfix(CFormula::PRECISION_STRING,
                     {
                         {L"1 code memo ?", L"AB"},
                         {L"0 code memo ?", L"CD"},
                     });
    // Infix has no second part for "?": "c ? a" leaves too few operands.
    EXPECT_EQ(Eval(CFormula::PRECISION_INT, L"1 ? 2"), L"<fail>");
}

TEST_F(FormulaEvaluateTest, SmallestIntegerByMinusOneWraps) {
    ExpectAllPostfix(CFormula::PRECISION_INT,
                     {
                         {L"0 2147483647 - 1 - 0 1 - /", L"-2147483648"},
                         {L"0 2147483647 - 1 - 0 1 - %", L"0"},
                     });
    ExpectAllPostfix(CFormula::PRECISION_INT64,
                     {
                         {L"0 9223372036854775807 - 1 - 0 1 - /", L"-9223372036854775808"},
                         {L"0 9223372036854775807 - 1 - 0 1 - %", L"0"},
                     });
    ExpectAllPostfix(CFormula::PRECISION_DOUBLE, {{L"0 2147483648 - 0 1 - %", L"0.000000"}});
}

TEST_F(FormulaEvaluateTest, MalformedPostfixFailsInEveryPrecision) {
    const wchar_t* malformed[] = {L"", L"+", L"1 +", L"1 2", L"?", L"1 2 3", L"+ 1 2"};
    for (int p = CFormula::PRECISION_INT; p <= CFormula::PRECISION_STRING; ++p) {
        for (const wchar_t* text : malformed)
            EXPECT_EQ(Eval(static_cast<CFormula::PRECISION>(p), text, true), L"<fail>")
                << "precision " << p << ": " << std::wstring(text);
    }
}

TEST_F(FormulaEvaluateTest, AFieldThatCannotBeReadIsLeftOut) {
    // Row 10 does not exist: price is left out and "+" lacks an operand; qty alone remains.
    EXPECT_EQ(Eval(CFormula::PRECISION_INT, L"price 1 +", true, 10), L"<fail>");
    EXPECT_EQ(Eval(CFormula::PRECISION_INT, L"qty price", true, 10), L"<fail>");
    CFormula f;
    ASSERT_EQ(f.SetPostfix(s, L"price"), 1);
    std::wstring out;
    EXPECT_EQ(f.Evaluate(nullptr, out), 0) << "without a structure no field is read";
}

TEST_F(FormulaEvaluateTest, LimitsAreRefusedNotOverrun) {
    // "1 1 1 ?" then 30 times "1 +": exactly 64 entries.
    std::wstring postfix = L"1 1 1 ?";
    for (int i = 0; i < 30; ++i)
        postfix += L" 1 +";
    EXPECT_EQ(Eval(CFormula::PRECISION_INT, postfix, true), L"31");
    EXPECT_EQ(Eval(CFormula::PRECISION_INT, postfix + L" 1", true), L"<refused>");

    std::wstring values;
    for (int i = 0; i < 64; ++i)
        values += L"1 ";
    EXPECT_EQ(Eval(CFormula::PRECISION_STRING, values, true), L"<fail>");

    std::wstring infix = L"1";
    for (int i = 0; i < 32; ++i)
        infix += L"+1";
    EXPECT_EQ(Eval(CFormula::PRECISION_INT, infix), L"<refused>");
    EXPECT_EQ(Confirms(), std::vector<std::wstring>{L"Formula Parse Error : " + infix});
}

} // namespace
