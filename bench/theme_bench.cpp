// Painting a 50 x 20 cell board through a theme (background, border, right-aligned number per
// cell) into a memory DC, against the same board drawn by direct QPainter calls.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/element.h"
#include "core/xml_parser.h"
#include "platform/gui/dc.h"
#include "ratio_main.h"
#include "ui/paint_target.h"
#include "ui/ui_paint_text.h"
#include "ui/xtheme.h"

namespace {

constexpr int kRows = 50;
constexpr int kColumns = 20;
constexpr int kCellWidth = 60;
constexpr int kCellHeight = 18;
constexpr int kWidth = kColumns * kCellWidth;
constexpr int kHeight = kRows * kCellHeight;

const char* const kTheme = R"(<Theme>
<ColorDef Name="board" Color="#101820"/>
<ColorDef Name="line" Color="#405060"/>
<UIStyle Control="Cell"><DrawEvent Color="#E03030">
  <Fill BackColor="board"/>
  <Border Flag="BOTTOM,RIGHT,FLAT" Shadow="line" Light="line"/>
  <SetRect Rect="0,0,100%,100%" Margin="0,0,4,0"><Text TextColorIndex="0"/></SetRect>
</DrawEvent></UIStyle></Theme>)";

struct Cell : orvo::PaintTarget {
    CRect rect;
    std::wstring text;
    const CUIStyle* style = nullptr;
    CRect PaintRect() const override { return rect; }
    int PaintFlags() const override { return 0; }
    const CUIStyle* PaintStyle() const override { return style; }
    void DrawContent(CDC* dc, CRect& area, CUIEvent* event, CUIPaintText* text) override {
        text->DrawTextW(dc, area, this->text, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX, event);
    }
};

std::wstring Price(int row, int column) {
    return std::to_wstring(10000 + row * 137 + column * 911);
}

void EnsureApplication() {
    static std::unique_ptr<QGuiApplication> application = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "theme_bench";
        static char* argv[] = {name, nullptr};
        return std::make_unique<QGuiApplication>(argc, argv);
    }();
}

void BM_ThemeBoard(benchmark::State& state) {
    EnsureApplication();
    XMLParser parser;
    XElement* root = nullptr;
    if (!parser.ParseMemory(kTheme, &root) || !root) {
        state.SkipWithError("the theme does not parse");
        return;
    }
    const std::unique_ptr<XElement> tree(root);
    XTheme theme;
    theme.SetElement(tree->GetFirstChild());
    std::vector<Cell> cells(kRows * kColumns);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            Cell& cell = cells[static_cast<std::size_t>(row * kColumns + column)];
            cell.rect = CRect(column * kCellWidth,
                              row * kCellHeight,
                              (column + 1) * kCellWidth,
                              (row + 1) * kCellHeight);
            cell.text = Price(row, column);
            cell.style = theme.GetUIStyle(L"Cell");
        }
    }
    CBitmap bitmap;
    bitmap.CreateBitmap(kWidth, kHeight);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    for (auto _ : state) {
        for (Cell& cell : cells)
            theme.Draw(&dc, &cell, nullptr);
        benchmark::DoNotOptimize(dc.GetPixel(5, 5));
    }
}
BENCHMARK(BM_ThemeBoard)->Unit(benchmark::kMillisecond);

void BM_QPainterBoard(benchmark::State& state) {
    EnsureApplication();
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    std::vector<QString> texts;
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            texts.push_back(QString::fromStdWString(Price(row, column)));
    const QFont font = CFont::Default().Font();
    const QColor board(0x10, 0x18, 0x20);
    const QColor line(0x40, 0x50, 0x60);
    const QColor up(0xE0, 0x30, 0x30);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setFont(font);
        for (int row = 0; row < kRows; ++row) {
            for (int column = 0; column < kColumns; ++column) {
                const int x = column * kCellWidth;
                const int y = row * kCellHeight;
                painter.fillRect(x, y, kCellWidth, kCellHeight, board);
                painter.fillRect(x, y + kCellHeight - 1, kCellWidth, 1, line);
                painter.fillRect(x + kCellWidth - 1, y, 1, kCellHeight, line);
                painter.setPen(up);
                painter.drawText(QRect(x, y, kCellWidth - 5, kCellHeight - 1),
                                 Qt::AlignRight | Qt::AlignTop,
                                 texts[static_cast<std::size_t>(row * kColumns + column)]);
            }
        }
        painter.end();
        benchmark::DoNotOptimize(image.pixel(5, 5));
    }
}
BENCHMARK(BM_QPainterBoard)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(argc, argv, {{"BM_ThemeBoard", "BM_QPainterBoard"}});
}
