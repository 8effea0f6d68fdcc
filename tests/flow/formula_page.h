#pragma once
// A page for formula tests, built from markup the way a screen builds it: the structure
// "quote" the formulas run against (three rows, an inner structure "book" of three rows),
// a second structure "other", a plain object "Last" holding a text, and "Grid", a visual
// object whose part "[first]" is its first child.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/contracts.h"
#include "core/notice_man.h"
#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "data/struct.h"
#include "flow/formula.h"
#include "support/recording_presenter.h"

namespace test {

class PartsObject : public XDO {
    ORVO_DISPATCH_MAP()

public:
    PartsObject() { m_nStyle |= XDO_STYLE_UI; }
    XDO* GetSubObject(const wchar_t* name) {
        return std::wstring_view(name) == L"first" ? child() : nullptr;
    }
};

enum QuoteCol { PRICE, QTY, BIG, PX, CODE, MEMO, BOOK };

class FormulaTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
        IXO::Register(L"TestItem", []() -> IXO* { return new XDO(); });
        IXO::Register(L"TestParts", []() -> IXO* { return new PartsObject(); });
        XElement* root = nullptr;
        XMLParser parser;
        ASSERT_TRUE(parser.ParseMemory(kPage, &root));
        page.reset(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
        ASSERT_NE(page, nullptr);
        s = dynamic_cast<XStruct*>(page->GetObjByNameDown(L"quote"));
        ASSERT_NE(s, nullptr);
        // Row r: price 100(r+1), qty r+3, book bid (r, i) = 10r + i.
        for (int r = 0; r < 3; ++r) {
            ASSERT_TRUE(s->SetVal(r, PRICE, std::to_wstring(100 * (r + 1)).c_str()));
            ASSERT_TRUE(s->SetVal(r, QTY, std::to_wstring(r + 3).c_str()));
            for (int i = 0; i < 3; ++i)
                ASSERT_TRUE(s->SetVal(std::vector<int>{r, BOOK, i, 0}, CVariant(10 * r + i)));
        }
        ASSERT_TRUE(s->SetVal(0, BIG, L"5000000000"));
        ASSERT_TRUE(s->SetVal(0, PX, L"2.5"));
        ASSERT_TRUE(s->SetVal(0, CODE, L"AB"));
        ASSERT_TRUE(s->SetVal(0, MEMO, L"CD"));
        ASSERT_TRUE(s->SetVal(1, CODE, L"ABC"));
        ASSERT_TRUE(s->SetVal(1, MEMO, L"abc"));
        page->GetObjByNameDown(L"Last")->SetData(L"17.75");
        page->GetObjByNameDown(L"c1")->SetData(L"11");
        CFormula::m_R0.SetNull();
        CFormula::m_R1.SetNull();
        CFormula::m_R2.SetNull();
        ASSERT_TRUE(notices.confirms.empty());
    }
    void TearDown() override {
        page.reset();
        IXO::Unregister(L"TestItem");
        IXO::Unregister(L"TestParts");
        XNoticeMan::Instance().SetPresenter(previous);
    }

    // The text of one evaluation of `text` (infix, or postfix when `postfix`) over `row`
    // of "quote", or "<fail>".
    std::wstring Eval(CFormula::PRECISION precision,
                      const std::wstring& text,
                      bool postfix = false,
                      int row = 0) {
        CFormula f;
        f.SetPrecision(precision);
        if (!(postfix ? f.SetPostfix(s, text) : f.SetFormula(s, text)))
            return L"<refused>";
        f.LinkObject(s);
        f.ChangeFieldRow(row, -1, -1);
        std::wstring out;
        return f.Evaluate(s, out) ? out : L"<fail>";
    }
    std::vector<std::wstring> Confirms() const {
        std::vector<std::wstring> texts;
        for (const auto& c : notices.confirms)
            texts.push_back(c.text);
        return texts;
    }

    static constexpr std::string_view kPage = R"(<metaio Name="Page">
  <structure Name="quote" count="3">
    <this.field item="price" type="Integer"/>
    <this.field item="qty" type="Integer"/>
    <this.field item="big" type="Integer64"/>
    <this.field item="px" type="Double"/>
    <this.field item="code" type="String" size="8"/>
    <this.field item="memo" type="String"/>
    <structure Name="book" count="3">
      <this.field item="bid" type="Integer"/>
    </structure>
  </structure>
  <structure Name="other" count="1">
    <this.field item="last" type="Integer" value="42"/>
  </structure>
  <TestItem Name="Last"/>
  <TestParts Name="Grid"><TestItem Name="c1"/></TestParts>
</metaio>)";

    RecordingPresenter notices;
    orvo::NoticePresenter* previous = nullptr;
    orvo::XDOPtr page;
    XStruct* s = nullptr;
};

} // namespace test
