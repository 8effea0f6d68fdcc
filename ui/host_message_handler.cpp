#include "ui/host_message_handler.h"

#include "core/object_lifetime.h"
#include "core/scr_man.h"
#include "platform/gui/virtual_key.h"
#include "ui/window_message.h"
#include "ui/xwindow.h"

namespace orvo {

namespace {

// The message a mouse event stands for; 0 for the middle button, which the host ignores.
unsigned MessageOf(const plat::MouseEvent& event) {
    const bool left = event.button == plat::VK_LBUTTON;
    const bool right = event.button == plat::VK_RBUTTON;
    switch (event.action) {
    case plat::MouseAction::Move:
        return WM_MOUSEMOVE;
    case plat::MouseAction::Wheel:
        return WM_MOUSEWHEEL;
    case plat::MouseAction::ButtonDown:
        return left ? WM_LBUTTONDOWN : right ? WM_RBUTTONDOWN : 0;
    case plat::MouseAction::ButtonUp:
        return left ? WM_LBUTTONUP : right ? WM_RBUTTONUP : 0;
    case plat::MouseAction::DoubleClick:
        return left ? WM_LBUTTONDBLCLK : right ? WM_RBUTTONDBLCLK : 0;
    }
    return 0;
}

} // namespace

bool HostMessageHandler::Translated(plat::Window& window,
                                    unsigned message,
                                    std::uintptr_t wParam,
                                    CPoint pt) {
    MSG msg;
    msg.hwnd = &window;
    msg.message = message;
    msg.wParam = wParam;
    msg.pt = pt;
    return XScrMan::Instance().TranslateMsg(&msg, &m_owner) != 0;
}

bool HostMessageHandler::OnMouse(plat::Window& window, const plat::MouseEvent& event) {
    const unsigned message = MessageOf(event);
    if (message == 0)
        return false;
    // The host, its page or the window may go inside a handler: the deletes wait until here.
    const DispatchScope scope;
    if (Translated(window, message, event.keys, event.point))
        return true;
    CPoint pt = event.point;
    pt.x += m_owner.GetLogX();
    switch (message) {
    case WM_MOUSEMOVE:
        m_owner.XOnMouseMove(event.keys, pt);
        break;
    case WM_MOUSEWHEEL:
        m_owner.XOnMouseWheel(event.keys, static_cast<short>(event.wheelDelta), pt);
        break;
    case WM_LBUTTONDOWN:
        m_owner.XOnLButtonDown(event.keys, pt);
        break;
    case WM_RBUTTONDOWN:
        m_owner.XOnRButtonDown(event.keys, pt);
        break;
    case WM_LBUTTONUP:
        m_owner.XOnLButtonUp(event.keys, pt);
        break;
    case WM_RBUTTONUP:
        m_owner.XOnRButtonUp(event.keys, pt);
        break;
    case WM_LBUTTONDBLCLK:
        m_owner.XOnLButtonDblClk(event.keys, pt);
        break;
    case WM_RBUTTONDBLCLK:
        m_owner.XOnRButtonDblClk(event.keys, pt);
        break;
    default:
        return false;
    }
    return true;
}

// Keys only pass through the screen manager: the host itself has no keyboard handling, a
// consumed key goes no further.
bool HostMessageHandler::OnKey(plat::Window& window, const plat::KeyEvent& event) {
    if (event.virtualKey == 0)
        return false;
    const DispatchScope scope;
    return Translated(window,
                      event.down ? WM_KEYDOWN : WM_KEYUP,
                      static_cast<std::uintptr_t>(event.virtualKey),
                      CPoint());
}

bool HostMessageHandler::OnSize(plat::Window& window, CSize size) {
    const DispatchScope scope;
    m_owner.OnSizeWindow(&window);
    // Requests are in logical coordinates: the whole client area is offset by the logical x.
    const int x = m_owner.GetLogX();
    m_owner.RegPaint(CRect(x, 0, x + size.cx, size.cy));
    return true;
}

bool HostMessageHandler::OnPaint(plat::Window&, CDC& dc, const CRect&) {
    const DispatchScope scope;
    m_owner.OnPaint(&dc);
    return true;
}

bool HostMessageHandler::OnTimer(plat::Window& window, int id) {
    const DispatchScope scope;
    if (Translated(window, WM_TIMER, static_cast<std::uintptr_t>(id), CPoint()))
        return true;
    m_owner.XOnTimer(id);
    return true;
}

// The host, its page or the window may go inside any of these: the deletes wait.
bool HostMessageHandler::OnClose(plat::Window&) {
    const DispatchScope scope;
    return m_owner.OnCloseWindow();
}

bool HostMessageHandler::OnActivate(plat::Window&, bool active) {
    const DispatchScope scope;
    m_owner.OnActivateWindow(active);
    return true;
}

bool HostMessageHandler::OnActivateApp(plat::Window&, bool active) {
    const DispatchScope scope;
    m_owner.OnActivateAppWindow(active);
    return true;
}

bool HostMessageHandler::OnShowState(plat::Window&, plat::ShowState from, plat::ShowState to) {
    const DispatchScope scope;
    m_owner.OnShowStateWindow(from, to);
    return true;
}

bool HostMessageHandler::OnMessage(plat::Window&,
                                   unsigned message,
                                   std::uintptr_t wParam,
                                   std::intptr_t lParam,
                                   std::intptr_t& result) {
    if (message != XWindow::WM_GATE_DRAGGING && message != XWindow::WM_GATE_DROP)
        return false;
    const DispatchScope scope;
    // The element is only used once the host has checked it is the one being dragged.
    auto* source = reinterpret_cast<plat::Window*>(wParam);
    auto* element = reinterpret_cast<XElement*>(lParam);
    result = message == XWindow::WM_GATE_DRAGGING ? m_owner.XGateDragging(source, element)
                                                  : m_owner.XGateDrop(source, element);
    return true;
}

} // namespace orvo
