// The real-time grid in a real offscreen window: 1,000 rows x 20 columns, 40 rows visible.
//
// - Paint: one whole frame of the 40 x 20 visible cells through the theme, against the same
//   cells (background, formatted number) drawn by direct QPainter calls into an image.
// - Real-time load: frames of a 60 Hz clock; each frame applies the field updates of that
//   sixtieth of a second (a rate given in updates per second) to the structure the grid shows,
//   each tick telling the grid its row, then paints once. The updates come from the simulated
//   exchange's market (one instrument per row; a step moves price, change, volume, high and
//   low), generated before timing. Against the same updates written into a plain array and
//   the changed visible rows drawn directly.
// - Scroll: one page down and its paint, with 1,000 and with 100,000 rows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "backends/sim/scenario.h"
#include "core/element.h"
#include "core/scr_man.h"
#include "data/struct.h"
#include "offscreen_window.h"
#include "ratio_main.h"
#include "ui/xgrid.h"
#include "ui/xgrid_client.h"
#include "ui/xtheme_man.h"

namespace {

using orvo::bench::ParseMarkup;
using orvo::bench::PumpEvents;

constexpr int kColumns = 20;
constexpr int kVisibleRows = 40;
constexpr int kRowHeight = 14;
constexpr int kColumnWidth = 40;
constexpr int kHeadHeight = 16;
constexpr int kWidth = kColumns * kColumnWidth;
constexpr int kHeight = kHeadHeight + kVisibleRows * kRowHeight;
// Fields one market step changes: price, change, volume, high, low.
constexpr int kFieldsPerTick = 5;

const char* const kTheme = R"(<Theme>
<ColorDef Name="board" Color="#101820"/>
<ColorDef Name="picked" Color="#304860"/>
<ColorDef Name="band" Color="#182430"/>
<UIStyle Control="Row">
  <DrawEvent><Fill BackColor="board"/></DrawEvent>
  <DrawEvent State="User.2"><Fill BackColor="picked"/></DrawEvent>
  <DrawEvent State="User.3"><Fill BackColor="band"/></DrawEvent>
</UIStyle>
<UIStyle Control="Num"><DrawEvent><Text TextColor="#E0E0E0"/></DrawEvent></UIStyle>
<UIStyle Control="TextBox"><DrawEvent><Text TextColor="#A0A0A0"/></DrawEvent></UIStyle>
</Theme>)";

bool g_themeLoaded = false;

// A shown window with a grid over a structure of `rows` rows of 20 integer fields.
struct GridWindow {
    explicit GridWindow(int rows) {
        std::string markup = "<Window Name=\"frame\" Rect=\"0,0," + std::to_string(kWidth) + "," +
                             std::to_string(kHeight) + "\"><structure Name=\"Quotes\" count=\"" +
                             std::to_string(rows) + "\">";
        for (int c = 0; c < kColumns; ++c)
            markup += "<this.field item=\"f" + std::to_string(c) + "\" type=\"Integer\"/>";
        markup += "</structure><Grid Name=\"grid\" Data=\"Quotes\" Rect=\"0,0,100%,100%\" "
                  "PaintDelay=\"16\" Col=\"" +
                  std::to_string(kColumns) + "\" ToggleRow=\"1\"><this.Head Rect=\"0,0,100%," +
                  std::to_string(kHeadHeight) + "\">";
        for (int c = 0; c < kColumns; ++c)
            markup += "<this.Item Text=\"F" + std::to_string(c) + "\"/>";
        markup += "</this.Head><this.Body Style=\"Row\" Rect=\"0,0,100%," +
                  std::to_string(kRowHeight) + "\">";
        for (int c = 0; c < kColumns; ++c)
            markup += "<this.Item Style=\"Num\" Field=\"f" + std::to_string(c) +
                      "\" Format=\"#,##0\" Text_Align=\"RIGHT,VCENTER\"/>";
        markup += "</this.Body>";
        for (int c = 0; c < kColumns; ++c)
            markup += "<this.Col Width=\"" + std::to_string(kColumnWidth) + "\"/>";
        markup += "</Grid></Window>";
        page.reset(
            XScrMan::Instance().OpenPageMem(ParseMarkup(markup).release(), nullptr, nullptr));
        auto* frame = dynamic_cast<XWindow*>(page.get());
        grid = frame ? dynamic_cast<XGrid*>(frame->GetObjByNameDown(L"grid")) : nullptr;
        data = frame ? dynamic_cast<XStruct*>(frame->GetObjByNameDown(L"Quotes")) : nullptr;
        client = grid ? grid->GetClient() : nullptr;
        if (!client || !data || !client->GetNativeWindow())
            return;
        frame->GetNativeWindow()->Move(CRect(0, 0, kWidth, kHeight));
        frame->GetNativeWindow()->Show();
        PumpEvents();
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kColumns; ++c)
                data->SetVal(r, c, 10000 + (r * 31 + c * 7) % 90000);
    }
    ~GridWindow() {
        page.reset();
        PumpEvents();
    }
    bool Ready() const { return client && client->GetRowPerPage() >= kVisibleRows; }
    // Paints what is dirty now, as the paint timer would at the frame's end.
    void PaintFrame() const {
        client->DoPaint();
        client->GetNativeWindow()->UpdateWindow();
    }

    orvo::XDOPtr page;
    XGrid* grid = nullptr;
    XGridClient* client = nullptr;
    XStruct* data = nullptr;
};

