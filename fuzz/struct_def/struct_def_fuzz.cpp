// Structure definitions built from arbitrary markup: fields, nested structures, rows and
// base names, checked against the layout invariants.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/notice_man.h"
#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "data/inner_struct.h"
#include "data/struct.h"
#include "fuzz_support.h"
#include "object_fuzz_support.h"
#include "platform/base/nocase.h"
#include "platform/base/text.h"

namespace {

// Row memory is real memory: numbers of three digits or more could ask for gigabytes that
// are refused only at the 2 GB limit. Layout refusals are covered by the unit tests.
bool NamesLargeNumbers(std::string_view bytes) {
    int run = 0;
    for (char c : bytes) {
        run = c >= '0' && c <= '9' ? run + 1 : 0;
        if (run > 2)
            return true;
    }
    return false;
}

void CheckLayout(const CRecord& r) {
    const int size = r.GetRecordSize();
    if (size < 0)
        return;
    std::int64_t sum = 0;
    for (int i = 0; i < r.GetFieldCount(); ++i) {
        orvo::fuzz::Check(r.GetOffSet(i) == sum);
        sum += r.GetField(i)->Size;
        if (const CInnerStruct* inner = r.GetField(i)->InnerStruct.get())
            CheckLayout(inner->record);
    }
    orvo::fuzz::Check(sum == size);
}

void Exercise(XDO* obj) {
    std::vector<XDO*> pending{obj};
    while (!pending.empty()) {
        XDO* node = pending.back();
        pending.pop_back();
        if (!node)
            continue;
        pending.push_back(node->child());
        pending.push_back(node->next());
        auto* s = dynamic_cast<XStruct*>(node);
        if (!s)
            continue;
        CheckLayout(s->GetRecord());
        std::wstring text;
        for (int row = 0; row < s->GetRows() && row < 4; ++row) {
            for (int col = 0; col < s->GetFieldCount(); ++col) {
                s->GetVal(row, col, text);
                s->SetVal(row, col, L"12");
            }
        }
        std::vector<int> path;
        s->GetRowFieldIndex(L"[1].a[0].b", path);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (NamesLargeNumbers(bytes) || orvo::fuzz::NamesUserLibraries(bytes))
        return 0;
    static orvo::fuzz::SilentPresenter silent;
    static XMLParser parser;
    XNoticeMan::Instance().SetPresenter(&silent);
    XElement* root = nullptr;
    if (!parser.ParseMemory(bytes, &root))
        return 0;
    orvo::XDOPtr page(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
    if (page)
        Exercise(page.get());
    return 0;
}
