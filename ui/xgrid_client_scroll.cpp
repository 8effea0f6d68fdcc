// The grid client's scrolling (rows down, pixels across), the positions it tells its scroll
// bars, and its answers to the data source's changes.
#include <algorithm>

#include "core/element.h"
#include "ui/xgrid.h"
#include "ui/xgrid_client.h"

void XGridClient::ScrollMsgPaint(int delta, bool send, bool paint) {
    if (!Created())
        return;
    const int n = GetRowCount();
    const int last = std::max(std::min(n - 1, n - GetRowPerPage()), 0);
    long long start = static_cast<long long>(m_nStartRow) + delta;
    bool reachedTop = false;
    bool reachedBottom = false;
    if (delta < 0) {
        start = std::max<long long>(start, 0);
        m_bHitBottom = false;
        reachedTop = start == 0 && !m_bHitTop;
        m_bHitTop = m_bHitTop || start == 0;
    } else if (delta > 0) {
        start = std::min<long long>(start, last);
        m_bHitTop = false;
        reachedBottom = start == last && !m_bHitBottom;
        m_bHitBottom = m_bHitBottom || start == last;
    }
    // Rows removed since may leave the page past the end.
    m_nStartRow = static_cast<int>(std::clamp<long long>(start, 0, last));
    if (send)
        SendVScroll();
    if (paint)
        RepaintBody();
    const orvo::IXORef alive = WeakRef();
    if (reachedTop)
        SendEventToGrid(L"HitTop");
    if (reachedBottom && alive.Alive())
        SendEventToGrid(L"HitBottom");
}

void XGridClient::CenterRow(int row) {
    const int page = GetRowPerPage();
    const int last = std::max(GetRowCount() - page, 0);
    const int start = std::clamp(row - page / 2, 0, last);
    if (start != m_nStartRow)
        ScrollMsgPaint(start - m_nStartRow, true, true);
}

void XGridClient::HScrollMsgPaint(int delta, bool send, bool paint) {
    if (!m_pBody || !GetNativeWindow() || !m_bInitialized)
        return;
    const int before = m_nLogicalWidth;
    UpdateLogicalWidth();
    if (m_nLogicalWidth != before)
        LayoutTables();
    const int width = GetInner().rect.Width();
    long long x = static_cast<long long>(GetLogX()) + delta;
    x = std::clamp<long long>(x, 0, std::max(m_nLogicalWidth - width, 0));
    x = std::min<long long>(x, m_nLogicalWidth - 1);
    const bool moved = x != GetLogX();
    SetLogX(static_cast<int>(x));
    if (send) {
        SendHScroll();
        if (m_pGrid)
            m_pGrid->ShowHScroll(x != 0 || m_nLogicalWidth > width);
    }
    if (paint && moved)
        Refresh();
    else if (paint)
        RepaintBody();
}

void XGridClient::SendVScroll() {
    XElement msg(L"#VScrollSet#");
    msg.SetValue(L"MinPos", 0);
    msg.SetValue(L"MaxPos", GetRowCount() - 1);
    msg.SetValue(L"CurPos", m_nStartRow);
    msg.SetValue(L"Page", GetRowPerPage());
    msg.SetValue(L"HitTop", m_bHitTop ? L"True" : L"False");
    msg.SetValue(L"HitBottom", m_bHitBottom ? L"True" : L"False");
    SendMsg(0, &msg, this, this);
}

void XGridClient::SendHScroll() {
    XElement msg(L"#HScrollSet#");
    msg.SetValue(L"MinPos", 0);
    msg.SetValue(L"MaxPos", m_nLogicalWidth - 1);
    msg.SetValue(L"CurPos", GetLogX());
    msg.SetValue(L"Page", GetInner().rect.Width());
    SendMsg(0, &msg, this, this);
}

void XGridClient::OnNotifierChanged(XDO* notifier, int notifyId, int a, int b) {
    // The listener callback runs; the client repaints no more than the change needs.
    XRect::OnNotifierChanged(notifier, notifyId, a, b);
    int kind = a;
    int value = b;
    const int rows = GetRowCount();
    if (m_bReverseRow) {
        // The first data row is shown last: the ends change places.
        if (kind >= CHANGE_FIRST_ROW && kind <= CHANGE_REMOVED_BOTTOM)
            kind = ((kind - CHANGE_FIRST_ROW) ^ 1) + CHANGE_FIRST_ROW;
        else if (kind == CHANGE_ROW)
            value = rows - value - 1;
    }
    switch (kind) {
    case CHANGE_FIRST_ROW:
        RepaintRow(0);
        return;
    case CHANGE_LAST_ROW:
        RepaintRow(rows - 1);
        return;
    case CHANGE_ROW:
        RepaintRow(value);
        return;
    case CHANGE_ADDED_BOTTOM:
        ClearHits();
        if (value == 1) {
            RepaintRow(rows - 1);
            ScrollMsgPaint(0, true, false);
        } else {
            ScrollMsgPaint(0, true, true);
        }
        return;
    default:
        break;
    }
    ClearHits();
    long long selected = m_nSelectRow;
    if (selected >= 0 && kind == CHANGE_INSERTED_TOP)
        selected += value;
    else if (selected >= 0 && kind == CHANGE_REMOVED_TOP)
        selected -= value;
    m_nSelectRow = selected >= 0 && selected < rows ? static_cast<int>(selected) : -1;
    ScrollMsgPaint(0, true, true);
}
