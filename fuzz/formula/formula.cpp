// Formula text, infix or postfix, compiled against a fixed structure and page and evaluated
// in every precision: a text is refused or evaluates to 1 or 0, never more, and the result
// registers always hold a value afterwards.
//
// Input: the first byte picks the form (bit 0: postfix) and the row shift (bits 1-7); the rest
// is the formula text.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/notice_man.h"
#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "data/struct.h"
#include "flow/formula.h"
#include "flow/infix_to_postfix.h"
#include "fuzz_support.h"
#include "object_fuzz_support.h"

namespace {

constexpr std::string_view kPage = R"(<metaio Name="Page">
  <structure Name="quote" count="2">
    <this.field item="price" type="Integer" value="100"/>
    <this.field item="big" type="Integer64" value="-9223372036854775808"/>
    <this.field item="px" type="Double" value="2.5"/>
    <this.field item="code" type="String" size="4" value="AB"/>
    <this.field item="memo" type="String" value="memo"/>
    <structure Name="book" count="2">
      <this.field item="bid" type="Integer" value="-2147483648"/>
    </structure>
  </structure>
  <structure Name="other" count="1">
    <this.field item="last" type="Integer" value="42"/>
  </structure>
</metaio>)";

struct Fixture {
    Fixture() {
        XNoticeMan::Instance().SetPresenter(&silent);
        XElement* root = nullptr;
        XMLParser parser;
        orvo::fuzz::Check(parser.ParseMemory(kPage, &root));
        page.reset(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
        s = dynamic_cast<XStruct*>(page ? page->GetObjByNameDown(L"quote") : nullptr);
        orvo::fuzz::Check(s != nullptr);
    }
    orvo::fuzz::SilentPresenter silent;
    orvo::XDOPtr page;
    XStruct* s = nullptr;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture fixture;
    if (size < 1)
        return 0;
    const bool postfix = (data[0] & 1) != 0;
    const int shift = data[0] >> 1;
    const std::wstring text = orvo::fuzz::Widen(data + 1, size - 1);

    std::wstring converted;
    const bool converts = postfix || orvo::InfixToPostfix(text, converted);
    for (int p = CFormula::PRECISION_INT; p <= CFormula::PRECISION_STRING; ++p) {
        CFormula f;
        f.SetPrecision(static_cast<CFormula::PRECISION>(p));
        const int compiled =
            postfix ? f.SetPostfix(fixture.s, text) : f.SetFormula(fixture.s, text);
        orvo::fuzz::Check(compiled == 0 || compiled == 1);
        orvo::fuzz::Check(converts || compiled == 0);
        orvo::fuzz::Check(f.GetTokens().size() <= CFormula::MAX_ENTRIES);
        if (!compiled) {
            orvo::fuzz::Check(f.GetTokens().empty());
            continue;
        }
        f.LinkObject(fixture.s);
        f.ChangeFieldRow(shift & 3, shift >> 2, 5);
        std::wstring out;
        const int evaluated = f.Evaluate(fixture.s, out);
        orvo::fuzz::Check(evaluated == 0 || evaluated == 1);
        orvo::fuzz::Check(f.EvaluateNE(fixture.s, out) == 1);
        orvo::fuzz::Check(p == CFormula::PRECISION_STRING || !out.empty());
        orvo::fuzz::Check(CFormula::m_R0.GetType() != DT_NONE);
    }
    return 0;
}
