// The object tree at screen size: finding a name far away, a message broadcast through every
// object, and a change notified to many listeners, each against the plainest loop that does
// the same visiting.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/xdo.h"
#include "platform/base/nocase.h"
#include "ratio_main.h"

namespace {

constexpr int kPanels = 100;
constexpr int kControlsPerPanel = 100;
constexpr int kListeners = 1000;

class BenchNode : public XDO {
public:
    // Not inlined, so the baselines pay a real call per object.
    [[gnu::noinline]] virtual void Touch() { ++touched; }
    [[gnu::noinline]] void OnNotifierChanged(XDO*, int, int a, int) override { touched += a; }
    int touched = 0;
};

std::wstring ControlName(int panel, int control) {
    return L"ctl_" + std::to_wstring(panel) + L"_" + std::to_wstring(control);
}

// A screen of 100 panels with 100 named controls each, built once.
struct Screen {
    Screen() : root(std::make_unique<BenchNode>()) {
        root->SetName(L"screen");
        all.push_back(root.get());
        for (int p = 0; p < kPanels; ++p) {
            auto* panel = new BenchNode();
            panel->SetName(L"panel_" + std::to_wstring(p));
            root->AddChild(panel);
            all.push_back(panel);
            for (int c = 0; c < kControlsPerPanel; ++c) {
                auto* control = new BenchNode();
                control->SetName(ControlName(p, c));
                panel->AddChild(control);
                all.push_back(control);
                names.push_back(control->GetName());
            }
        }
        first = root->child()->child();
    }

    std::unique_ptr<BenchNode> root;
    std::vector<BenchNode*> all;
    std::vector<std::wstring> names;
    XDO* first = nullptr; // the first control of the first panel
};

Screen& TheScreen() {
    static Screen screen;
    return screen;
}

const std::wstring kFarName = ControlName(kPanels - 1, kControlsPerPanel - 1);

void BM_NearObjByNameFarAway(benchmark::State& state) {
    Screen& screen = TheScreen();
    for (auto _ : state)
        benchmark::DoNotOptimize(screen.first->GetNearObjByName(kFarName.c_str()));
}
BENCHMARK(BM_NearObjByNameFarAway);

// The same names in a flat list, compared the same way (without case).
void BM_LinearNameScan(benchmark::State& state) {
    Screen& screen = TheScreen();
    for (auto _ : state) {
        const std::wstring* found = nullptr;
        for (const std::wstring& name : screen.names) {
            if (plat::EqualsNoCase(name, kFarName)) {
                found = &name;
                break;
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_LinearNameScan);

void BM_BroadcastMsg(benchmark::State& state) {
    Screen& screen = TheScreen();
    XElement msg(L"Ping");
    msg.SetValue(L"code", L"005930");
    for (auto _ : state)
        screen.root->SendMsg(0, &msg, nullptr, nullptr);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(screen.all.size()));
}
BENCHMARK(BM_BroadcastMsg);

void BM_VirtualCallPerObject(benchmark::State& state) {
    Screen& screen = TheScreen();
    for (auto _ : state) {
        for (BenchNode* node : screen.all)
            node->Touch();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(screen.all.size()));
}
BENCHMARK(BM_VirtualCallPerObject);

struct Listeners {
    Listeners() : notifier(std::make_unique<BenchNode>()) {
        for (int i = 0; i < kListeners; ++i) {
            listeners.push_back(std::make_unique<BenchNode>());
            notifier->AddListener(listeners.back().get());
            plain.push_back(listeners.back().get());
        }
    }
    std::unique_ptr<BenchNode> notifier;
    std::vector<std::unique_ptr<BenchNode>> listeners;
    std::vector<XDO*> plain;
};

void BM_NotifyChange1000(benchmark::State& state) {
    Listeners set;
    for (auto _ : state)
        set.notifier->NotifyChange(1, 0);
    state.SetItemsProcessed(state.iterations() * kListeners);
}
BENCHMARK(BM_NotifyChange1000);

void BM_DirectVirtualCalls1000(benchmark::State& state) {
    Listeners set;
    XDO* notifier = set.notifier.get();
    for (auto _ : state) {
        for (XDO* listener : set.plain)
            listener->OnNotifierChanged(notifier, 0, 1, 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kListeners);
}
BENCHMARK(BM_DirectVirtualCalls1000);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(argc,
                                      argv,
                                      {
                                          {"BM_NearObjByNameFarAway", "BM_LinearNameScan"},
                                          {"BM_BroadcastMsg", "BM_VirtualCallPerObject"},
                                          {"BM_NotifyChange1000", "BM_DirectVirtualCalls1000"},
                                      });
}
