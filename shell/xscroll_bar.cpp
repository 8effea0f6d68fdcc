#include "shell/xscroll_bar.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

#include "core/element.h"
#include "nubra/ixo_ref.h"
#include "platform/base/nocase.h"
#include "platform/gui/brush.h"
#include "platform/gui/dc.h"
#include "platform/gui/pen.h"
#include "ui/paint_target.h"
#include "ui/ui_style.h"
#include "ui/xtheme.h"
#include "ui/xwindow.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XScrollBar>();

// The thumb never shrinks below this, so it can still be taken.
constexpr long long kMinThumb = 8;

constexpr COLORREF kPlainTrack = RGB(0xEE, 0xEE, 0xEE);
constexpr COLORREF kPlainButton = RGB(0xDC, 0xDC, 0xDC);
constexpr COLORREF kPlainPressed = RGB(0xB4, 0xB4, 0xB4);
constexpr COLORREF kPlainEdge = RGB(0x9A, 0x9A, 0x9A);
constexpr COLORREF kPlainGlyph = RGB(0x40, 0x40, 0x40);

int ClampToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// value * numerator / denominator, rounded down; rectangles and ranges may span all of int, so
// the product does not fit 64 bits.
long long Scale(long long value, long long numerator, long long denominator) {
    return static_cast<long long>(static_cast<long double>(value) * numerator / denominator);
}

// One part of the bar as the theme sees it.
class PartTarget : public orvo::PaintTarget {
public:
    PartTarget(const CRect& rect, int flags, const CUIStyle* style)
        : m_rect(rect), m_flags(flags), m_style(style) {}
    CRect PaintRect() const override { return m_rect; }
    int PaintFlags() const override { return m_flags; }
    const CUIStyle* PaintStyle() const override { return m_style; }

private:
    CRect m_rect;
    int m_flags;
    const CUIStyle* m_style;
};

// A small filled triangle pointing along `part`'s direction.
void DrawGlyph(CDC* dc, const CRect& rect, bool vertical, bool forward) {
    const int size = std::max(2, std::min(rect.Width(), rect.Height()) / 4);
    const CPoint c = rect.CenterPoint();
    std::array<CPoint, 3> points;
    if (vertical) {
        const int tip = forward ? size / 2 : -size / 2;
        points = {
            CPoint(c.x - size, c.y - tip), CPoint(c.x + size, c.y - tip), CPoint(c.x, c.y + tip)};
    } else {
        const int tip = forward ? size / 2 : -size / 2;
        points = {
            CPoint(c.x - tip, c.y - size), CPoint(c.x - tip, c.y + size), CPoint(c.x + tip, c.y)};
    }
    CBrush brush(kPlainGlyph);
    CPen pen(PS_SOLID, 1, kPlainGlyph);
    const CBrush* oldBrush = dc->SelectObject(&brush);
    const CPen* oldPen = dc->SelectObject(&pen);
    dc->Polygon(points.data(), static_cast<int>(points.size()));
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
}

void DrawPlainButton(CDC* dc, const CRect& rect, bool pressed) {
    dc->FillSolidRect(rect, pressed ? kPlainPressed : kPlainButton);
    CBrush edge(kPlainEdge);
    dc->FrameRect(rect, &edge);
}

} // namespace

ORVO_DISPATCH(XScrollBar,
              XUI,
              ORVO_METHOD(ScrollTo),
              ORVO_METHOD(ScrollBy),
              ORVO_PROPERTY_EX(GetMin, SetMin, Min),
              ORVO_PROPERTY_EX(GetMax, SetMax, Max),
              ORVO_PROPERTY_EX(GetPage, SetPage, Page),
              ORVO_PROPERTY_EX(GetLine, SetLine, Line),
              ORVO_PROPERTY_EX(GetPos, SetPos, Pos),
              ORVO_PROPERTY_EX(IsVertical, SetVertical, Vertical))

XScrollBar::XScrollBar() = default;

int XScrollBar::SetElement(XElement* e) {
    if (!XUI::SetElement(e) || !e)
        return 0;
    if (!e->GetValue(L"Style", m_styleName))
        m_styleName = GetIXOKey();
    e->GetBool(L"Vertical", m_vertical);
    e->GetValue(L"Min", m_min);
    e->GetValue(L"Max", m_max);
    e->GetValue(L"Page", m_page);
    e->GetValue(L"Line", m_line);
    e->GetValue(L"Pos", m_pos);
    Clamp();
    return 1;
}

// ---- range and position ----------------------------------------------------------------------

void XScrollBar::Clamp() {
    m_max = std::max(m_max, m_min);
    m_page = std::max(m_page, 0);
    m_pos = std::clamp(m_pos, m_min, GetMaxPos());
}

