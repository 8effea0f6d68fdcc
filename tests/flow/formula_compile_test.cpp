#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "formula_page.h"

namespace {

using test::FormulaTest;
using Kind = CFormula::CToken::KIND;

TEST_F(FormulaTest, PostfixItemsBecomeTokensOfTheirKind) {
    CFormula f;
    ASSERT_EQ(f.SetPostfix(s, L"  price 1.5\t+ :Last _R1 [1].book[2].BID _r2 12abc ?  "), 1);
    struct Expected {
        Kind kind;
        std::vector<int> path;
        const wchar_t* name;
    } expected[] = {
        {Kind::FIELD, {0, test::PRICE}, L""},
        {Kind::CONSTANT, {}, L"1.5"},
        {Kind::OPERATOR, {}, L""},
        {Kind::OBJECT, {}, L"Last"},
        {Kind::REGISTER, {}, L""},
        {Kind::FIELD, {1, test::BOOK, 2, 0}, L""},
        {Kind::OBJECT, {}, L"_r2"},
        {Kind::OBJECT, {}, L"12abc"},
        {Kind::OPERATOR, {}, L""},
    };
    const auto& tokens = f.GetTokens();
    ASSERT_EQ(tokens.size(), std::size(expected));
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        EXPECT_EQ(tokens[i]->kind, expected[i].kind) << i;
        EXPECT_EQ(tokens[i]->currentPath, expected[i].path) << i;
        EXPECT_EQ(tokens[i]->compiledPath, expected[i].path) << i;
        if (tokens[i]->kind == Kind::CONSTANT || tokens[i]->kind == Kind::OBJECT) {
            EXPECT_EQ(tokens[i]->name, expected[i].name) << i;
        }
    }
    EXPECT_EQ(tokens[2]->operatorCode, 1);
    EXPECT_EQ(tokens[4]->registerNumber, 1);
    EXPECT_EQ(tokens[8]->operatorCode, 15);
}

TEST_F(FormulaTest, ConstantsFollowThePrecision) {
    struct Case {
        CFormula::PRECISION precision;
        DT_DATA_TYPE type;
        const wchar_t* text;
    } cases[] = {
        {CFormula::PRECISION_INT, DT_INT, L"12"},
        {CFormula::PRECISION_INT64, DT_INT64, L"12"},
        {CFormula::PRECISION_DOUBLE, DT_DOUBLE, L"12.500000"},
        {CFormula::PRECISION_STRING, DT_STR, L"12.5"},
    };
    CFormula changed;
    ASSERT_EQ(changed.SetPostfix(s, L"12.5"), 1);
    for (const Case& c : cases) {
        CFormula f;
        f.SetPrecision(c.precision);
        ASSERT_EQ(f.SetPostfix(s, L"12.5"), 1);
        EXPECT_EQ(f.GetTokens()[0]->constant.GetType(), c.type) << c.precision;
        // A precision set after compiling converts the constants again.
        changed.SetPrecision(c.precision);
        EXPECT_EQ(changed.GetTokens()[0]->constant.GetType(), c.type) << c.precision;
        std::wstring out;
        ASSERT_EQ(changed.Evaluate(s, out), 1);
        EXPECT_EQ(out, c.text);
    }
    changed.SetPrecision(static_cast<CFormula::PRECISION>(9));
    EXPECT_EQ(changed.GetPrecision(), CFormula::PRECISION_STRING)
        << "unknown precisions are ignored";
}

TEST_F(FormulaTest, RegistersKeepTheLastThreeResults) {
    CFormula f;
    std::wstring out;
    for (const wchar_t* value : {L"1", L"2", L"3"}) {
        ASSERT_EQ(f.SetPostfix(s, value), 1);
        ASSERT_EQ(f.Evaluate(s, out), 1);
    }
    EXPECT_EQ(CFormula::m_R0.GetInt(), 3);
    EXPECT_EQ(CFormula::m_R1.GetInt(), 2);
    EXPECT_EQ(CFormula::m_R2.GetInt(), 1);
    // Another formula reads them back: (3 + 2) * 1.
    CFormula reader;
    reader.SetPrecision(CFormula::PRECISION_INT64);
    ASSERT_EQ(reader.SetFormula(s, L"(_R0 + _R1) * _R2"), 1);
    ASSERT_EQ(reader.Evaluate(s, out), 1);
    EXPECT_EQ(out, L"5");
    EXPECT_EQ(CFormula::m_R0.GetType(), DT_INT64);
    EXPECT_EQ(CFormula::m_R1.GetInt(), 3);
    // A failure leaves them as they are.
    ASSERT_EQ(f.SetPostfix(s, L"1 0 /"), 1);
    EXPECT_EQ(f.Evaluate(s, out), 0);
    EXPECT_EQ(CFormula::m_R0.GetInt64(), 5);
    EXPECT_EQ(CFormula::m_R1.GetInt(), 3);
    EXPECT_EQ(CFormula::m_R2.GetInt(), 2);
}

