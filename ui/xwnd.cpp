#include "ui/xwnd.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XWnd>();

// SetWindowPos without moving, sizing, activating or reordering, and shown.
constexpr unsigned kShowInPlace = 0x257;

} // namespace

XWnd::XWnd() {
    m_nStyle |= XDO_STYLE_NATIVEWND;
}

XWnd::~XWnd() {
    // The handler goes first: the window must not call into a host that is half gone.
    AttachWindow(nullptr);
    m_window.reset();
}

int XWnd::CreateInstance() {
    if (!XWindow::CreateInstance())
        return 0;
    auto* above =
        dynamic_cast<XWindow*>(parent() ? parent()->GetXDO(XDO_STYLE_WINDOWHOST, 0) : nullptr);
    plat::Window* parentWindow = above ? above->GetNativeWindow() : nullptr;
    const plat::WindowKind kind =
        parentWindow ? plat::WindowKind::Child : plat::WindowKind::TopLevel;
    // The rectangle layout gave this object is the window's place in its parent.
    const CRect place = *this;
    orvo::LayoutWindow* previous = GetHostWindow();
    auto window = std::make_unique<orvo::HostedWindow>(kind, parentWindow);
    window->Native().Move(place);
    if (!AttachWindow(window.get())) {
        AttachWindow(nullptr);
        if (previous)
            SetWindow(previous);
        return 0;
    }
    m_window = std::move(window);
    // A top-level window waits for its frame; a child shows unless the object is hidden. A
    // child not hidden explicitly would show with its parent.
    if (kind == plat::WindowKind::Child && IsShow())
        m_window->SetWindowPos(place, kShowInPlace);
    else
        m_window->Native().Hide();
    return 1;
}
