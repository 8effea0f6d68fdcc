// The frame's window: made by frame style, opened by the screen manager, activated, restored
// and closed through the close protocol.
#include "core/object_lifetime.h"
#include "core/scr_man.h"
#include "nubra/call_site.h"
#include "ui/frame_caption.h"
#include "ui/hosted_window.h"
#include "ui/xframe.h"
#include "ui/xtheme.h"

namespace {

// The main frame's window, or null.
plat::Window* MainWindow() {
    auto* main = dynamic_cast<XWindow*>(XScrMan::Instance().GetMainFrame());
    return main ? main->GetNativeWindow() : nullptr;
}

// The window of the main frame's multiple-document client, or null.
plat::Window* MdiClientWindow() {
    XDO* main = XScrMan::Instance().GetMainFrame();
    auto* client = dynamic_cast<XWindow*>(main ? main->GetXDODown(L"MDIClient") : nullptr);
    return client ? client->GetNativeWindow() : nullptr;
}

} // namespace

int XFrame::CreateInstance() {
    if (!XWindow::CreateInstance() || !MakeFrameWindow())
        return 0;
    plat::Window* window = GetNativeWindow();
    if (m_minTrack.cx >= 0)
        window->SetMinTrackSize(m_minTrack);
    if (m_maxTrack.cx > 0)
        window->SetMaxTrackSize(m_maxTrack);
    XScrMan::Instance().RegisterFrame(this);
    if (m_nFrameStyle == FRAME_MAIN)
        XScrMan::Instance().SetMainFrame(this);
    if (m_nFrameStyle == FRAME_POPUPFRAME || m_nFrameStyle == FRAME_POPUP) {
        if (m_nFrameStyle == FRAME_POPUP)
            m_focusBeforePopup = plat::Window::FocusWindow() ? plat::Window::FocusWindow()->Ref()
                                                             : plat::WindowRef();
        window->Show(m_bInitActivate);
    }
    return 1;
}

bool XFrame::MakeFrameWindow() {
    switch (m_nFrameStyle) {
    case FRAME_MAIN:
        return CreateOwnWindow(plat::WindowKind::TopLevel, L"Kestrel");
    case FRAME_CHILD:
        if (plat::Window* client = MdiClientWindow())
            return MakeChildWindow(*client);
        // The client went between reading the element and now.
        m_nFrameStyle = FRAME_POPUPFRAME;
        return CreateOwnWindow(plat::WindowKind::TopLevel, L"Kestrel POPUP FRAME");
    case FRAME_POPUPFRAME:
        // Owned by the main window while there is a client, so it stays above it.
        return CreateOwnWindow(plat::WindowKind::TopLevel,
                               L"Kestrel POPUP FRAME",
                               nullptr,
                               MdiClientWindow() ? MainWindow() : nullptr);
    case FRAME_POPUP:
        return CreateOwnWindow(plat::WindowKind::Popup, L"Kestrel POPUP", nullptr, MainWindow());
    case FRAME_DIALOG:
        return CreateOwnWindow(plat::WindowKind::TopLevel, L"");
    default:
        return false;
    }
}

bool XFrame::MakeChildWindow(plat::Window& client) {
    orvo::FrameCaption::Actions actions;
    // The caption window belongs to this frame and goes with it.
    actions.activate = [this] { Activate(); };
    actions.close = [this] { CloseFrame(); };
    actions.resized = [this](const CRect& inner) {
        if (plat::Window* window = GetNativeWindow())
            window->Move(inner);
    };
    m_captionWindow = std::make_unique<orvo::FrameCaption>(client, *this, std::move(actions));
    m_captionWindow->SetTitle(CaptionTitle());
    if (XTheme* theme = CurrentTheme()) {
        COLORREF strip = 0, text = 0, edge = 0;
        if (theme->GetColor(L"Panel", &strip) && theme->GetColor(L"Text", &text) &&
            theme->GetColor(L"Edge", &edge))
            m_captionWindow->SetColours(strip, text, edge);
    }
    if (!CreateOwnWindow(plat::WindowKind::Child, L"Kestrel CHILD", &m_captionWindow->Window())) {
        m_captionWindow.reset();
        return false;
    }
    GetNativeWindow()->Move(m_captionWindow->InnerRect());
    m_captionWindow->SetInnerLimits(m_minTrack, m_maxTrack);
    return true;
}

std::wstring XFrame::CaptionTitle() const {
    const std::wstring* text = m_caption ? m_caption->FindValue(L"Text") : nullptr;
    return text && !text->empty() ? *text : GetName();
}