struct Update {
    int row;
    int field;
    int value;
};

// Market steps over 1,000 instruments, one row each, turned into field updates.
const std::vector<Update>& MarketUpdates() {
    static const std::vector<Update> updates = [] {
        sim::Scenario scenario;
        scenario.seed = 2026;
        for (int i = 0; i < 1000; ++i) {
            sim::Instrument instrument;
            instrument.code = std::to_wstring(100000 + i);
            instrument.reference = instrument.price = instrument.open = instrument.high =
                instrument.low = 10000 + i * 50;
            instrument.tick = 10;
            instrument.volatility = 2;
            scenario.instruments.push_back(instrument);
        }
        sim::Market market(scenario);
        std::vector<Update> out;
        constexpr int kTicks = 400000;
        out.reserve(static_cast<std::size_t>(kTicks) * kFieldsPerTick);
        for (int t = 0; t < kTicks; ++t) {
            sim::Instrument& instrument = market.NextInTurn();
            market.Step(instrument);
            const int row = static_cast<int>(&instrument - &market.First());
            const auto v = [](std::int64_t x) { return static_cast<int>(x % 2000000000); };
            out.push_back({row, 0, v(instrument.price)});
            out.push_back({row, 1, v(instrument.price - instrument.reference)});
            out.push_back({row, 2, v(instrument.volume)});
            out.push_back({row, 3, v(instrument.high)});
            out.push_back({row, 4, v(instrument.low)});
        }
        return out;
    }();
    return updates;
}

// Frame times, in milliseconds, reported as the median and the 99th percentile; the time
// per 10,000 updates, whole frames and the updates alone (without the paints).
void ReportFrames(benchmark::State& state,
                  std::vector<double>& frames,
                  double applySeconds,
                  long updates) {
    if (frames.empty())
        return;
    std::sort(frames.begin(), frames.end());
    state.counters["median_ms"] = frames[frames.size() / 2];
    state.counters["p99_ms"] = frames[std::min(frames.size() - 1, frames.size() * 99 / 100)];
    double total = 0;
    for (double f : frames)
        total += f;
    state.counters["us_per_10k_updates"] = updates ? total * 1000.0 * 10000.0 / updates : 0;
    state.counters["apply_us_per_10k"] = updates ? applySeconds * 1e6 * 10000.0 / updates : 0;
}

// ---- paint ------------------------------------------------------------------------------------

void BM_GridPaintFrame(benchmark::State& state) {
    GridWindow window(1000);
    if (!g_themeLoaded || !window.Ready())
        return state.SkipWithError("the grid did not open");
    for (auto _ : state) {
        window.client->Refresh();
        window.PaintFrame();
    }
    state.counters["rows"] = window.client->GetPaintedRows();
}
BENCHMARK(BM_GridPaintFrame)->Unit(benchmark::kMillisecond);

// The same visible cells drawn directly: each row's background, then each cell's number
// (`value(row, column)`) formatted with thousands separators and drawn right-aligned.
template <class Value> void DrawDirect(QPainter& painter, Value value, int first, int rowsToDraw) {
    const QColor board(0x10, 0x18, 0x20);
    const QColor band(0x18, 0x24, 0x30);
    const QColor text(0xE0, 0xE0, 0xE0);
    const QLocale locale(QLocale::English);
    for (int k = 0; k < rowsToDraw; ++k) {
        const int r = first + k;
        const QRect rowRect(0, kHeadHeight + k * kRowHeight, kWidth, kRowHeight);
        painter.fillRect(rowRect, r % 2 ? band : board);
        painter.setPen(text);
        for (int c = 0; c < kColumns; ++c)
            painter.drawText(
                QRect(c * kColumnWidth + 2, rowRect.top(), kColumnWidth - 4, kRowHeight),
                Qt::AlignRight | Qt::AlignVCenter,
                locale.toString(value(r, c)));
    }
}

