// Rows and columns resized with the mouse at their grips, and columns moved by dragging them.
// One drag exists in the whole process: only one mouse button is held at a time.
#include <algorithm>
#include <climits>

#include "nubra/ixo_ref.h"
#include "platform/gui/dc.h"
#include "platform/gui/pen.h"
#include "platform/gui/virtual_key.h"
#include "ui/window_message.h"
#include "ui/xtable.h"
#include "ui/xwindow.h"

namespace {

struct TableDrag {
    orvo::IXORef table;
    bool resize = false; // else a column move
    bool rows = false;
    int entry = -1;
    int track = 0; // the track line's x (columns) or y (rows), window coordinates
    int low = INT_MIN;
    int high = INT_MAX;
    bool moved = false;
};

TableDrag s_drag;

bool DragOf(const XTable* table) {
    return s_drag.table.Get() == table;
}

XWindow* HostOf(XTable* table) {
    for (XDO* up = table; up; up = up->parent())
        if (auto* window = dynamic_cast<XWindow*>(up))
            return window;
    return nullptr;
}

} // namespace

int XTable::RunObjectEvent(int id) {
    if (id == EVT_BEFORECREATE)
        m_fixedWidth = std::all_of(
            m_cols.begin(), m_cols.end(), [](const CRowColInfo& c) { return c.IsPixels(); });
    const orvo::IXORef alive = WeakRef();
    const int result = XUI::RunObjectEvent(id);
    if (!alive.Alive() || !DragOf(this))
        return result;
    if (id == EVT_DRAGGING) {
        MoveTrack(GetCurrentPoint());
    } else if (id == XWindow::kEvtDragEnd) {
        EndDrag(GetCurrentPoint());
    }
    return result;
}

int XTable::CreateInstance() {
    if (!XUI::CreateInstance())
        return 0;
    auto any = [](const std::vector<CRowColInfo>& v, bool CRowColInfo::*flag) {
        return std::any_of(v.begin(), v.end(), [flag](const CRowColInfo& e) { return e.*flag; });
    };
    if (any(m_rows, &CRowColInfo::resize) || any(m_cols, &CRowColInfo::resize) ||
        any(m_cols, &CRowColInfo::swap))
        if (XWindow* host = HostOf(this))
            host->WatchMessages(this);
    return 1;
}

int XTable::OnPreTranslateMsg(MSG* msg) {
    XWindow* host = HostOf(this);
    if (!msg || !host || !IsShow())
        return 0;
    CPoint point = msg->pt;
    point.x += host->GetLogX();
    switch (msg->message) {
    case orvo::WM_MOUSEMOVE:
        if (host->IsDragging() || host->GetPressedCode() != XWindow::MOUSE_NONE)
            return 0;
        if (!GetResizeInfo(point, false)) {
            if (m_sizingCursor)
                host->ShowCursorShape(plat::CursorShape::Arrow);
            m_sizingCursor = false;
            return 0;
        }
        host->ShowCursorShape(m_gripRows ? plat::CursorShape::SizeNS : plat::CursorShape::SizeWE);
        m_sizingCursor = true;
        return 1;
    case orvo::WM_LBUTTONDOWN:
        if (!GetResizeInfo(point, true) && !GetSwapInfo(point, true))
            return 0;
        SetCurrentPoint(point);
        host->StartObjectDrag(this, XWindow::MOUSE_LDOWN);
        Repaint(nullptr);
        return 1;
    case orvo::WM_KEYDOWN:
        if (msg->wParam != plat::VK_ESCAPE || !DragOf(this) || !host->IsDragging())
            return 0;
        s_drag = TableDrag();
        host->CancelDrag();
        Repaint(nullptr);
        return 1;
    default:
        return 0;
    }
}