int XScrollBar::GetMaxPos() const {
    // As Windows' scroll bars: a page of n shows n positions, so the last n share the end.
    const long long last = static_cast<long long>(m_max) - std::max(m_page - 1, 0);
    return ClampToInt(std::max<long long>(last, m_min));
}

void XScrollBar::SetRange(int min, int max) {
    m_min = min;
    m_max = max;
    Clamp();
    Repaint(nullptr);
}

void XScrollBar::SetPage(int page) {
    m_page = page;
    Clamp();
    Repaint(nullptr);
}

void XScrollBar::SetLine(int line) {
    m_line = line;
}

void XScrollBar::SetPos(int pos) {
    m_pos = pos;
    Clamp();
    Repaint(nullptr);
}

void XScrollBar::SetVertical(bool vertical) {
    m_vertical = vertical;
    Repaint(nullptr);
}

bool XScrollBar::ScrollTo(int pos) {
    const int clamped = std::clamp(pos, m_min, GetMaxPos());
    if (clamped == m_pos)
        return false;
    m_pos = clamped;
    Repaint(nullptr);
    // Listeners and handlers may destroy the bar.
    orvo::DispatchScope scope;
    const orvo::IXORef alive = WeakRef();
    NotifyChange(m_pos, 0);
    if (alive.Alive()) {
        XElement position(L"#ScrollPos#");
        position.SetBool(L"VScroll", m_vertical);
        position.SetValue(L"CurPos", m_pos);
        SendMsg(0, &position, this, this);
    }
    if (alive.Alive())
        RunObjectEvent(EVT_CHANGE);
    return true;
}

int XScrollBar::RunMsg(int fromUp, XElement* msg, XDO* sender, XDO* origin, int& sendDown) {
    if (msg &&
        plat::EqualsNoCase(msg->GetTagName(), m_vertical ? L"#VScrollSet#" : L"#HScrollSet#")) {
        int min = m_min;
        int max = m_max;
        msg->GetValue(L"MinPos", min);
        msg->GetValue(L"MaxPos", max);
        SetRange(min, max);
        if (int page = m_page; msg->GetValue(L"Page", page))
            SetPage(page);
        if (int pos = m_pos; msg->GetValue(L"CurPos", pos))
            SetPos(pos);
    }
    return XUI::RunMsg(fromUp, msg, sender, origin, sendDown);
}

bool XScrollBar::ScrollBy(int delta) {
    return ScrollTo(ClampToInt(static_cast<long long>(m_pos) + delta));
}

// ---- geometry --------------------------------------------------------------------------------

CRect XScrollBar::Span(long long start, long long end) const {
    return m_vertical ? CRect(left, ClampToInt(start), right, ClampToInt(end))
                      : CRect(ClampToInt(start), top, ClampToInt(end), bottom);
}

XScrollBar::Layout XScrollBar::ComputeLayout() const {
    const long long start = m_vertical ? top : left;
    const long long end = std::max<long long>(m_vertical ? bottom : right, start);
    const long long thickness = std::max<long long>(m_vertical ? Width() : Height(), 0);
    const long long arrow = std::min(thickness, (end - start) / 2);
    Layout layout;
    layout.trackStart = start + arrow;
    layout.trackEnd = end - arrow;
    const long long track = layout.trackEnd - layout.trackStart;
    const long long range = static_cast<long long>(m_max) - m_min + 1;
    const long long span = static_cast<long long>(GetMaxPos()) - m_min;
    if (span <= 0 || track <= 0) {
        layout.thumbStart = layout.thumbEnd = layout.trackStart;
        return layout;
    }
    const long long wanted = m_page > 0 ? Scale(track, m_page, range) : thickness;
    const long long thumb = std::clamp(wanted, std::min(kMinThumb, track), track);
    layout.thumbStart =
        layout.trackStart + Scale(track - thumb, static_cast<long long>(m_pos) - m_min, span);
    layout.thumbEnd = layout.thumbStart + thumb;
    return layout;
}

int XScrollBar::PosAtThumb(const Layout& layout, long long thumbStart) const {
    const long long free =
        (layout.trackEnd - layout.trackStart) - (layout.thumbEnd - layout.thumbStart);
    const long long span = static_cast<long long>(GetMaxPos()) - m_min;
    if (free <= 0 || span <= 0)
        return m_pos;
    const long long offset = std::clamp<long long>(thumbStart - layout.trackStart, 0, free);
    // Rounded to the nearest position.
    return ClampToInt(m_min + std::llround(static_cast<long double>(offset) * span / free));
}

