// The window host over many objects in a real offscreen window. Repainting after one object
// changed (2,000 cells, only the dirty rectangle painted) against repainting the whole window;
// finding the object under the mouse among 10,000 cells against a plain loop over the same
// rectangles.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/element.h"
#include "core/scr_man.h"
#include "offscreen_window.h"
#include "platform/gui/dc.h"
#include "ratio_main.h"
#include "ui/ui_paint_text.h"
#include "ui/xtheme_man.h"
#include "ui/xwnd.h"

namespace {

using orvo::bench::ParseMarkup;
using orvo::bench::PumpEvents;

// A price cell that counts how many cells were drawn.
class BenchCell : public XUI {
public:
    ORVO_KEY(L"BenchCell")
    void Draw(CDC* dc) override {
        ++s_drawn;
        XUI::Draw(dc);
    }
    void DrawContent(CDC* dc, CRect& area, CUIEvent* event, CUIPaintText* text) override {
        text->DrawTextW(dc, area, price, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX, event);
    }
    std::wstring price;
    static inline long s_drawn = 0;
};

const char* const kTheme = R"(<Theme>
<ColorDef Name="board" Color="#101820"/>
<ColorDef Name="picked" Color="#304860"/>
<ColorDef Name="line" Color="#405060"/>
<UIStyle Control="benchcell">
  <DrawEvent Color="#E03030">
    <Fill BackColor="board"/>
    <Border Flag="BOTTOM,RIGHT,FLAT" Shadow="line" Light="line"/>
    <SetRect Rect="0,0,100%,100%" Margin="0,0,3,0"><Text TextColorIndex="0"/></SetRect>
  </DrawEvent>
  <DrawEvent State="Object.Select" Color="#F0F0F0">
    <Fill BackColor="picked"/>
    <Border Flag="BOTTOM,RIGHT,FLAT" Shadow="line" Light="line"/>
    <SetRect Rect="0,0,100%,100%" Margin="0,0,3,0"><Text TextColorIndex="0"/></SetRect>
  </DrawEvent>
</UIStyle></Theme>)";

// The theme loaded, which main does before any benchmark runs.
bool g_themeLoaded = false;

// A shown top-level window holding the window host "board" at (20, 20), a grid of cells of
// `cellWidth` x `cellHeight`.
struct Board {
    Board(int columns, int rows, int cellWidth, int cellHeight) {
        const int width = columns * cellWidth;
        const int height = rows * cellHeight;
        std::string markup = "<Window Name=\"frame\" Rect=\"0,0," + std::to_string(width + 40) +
                             "," + std::to_string(height + 40) +
                             "\"><Window Name=\"board\" Rect=\"20,20," + std::to_string(width) +
                             "," + std::to_string(height) + "\">";
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                markup += "<BenchCell Rect=\"" + std::to_string(column * cellWidth) + "," +
                          std::to_string(row * cellHeight) + "," + std::to_string(cellWidth) + "," +
                          std::to_string(cellHeight) + "\"/>";
        markup += "</Window></Window>";
        page.reset(
            XScrMan::Instance().OpenPageMem(ParseMarkup(markup).release(), nullptr, nullptr));
        auto* frame = dynamic_cast<XWindow*>(page.get());
        host = frame ? dynamic_cast<XWindow*>(frame->GetObjByNameDown(L"board")) : nullptr;
        if (!host || !host->GetNativeWindow())
            return;
        frame->GetNativeWindow()->Move(CRect(0, 0, width + 40, height + 40));
        frame->GetNativeWindow()->Show();
        PumpEvents();
        int index = 0;
        for (XDO* node = host->child(); node; node = node->next(), ++index) {
            auto* cell = dynamic_cast<BenchCell*>(node);
            cell->price = std::to_wstring(10000 + index * 37 % 9000);
            cells.push_back(cell);
        }
    }
    ~Board() {
        page.reset();
        PumpEvents();
    }
    bool Ready() const { return host && !cells.empty(); }

    orvo::XDOPtr page;
    XWindow* host = nullptr;
    std::vector<BenchCell*> cells;
};

// The host's window paints what is invalid now, as the loop would: Qt repaints the invalid
// region and the host paints the objects in it through a DC clipped to it.
void PaintInvalid(XWindow* host) {
    host->GetNativeWindow()->UpdateWindow();
}

void BM_RepaintOneChange(benchmark::State& state) {
    if (!g_themeLoaded)
        return state.SkipWithError("the theme does not load");
    Board board(50, 40, 24, 20);
    if (!board.Ready())
        return state.SkipWithError("the board did not open");
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, board.cells.size() - 1);
    BenchCell::s_drawn = 0;
    for (auto _ : state) {
        BenchCell* cell = board.cells[pick(random)];
        cell->SetSelect(!cell->GetSelect());
        PaintInvalid(board.host);
    }
    state.counters["drawn"] = benchmark::Counter(static_cast<double>(BenchCell::s_drawn),
                                                 benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RepaintOneChange)->Unit(benchmark::kMicrosecond);

