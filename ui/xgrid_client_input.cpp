// The grid client's mouse and keys: selection by clicks, hover and pressed cells, the wheel,
// and keyboard navigation.
#include <algorithm>

#include "core/element.h"
#include "platform/gui/virtual_key.h"
#include "ui/window_message.h"
#include "ui/xgrid.h"
#include "ui/xgrid_client.h"

namespace {

// The names of the keys a grid reports as "Key" events.
const wchar_t* KeyName(unsigned key) {
    switch (key) {
    case plat::VK_ESCAPE:
        return L"ESC";
    case plat::VK_RETURN:
        return L"RETURN";
    case plat::VK_PRIOR:
        return L"PRIOR";
    case plat::VK_NEXT:
        return L"NEXT";
    case plat::VK_HOME:
        return L"HOME";
    case plat::VK_END:
        return L"END";
    case plat::VK_LEFT:
        return L"LEFT";
    case plat::VK_UP:
        return L"UP";
    case plat::VK_RIGHT:
        return L"RIGHT";
    case plat::VK_DOWN:
        return L"DOWN";
    default:
        return nullptr;
    }
}

} // namespace

void XGridClient::MarkCellUnder(CPoint pt, Cell& mark) {
    Cell under;
    CalcRowCol(pt, under.row, under.column);
    if (under == mark)
        return;
    RepaintCell(mark.row, mark.column);
    mark = under;
    RepaintCell(under.row, under.column);
}

void XGridClient::OnButtonDown(unsigned flags, CPoint pt, int code) {
    const orvo::IXORef alive = WeakRef();
    XWindow::OnButtonDown(flags, pt, code);
    if (!alive.Alive())
        return;
    if (code == MOUSE_LDOWN && m_bMouseUI)
        MarkCellUnder(pt, m_pressed);
    GridClick(pt, code);
}

void XGridClient::OnButtonDblClk(unsigned flags, CPoint pt, int code) {
    const orvo::IXORef alive = WeakRef();
    XWindow::OnButtonDblClk(flags, pt, code);
    if (alive.Alive())
        GridClick(pt, code);
}

void XGridClient::OnButtonUp(unsigned flags, CPoint pt, int code) {
    const orvo::IXORef alive = WeakRef();
    if (code == MOUSE_LUP && m_bMouseUI) {
        RepaintCell(m_hover.row, m_hover.column);
        m_hover = Cell();
        Cell under;
        CalcRowCol(pt, under.row, under.column);
        const Cell pressed = m_pressed;
        m_pressed = Cell();
        RepaintCell(pressed.row, pressed.column);
        if (pressed.row >= 0 && under == pressed)
            if (XUI* object = GetBodyObject(pressed.column)) {
                const orvo::IXORef objectAlive = object->WeakRef();
                object->SetEvent(MOUSE_LCLICK, 1);
                if (!alive.Alive())
                    return;
                if (objectAlive.Alive())
                    object->SetEvent(MOUSE_NONE, 0);
            }
    }
    XWindow::OnButtonUp(flags, pt, code);
}

void XGridClient::XOnMouseMove(unsigned flags, CPoint pt) {
    const orvo::IXORef alive = WeakRef();
    XWindow::XOnMouseMove(flags, pt);
    if (!alive.Alive() || !m_bMouseUI)
        return;
    MarkCellUnder(pt, m_hover);
    if (m_pressed.row >= 0 && GetPressedCode() == MOUSE_NONE) {
        RepaintCell(m_pressed.row, m_pressed.column);
        m_pressed = Cell();
    }
}

void XGridClient::XOnMouseWheel(unsigned, short delta, CPoint) {
    if (delta != 0)
        ScrollMsgPaint(delta > 0 ? -1 : 1, true, true);
}

bool XGridClient::GridClick(CPoint point, int code) {
    int row = -1;
    int column = -1;
    if (!CalcRowCol(point, row, column))
        return false;
    Select(row, column);
    m_bDblClick = code == MOUSE_LDBLCLK || code == MOUSE_RDBLCLK;
    if (m_bDblClick)
        SendEventToGrid(L"DoubleSelect");
    else if (m_pGrid)
        m_pGrid->RunObjectEvent(EVT_SELECT);
    return true;
}

int XGridClient::OnPreTranslateMsg(MSG* msg) {
    if (msg && m_onPreTranslate && m_onPreTranslate(this, msg))
        return 1;
    if (msg && msg->message == orvo::WM_KEYDOWN) {
        const orvo::IXORef alive = WeakRef();
        const auto key = static_cast<unsigned>(msg->wParam);
        const bool navigation = KeyDownProcess(key);
        if (alive.Alive())
            KeyEvent(key);
        if (navigation || !alive.Alive())
            return 1;
    }
    return XWindow::OnPreTranslateMsg(msg);
}

bool XGridClient::KeyDownProcess(unsigned key) {
    const int n = GetRowCount();
    const int page = std::max(GetRowPerPage(), 1);
    const long long selected = m_nSelectRow;
    long long row = selected;
    long long start = m_nStartRow;
    switch (key) {
    case plat::VK_DOWN:
        row = selected + 1;
        break;
    case plat::VK_UP:
        row = selected - 1;
        break;
    case plat::VK_PRIOR:
        start -= page;
        row = selected - page;
        break;
    case plat::VK_NEXT:
        start = std::min<long long>(start + page, std::max(n - page, 0));
        row = selected + page;
        break;
    case plat::VK_HOME:
        row = 0;
        break;
    case plat::VK_END:
        row = n - 1;
        break;
    default:
        return false;
    }
    row = n > 0 ? std::clamp<long long>(row, 0, n - 1) : -1;
    start = std::clamp<long long>(start, 0, std::max(n - 1, 0));
    const bool changed = row != selected || start != m_nStartRow;
    const bool backwards = key == plat::VK_UP || key == plat::VK_PRIOR || key == plat::VK_HOME;
    if (start != m_nStartRow) {
        m_nStartRow = static_cast<int>(start);
        SendVScroll();
    }
    Select(static_cast<int>(row), m_nSelectCol);
    ScrollToShow(static_cast<int>(row));
    if (changed)
        RepaintBody();
    // Leaving an end lets it be reported again when it is reached next.
    if (n > 0 && backwards && row == 0)
        SetHit(true, false);
    else if (n > 0 && !backwards && row == n - 1)
        SetHit(false, true);
    else if (backwards)
        m_bHitBottom = false;
    else
        m_bHitTop = false;
    return true;
}

void XGridClient::SetHit(bool top, bool bottom) {
    const orvo::IXORef alive = WeakRef();
    if (top) {
        m_bHitBottom = false;
        if (!m_bHitTop) {
            m_bHitTop = true;
            SendEventToGrid(L"HitTop");
        }
    }
    if (bottom && alive.Alive()) {
        m_bHitTop = false;
        if (!m_bHitBottom) {
            m_bHitBottom = true;
            SendEventToGrid(L"HitBottom");
        }
    }
}

void XGridClient::KeyEvent(unsigned key) {
    const wchar_t* name = KeyName(key);
    if (!m_bKeyEvent || !m_pGrid || !name)
        return;
    XElement event(L"Key");
    event.SetValue(L"Key", name);
    m_pGrid->SendEvent(&event, this);
}