void BM_DirectPaintFrame(benchmark::State& state) {
    GridWindow window(1000);
    if (!window.Ready())
        return state.SkipWithError("the grid did not open");
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        XStruct& data = *window.data;
        DrawDirect(
            painter,
            [&data](int r, int c) {
                int value = 0;
                data.GetVal(r, c, value);
                return value;
            },
            0,
            kVisibleRows);
    }
}
BENCHMARK(BM_DirectPaintFrame)->Unit(benchmark::kMillisecond);

// ---- real-time load ---------------------------------------------------------------------------

// One iteration is one frame of a 60 Hz clock at `state.range(0)` field updates per second.
void BM_GridRealTime(benchmark::State& state) {
    GridWindow window(1000);
    if (!g_themeLoaded || !window.Ready())
        return state.SkipWithError("the grid did not open");
    const std::vector<Update>& updates = MarketUpdates();
    // Whole market steps: five fields of one row each.
    const auto perFrame =
        static_cast<std::size_t>(state.range(0) / 60 / kFieldsPerTick * kFieldsPerTick);
    std::size_t next = 0;
    std::vector<double> frames;
    double applySeconds = 0;
    long applied = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (std::size_t i = 0; i < perFrame; i += kFieldsPerTick) {
            const std::size_t at = (next + i) % updates.size();
            for (std::size_t f = 0; f < kFieldsPerTick; ++f) {
                const Update& u = updates[at + f];
                window.data->SetVal(u.row, u.field, u.value);
            }
            window.data->NotifyChange(XGridClient::CHANGE_ROW, updates[at].row);
        }
        next = (next + perFrame) % updates.size();
        const auto written = std::chrono::steady_clock::now();
        window.PaintFrame();
        const auto end = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(end - start).count();
        applySeconds += std::chrono::duration<double>(written - start).count();
        state.SetIterationTime(seconds);
        frames.push_back(seconds * 1000.0);
        applied += static_cast<long>(perFrame);
    }
    ReportFrames(state, frames, applySeconds, applied);
}
BENCHMARK(BM_GridRealTime)
    ->Arg(1000000)
    ->Arg(2000000)
    ->Arg(4000000)
    ->Arg(8000000)
    ->Arg(16000000)
    ->Arg(32000000)
    ->UseManualTime()
    ->Iterations(120)
    ->Unit(benchmark::kMillisecond);

// The same updates into a plain array, then the visible rows that changed drawn directly.
void BM_DirectRealTime(benchmark::State& state) {
    GridWindow window(1000);
    if (!window.Ready())
        return state.SkipWithError("the grid did not open");
    const std::vector<Update>& updates = MarketUpdates();
    std::vector<int> cells(1000 * kColumns);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const auto perFrame = static_cast<std::size_t>(state.range(0) / 60);
    std::size_t next = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        bool visible[kVisibleRows] = {};
        for (std::size_t i = 0; i < perFrame; ++i) {
            const Update& u = updates[(next + i) % updates.size()];
            cells[static_cast<std::size_t>(u.row * kColumns + u.field)] = u.value;
            if (u.row < kVisibleRows)
                visible[u.row] = true;
        }
        next = (next + perFrame) % updates.size();
        QPainter painter(&image);
        const auto value = [&cells](int r, int c) {
            return cells[static_cast<std::size_t>(r * kColumns + c)];
        };
        for (int r = 0; r < kVisibleRows; ++r)
            if (visible[r])
                DrawDirect(painter, value, r, 1);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_DirectRealTime)
    ->Arg(2000000)
    ->UseManualTime()
    ->Iterations(120)
    ->Unit(benchmark::kMillisecond);

// ---- scroll -----------------------------------------------------------------------------------

void BM_GridScrollPage(benchmark::State& state) {
    GridWindow window(static_cast<int>(state.range(0)));
    if (!g_themeLoaded || !window.Ready())
        return state.SkipWithError("the grid did not open");
    const int page = window.client->GetRowPerPage();
    int direction = 1;
    for (auto _ : state) {
        if (window.client->HitBottom())
            direction = -1;
        else if (window.client->HitTop())
            direction = 1;
        window.client->Scroll(direction * page);
        window.PaintFrame();
    }
}
BENCHMARK(BM_GridScrollPage)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    const std::unique_ptr<XElement> theme = ParseMarkup(kTheme);
    g_themeLoaded = theme && XThemeMan::Instance().LoadTheme(theme.get());
    const int result =
        orvo::bench::RunWithRatios(argc,
                                   argv,
                                   {{"BM_GridPaintFrame", "BM_DirectPaintFrame"},
                                    {"BM_GridRealTime/2000000", "BM_DirectRealTime/2000000"},
                                    {"BM_GridScrollPage/100000", "BM_GridScrollPage/1000"}});
    XThemeMan::Instance().Reset();
    return result;
}
