// Field lookups on record layouts: by name on a 200-field record, and a two-level path,
// reported with a plain std::unordered_map lookup of the same names for scale.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/inner_struct.h"
#include "data/record.h"
#include "ratio_main.h"

namespace {

std::vector<std::wstring> Names() {
    std::vector<std::wstring> names;
    for (int i = 0; i < 200; ++i)
        names.push_back(L"field" + std::to_wstring(i) + L"_price");
    return names;
}

const CRecord& WideRecord() {
    static const CRecord record = [] {
        CRecord r;
        for (const std::wstring& name : Names())
            r.AddNewField(L"", name, nullptr, DT_INT, 4);
        r.CalcInternals();
        return r;
    }();
    return record;
}

// A quote record with a nested order book of 10 levels.
const CRecord& NestedRecord() {
    static const CRecord record = [] {
        CRecord book;
        book.AddNewField(L"", L"askPrice", nullptr, DT_INT, 4);
        book.AddNewField(L"", L"askQty", nullptr, DT_INT, 4);
        book.AddNewField(L"", L"bidPrice", nullptr, DT_INT, 4);
        book.AddNewField(L"", L"bidQty", nullptr, DT_INT, 4);
        book.CalcInternals();
        CRecord r;
        r.AddNewField(L"", L"code", nullptr, DT_STR, 6);
        r.AddNewField(L"", L"price", nullptr, DT_INT, 4);
        r.AddNewStructField(L"", L"book", std::make_unique<CInnerStruct>(10, book));
        r.CalcInternals();
        return r;
    }();
    return record;
}

void BM_UnorderedMapLookup(benchmark::State& state) {
    std::unordered_map<std::wstring, int> map;
    auto names = Names();
    for (std::size_t i = 0; i < names.size(); ++i)
        map.emplace(names[i], static_cast<int>(i));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(map.find(names[i % names.size()]));
        ++i;
    }
}
BENCHMARK(BM_UnorderedMapLookup);

void BM_GetFieldIndex200(benchmark::State& state) {
    const CRecord& record = WideRecord();
    // Mixed case, as markup writes names.
    auto names = Names();
    for (auto& n : names)
        n[0] = L'F';
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(record.GetFieldIndex(names[i % names.size()]));
        ++i;
    }
}
BENCHMARK(BM_GetFieldIndex200);

void BM_GetRowFieldIndexTwoLevels(benchmark::State& state) {
    const CRecord& record = NestedRecord();
    std::vector<int> path;
    for (auto _ : state) {
        bool ok = record.GetRowFieldIndex(L"[3].book[7].bidQty", path);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(path.data());
    }
}
BENCHMARK(BM_GetRowFieldIndexTwoLevels);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(argc,
                                      argv,
                                      {{"BM_GetFieldIndex200", "BM_UnorderedMapLookup"},
                                       {"BM_GetRowFieldIndexTwoLevels", "BM_UnorderedMapLookup"}});
}
