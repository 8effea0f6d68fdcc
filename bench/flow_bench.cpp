// The data flow's hot paths. A real-time tick from the back end to the screen: the received
// bytes mapped into the transaction's output layout, then the request's output links writing
// five objects, against copying the record and formatting the same five values by hand. And a
// gate gathering 100 values and applying them to 100 objects, against filling a map of them.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "data/tr_set.h"
#include "flow/xdata_request.h"
#include "flow/xgate.h"
#include "platform/base/format.h"
#include "ratio_main.h"

namespace {

constexpr int kFields = 20;
constexpr int kLinked = 5;
constexpr int kGateItems = 100;

std::string TickTransaction() {
    std::string fields;
    for (int f = 1; f < kFields; ++f)
        fields += "<this.field item=\"f" + std::to_string(f) + "\" type=\"Integer\"/>";
    return R"(<tr id="benchflow"><tr id="90009" text="tick" RealTime="1">
<output><structure Name="tick"><this.field item="code" type="String" size="6"/>)" +
           fields + "</structure></output></tr></tr>";
}

constexpr std::string_view kTickPage = R"(<DataControl Name="Page">
  <DataRequest Name="r" TR="90009">
    <this.output Item="f1" Link="c1"/><this.output Item="f4" Link="c2"/>
    <this.output Item="f7" Link="c3"/><this.output Item="f10" Link="c4"/>
    <this.output Item="f13" Link="c5"/>
  </DataRequest>
  <DataControl Name="c1"/><DataControl Name="c2"/><DataControl Name="c3"/>
  <DataControl Name="c4"/><DataControl Name="c5"/>
</DataControl>)";

orvo::XDOPtr Open(std::string_view markup) {
    XElement* root = nullptr;
    XMLParser parser;
    if (!parser.ParseMemory(markup, &root))
        return nullptr;
    return orvo::XDOPtr(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
}

struct TickSetup {
    TickSetup() {
        XTRSet::Instance().AddChild(Open(TickTransaction()).release());
        XTR* tr = XTRSet::Instance().GetTRByID(L"90009");
        page = Open(kTickPage);
        request = page ? dynamic_cast<XDataRequest*>(page->GetObjByNameDown(L"r")) : nullptr;
        if (!tr || !request)
            return;
        request->MakeObject(request);
        request->RunObjectEvent(EVT_AFTERCREATE);
        received.reset(XStruct::GetNewInstance(*tr->GetOutputStruct(), nullptr));
        auto* s = static_cast<XStruct*>(received.get());
        s->ConfirmDataMem(1);
        s->SetVal(0, 0, L"005930");
        for (int f = 1; f < kFields; ++f)
            s->SetVal(0, f, CVariant(71500 + f));
        void* row = nullptr;
        s->GetValBlob(0, 0, row);
        wire.assign(static_cast<const char*>(row),
                    static_cast<const char*>(row) + s->GetRecordSize());
        for (int i = 0; i < kLinked; ++i)
            offsets[i] = s->GetRecord().GetOffSet(1 + 3 * i);
    }
    XStruct* Received() const { return static_cast<XStruct*>(received.get()); }
    orvo::XDOPtr page;
    XDataRequest* request = nullptr;
    orvo::XDOPtr received;
    std::vector<char> wire;
    int offsets[kLinked] = {}; // of the linked fields f1, f4, f7, f10, f13
};

TickSetup& Ticks() {
    static TickSetup setup;
    return setup;
}

// One tick: the bytes mapped, then every output link of the request written.
void BM_TickToLinkedObjects(benchmark::State& state) {
    TickSetup& t = Ticks();
    if (!t.request || t.wire.empty()) {
        state.SkipWithError("the tick page did not build");
        return;
    }
    std::int32_t price = 71500;
    for (auto _ : state) {
        std::memcpy(t.wire.data() + t.offsets[0], &price, sizeof price); // f1 moves every tick
        ++price;
        t.Received()->MapData(1, static_cast<int>(t.wire.size()), t.wire.data());
        t.request->OnReceiveData(t.Received());
    }
    std::wstring last;
    t.page->GetObjByNameDown(L"c1")->GetData(&last);
    if (last != plat::FormatInt(price - 1))
        state.SkipWithError("the last tick did not reach its object");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TickToLinkedObjects);

// The same by hand: copy the record, read five integers, format them into five texts.
void BM_CopyRecordAndFormatFive(benchmark::State& state) {
    TickSetup& t = Ticks();
    std::vector<char> row(t.wire.size());
    std::wstring cells[kLinked];
    std::int32_t price = 71500;
    for (auto _ : state) {
        std::memcpy(t.wire.data() + t.offsets[0], &price, sizeof price);
        ++price;
        std::memcpy(row.data(), t.wire.data(), t.wire.size());
        for (int i = 0; i < kLinked; ++i) {
            std::int32_t v = 0;
            std::memcpy(&v, row.data() + t.offsets[i], sizeof v);
            cells[i] = plat::FormatInt(v);
        }
        benchmark::DoNotOptimize(cells);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CopyRecordAndFormatFive);

std::string GatePage() {
    std::string out = R"(<DataControl Name="Page"><gate Name="source" Type="Output">)";
    for (int i = 0; i < kGateItems; ++i)
        out += "<this.GateItem Name=\"k" + std::to_string(i) + "\" Type=\"Output\" Value=\"" +
               std::to_string(1000 + i) + "\"/>";
    out += R"(<DataControl/></gate><gate Name="sink" Type="Input">)";
    for (int i = 0; i < kGateItems; ++i)
        out += "<this.GateItem Name=\"k" + std::to_string(i) + "\" Type=\"Input\" Link=\"t" +
               std::to_string(i) + "\"/>";
    for (int i = 0; i < kGateItems; ++i)
        out += "<DataControl Name=\"t" + std::to_string(i) + "\"/>";
    return out + "</gate></DataControl>";
}

void BM_GateGatherAndApply100(benchmark::State& state) {
    orvo::XDOPtr page = Open(GatePage());
    auto* gate = page ? dynamic_cast<XGate*>(page->GetObjByNameDown(L"source")) : nullptr;
    if (!gate || !gate->TriggerVB()) {
        state.SkipWithError("the gate page did not build");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(gate->TriggerVB());
    std::wstring last;
    page->GetObjByNameDown(L"t99")->GetData(&last);
    if (last != L"1099")
        state.SkipWithError("the values did not arrive");
    state.SetItemsProcessed(state.iterations() * kGateItems);
}
BENCHMARK(BM_GateGatherAndApply100);

// The same 100 values gathered into a map by key and copied out to 100 texts.
void BM_MapOf100Values(benchmark::State& state) {
    std::vector<std::wstring> keys, values, targets(kGateItems);
    for (int i = 0; i < kGateItems; ++i) {
        keys.push_back(L"k" + std::to_wstring(i));
        values.push_back(std::to_wstring(1000 + i));
    }
    for (auto _ : state) {
        std::unordered_map<std::wstring, std::wstring> element;
        for (int i = 0; i < kGateItems; ++i)
            element.emplace(keys[i], values[i]);
        for (int i = 0; i < kGateItems; ++i)
            targets[i] = element.find(keys[i])->second;
        benchmark::DoNotOptimize(targets);
    }
    state.SetItemsProcessed(state.iterations() * kGateItems);
}
BENCHMARK(BM_MapOf100Values);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(argc,
                                      argv,
                                      {{"BM_TickToLinkedObjects", "BM_CopyRecordAndFormatFive"},
                                       {"BM_GateGatherAndApply100", "BM_MapOf100Values"}});
}