int XTable::NeighbourOf(bool rows, int index) const {
    if (rows) {
        for (int r = index + 1; r < GetRowCount(); ++r)
            if (m_rows[static_cast<std::size_t>(r)].shown)
                return r;
        return -1;
    }
    const auto at = std::find(m_order.begin(), m_order.end(), index);
    for (auto it = at == m_order.end() ? at : at + 1; it != m_order.end(); ++it)
        if (m_cols[static_cast<std::size_t>(*it)].shown)
            return *it;
    return -1;
}

bool XTable::GetResizeInfo(CPoint point, bool commit) {
    const CRect inner = GetInner().rect;
    if (!PtInRect(point))
        return false;
    auto found = [&](bool rows, int index, int edge) {
        m_gripRows = rows;
        if (!commit)
            return true;
        const CRowColInfo& e = (rows ? m_rows : m_cols)[static_cast<std::size_t>(index)];
        const int origin = rows ? inner.top : inner.left;
        TableDrag drag;
        drag.table = WeakRef();
        drag.resize = true;
        drag.rows = rows;
        drag.entry = index;
        drag.track = edge;
        drag.low = origin + e.position + e.minSize;
        if (const int n = NeighbourOf(rows, index); n >= 0 && !(!rows && m_fixedWidth)) {
            const CRowColInfo& nb = (rows ? m_rows : m_cols)[static_cast<std::size_t>(n)];
            drag.high = origin + nb.End() - nb.minSize - e.gap;
        } else if (rows) {
            drag.high = inner.bottom;
        }
        s_drag = drag;
        return true;
    };
    auto onGrip = [](int at, int edge, const CRowColInfo& e) {
        const int half = std::max(e.gripSize, 2) / 2;
        return at >= edge - half && at <= edge + std::max(half, 1);
    };
    if (m_fixedWidth) {
        // Columns squeezed almost shut keep a grip just right of their edge.
        for (auto it = m_order.rbegin(); it != m_order.rend(); ++it) {
            const CRowColInfo& c = m_cols[static_cast<std::size_t>(*it)];
            const int edge = inner.left + c.End();
            if (c.shown && c.resize && c.Size() < 3 && point.x >= edge &&
                point.x <= edge + std::max(c.gripSize, 2))
                return found(false, *it, edge);
        }
    }
    for (int r = 0; r < GetRowCount(); ++r) {
        const CRowColInfo& e = m_rows[static_cast<std::size_t>(r)];
        const int n = NeighbourOf(true, r);
        const int edge = inner.top + e.End();
        if (e.shown && e.resize && n >= 0 && m_rows[static_cast<std::size_t>(n)].resizable &&
            onGrip(point.y, edge, e))
            return found(true, r, edge);
    }
    for (int c : m_order) {
        const CRowColInfo& e = m_cols[static_cast<std::size_t>(c)];
        const int n = NeighbourOf(false, c);
        const bool neighbourOk =
            m_fixedWidth || (n >= 0 && m_cols[static_cast<std::size_t>(n)].resizable);
        const int edge = inner.left + e.End();
        if (e.shown && e.resize && neighbourOk && onGrip(point.x, edge, e))
            return found(false, c, edge);
    }
    return false;
}

bool XTable::GetSwapInfo(CPoint point, bool commit) {
    const CRect inner = GetInner().rect;
    if (point.y < inner.top || point.y >= inner.bottom)
        return false;
    for (int c = 0; c < GetColCount(); ++c) {
        const CRowColInfo& e = m_cols[static_cast<std::size_t>(c)];
        const int left = inner.left + e.position;
        if (!e.shown || !e.swap || e.Size() <= 2 || point.x < left || point.x >= left + e.Size())
            continue;
        if (commit) {
            TableDrag drag;
            drag.table = WeakRef();
            drag.entry = c;
            drag.track = point.x;
            s_drag = drag;
        }
        return true;
    }
    return false;
}

void XTable::MoveTrack(CPoint point) {
    const int at = s_drag.rows ? point.y : point.x;
    s_drag.moved = s_drag.moved || at != s_drag.track;
    s_drag.track = std::clamp(at, s_drag.low, std::max(s_drag.low, s_drag.high));
    Repaint(nullptr);
}

