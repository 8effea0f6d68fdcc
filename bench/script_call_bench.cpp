// A "Script." event action declared in markup, run into an empty script Sub, and the script
// object's RunFunction alone, against a C++ method reached by the same dispatch by name.
#include <memory>
#include <string_view>

#include "core/xdo.h"
#include "core/xml_parser.h"
#include "ratio_main.h"
#include "script/script.h"

namespace {

class Button : public XDO {
    ORVO_DISPATCH_MAP()

public:
    // Not inlined, so the baseline pays a real call.
    [[gnu::noinline]] void Click() { ++clicks; }
    int clicks = 0;
};

ORVO_DISPATCH(Button, XDO, ORVO_METHOD(Click))

constexpr std::string_view kMarkup = R"(<lib Name="page">
  <Script>
Sub OnClick(o)
End Sub
  </Script>
  <Button Name="Btn">
    <Event Trigger="Object.Run" Action="Script.OnClick"/>
  </Button>
</lib>)";

// The page of kMarkup: a root, its script and a button whose Run event calls the script.
struct Page {
    Page() {
        XElement* root = nullptr;
        XMLParser().ParseMemory(kMarkup, &root);
        elements.reset(root);
        XElement* scriptElement = root->GetFirstChild();
        XElement* buttonElement = scriptElement->GetNextSibling();
        top = orvo::XDOPtr(new XDO());
        top->SetElement(root);
        script = new XScript();
        top->AddChild(script);
        script->SetElement(scriptElement);
        button = new Button();
        top->AddChild(button);
        button->SetElement(buttonElement);
        button->SetMethod(L"Event", buttonElement->GetFirstChild());
        for (XDO* node : {top.get(), static_cast<XDO*>(script), static_cast<XDO*>(button)})
            node->CreateInstance();
    }

    std::unique_ptr<XElement> elements;
    orvo::XDOPtr top;
    XScript* script = nullptr;
    Button* button = nullptr;
};

Page& ThePage() {
    static Page page;
    return page;
}

void BM_DispatchInvoke(benchmark::State& state) {
    Button* button = ThePage().button;
    orvo::DispVariant result;
    for (auto _ : state) {
        button->Invoke(L"Click", orvo::InvokeMethod, {}, result);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_DispatchInvoke);

void BM_RunFunction(benchmark::State& state) {
    Page& page = ThePage();
    for (auto _ : state)
        benchmark::DoNotOptimize(page.script->RunFunction(L"OnClick", page.button));
    if (!page.script->HaveFunction(L"OnClick"))
        state.SkipWithError("the script did not start");
}
BENCHMARK(BM_RunFunction);

void BM_ScriptAction(benchmark::State& state) {
    Button* button = ThePage().button;
    for (auto _ : state)
        benchmark::DoNotOptimize(button->RunObjectEvent(EVT_RUN));
    if (button->RunObjectEvent(EVT_RUN) != 1)
        state.SkipWithError("the action did not reach the script");
}
BENCHMARK(BM_ScriptAction);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(
        argc,
        argv,
        {{"BM_RunFunction", "BM_DispatchInvoke"}, {"BM_ScriptAction", "BM_DispatchInvoke"}});
}
