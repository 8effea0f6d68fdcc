// Calling a method by name through a cached binding against a plain virtual call, and the
// cost of an uncached lookup by name.
#include "nubra/call_site.h"
#include "nubra/ixo.h"
#include "ratio_main.h"

// Outside the anonymous namespace, so the compiler cannot prove Board has no subclasses and
// turn the baseline into a direct call.
namespace dispatch_bench {

class Board : public IXO {
    ORVO_DISPATCH_MAP()

public:
    // Not inlined, so the baseline is a real call rather than an add folded into the loop.
    [[gnu::noinline]] virtual int Price(int code) { return total += code; }
    int total = 0;
};

} // namespace dispatch_bench

using dispatch_bench::Board;

ORVO_DISPATCH(Board, IXO, ORVO_METHOD(Price))

namespace {

Board* TheBoard() {
    static Board board;
    static const int registered = IXO::Register(L"BenchBoard", &board);
    (void)registered;
    return &board;
}

void BM_DirectVirtualCall(benchmark::State& state) {
    Board* board = TheBoard();
    int code = 1;
    // Hidden from the optimiser, so the call stays virtual with a run-time argument.
    benchmark::DoNotOptimize(board);
    benchmark::DoNotOptimize(code);
    for (auto _ : state) {
        benchmark::DoNotOptimize(board->Price(code));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DirectVirtualCall);

void BM_CachedServiceCall(benchmark::State& state) {
    TheBoard();
    static orvo::ServiceCall<int(int)> site(L"BenchBoard", L"Price");
    int code = 1;
    for (auto _ : state) {
        auto price = site.Get();
        benchmark::DoNotOptimize(price(code));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CachedServiceCall);

void BM_CachedMethodCall(benchmark::State& state) {
    Board* board = TheBoard();
    static orvo::MethodCall<int(int)> site(L"price");
    int code = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(site.Get(board)(code));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CachedMethodCall);

void BM_UncachedLookupByName(benchmark::State& state) {
    TheBoard();
    int code = 1;
    for (auto _ : state) {
        auto price = IXO::GetIXO(L"benchboard")->GetFunction<int(int)>(L"PRICE");
        benchmark::DoNotOptimize(price(code));
    }
}
BENCHMARK(BM_UncachedLookupByName);

void BM_ScriptInvoke(benchmark::State& state) {
    Board* board = TheBoard();
    orvo::DispVariant result;
    for (auto _ : state) {
        orvo::DispVariant args[] = {orvo::DispVariant(std::int32_t{1})};
        board->Invoke(L"Price", orvo::InvokeMethod, args, result);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_ScriptInvoke);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(argc,
                                      argv,
                                      {{"BM_CachedServiceCall", "BM_DirectVirtualCall"},
                                       {"BM_CachedMethodCall", "BM_DirectVirtualCall"},
                                       {"BM_UncachedLookupByName", "BM_DirectVirtualCall"},
                                       {"BM_ScriptInvoke", "BM_DirectVirtualCall"}});
}