void XTable::EndDrag(CPoint point) {
    MoveTrack(point);
    const TableDrag drag = s_drag;
    s_drag = TableDrag();
    if (drag.resize) {
        const CRect inner = GetInner().rect;
        const CRowColInfo& e = (drag.rows ? m_rows : m_cols)[static_cast<std::size_t>(drag.entry)];
        const int origin = drag.rows ? inner.top : inner.left;
        ApplyResize(drag.rows, drag.entry, std::max(drag.track - origin - e.position, 0));
    } else {
        ApplySwap(drag.entry, point, drag.moved);
    }
    AfterDrag();
}

void XTable::ApplyResize(bool rows, int index, int size) {
    std::vector<CRowColInfo>& entries = rows ? m_rows : m_cols;
    CRowColInfo& e = entries[static_cast<std::size_t>(index)];
    if (!rows && m_fixedWidth) {
        e.SetPos(size, CPosEx::SCALE_PX, size);
        return;
    }
    const int n = NeighbourOf(rows, index);
    if (n < 0 || !entries[static_cast<std::size_t>(n)].resizable)
        return;
    CRowColInfo& nb = entries[static_cast<std::size_t>(n)];
    // Percentages are of what the pixel entries leave.
    const CRect inner = GetInner().rect;
    long long free = rows ? inner.Height() : inner.Width();
    for (const CRowColInfo& x : entries)
        if (x.shown && x.IsPixels())
            free -= x.Size();
    const int delta = size - e.Size();
    auto set = [free](CRowColInfo& x, int newSize, const CRowColInfo& other) {
        newSize = std::max(newSize, 0);
        if (x.IsPixels())
            x.SetPos(newSize, CPosEx::SCALE_PX, newSize);
        else if (!(x.IsAutomatic() && other.IsPercent()) && free > 0)
            x.SetPos(newSize, CPosEx::SCALE_PERCENT, newSize * 100.0 / static_cast<double>(free));
    };
    const int neighbourSize = nb.Size() - delta;
    set(e, size, nb);
    set(nb, neighbourSize, e);
}

void XTable::ApplySwap(int column, CPoint point, bool moved) {
    if (!moved) {
        // A press on a movable column that never moved is a click on its heading.
        if (auto* heading = dynamic_cast<XUI*>(GetSubItem(0, column)))
            heading->SetEvent(XWindow::MOUSE_LCLICK, 1);
        return;
    }
    const CRect inner = GetInner().rect;
    for (int c = 0; c < GetColCount(); ++c) {
        const CRowColInfo& e = m_cols[static_cast<std::size_t>(c)];
        const int left = inner.left + e.position;
        if (c == column || !e.shown || !e.swap || point.x < left || point.x >= left + e.Size())
            continue;
        const auto from = std::find(m_order.begin(), m_order.end(), column);
        const auto to = std::find(m_order.begin(), m_order.end(), c);
        if (from == m_order.end() || to == m_order.end())
            return;
        const auto target = to - m_order.begin();
        m_order.erase(from);
        m_order.insert(m_order.begin() + target, column);
        return;
    }
}

void XTable::AfterDrag() {
    SyncFollowers();
    Relayout();
    if (m_listener)
        m_listener->OnTableDragEnd(this);
}

void XTable::DrawTrack(CDC* dc) const {
    if (!DragOf(this))
        return;
    const CRect inner = GetInner().rect;
    const CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    const CPen* previous = dc->SelectObject(&pen);
    if (s_drag.rows) {
        dc->MoveTo(inner.left, s_drag.track);
        dc->LineTo(inner.right, s_drag.track);
    } else {
        dc->MoveTo(s_drag.track, inner.top);
        dc->LineTo(s_drag.track, inner.bottom);
    }
    dc->SelectObject(previous);
}
