#include "ui/xproxy_wnd.h"

#include "platform/gui/window.h"
#include "ui/window_message.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XProxyWnd>();

} // namespace

XProxyWnd::XProxyWnd() {
    m_nStyle |= XDO_STYLE_NATIVEWND;
}

int XProxyWnd::SetElement(XElement* e) {
    if (!XWindow::SetElement(e) || !e)
        return 0;
    e->GetBool(L"Popup", m_bPopup);
    return 1;
}

int XProxyWnd::CreateInstance() {
    return XWindow::CreateInstance() &&
           CreateOwnWindow(m_bPopup ? plat::WindowKind::Popup : plat::WindowKind::Child,
                           L"ProxyWnd");
}

int XProxyWnd::OnPreTranslateMsg(MSG* msg) {
    auto* host =
        dynamic_cast<XWindow*>(parent() ? parent()->GetXDO(XDO_STYLE_WINDOWHOST, 0) : nullptr);
    plat::Window* target = host ? host->GetNativeWindow() : nullptr;
    plat::Window* own = GetNativeWindow();
    if (!msg || !target || !own)
        return 0;
    MSG forwarded = *msg;
    forwarded.hwnd = target;
    forwarded.pt = target->ScreenToClient(own->ClientToScreen(msg->pt));
    return host->OnPreTranslateMsg(&forwarded);
}
