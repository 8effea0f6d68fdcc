#include "ui/xproxy_wnd.h"

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