CRect XScrollBar::PartRect(Part part) const {
    const Layout layout = ComputeLayout();
    const bool thumb = layout.thumbEnd > layout.thumbStart;
    switch (part) {
    case PART_LINE_BACK:
        return Span(m_vertical ? top : left, layout.trackStart);
    case PART_LINE_FORWARD:
        return Span(layout.trackEnd, m_vertical ? bottom : right);
    case PART_PAGE_BACK:
        return thumb ? Span(layout.trackStart, layout.thumbStart) : CRect();
    case PART_PAGE_FORWARD:
        return thumb ? Span(layout.thumbEnd, layout.trackEnd) : CRect();
    case PART_THUMB:
        return thumb ? Span(layout.thumbStart, layout.thumbEnd) : CRect();
    case PART_NONE:
        break;
    }
    return CRect();
}

XScrollBar::Part XScrollBar::PartAt(CPoint pt) const {
    if (!PtInRect(pt))
        return PART_NONE;
    for (Part part :
         {PART_LINE_BACK, PART_LINE_FORWARD, PART_THUMB, PART_PAGE_BACK, PART_PAGE_FORWARD})
        if (PartRect(part).PtInRect(pt))
            return part;
    return PART_NONE;
}

// ---- mouse -----------------------------------------------------------------------------------

void XScrollBar::SetEvent(int event, int notify) {
    const orvo::IXORef alive = WeakRef();
    if (event == XWindow::MOUSE_LDOWN && notify && IsEnabled()) {
        m_pressed = PartAt(GetPressPoint());
        auto* host = dynamic_cast<XWindow*>(GetXDO(XDO_STYLE_WINDOWHOST, 1));
        if (m_pressed == PART_THUMB) {
            m_grab = Along(GetPressPoint()) - ComputeLayout().thumbStart;
            if (host)
                host->DraggingStart(this, event);
        } else if (m_pressed != PART_NONE) {
            // Without a window host there is no repeat: one step.
            if (host)
                host->RepeatStart(this, event);
            else
                StepPressedPart();
        }
    } else if (event != XWindow::MOUSE_LDOWN && event != XWindow::MOUSE_OVER &&
               m_pressed != PART_NONE) {
        m_pressed = PART_NONE;
        Repaint(nullptr);
    }
    if (alive.Alive())
        XUI::SetEvent(event, notify);
}

int XScrollBar::RunObjectEvent(int id) {
    const orvo::IXORef alive = WeakRef();
    if (id == EVT_REPEAT)
        StepPressedPart();
    else if ((id == EVT_DRAGGING || id == XWindow::kEvtDragEnd) && m_pressed == PART_THUMB)
        FollowDrag();
    if (id == XWindow::kEvtDragEnd && alive.Alive()) {
        m_pressed = PART_NONE;
        Repaint(nullptr);
    }
    return alive.Alive() ? XUI::RunObjectEvent(id) : 0;
}

void XScrollBar::StepPressedPart() {
    const int line = std::max(m_line, 1);
    const int page = std::max(m_page, 1);
    switch (m_pressed) {
    case PART_LINE_BACK:
        ScrollBy(-line);
        return;
    case PART_LINE_FORWARD:
        ScrollBy(line);
        return;
    case PART_PAGE_BACK:
    case PART_PAGE_FORWARD:
        // Paging stops once the thumb has come under the cursor.
        if (PartAt(GetPressPoint()) == m_pressed)
            ScrollBy(m_pressed == PART_PAGE_BACK ? -page : page);
        return;
    case PART_THUMB:
    case PART_NONE:
        return;
    }
}

void XScrollBar::FollowDrag() {
    const Layout layout = ComputeLayout();
    ScrollTo(PosAtThumb(layout, Along(GetCurrentPoint()) - m_grab));
}

// ---- painting --------------------------------------------------------------------------------

void XScrollBar::Draw(CDC* dc) {
    if (!dc)
        return;
    if (GetStyle())
        XUI::Draw(dc);
    else
        dc->FillSolidRect(*this, kPlainTrack);
    DrawPart(dc, PART_LINE_BACK, m_vertical ? L".Up" : L".Left");
    DrawPart(dc, PART_LINE_FORWARD, m_vertical ? L".Down" : L".Right");
    DrawPart(dc, PART_THUMB, L".Thumb");
}

void XScrollBar::DrawPart(CDC* dc, Part part, const std::wstring& styleSuffix) {
    const CRect rect = PartRect(part);
    if (rect.IsRectEmpty())
        return;
    const bool pressed = m_pressed == part;
    XTheme* theme = CurrentTheme();
    const CUIStyle* style = theme ? theme->GetUIStyle(m_styleName + styleSuffix) : nullptr;
    if (style) {
        PartTarget target(rect, PaintFlags(), style);
        const int mouse = pressed ? XWindow::MOUSE_LDOWN : XWindow::MOUSE_NONE;
        theme->Draw(dc, &target, style->GetUIEvent(PaintFlags(), mouse, &target));
        return;
    }
    DrawPlainButton(dc, rect, pressed);
    if (part != PART_THUMB)
        DrawGlyph(dc, rect, m_vertical, part == PART_LINE_FORWARD);
}
