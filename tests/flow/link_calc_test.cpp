#include "flow/link_calc.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/contracts.h"
#include "data/struct.h"
#include "markup_page.h"

namespace test {

// A visual object that keeps the user state it was given last.
class StateProbe : public XDO {
    ORVO_DISPATCH_MAP()

public:
    StateProbe() { m_nStyle |= XDO_STYLE_UI; }
    int SetUserState(int state, int) { return userState = state; }
    int userState = -1;
};

} // namespace test

ORVO_DISPATCH(test::StateProbe, XDO, ORVO_PROVIDE(orvo::contract::VisualSetUserState, SetUserState))

namespace {

class LinkCalcTest : public test::MarkupPageTest {
protected:
    void SetUp() override {
        MarkupPageTest::SetUp();
        IXO::Register(L"CalcProbe", []() -> IXO* { return new test::StateProbe(); });
        Open(R"(<metaio Name="Page">
  <structure Name="quote" count="1">
    <this.field item="a" type="Integer"/><this.field item="b" type="Integer"/>
    <this.field item="c" type="Integer"/><this.field item="day" type="String" size="8"/>
  </structure>
  <CalcProbe Name="base"/><CalcProbe Name="up"/><CalcProbe Name="down"/>
  <CalcProbe Name="same"/><CalcProbe Name="blank"/>
</metaio>)");
    }
    void TearDown() override {
        MarkupPageTest::TearDown();
        IXO::Unregister(L"CalcProbe");
    }

    // One calc over the single row `row` ("a,b,c,day"): its value, "<none>" when it answers 0,
    // "<kept>" when it succeeds without touching the value.
    std::wstring Calc(const std::string& attributes, const wchar_t* row = L"") {
        auto* quote = Find<XStruct>(L"quote");
        quote->RmStruct();
        quote->AddRecord(row);
        auto e = Parse("<calc " + attributes + "/>");
        CDRLinkCalc calc;
        if (!calc.SetElement(e.get(), quote, 0))
            return L"<refused>";
        calc.MakeObject(page.get());
        calc.LinkObject(page.get());
        std::wstring value = L"<kept>";
        return calc.GetValue(quote, value) ? value : L"<none>";
    }
    void SetData(std::vector<std::pair<const wchar_t*, const wchar_t*>> data) {
        for (auto [name, text] : data)
            page->GetObjByNameDown(name)->SetData(text);
    }
};

TEST_F(LinkCalcTest, MethodsOverReceivedValues) {
    struct Case {
        const char* attributes;
        const wchar_t* row;
        const wchar_t* expected;
    } cases[] = {
        {R"(Method="plus" Items="a,b,c")", L"1,2,3", L"6"},
        {R"(Method="Plus" Items="a,b")", L"2147483647,1", L"-2147483648"},
        {R"(Method="Plus" Items="a,b" Link="base" Format="#,##0")", L"1000,234", L"1,234"},
        {R"(Method="Minus" Items="a, b")", L"10,3", L"7"},
        {R"(Method="Minus" Items="a,b,c")", L"10,3", L"<none>"},
        {R"(Method="Divide" Items="a,b")", L"0,5", L"0"},
        {R"(Method="Divide" Items="a,b")", L"7,2", L"3"},
        {R"(Method="Divide" Items="a,b")", L"-7,2", L"-3"},
        {R"(Method="Divide" Items="a,b")", L"7,0", L"0"},
        {R"(Method="Divide" Items="a,b")", L"-2147483648,-1", L"-2147483648"},
        {R"(Method="Divide" Items="a")", L"7,2", L"<none>"},
        {R"(Method="Rate" Items="a,b")", L"100,110", L"9.09%"},
        {R"(Method="Rate" Items="a,b")", L"0,110", L"0"},
        {R"(Method="Rate" Items="a,b")", L"100,0", L"0"},
        {R"(Method="AddSign" Items="a,b")", L"50,5", L"-50"},
        {R"(Method="AddSign" Items="a,b")", L"50,4", L"-50"},
        {R"(Method="AddSign" Items="a,b")", L"50,2", L"50"},
        {R"(Method="AddSign" Items="a")", L"50,5", L"<none>"},
        {R"(Method="LastClose" Items="a,b,c")", L"110,10,2", L"100"},
        {R"(Method="LastClose" Items="a,b,c")", L"110,10,5", L"120"},
        {R"(Method="LastClose" Items="a,b,c")", L"110,10,3", L"110"},
        {R"(Method="LastClose" Items="a,b")", L"110,10,3", L"<none>"},
        {R"(Method="UpDownRatio" Items="a,b,c")", L"110,10,2", L"10.00%"},
        {R"(Method="UpDownRatio" Items="a,b,c")", L"110,10,5", L"-8.33%"},
        {R"(Method="UpDownRatio" Items="a,b,c")", L"10,10,2", L"0.00%"},
        {R"(Method="UpDownRatio" Items="a,b")", L"110,10,2", L"<none>"},
        {R"(Method="FormatDate" Items="day")", L"0,0,0,20240131", L"2024.01.31"},
        {R"(Method="FormatDate" Items="day")", L"0,0,0,240131", L"<none>"},
        {R"(Method="FormatDate" Items="day,a")", L"0,0,0,20240131", L"<none>"},
        {R"(Method="Median" Items="a,b")", L"1,2", L"<none>"},
        {R"(Items="a,b")", L"1,2", L"<refused>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Calc(c.attributes, c.row), c.expected) << c.attributes << " over " << c.row;
    EXPECT_TRUE(notices.confirms.empty());

    EXPECT_EQ(Calc(R"(Method="Minus" Items="a, nosuch ,b")", L"9,4"), L"5");
    EXPECT_EQ(Confirms(), std::vector<std::wstring>{L"Unknown Calc Item: nosuch"});
}

TEST_F(LinkCalcTest, TwoOperandMethodsFallBackOnCalcLinks) {
    SetData({{L"base", L"1,200"}, {L"up", L"50"}, {L"down", L"7"}});
    EXPECT_EQ(Calc(R"(Method="Minus" CalcLink="base,up")"), L"1150");
    EXPECT_EQ(Calc(R"(Method="Divide" CalcLink="base,up")"), L"24");
    EXPECT_EQ(Calc(R"(Method="Minus" CalcLink="base,up,down")"), L"<none>");
    EXPECT_EQ(Calc(R"(Method="Minus" Items="a,b" CalcLink="base,up")", L"5,1"), L"4");
}

TEST_F(LinkCalcTest, PriceStateColoursEachLinkAgainstTheFirst) {
    SetData({{L"base", L"1,000"}, {L"up", L"1,000.5"}, {L"down", L"999"}, {L"same", L"1000"}});
    EXPECT_EQ(Calc(R"(Method="PriceState" CalcLink="base,up,down,same,blank")"), L"<kept>");
    std::vector<int> states;
    for (const wchar_t* name : {L"base", L"up", L"down", L"same", L"blank"})
        states.push_back(Find<test::StateProbe>(name)->userState);
    EXPECT_EQ(states, (std::vector<int>{-1, 2, 5, 3, 3}));
}

} // namespace
