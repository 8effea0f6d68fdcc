#include "ui/xwnd.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XWnd>();

} // namespace

XWnd::XWnd() {
    m_nStyle |= XDO_STYLE_NATIVEWND;
}

int XWnd::CreateInstance() {
    return XWindow::CreateInstance() && CreateOwnWindow(plat::WindowKind::Child, L"");
}
