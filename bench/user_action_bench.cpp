// A "User." event action into an exported function of liborvo.so (SetData), run as a declared
// event and as a one-off XDO::Action, against calling the same function through its pointer.
#include <memory>
#include <string_view>

#include "core/object_lifetime.h"
#include "core/xdo.h"
#include "core/xml_parser.h"
#include "platform/base/module.h"
#include "ratio_main.h"

namespace {

using UserFunction = int (*)(XDO*, const wchar_t*);

constexpr std::string_view kEvent =
    R"xml(<Event Trigger="Object.Run" Action="User.Run(orvo, SetData, price, 71000)"/>)xml";

// A root and "price", whose Run event sets its own data through the exported function.
struct Page {
    Page() : top(orvo::XDOPtr(new XDO())), module(plat::Module::Open(L"orvo")) {
        XElement* event = nullptr;
        XMLParser().ParseMemory(kEvent, &event);
        element.reset(event);
        top->SetName(L"screen");
        price = new XDO();
        price->SetName(L"price");
        top->AddChild(price);
        price->SetMethod(L"Event", event);
        top->CreateInstance();
        price->CreateInstance();
        direct = reinterpret_cast<UserFunction>(module.Symbol("SetData"));
    }

    std::unique_ptr<XElement> element;
    orvo::XDOPtr top;
    XDO* price = nullptr;
    plat::Module module;
    UserFunction direct = nullptr;
};

Page& ThePage() {
    static Page page;
    return page;
}

bool PriceIs(const wchar_t* expected) {
    std::wstring value;
    ThePage().price->GetData(&value);
    return value == expected;
}

void BM_DirectCall(benchmark::State& state) {
    Page& page = ThePage();
    if (!page.direct) {
        state.SkipWithError("liborvo.so does not export SetData");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(page.direct(page.price, L"price, 71000"));
}
BENCHMARK(BM_DirectCall);

void BM_DeclaredUserAction(benchmark::State& state) {
    Page& page = ThePage();
    page.price->SetData(L"");
    for (auto _ : state)
        benchmark::DoNotOptimize(page.price->RunObjectEvent(EVT_RUN));
    if (!PriceIs(L"71000"))
        state.SkipWithError("the action did not reach SetData");
}
BENCHMARK(BM_DeclaredUserAction);

// Parses the action and opens the module each time, as a script's "Action" call does.
void BM_OneOffAction(benchmark::State& state) {
    Page& page = ThePage();
    page.price->SetData(L"");
    for (auto _ : state)
        benchmark::DoNotOptimize(page.price->Action(L"User.Run(orvo, SetData, price, 71000)"));
    if (!PriceIs(L"71000"))
        state.SkipWithError("the action did not reach SetData");
}
BENCHMARK(BM_OneOffAction);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(
        argc,
        argv,
        {{"BM_DeclaredUserAction", "BM_DirectCall"}, {"BM_OneOffAction", "BM_DirectCall"}});
}
