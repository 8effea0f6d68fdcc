#include "ladder_painter.h"

#include <algorithm>
#include <string>

#include "core/xdo.h"
#include "nubra/format.h"
#include "platform/gui/dc.h"
#include "platform/gui/gdi_flags.h"
#include "ui/xtheme_man.h"

namespace ladder {

namespace {

struct Palette {
    COLORREF head = RGB(0x1E, 0x25, 0x33);
    COLORREF askBack = RGB(0x14, 0x1E, 0x33);
    COLORREF bidBack = RGB(0x33, 0x16, 0x1A);
    COLORREF askBar = RGB(0x22, 0x3A, 0x66);
    COLORREF bidBar = RGB(0x66, 0x24, 0x2C);
    COLORREF priceBack = RGB(0x1A, 0x20, 0x2A);
    COLORREF text = RGB(0xDD, 0xE2, 0xE9);
    COLORREF dim = RGB(0x8C, 0x96, 0xA8);
    COLORREF up = RGB(0xFF, 0x50, 0x50);
    COLORREF down = RGB(0x4F, 0x8F, 0xFF);
    COLORREF line = RGB(0x2A, 0x31, 0x40);
    COLORREF accent = RGB(0xF5, 0xB7, 0x31);
};

Palette ThemePalette() {
    Palette p;
    const XTheme* theme = XThemeMan::Instance().CurrentTheme();
    if (!theme)
        return p;
    const std::pair<const wchar_t*, COLORREF*> names[] = {
        {L"LadderHead", &p.head},
        {L"LadderAskBack", &p.askBack},
        {L"LadderBidBack", &p.bidBack},
        {L"LadderAskBar", &p.askBar},
        {L"LadderBidBar", &p.bidBar},
        {L"LadderPriceBack", &p.priceBack},
        {L"Text", &p.text},
        {L"Dim", &p.dim},
        {L"Up", &p.up},
        {L"Down", &p.down},
        {L"Line", &p.line},
        {L"Accent", &p.accent},
    };
    for (const auto& [name, colour] : names)
        theme->GetColor(name, colour); // a missing name leaves the built-in colour
    return p;
}

void Text(CDC& dc, const std::wstring& text, CRect rect, COLORREF colour, unsigned align) {
    rect.InflateRect(-6, 0);
    dc.SetTextColor(colour);
    dc.DrawText(text, rect, align | DT_VCENTER | DT_SINGLELINE);
}

// A bar from the cell's inner edge, as long as the quantity's share of the largest one.
void Bar(CDC& dc, CRect cell, std::int64_t qty, std::int64_t largest, bool fromRight, COLORREF c) {
    if (qty <= 0 || largest <= 0)
        return;
    cell.InflateRect(-1, -2);
    const int length = static_cast<int>(cell.Width() * std::min(qty, largest) / largest);
    if (fromRight)
        cell.left = cell.right - length;
    else
        cell.right = cell.left + length;
    dc.FillSolidRect(cell, c);
}

} // namespace

std::wstring Grouped(std::int64_t value) {
    static const auto s_format = CFormat::Compiled(L"#,##0");
    return value > 0 ? s_format->GetString(std::to_wstring(value)) : std::wstring();
}

void PaintLadder(CDC& dc, const CRect& client, const Book& book, int depth) {
    const Palette p = ThemePalette();
    depth = std::max(depth, 1);
    const int rows = 2 * depth + 1;
    // Row edges share the height out evenly, so the ladder fills its window to the pixel.
    auto rowTop = [&](int row) { return client.top + client.Height() * row / rows; };
    // Quantities either side of a wider price column.
    const int qtyWidth = client.Width() * 3 / 10;
    const int priceLeft = client.left + qtyWidth;
    const int priceRight = client.right - qtyWidth;
    auto cell = [&](int row, int left, int right) {
        return CRect(left, rowTop(row), right, rowTop(row + 1));
    };

    dc.FillSolidRect(client, p.priceBack);
    if (const CFont* font = GetSystemFont(L""))
        dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);

    dc.FillSolidRect(cell(0, client.left, client.right), p.head);
    Text(dc, L"매도잔량", cell(0, client.left, priceLeft), p.dim, DT_CENTER);
    Text(dc, L"호가", cell(0, priceLeft, priceRight), p.dim, DT_CENTER);
    Text(dc, L"매수잔량", cell(0, priceRight, client.right), p.dim, DT_CENTER);

    const auto levelCount = static_cast<int>(book.levels.size());
    for (int i = 0; i < depth; ++i) {
        // The asks run from the deepest level at the top down to the best one.
        const int askRow = 1 + i;
        const int askLevel = depth - 1 - i;
        const CRect askQty = cell(askRow, client.left, priceLeft);
        dc.FillSolidRect(askQty, p.askBack);
        if (askLevel < levelCount) {
            const Level& level = book.levels[askLevel];
            Bar(dc, askQty, level.askQty, book.largestQty, true, p.askBar);
            Text(dc, Grouped(level.askQty), askQty, p.text, DT_RIGHT);
            Text(dc,
                 Grouped(level.askPrice),
                 cell(askRow, priceLeft, priceRight),
                 p.down,
                 DT_CENTER);
        }
        // The bids run from the best level just under the spread downwards.
        const int bidRow = 1 + depth + i;
        const CRect bidQty = cell(bidRow, priceRight, client.right);
        dc.FillSolidRect(bidQty, p.bidBack);
        if (i < levelCount) {
            const Level& level = book.levels[i];
            Bar(dc, bidQty, level.bidQty, book.largestQty, false, p.bidBar);
            Text(dc, Grouped(level.bidQty), bidQty, p.text, DT_LEFT);
            Text(dc, Grouped(level.bidPrice), cell(bidRow, priceLeft, priceRight), p.up, DT_CENTER);
        }
    }

    // Row and column rules, then the spread over them.
    for (int r = 1; r <= rows; ++r)
        dc.FillSolidRect(client.left, rowTop(r) - 1, client.Width(), 1, p.line);
    dc.FillSolidRect(priceLeft, client.top, 1, client.Height(), p.line);
    dc.FillSolidRect(priceRight - 1, client.top, 1, client.Height(), p.line);
    dc.FillSolidRect(client.left, rowTop(1 + depth) - 1, client.Width(), 2, p.accent);
    if (book.levels.empty())
        Text(dc, L"호가 없음", cell(depth, priceLeft, priceRight), p.dim, DT_CENTER);
}

} // namespace ladder
