// Laying out a screen of 10,000 rectangles again after its window changed size (100 columns
// of 99 cells, percent expressions, margins, snapping and right alignment), against a plain
// loop that computes the same rectangles from integers.
#include <memory>
#include <string>
#include <vector>

#include "core/element.h"
#include "platform/base/geometry.h"
#include "ratio_main.h"
#include "ui/xrect.h"

namespace {

constexpr int kColumns = 100;
constexpr int kCellsPerColumn = 99;
constexpr int kRectangles = kColumns + kColumns * kCellsPerColumn;

class BenchWindow : public orvo::LayoutWindow {
public:
    bool IsWindow() const override { return true; }
    CRect GetClientRect() const override { return CRect(CPoint(), size); }
    CPoint ClientOrigin() const override { return {}; }
    CRect GetWindowRect() const override { return GetClientRect(); }
    void SetWindowPos(const CRect&, unsigned) override {}
    CSize size;
};

XRect* MakeRect(const std::wstring& rect, const wchar_t* margin, const wchar_t* align) {
    XElement e(L"box");
    e.SetValue(L"Rect", rect);
    e.SetValue(L"Margin", margin);
    e.SetValue(L"Align", align);
    auto* r = new XRect();
    r->SetElement(&e);
    return r;
}

struct Screen {
    Screen() : owner(new XRect()) {
        root = static_cast<XRect*>(owner.get());
        for (int c = 0; c < kColumns; ++c) {
            XRect* column = MakeRect(std::to_wstring(c) + L"%,0,1%,100%", L"1,1,1,1", L"Left,Top");
            root->AddChild(column);
            for (int k = 0; k < kCellsPerColumn; ++k)
                column->AddChild(
                    MakeRect(L"0," + std::to_wstring(k) + L"%^2,90%,1%", L"0,0,0,0", L"Right,Top"));
        }
    }
    orvo::XDOPtr owner;
    XRect* root;
};

// The two window sizes a benchmark alternates between, so every pass really changes.
const CSize kSizes[] = {{1920, 1080}, {1280, 1024}};

void BM_LayoutResize(benchmark::State& state) {
    Screen screen;
    BenchWindow window;
    int turn = 0;
    for (auto _ : state) {
        window.size = kSizes[turn++ & 1];
        screen.root->SetWindow(&window);
        screen.root->OnSizeChange();
        benchmark::DoNotOptimize(screen.root->child()->child());
    }
    state.counters["ns_per_rect"] = benchmark::Counter(
        kRectangles, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LayoutResize)->Unit(benchmark::kMicrosecond);

// The same rectangles from integers: the percent, margin, snap and alignment arithmetic and
// nothing else.
void BM_PlainRectangles(benchmark::State& state) {
    std::vector<CRect> rects(kRectangles);
    int turn = 0;
    for (auto _ : state) {
        const CSize size = kSizes[turn++ & 1];
        std::size_t n = 0;
        for (int c = 0; c < kColumns; ++c) {
            const CRect column(size.cx * c / 100, 0, size.cx * c / 100 + size.cx / 100, size.cy);
            rects[n++] = column;
            const CRect inner(column.left + 1, column.top + 1, column.right - 1, column.bottom - 1);
            const int w = inner.Width() * 90 / 100;
            const int h = inner.Height() / 100;
            for (int k = 0; k < kCellsPerColumn; ++k) {
                int y = inner.Height() * k / 100;
                y -= y % 2;
                const int left = inner.right - w;
                rects[n++] = CRect(left, inner.top + y, left + w, inner.top + y + h);
            }
        }
        benchmark::DoNotOptimize(rects.data());
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_rect"] = benchmark::Counter(
        kRectangles, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PlainRectangles)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(argc, argv, {{"BM_LayoutResize", "BM_PlainRectangles"}});
}
