// The simulated exchange's real-time ticks: a price step, the answer packed in the push
// transaction's layout, mapped into the received structure and handed to the requester;
// reported against the price step alone.
#include <memory>
#include <string_view>

#include "backends/sim/sim_exchange.h"
#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "data/struct.h"
#include "data/tr.h"
#include "platform/base/event_loop.h"
#include "ratio_main.h"

namespace {

constexpr std::string_view kPush = R"(
<tr id="90001" Realtime="1">
  <output><structure Name="tick">
    <this.field item="code" type="String" size="6"/>
    <this.field item="name" type="String" size="20"/>
    <this.field item="price" type="Integer"/>
    <this.field item="change" type="Integer"/>
    <this.field item="volume" type="Integer64"/>
    <this.field item="time" type="String" size="6"/>
    <structure Name="book" count="5">
      <this.field item="askPrice" type="Integer"/>
      <this.field item="askQty" type="Integer"/>
      <this.field item="bidPrice" type="Integer"/>
      <this.field item="bidQty" type="Integer"/>
    </structure>
  </structure></output>
</tr>)";

class Requester : public XDO {
    ORVO_DISPATCH_MAP()

public:
    int OnReceiveData(XStruct* received) {
        int price = 0;
        received->GetVal(0, 2, price);
        sum += price;
        return 1;
    }
    long long sum = 0;
};

ORVO_DISPATCH(Requester, XDO, ORVO_METHOD(OnReceiveData))

void BM_PriceStep(benchmark::State& state) {
    sim::Market market(sim::Scenario::BuiltIn());
    for (auto _ : state) {
        market.Step(market.NextInTurn());
        benchmark::DoNotOptimize(market.First().price);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PriceStep);

void BM_PushTick(benchmark::State& state) {
    plat::QueueEventLoop loop([] { return 0; });
    plat::EventLoop::Install(&loop);
    XElement* root = nullptr;
    XMLParser parser;
    orvo::XDOPtr page;
    if (parser.ParseMemory(kPush, &root))
        page.reset(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
    auto* tr = dynamic_cast<XTR*>(page.get());
    sim::SimExchange exchange;
    Requester requester;
    if (!tr || !exchange.InitWith(sim::Scenario::BuiltIn()) ||
        !exchange.RegPushTr(90001, tr, &requester) || exchange.PushTick() != 1 ||
        requester.sum <= 0) {
        state.SkipWithError("the push could not be set up");
        plat::EventLoop::Install(nullptr);
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(exchange.PushTick());
    state.SetItemsProcessed(state.iterations());
    exchange.Final();
    plat::EventLoop::Install(nullptr);
}
BENCHMARK(BM_PushTick);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(argc, argv, {{"BM_PushTick", "BM_PriceStep"}});
}
