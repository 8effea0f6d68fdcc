// Cell paths of arbitrary text against a fixed structure with an inner structure: a path
// either resolves to valid row and field pairs or to nothing.
#include <cstdint>
#include <memory>
#include <vector>

#include "data/inner_struct.h"
#include "data/record.h"
#include "fuzz_support.h"

namespace {

const CRecord& Layout() {
    static const CRecord record = [] {
        CRecord inner;
        inner.AddNewField(L"", L"code", nullptr, DT_STR, 4);
        inner.AddNewField(L"", L"px", nullptr, DT_INT, 4);
        CRecord r;
        r.AddNewField(L"acct", L"account", nullptr, DT_STR, 10);
        r.AddNewField(L"", L"qty", nullptr, DT_INT, 4);
        r.AddNewStructField(L"", L"items", std::make_unique<CInnerStruct>(3, inner));
        r.AddNewField(L"", L"name", nullptr, DT_PT_STR, 4);
        return r;
    }();
    return record;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring path = orvo::fuzz::Widen(data, size);
    std::vector<int> out{-1};
    const bool resolved = Layout().GetRowFieldIndex(path.c_str(), out);
    orvo::fuzz::Check(resolved == !out.empty());
    orvo::fuzz::Check(out.size() % 2 == 0 && out.size() <= 4);
    const CRecord* record = &Layout();
    for (std::size_t i = 0; i < out.size(); i += 2) {
        orvo::fuzz::Check(out[i] >= 0);
        const CRecord::CField* field = record ? record->GetField(out[i + 1]) : nullptr;
        orvo::fuzz::Check(field != nullptr);
        record = field->InnerStruct ? &field->InnerStruct->record : nullptr;
    }
    return 0;
}