void XFrame::SetFrameTitle(const std::wstring& title) {
    if (m_captionWindow)
        m_captionWindow->SetTitle(title);
    else if (plat::Window* window = GetNativeWindow())
        window->SetTitle(title);
}

void XFrame::OnButtonDown(unsigned flags, CPoint pt, int code) {
    const orvo::IXORef alive = WeakRef();
    if (m_captionWindow)
        Activate();
    if (alive.Alive())
        XWindow::OnButtonDown(flags, pt, code);
}

int XFrame::OpenFrame() {
    plat::Window* window = GetNativeWindow();
    if (!window)
        return 0;
    if (m_nFrameStyle == FRAME_DIALOG)
        return RunDialog();
    if (m_nFrameStyle == FRAME_MAIN)
        window->Show(m_bInitActivate);
    if (m_bInitActivate) {
        if (m_nFrameStyle != FRAME_POPUP)
            Activate();
        window->SetFocus();
        GiveInitialFocus();
    }
    return 1;
}

void XFrame::GiveInitialFocus() {
    static orvo::MethodCall<int()> s_initFocus(L"InitFocus");
    // Depth first: an object, its children, then its following siblings; the search stops at
    // the first library that takes the focus.
    GetTopParent()->find_down([](XDO* node) {
        if (!orvo::HasStyle(node, XDO_STYLE_SCREEN))
            return false;
        auto initFocus = s_initFocus.Get(node);
        return initFocus && initFocus() != 0;
    });
}

int XFrame::RunDialog() {
    plat::Window* window = GetNativeWindow();
    plat::Window* active = plat::Window::ActiveWindow();
    plat::Window* focus = plat::Window::FocusWindow();
    const plat::WindowRef activeRef = active ? active->Ref() : plat::WindowRef();
    const plat::WindowRef focusRef = focus ? focus->Ref() : plat::WindowRef();
    XScrMan& scrMan = XScrMan::Instance();
    scrMan.EnableAllWindow(0);
    window->RunModal();
    // The page goes when this returns 0; its window goes with it, now hidden.
    scrMan.EnableAllWindow(1);
    if (plat::Window* w = activeRef.Get())
        w->Activate();
    if (plat::Window* w = focusRef.Get())
        w->SetFocus();
    return 0;
}

bool XFrame::QueryClose() {
    if (m_nCloseConfirm)
        return true;
    m_nCloseConfirm = 1;
    const bool exiting = !XScrMan::Instance().GetExitProc().empty();
    const orvo::IXORef alive = WeakRef();
    SendEvtVB(L"OnCloseFrame", exiting ? L"ExitProc=True" : L"ExitProc=False");
    // A handler that destroyed the frame has closed it already.
    if (!alive.Alive())
        return false;
    return exiting || m_nForceClose || m_nCloseConfirm != 0;
}

bool XFrame::OnCloseWindow() {
    if (!QueryClose())
        return true;
    // A dialog's window hides, which ends its modal loop; the screen manager then ends the
    // page.
    if (m_nFrameStyle == FRAME_DIALOG)
        return false;
    orvo::DestroyObject(GetTopParent());
    return true;
}

void XFrame::OnActivateApp(bool active) {
    SendEvtVB(active ? L"OnActivateApp" : L"OnInactivateApp", nullptr);
}

void XFrame::OnActivateFrame(bool active) {
    const orvo::IXORef alive = WeakRef();
    SendEvtVB(active ? L"OnActivate" : L"OnInactivate", nullptr);
    if (!alive.Alive())
        return;
    XScrMan::Instance().OnActivateFrame(this, active ? 1 : 0);
    if (active && alive.Alive())
        GiveFocusBack();
}

void XFrame::GiveFocusBack() {
    static orvo::MethodCall<int()> s_giveFocus(L"GiveFocus");
    // The screen library that last held the focus gives it to the object it remembers.
    XDO* library = GetTopParent()->GetFocusRecord();
    if (!library || !IsLiveXdo(library) || !orvo::HasStyle(library, XDO_STYLE_SCREEN))
        return;
    if (auto giveFocus = s_giveFocus.Get(library))
        giveFocus();
}

void XFrame::OnShowStateWindow(plat::ShowState from, plat::ShowState to) {
    if (m_nFrameStyle == FRAME_MAIN && from == plat::ShowState::Minimized &&
        to != plat::ShowState::Minimized)
        SendEvtVB(L"OnRestoreFrame", L"FROM=MINIMIZE");
}

void XFrame::Teardown() {
    XScrMan& scrMan = XScrMan::Instance();
    scrMan.UnRegisterFrame(this);
    if (scrMan.GetMainFrame() == this)
        scrMan.SetMainFrame(nullptr);
    XWindow::Teardown();
}