void BM_RepaintWholeWindow(benchmark::State& state) {
    if (!g_themeLoaded)
        return state.SkipWithError("the theme does not load");
    Board board(50, 40, 24, 20);
    if (!board.Ready())
        return state.SkipWithError("the board did not open");
    BenchCell::s_drawn = 0;
    for (auto _ : state) {
        board.host->Refresh();
        PaintInvalid(board.host);
    }
    state.counters["drawn"] = benchmark::Counter(static_cast<double>(BenchCell::s_drawn),
                                                 benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RepaintWholeWindow)->Unit(benchmark::kMicrosecond);

constexpr int kHitColumns = 100;
constexpr int kHitRows = 100;
// Small enough for the offscreen platform's 800 x 600 screen, where the cursor can go.
constexpr int kHitCellWidth = 7;
constexpr int kHitCellHeight = 5;

// Points over the board and a little around it, the same for every benchmark.
std::vector<CPoint> MousePoints() {
    std::mt19937 random(2026);
    std::uniform_int_distribution<int> x(-10, kHitColumns * kHitCellWidth + 10);
    std::uniform_int_distribution<int> y(-10, kHitRows * kHitCellHeight + 10);
    std::vector<CPoint> points(4096);
    for (CPoint& point : points)
        point = CPoint(x(random), y(random));
    return points;
}

// What ObjectAt asks for on every mouse event: the object under the point.
void BM_HitTest(benchmark::State& state) {
    if (!g_themeLoaded)
        return state.SkipWithError("the theme does not load");
    Board board(kHitColumns, kHitRows, kHitCellWidth, kHitCellHeight);
    if (!board.Ready())
        return state.SkipWithError("the board did not open");
    const std::vector<CPoint> points = MousePoints();
    std::size_t next = 0;
    long hits = 0;
    for (auto _ : state) {
        XUI* found = board.host->GetXUIFromPoint(points[next++ % points.size()]);
        hits += found != board.host && found != nullptr;
        benchmark::DoNotOptimize(found);
    }
    state.counters["hit"] =
        benchmark::Counter(static_cast<double>(hits), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HitTest)->Unit(benchmark::kMicrosecond);

// A whole mouse move as the window delivers it: the move, then the hover tick that finds the
// object under the cursor and changes the mouse states of the one entered and the one left.
// Only those are timed: the window then paints what they invalidated, as the loop would
// between two moves, so that invalid regions do not pile up.
void BM_MouseMove(benchmark::State& state) {
    if (!g_themeLoaded)
        return state.SkipWithError("the theme does not load");
    Board board(kHitColumns, kHitRows, kHitCellWidth, kHitCellHeight);
    if (!board.Ready())
        return state.SkipWithError("the board did not open");
    std::vector<CPoint> screen;
    const std::vector<CPoint> points = MousePoints();
    for (const CPoint& point : points)
        screen.push_back(board.host->GetNativeWindow()->ClientToScreen(point));
    std::size_t next = 0;
    long tracked = 0;
    for (auto _ : state) {
        const std::size_t i = next++ % points.size();
        QCursor::setPos(screen[i].x, screen[i].y);
        const auto start = std::chrono::steady_clock::now();
        board.host->XOnMouseMove(0, points[i]);
        board.host->XOnTimer(XWindow::TIMER_HOVER);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        tracked += board.host->GetTracked() != nullptr;
        PaintInvalid(board.host);
    }
    state.counters["hit"] =
        benchmark::Counter(static_cast<double>(tracked), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MouseMove)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

// The same rectangles in an array, the last one holding the point found by a plain loop.
void BM_PtInRectLoop(benchmark::State& state) {
    std::vector<CRect> rects;
    for (int row = 0; row < kHitRows; ++row)
        for (int column = 0; column < kHitColumns; ++column)
            rects.emplace_back(column * kHitCellWidth,
                               row * kHitCellHeight,
                               (column + 1) * kHitCellWidth,
                               (row + 1) * kHitCellHeight);
    const std::vector<CPoint> points = MousePoints();
    std::size_t next = 0;
    for (auto _ : state) {
        const CPoint pt = points[next++ % points.size()];
        const CRect* found = nullptr;
        for (const CRect& rect : rects)
            if (rect.PtInRect(pt))
                found = &rect;
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_PtInRectLoop)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // Windows need the application; it goes before the statics of the window layer do.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    orvo::RegisterFactory<BenchCell>();
    const std::unique_ptr<XElement> theme = ParseMarkup(kTheme);
    g_themeLoaded = theme && XThemeMan::Instance().LoadTheme(theme.get());
    const int result = orvo::bench::RunWithRatios(argc,
                                                  argv,
                                                  {{"BM_RepaintOneChange", "BM_RepaintWholeWindow"},
                                                   {"BM_HitTest", "BM_PtInRectLoop"},
                                                   {"BM_MouseMove", "BM_PtInRectLoop"}});
    XThemeMan::Instance().Reset();
    return result;
}