TEST_F(FormulaTest, ResultsAreTypedByPrecision) {
    struct Case {
        CFormula::PRECISION precision;
        DT_DATA_TYPE type;
        const wchar_t* text;
    } cases[] = {
        {CFormula::PRECISION_INT, DT_INT, L"103"},
        {CFormula::PRECISION_INT64, DT_INT64, L"103"},
        {CFormula::PRECISION_DOUBLE, DT_DOUBLE, L"103.000000"},
        {CFormula::PRECISION_STRING, DT_STR, L"1003"},
    };
    for (const Case& c : cases) {
        CFormula f;
        f.SetPrecision(c.precision);
        ASSERT_EQ(f.SetFormula(s, L"price + qty"), 1);
        CVariant value;
        ASSERT_EQ(f.Evaluate(s, value), 1);
        EXPECT_EQ(value.GetType(), c.type) << c.precision;
        EXPECT_TRUE(value == CFormula::m_R0) << c.precision;
        std::wstring text;
        ASSERT_EQ(value.Get(text), true);
        EXPECT_EQ(text, c.text) << c.precision;
    }
}

TEST_F(FormulaTest, EvaluateNEYieldsThePrecisionsZero) {
    struct Case {
        CFormula::PRECISION precision;
        const wchar_t* text;
        DT_DATA_TYPE type;
    } cases[] = {
        {CFormula::PRECISION_INT, L"0", DT_INT},
        {CFormula::PRECISION_INT64, L"0", DT_INT64},
        {CFormula::PRECISION_DOUBLE, L"0.000000", DT_DOUBLE},
        {CFormula::PRECISION_STRING, L"0.000000", DT_DOUBLE},
    };
    for (const Case& c : cases) {
        CFormula::m_R0.SetInt(9);
        CFormula f;
        f.SetPrecision(c.precision);
        ASSERT_EQ(f.SetFormula(s, L"7 / 0"), 1);
        std::wstring out = L"untouched";
        EXPECT_EQ(f.EvaluateNE(s, out), 1);
        EXPECT_EQ(out, c.text) << c.precision;
        EXPECT_EQ(CFormula::m_R0.GetType(), c.type) << c.precision;
        EXPECT_EQ(CFormula::m_R0.GetDouble(), 0.0) << c.precision;
        EXPECT_EQ(CFormula::m_R1.GetInt(), 9) << "the registers shift: " << c.precision;
    }
    CFormula good;
    ASSERT_EQ(good.SetFormula(s, L"7 / 2"), 1);
    std::wstring out;
    EXPECT_EQ(good.EvaluateNE(s, out), 1);
    EXPECT_EQ(out, L"3");
}

TEST_F(FormulaTest, ConversionErrorsAreShownWithTheText) {
    for (const wchar_t* infix : {L"(price + 1", L"price + 1)", L"price # 2"}) {
        notices.confirms.clear();
        CFormula f;
        EXPECT_EQ(f.SetFormula(s, infix), 0) << infix;
        EXPECT_EQ(Confirms(),
                  std::vector<std::wstring>{L"Formula Parse Error : " + std::wstring(infix)});
    }
}

TEST_F(FormulaTest, ChangeFieldRowMovesFieldsFromTheirCompiledRows) {
    CFormula f;
    ASSERT_EQ(f.SetFormula(s, L"price + book.bid + [1].qty * 1000"), 1);
    struct Step {
        int row, innerRow, innerField;
        const wchar_t* expected; // price(row) + bid(row, inner) + 1000 * qty(1 + row)
    } steps[] = {
        {-1, -1, -1, L"4100"},
        {1, -1, -1, L"5210"},
        {1, 2, test::BOOK, L"5212"},
        {-1, 1, test::BOOK, L"5211"}, // outer rows stay where they were moved
        {0, 0, test::PRICE, L"4101"}, // another inner field: the inner row stays
        {0, 2, -1, L"4101"},
        {2, 0, test::BOOK, L"<fail>"}, // [1].qty moves to row 3, which does not exist
        {INT_MAX, -1, -1, L"<fail>"},
        {0, 0, test::BOOK, L"4100"},
    };
    for (const Step& step : steps) {
        f.ChangeFieldRow(step.row, step.innerRow, step.innerField);
        std::wstring out;
        EXPECT_EQ(f.Evaluate(s, out) ? out : L"<fail>", step.expected)
            << step.row << " " << step.innerRow << " " << step.innerField;
    }
}

} // namespace
