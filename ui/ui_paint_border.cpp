#include "ui/ui_paint_border.h"

#include "core/element.h"
#include "platform/base/lenient.h"
#include "platform/gui/dc.h"
#include "ui/keyword_list.h"
#include "ui/paint_keywords.h"
#include "ui/xtheme.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// One-pixel lines as fills: no pen state to save, and GDI's exclusive right and bottom.
void HorizontalLine(CDC* dc, int y, int left, int right, COLORREF colour) {
    if (left < right)
        dc->FillSolidRect(CRect(left, y, right, plat::WrapAdd(y, 1)), colour);
}

void VerticalLine(CDC* dc, int x, int top, int bottom, COLORREF colour) {
    if (top < bottom)
        dc->FillSolidRect(CRect(x, top, plat::WrapAdd(x, 1), bottom), colour);
}

} // namespace

int CUIPaintBorder::SetAttribute(XTheme* theme, XElement* element) {
    std::wstring text;
    if (element->GetValue(L"Edge", text))
        m_edge = orvo::ReadEdge(text);
    if (element->GetValue(L"Flag", text))
        m_flag = orvo::ReadBorderFlag(text);
    return theme->ReadColor(element, L"Light", m_light) &&
                   theme->ReadColor(element, L"HighLight", m_highlight) &&
                   theme->ReadColor(element, L"Shadow", m_shadow) &&
                   theme->ReadColor(element, L"DarkShadow", m_darkShadow)
               ? 1
               : 0;
}

CUIPaintBorder::SideColours CUIPaintBorder::TopLeftColours() const {
    if (m_flag & orvo::BORDER_MONO)
        return {true, kBlack, true, kWhite};
    if (m_flag & orvo::BORDER_FLAT)
        return {true, m_shadow, true, m_light};
    const bool soft = (m_flag & orvo::BORDER_SOFT) != 0;
    SideColours colours;
    if (m_edge & orvo::EDGE_RAISEDOUTER)
        colours.hasOuter = true, colours.outer = soft ? m_highlight : m_light;
    else if (m_edge & orvo::EDGE_SUNKENOUTER)
        colours.hasOuter = true, colours.outer = soft ? m_darkShadow : m_shadow;
    if (m_edge & orvo::EDGE_RAISEDINNER)
        colours.hasInner = true, colours.inner = soft ? m_light : m_highlight;
    else if (m_edge & orvo::EDGE_SUNKENINNER)
        colours.hasInner = true, colours.inner = soft ? m_shadow : m_darkShadow;
    return colours;
}

CUIPaintBorder::SideColours CUIPaintBorder::BottomRightColours() const {
    if (m_flag & orvo::BORDER_MONO)
        return {true, kBlack, true, kWhite};
    if (m_flag & orvo::BORDER_FLAT)
        return {true, m_shadow, true, m_light};
    const bool single = (m_flag & orvo::BORDER_SINGLE) != 0;
    SideColours colours;
    if (m_edge & orvo::EDGE_RAISEDOUTER)
        colours.hasOuter = true, colours.outer = single ? m_shadow : m_darkShadow;
    else if (m_edge & orvo::EDGE_SUNKENOUTER)
        colours.hasOuter = true, colours.outer = single ? m_light : m_highlight;
    if (m_edge & orvo::EDGE_RAISEDINNER)
        colours.hasInner = true, colours.inner = m_shadow;
    else if (m_edge & orvo::EDGE_SUNKENINNER)
        colours.hasInner = true, colours.inner = m_light;
    return colours;
}

void CUIPaintBorder::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    const bool left = (m_flag & orvo::BORDER_LEFT) != 0;
    const bool top = (m_flag & orvo::BORDER_TOP) != 0;
    const bool right = (m_flag & orvo::BORDER_RIGHT) != 0;
    const bool bottom = (m_flag & orvo::BORDER_BOTTOM) != 0;
    const bool inner = (m_flag & orvo::BORDER_SINGLE) == 0;
    const SideColours topLeft = TopLeftColours();
    const SideColours bottomRight = BottomRightColours();
    const CRect r = rect;
    const int x1 = plat::WrapAdd(r.left, 1);
    const int y1 = plat::WrapAdd(r.top, 1);
    const int xr1 = plat::WrapSub(r.right, 1);
    const int xr2 = plat::WrapSub(r.right, 2);
    const int yb1 = plat::WrapSub(r.bottom, 1);
    const int yb2 = plat::WrapSub(r.bottom, 2);
    // Inner lines stop one pixel short where the neighbouring side has its lines.
    const int innerLeft = left ? x1 : r.left;
    const int innerRight = right ? xr1 : r.right;
    const int innerTop = top ? y1 : r.top;
    const int innerBottom = bottom ? yb1 : r.bottom;
    int shrinkLeft = 0;
    int shrinkTop = 0;
    int shrinkRight = 0;
    int shrinkBottom = 0;

    auto side =
        [&](bool drawn, const SideColours& colours, auto outerLine, auto innerLine, int& shrink) {
            if (!drawn)
                return;
            if (colours.hasOuter) {
                outerLine(colours.outer);
                ++shrink;
            }
            if (inner && colours.hasInner) {
                innerLine(colours.inner);
                ++shrink;
            }
        };
    side(
        top,
        topLeft,
        [&](COLORREF c) { HorizontalLine(dc, r.top, r.left, r.right, c); },
        [&](COLORREF c) { HorizontalLine(dc, y1, innerLeft, innerRight, c); },
        shrinkTop);
    side(
        left,
        topLeft,
        [&](COLORREF c) { VerticalLine(dc, r.left, r.top, r.bottom, c); },
        [&](COLORREF c) { VerticalLine(dc, x1, innerTop, innerBottom, c); },
        shrinkLeft);
    side(
        bottom,
        bottomRight,
        [&](COLORREF c) { HorizontalLine(dc, yb1, r.left, r.right, c); },
        [&](COLORREF c) { HorizontalLine(dc, yb2, innerLeft, innerRight, c); },
        shrinkBottom);
    side(
        right,
        bottomRight,
        [&](COLORREF c) { VerticalLine(dc, xr1, r.top, r.bottom, c); },
        [&](COLORREF c) { VerticalLine(dc, xr2, innerTop, innerBottom, c); },
        shrinkRight);

    if (m_flag & orvo::BORDER_ADJUST)
        rect.DeflateRect(shrinkLeft, shrinkTop, shrinkRight, shrinkBottom);
    CUIPaintBase::Draw(dc, rect, object, event);
}

int CUIPaintBorderEx::SetAttribute(XTheme* theme, XElement* element) {
    if (!CUIPaintBorder::SetAttribute(theme, element))
        return 0;
    std::wstring text;
    if (!element->GetValue(L"Round", text))
        return 1;
    const auto items = orvo::SplitItems(text, L',');
    if (items.size() < 2)
        return 0;
    m_roundWidth = plat::_wtoi(items[0]);
    m_roundHeight = plat::_wtoi(items[1]);
    return 1;
}

void CUIPaintBorderEx::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    const CPen pen(PS_SOLID, 1, m_light);
    const CPen* previousPen = dc->SelectObject(&pen);
    const CBrush* previousBrush = dc->SelectObject(&CBrush::Stock(NULL_BRUSH));
    dc->RoundRect(rect.left, rect.top, rect.right, rect.bottom, m_roundWidth, m_roundHeight);
    if (previousPen)
        dc->SelectObject(previousPen);
    if (previousBrush)
        dc->SelectObject(previousBrush);
    CUIPaintBase::Draw(dc, rect, object, event);
}
