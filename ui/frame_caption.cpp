#include "ui/frame_caption.h"

#include <algorithm>

#include "core/xdo.h"
#include "platform/gui/dc.h"
#include "platform/gui/pen.h"
#include "platform/gui/virtual_key.h"

namespace orvo {

FrameCaption::FrameCaption(plat::Window& client, const CRect& frame, Actions actions)
    : m_window(plat::WindowKind::Child, &client), m_actions(std::move(actions)),
      m_strip(RGB(0x2A, 0x31, 0x40)), m_text(RGB(0xDD, 0xE2, 0xE9)), m_edge(RGB(0x3B, 0x45, 0x58)) {
    m_window.SetHandler(this);
    m_window.SetBackgroundColour(m_edge);
    m_window.Move(CRect(
        frame.left, frame.top, frame.right + 2 * kBorder, frame.bottom + kTitleHeight + kBorder));
    m_window.Show();
}

FrameCaption::~FrameCaption() {
    m_window.SetHandler(nullptr);
}

CRect FrameCaption::InnerRect() const {
    const CRect all = m_window.GetClientRect();
    return CRect(kBorder, kTitleHeight, all.right - kBorder, all.bottom - kBorder);
}

CRect FrameCaption::CloseBox() const {
    const int right = m_window.GetClientRect().right - 4;
    return CRect(right - 14, 4, right, 18);
}

void FrameCaption::SetTitle(std::wstring title) {
    m_title = std::move(title);
    m_window.SetTitle(m_title);
    const CRect strip(0, 0, m_window.GetClientRect().right, kTitleHeight);
    m_window.Invalidate(&strip);
}

void FrameCaption::SetInnerLimits(CSize min, CSize max) {
    m_minInner = CSize(std::max<int>(min.cx, 60), std::max<int>(min.cy, 0));
    m_maxInner = max;
}

unsigned FrameCaption::EdgesAt(CPoint pt) const {
    const CRect all = m_window.GetClientRect();
    if (pt.y < kTitleHeight)
        return kNone;
    unsigned edges = kNone;
    if (pt.x < kBorder)
        edges |= kLeft;
    if (pt.x >= all.right - kBorder)
        edges |= kRight;
    if (pt.y >= all.bottom - kBorder)
        edges |= kBottom;
    // Near a lower corner a press takes both borders that meet there.
    if (edges != kNone && pt.y >= all.bottom - kCorner) {
        edges |= kBottom;
        if (pt.x < kCorner)
            edges |= kLeft;
        if (pt.x >= all.right - kCorner)
            edges |= kRight;
    }
    return edges;
}

void FrameCaption::ResizeTo(CPoint screen) {
    const int dx = screen.x - m_grabScreen.x;
    const int dy = screen.y - m_grabScreen.y;
    // The frame's window is the caption window less the strip and the borders.
    const int extraX = 2 * kBorder;
    const int extraY = kTitleHeight + kBorder;
    auto clamp = [](int size, int min, int max) {
        size = std::max(size, min);
        return max > 0 ? std::min(size, max) : size;
    };
    CRect place = m_startRect;
    if (m_sizing & (kLeft | kRight)) {
        const int wanted = m_startRect.Width() - extraX + ((m_sizing & kLeft) ? -dx : dx);
        const int width = clamp(wanted, m_minInner.cx, m_maxInner.cx) + extraX;
        if (m_sizing & kLeft)
            place.left = place.right - width;
        else
            place.right = place.left + width;
    }
    if (m_sizing & kBottom) {
        const int height =
            clamp(m_startRect.Height() - extraY + dy, m_minInner.cy, m_maxInner.cy) + extraY;
        place.bottom = place.top + height;
    }
    m_window.Move(place);
    if (m_actions.resized)
        m_actions.resized(InnerRect());
}

void FrameCaption::SetColours(COLORREF strip, COLORREF text, COLORREF edge) {
    m_strip = strip;
    m_text = text;
    m_edge = edge;
    m_window.SetBackgroundColour(edge);
    m_window.Invalidate();
}

bool FrameCaption::OnMouse(plat::Window& window, const plat::MouseEvent& event) {
    switch (event.action) {
    case plat::MouseAction::ButtonDown:
        if (m_actions.activate)
            m_actions.activate();
        if (event.button == plat::VK_LBUTTON && CloseBox().PtInRect(event.point)) {
            if (m_actions.close)
                m_actions.close();
            return true;
        }
        if (event.button != plat::VK_LBUTTON)
            return true;
        if (event.point.y < kTitleHeight) {
            m_moving = true;
            m_grab = event.point;
            window.SetCapture();
        } else if ((m_sizing = EdgesAt(event.point)) != kNone) {
            m_grabScreen = window.ClientToScreen(event.point);
            m_startRect = window.GetWindowRect();
            window.SetCapture();
        }
        return true;
    case plat::MouseAction::Move:
        if (!(event.keys & plat::MK_LBUTTON)) {
            const unsigned edges = EdgesAt(event.point);
            window.SetCursor(edges == (kLeft | kBottom)    ? plat::CursorShape::SizeNESW
                             : edges == (kRight | kBottom) ? plat::CursorShape::SizeNWSE
                             : edges == kBottom            ? plat::CursorShape::SizeNS
                             : edges != kNone              ? plat::CursorShape::SizeWE
                                                           : plat::CursorShape::Arrow);
        } else if (m_sizing != kNone) {
            ResizeTo(window.ClientToScreen(event.point));
        } else if (m_moving) {
            CRect place = window.GetWindowRect();
            place.OffsetRect(event.point.x - m_grab.x, event.point.y - m_grab.y);
            window.Move(place);
        }
        return true;
    case plat::MouseAction::ButtonUp:
        if (m_moving || m_sizing != kNone) {
            m_moving = false;
            m_sizing = kNone;
            plat::Window::ReleaseCapture();
        }
        return true;
    default:
        return false;
    }
}

bool FrameCaption::OnPaint(plat::Window& window, CDC& dc, const CRect&) {
    const CRect all = window.GetClientRect();
    dc.FillSolidRect(CRect(0, 0, all.right, kTitleHeight), m_strip);
    if (const CFont* font = GetSystemFont(L""))
        dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_text);
    CRect text(8, 0, CloseBox().left - 4, kTitleHeight);
    dc.DrawText(m_title.c_str(),
                static_cast<int>(m_title.size()),
                &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    // The close box: a cross.
    CPen pen(PS_SOLID, 1, m_text);
    const CPen* previous = dc.SelectObject(&pen);
    const CRect box = CloseBox();
    dc.MoveTo(box.left + 3, box.top + 3);
    dc.LineTo(box.right - 3, box.bottom - 3);
    dc.MoveTo(box.right - 4, box.top + 3);
    dc.LineTo(box.left + 2, box.bottom - 3);
    dc.SelectObject(previous);
    return true;
}

} // namespace orvo
