// The window host: element, life, script methods and window moves.
#include "ui/xwindow.h"

#include "core/scr_man.h"
#include "platform/gui/registered_message.h"
#include "ui/host_message_handler.h"
#include "ui/hosted_window.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XWindow>();

} // namespace

ORVO_DISPATCH(XWindow,
              XUI,
              ORVO_METHOD(SetLogX),
              ORVO_METHOD(GetLogX),
              ORVO_METHOD(Refresh),
              ORVO_METHOD(ToggleRegPaint),
              ORVO_METHOD(OffsetWindow),
              ORVO_METHOD(MoveWindow),
              ORVO_METHOD(LockWindowUpdate),
              ORVO_METHOD(UnlockWindowUpdate),
              ORVO_PROPERTY_EX(GetTopmost, SetTopmost, Topmost))

bool XWindow::s_bRegPaint = true;
XElement* XWindow::s_pDragElem = nullptr;
orvo::GateDragHooks XWindow::s_gateDrag;
const unsigned XWindow::WM_GATE_DRAGGING = plat::RegisterWindowMessage(L"Window.GateDragging");
const unsigned XWindow::WM_GATE_DROP = plat::RegisterWindowMessage(L"Window.GateDrop");

XWindow::XWindow() {
    m_nStyle |= XDO_STYLE_WINDOWHOST;
}

XWindow::~XWindow() {
    // The handler goes first: the window must not call into a host that is half gone.
    AttachWindow(nullptr);
    m_ownWindow.reset();
}

void XWindow::Teardown() {
    XScrMan::Instance().UnregPaint(this);
    for (int id = TIMER_HOVER; id <= TIMER_UPDATE; ++id)
        StopTimer(id);
    for (const ObjectTimer& timer : m_timers) {
        if (plat::Window* window = GetNativeWindow())
            window->KillTimer(timer.id);
    }
    m_timers.clear();
    DropDragElement();
    if (HoldsCapture())
        plat::Window::ReleaseCapture();
    m_tracked = {};
    XUI::Teardown();
}

int XWindow::SetElement(XElement* e) {
    if (!XUI::SetElement(e) || !e)
        return 0;
    e->GetValue(L"PaintDelay", m_nPaintDelay);
    return 1;
}

int XWindow::RunObjectEvent(int id) {
    if (!XUI::RunObjectEvent(id))
        return 0;
    if (id == EVT_INITIALIZE && m_nPaintDelay == -1)
        InheritPaintDelay();
    return 1;
}

void XWindow::InheritPaintDelay() {
    for (XDO* up = parent(); up; up = up->parent()) {
        auto* host = orvo::HasStyle(up, XDO_STYLE_NATIVEWND) ? dynamic_cast<XWindow*>(up) : nullptr;
        if (!host)
            continue;
        if (host->m_nPaintDelay > 0) {
            m_nPaintDelay = host->m_nPaintDelay;
            return;
        }
        // An ancestor that asked for painting at once keeps its subtree that way.
        if (host->m_nPaintDelay == 0)
            return;
    }
}

// ---- the window ---------------------------------------------------------------------------------

int XWindow::AttachWindow(orvo::HostedWindow* window) {
    if (m_pHosted && m_handler)
        m_pHosted->Native().SetHandler(nullptr);
    m_pHosted = nullptr;
    m_handler.reset();
    if (!window)
        return 1;
    if (!window->IsWindow())
        return 0;
    m_pHosted = window;
    m_handler = std::make_unique<orvo::HostMessageHandler>(*this);
    window->Native().SetHandler(m_handler.get());
    window->Native().SetCursor(m_cursor);
    return SetWindow(window);
}

int XWindow::CreateOwnWindow(plat::WindowKind kind,
                             std::wstring_view title,
                             plat::Window* parentWindow,
                             plat::Window* owner) {
    // SetWindowPos without moving, sizing, activating or reordering, and shown.
    constexpr unsigned kShowInPlace = 0x257;
    if (!parentWindow) {
        auto* above =
            dynamic_cast<XWindow*>(parent() ? parent()->GetXDO(XDO_STYLE_WINDOWHOST, 0) : nullptr);
        parentWindow = above ? above->GetNativeWindow() : nullptr;
    }
    if (kind == plat::WindowKind::Child && !parentWindow)
        kind = plat::WindowKind::TopLevel;
    // The rectangle layout gave this object is the window's place in its parent.
    const CRect place = *this;
    orvo::LayoutWindow* previous = GetHostWindow();
    auto window = std::make_unique<orvo::HostedWindow>(
        kind, kind == plat::WindowKind::Child ? parentWindow : owner);
    window->Native().SetTitle(title);
    window->Native().Move(place);
    if (!AttachWindow(window.get())) {
        AttachWindow(nullptr);
        if (previous)
            SetWindow(previous);
        return 0;
    }
    m_ownWindow = std::move(window);
    // A child not hidden explicitly would show with its parent.
    if (kind == plat::WindowKind::Child && IsShow())
        m_ownWindow->SetWindowPos(place, kShowInPlace);
    else
        m_ownWindow->Native().Hide();
    return 1;
}

plat::Window* XWindow::GetNativeWindow() const {
    return m_pHosted && m_pHosted->IsWindow() ? &m_pHosted->Native() : nullptr;
}

orvo::LayoutWindow* XWindow::GetOwnWindow() {
    return m_pHosted;
}

void XWindow::Refresh() {
    if (GetNativeWindow())
        InvalidateWindow(nullptr);
}

bool XWindow::OffsetWindow(int dl, int dt, int dr, int db) {
    plat::Window* window = GetNativeWindow();
    if (!window)
        return false;
    // GetWindowRect is in the parent's client coordinates for a child, on the screen for
    // the others: the units Move takes.
    CRect rect = window->GetWindowRect();
    rect.left += dl;
    rect.top += dt;
    rect.right += dr;
    rect.bottom += db;
    window->Move(rect);
    // Growing only uncovers new area, which the window paints anyway.
    const bool grows = dl <= 0 && dt <= 0 && dr >= 0 && db >= 0;
    if (!grows)
        InvalidateWindow(nullptr);
    return true;
}

bool XWindow::MoveWindow(int l, int t, int r, int b) {
    plat::Window* window = GetNativeWindow();
    if (!window)
        return false;
    window->Move(CRect(l, t, r, b));
    InvalidateWindow(nullptr);
    return true;
}

bool XWindow::LockWindowUpdate() {
    plat::Window* window = GetNativeWindow();
    if (window)
        window->LockUpdates(true);
    return window != nullptr;
}

bool XWindow::UnlockWindowUpdate() {
    plat::Window* window = GetNativeWindow();
    if (window)
        window->LockUpdates(false);
    return window != nullptr;
}

bool XWindow::GetTopmost() const {
    const plat::Window* window = GetNativeWindow();
    return window && window->IsTopmost();
}

void XWindow::SetTopmost(bool topmost) {
    if (plat::Window* window = GetNativeWindow())
        window->SetTopmost(topmost);
}
