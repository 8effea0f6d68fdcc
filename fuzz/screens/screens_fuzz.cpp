// Pages built from arbitrary markup: every tag, declaration, event and message the input
// names is built, created, started and destroyed.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "object_fuzz_support.h"
#include "core/notice_man.h"
#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "platform/base/nocase.h"
#include "platform/base/text.h"

namespace {

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (orvo::fuzz::NamesUserLibraries(bytes))
        return 0;
    static orvo::fuzz::SilentPresenter silent;
    static XMLParser parser;
    XNoticeMan::Instance().SetPresenter(&silent);
    XElement* root = nullptr;
    if (!parser.ParseMemory(bytes, &root))
        return 0;
    XElement parameters(L"param");
    parameters.SetValue(L"code", L"005930");
    orvo::XDOPtr page(XScrMan::Instance().OpenPageMem(root, nullptr, &parameters));
    if (page) {
        page->GetNearObjByName(L"a");
        page->BroadcastMsgVB(L"Ping", L"x=1");
        page->SendEvtVB(L"Done", L"");
    }
    return 0;
}
