// Filters and sorts over 100,000 rows. A filter following one updated row against a filter
// recomputed from scratch after it (the speed-up of following changes), and a sort by a
// numeric field against std::stable_sort of the same keys.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "data/struct.h"
#include "flow/xfilter.h"
#include "flow/xsort.h"
#include "ratio_main.h"

namespace {

constexpr int kRows = 100'000;
constexpr int kChange = 1; // column of the change in the rows

struct Views {
    Views() {
        XElement* root = nullptr;
        XMLParser parser;
        if (!parser.ParseMemory(R"(<metaio Name="page">
  <structure Name="ticks" count="0">
    <this.field item="code" type="String" size="8"/>
    <this.field item="chg" type="Integer"/>
  </structure>
  <structure Name="board" count="0">
    <this.field item="code" type="String" size="8"/>
    <this.field item="chg" type="Integer"/>
  </structure>
  <filter Name="rising" DataSource="ticks" Formula="chg > 0"/>
  <Sort Name="byChange" DataSource="board" Field="chg" Type="INT"/>
</metaio>)",
                                &root))
            return;
        page.reset(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
        // The filter's rows and the sort's are apart, so each measures only itself.
        ticks = page ? dynamic_cast<XStruct*>(page->GetObjByNameDown(L"ticks")) : nullptr;
        auto* board = page ? dynamic_cast<XStruct*>(page->GetObjByNameDown(L"board")) : nullptr;
        if (!ticks || !board || !ticks->ConfirmDataMem(kRows) || !board->ConfirmDataMem(kRows))
            return;
        std::mt19937 random(7);
        for (int r = 0; r < kRows; ++r) {
            const int change = static_cast<int>(random() % 2001) - 1000;
            changes.push_back(change);
            ticks->SetVal(r, kChange, change);
            board->SetVal(r, kChange, change);
        }
        filter = dynamic_cast<XFilter*>(page->GetObjByNameDown(L"rising"));
        sort = dynamic_cast<XSort*>(page->GetObjByNameDown(L"byChange"));
    }
    bool Ready() const { return filter && sort; }

    orvo::XDOPtr page;
    XStruct* ticks = nullptr;
    XFilter* filter = nullptr;
    XSort* sort = nullptr;
    std::vector<int> changes;
};

Views& TheViews() {
    static Views views;
    return views;
}

// The last row takes a new change, as a tick updating the newest row does.
void UpdateLast(Views& v, int step) {
    v.ticks->SetVal(kRows - 1, kChange, step % 2 ? 5 : -5);
}

void BM_FilterFollowsAnUpdatedRow(benchmark::State& state) {
    Views& v = TheViews();
    if (!v.Ready()) {
        state.SkipWithError("the views did not open");
        return;
    }
    v.ticks->NotifyChange(0, 0);
    if (v.filter->GetRows() == 0) {
        state.SkipWithError("the filter shows no rows");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        UpdateLast(v, ++step);
        v.ticks->NotifyChange(0x10002, 0);
        benchmark::DoNotOptimize(v.filter->GetRows());
    }
}
BENCHMARK(BM_FilterFollowsAnUpdatedRow)->Unit(benchmark::kMicrosecond);

void BM_FilterRecomputedAfterAnUpdatedRow(benchmark::State& state) {
    Views& v = TheViews();
    if (!v.Ready()) {
        state.SkipWithError("the views did not open");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        UpdateLast(v, ++step);
        v.ticks->NotifyChange(0, 0);
        benchmark::DoNotOptimize(v.filter->GetRows());
    }
}
BENCHMARK(BM_FilterRecomputedAfterAnUpdatedRow)->Unit(benchmark::kMicrosecond);

void BM_SortByNumericField(benchmark::State& state) {
    Views& v = TheViews();
    if (!v.Ready()) {
        state.SkipWithError("the views did not open");
        return;
    }
    bool descending = false;
    for (auto _ : state) {
        descending = !descending;
        v.sort->ChangeO(descending ? L"DESC" : L"ASC");
        benchmark::DoNotOptimize(v.sort->GetOrgRow(0));
    }
}
BENCHMARK(BM_SortByNumericField)->Unit(benchmark::kMillisecond);

// The keys alone, sorted as row numbers ordered by key, one way and the other.
void BM_StableSortOfTheKeys(benchmark::State& state) {
    const std::vector<int>& keys = TheViews().changes;
    std::vector<int> rows(keys.size());
    bool descending = false;
    for (auto _ : state) {
        descending = !descending;
        for (std::size_t r = 0; r < rows.size(); ++r)
            rows[r] = static_cast<int>(r);
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
            const int ka = keys[static_cast<std::size_t>(a)];
            const int kb = keys[static_cast<std::size_t>(b)];
            return descending ? ka > kb : ka < kb;
        });
        benchmark::DoNotOptimize(rows.front());
    }
}
BENCHMARK(BM_StableSortOfTheKeys)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(
        argc,
        argv,
        {{"BM_FilterRecomputedAfterAnUpdatedRow", "BM_FilterFollowsAnUpdatedRow"},
         {"BM_SortByNumericField", "BM_StableSortOfTheKeys"}});
}
