// Bytes from the back end as the answer to a real transaction: the first byte says how many
// records the sender claims, the rest is the data. Whatever arrives, the request maps it and
// writes its links and updates without reading or writing outside what it owns.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "data/tr_set.h"
#include "flow/xdata_request.h"
#include "fuzz_support.h"

namespace {

constexpr std::string_view kTransactions = R"(
<tr id="fuzz">
  <tr id="10002" text="quote list">
    <input><structure Name="in"><this.field item="code" type="String" size="6"/></structure></input>
    <output><structure Name="out">
      <this.field item="code" type="String" size="6"/>
      <this.field item="name" type="String" size="20"/>
      <this.field item="price" type="Integer"/>
      <this.field item="change" type="Integer"/>
      <this.field item="sign" type="Char"/>
      <this.field item="date" type="String" size="8"/>
      <this.field item="volume" type="Integer64"/>
      <structure Name="book" count="0">
        <this.field item="ask" type="Integer"/>
        <this.field item="bid" type="Integer"/>
      </structure>
    </structure></output>
  </tr>
</tr>)";

// The updates' structures come first: an update finds its structure when it is declared.
constexpr std::string_view kPage = R"(<DataControl Name="Page">
  <structure Name="list" MaxRow="8">
    <this.field item="code" type="String" size="6"/>
    <this.field item="price" type="Integer"/>
    <this.field item="prev" type="Integer"/>
    <this.field item="volume" type="Integer64"/>
  </structure>
  <structure Name="depth" count="1">
    <this.field item="ask" type="Integer"/>
  </structure>
  <DataRequest Name="r" TR="10002" Clear="true">
    <this.output Item="name" Link="a"/>
    <this.output Item="price" Link="b" Format="#,##0"/>
    <this.calc Method="LastClose" Items="price,change,sign" Link="c"/>
    <this.calc Method="UpDownRatio" Items="price,change,sign" Link="c"/>
    <this.calc Method="Divide" Items="price,change" Link="c"/>
    <this.calc Method="Rate" Items="change,price" Link="c"/>
    <this.calc Method="FormatDate" Items="date" Link="c"/>
    <this.Formula Formula="price * 100 / change + volume" Link="d"/>
    <this.Update Control="list" Method="Add" Where="Top">
      <Field Item="price" Link="price"/>
      <Field Formula="price - change" Link="prev"/>
    </this.Update>
    <this.Update Control="depth" Method="Copy"/>
    <this.Update Control="list" Method="UpdateByKey" SrcKey="code" TargetKey="code">
      <Field Item="volume" Link="volume"/>
    </this.Update>
  </DataRequest>
  <DataControl Name="a"/><DataControl Name="b"/><DataControl Name="c"/><DataControl Name="d"/>
</DataControl>)";

struct Setup {
    orvo::XDOPtr page;
    XDataRequest* request = nullptr;
    XTR* tr = nullptr;
};

Setup& Once() {
    static Setup setup = [] {
        Setup s;
        XMLParser parser;
        XElement* root = nullptr;
        orvo::fuzz::Check(parser.ParseMemory(kTransactions, &root) != 0);
        XTRSet::Instance().AddChild(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
        s.tr = XTRSet::Instance().GetTRByID(L"10002");
        orvo::fuzz::Check(s.tr != nullptr);
        orvo::fuzz::Check(parser.ParseMemory(kPage, &root) != 0);
        s.page.reset(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
        orvo::fuzz::Check(s.page != nullptr);
        s.request = dynamic_cast<XDataRequest*>(s.page->GetObjByNameDown(L"r"));
        orvo::fuzz::Check(s.request != nullptr && s.request->GetOutputs().size() == 8);
        s.request->MakeObject(s.request);
        s.request->RunObjectEvent(EVT_AFTERCREATE);
        return s;
    }();
    return setup;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    Setup& s = Once();
    orvo::XDOPtr received(XStruct::GetNewInstance(*s.tr->GetOutputStruct(), nullptr));
    auto* answer = static_cast<XStruct*>(received.get());
    // An exact-size copy, so that any read past the data is caught.
    const std::vector<char> bytes(data + 1, data + size);
    const int records = data[0] % 5;
    const bool mapped = answer->MapData(records, static_cast<int>(bytes.size()), bytes.data());
    orvo::fuzz::Check(s.request->OnReceiveData(mapped ? answer : nullptr) == 1);
    XStruct* list = dynamic_cast<XStruct*>(s.page->GetObjByNameDown(L"list"));
    orvo::fuzz::Check(list && list->GetRows() <= 8);
    return 0;
}
