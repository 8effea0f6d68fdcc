#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula_page.h"

ORVO_DISPATCH(test::PartsObject,
              XDO,
              ORVO_PROVIDE(orvo::contract::VisualGetSubObject, GetSubObject))

namespace {

using test::FormulaTest;
using Kind = CFormula::CToken::KIND;

TEST_F(FormulaTest, NamedObjectsReadTheirDataOrTheirFields) {
    struct Case {
        CFormula::PRECISION precision;
        const wchar_t* infix;
        const wchar_t* expected;
    } cases[] = {
        {CFormula::PRECISION_INT, L"Last + 1", L"18"},
        {CFormula::PRECISION_INT, L":Last * 2", L"34"},
        {CFormula::PRECISION_INT64, L"Last", L"17"},
        {CFormula::PRECISION_DOUBLE, L"Last * 2", L"35.500000"},
        {CFormula::PRECISION_STRING, L"Last + code", L"17.75AB"},
        {CFormula::PRECISION_INT, L"other.last - 2", L"40"},
        {CFormula::PRECISION_STRING, L":other.last + 1", L"421"},
        {CFormula::PRECISION_INT, L"Grid.[first] + 1", L"12"},
        {CFormula::PRECISION_INT, L"Grid.[other] + 1", L"1"}, // no such part: the object
        {CFormula::PRECISION_INT, L"other.nosuch + 1", L"1"}, // no such field: the object
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Eval(c.precision, c.infix), c.expected) << c.infix;
    }
    EXPECT_TRUE(notices.confirms.empty());

    CFormula f;
    ASSERT_EQ(f.SetPostfix(s, L"other.last"), 1);
    f.LinkObject(s);
    EXPECT_EQ(f.GetTokens()[0]->kind, Kind::IO_FIELD);
    EXPECT_EQ(f.GetTokens()[0]->currentPath, (std::vector<int>{0, 0}));
}

TEST_F(FormulaTest, UnknownNamesAreReportedOnceAndReadAsZero) {
    CFormula f;
    ASSERT_EQ(f.SetFormula(s, L"nosuch + gone.field + 5"), 1);
    std::wstring out;
    ASSERT_EQ(f.Evaluate(s, out), 1) << "before linking a named object reads 0";
    EXPECT_EQ(out, L"5");
    f.LinkObject(s);
    EXPECT_EQ(Confirms(),
              (std::vector<std::wstring>{L"Unknown Formula Item : nosuch",
                                         L"Unknown Formula Item : gone.field"}));
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(f.Evaluate(s, out), 1);
        EXPECT_EQ(out, L"5");
    }
    EXPECT_EQ(notices.confirms.size(), 2u) << "evaluation reports nothing more";

    CFormula text;
    text.SetPrecision(CFormula::PRECISION_STRING);
    ASSERT_EQ(text.SetFormula(s, L"code + nosuch"), 1);
    text.LinkObject(nullptr);
    ASSERT_EQ(text.Evaluate(s, out), 1);
    EXPECT_EQ(out, L"AB0");
}

TEST_F(FormulaTest, DestroyedObjectsReadAsZeroOrAreLeftOut) {
    CFormula data;
    ASSERT_EQ(data.SetFormula(s, L"Last + 1"), 1);
    data.LinkObject(s);
    CFormula field;
    ASSERT_EQ(field.SetFormula(s, L"other.last + 1"), 1);
    field.LinkObject(s);

    orvo::DestroyObject(page->GetObjByNameDown(L"Last"));
    orvo::DestroyObject(page->GetObjByNameDown(L"other"));
    std::wstring out;
    ASSERT_EQ(data.Evaluate(s, out), 1);
    EXPECT_EQ(out, L"1");
    EXPECT_EQ(field.Evaluate(s, out), 0) << "the field of a gone structure cannot be read";
}

} // namespace
