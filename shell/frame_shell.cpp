#include "shell/frame_shell.h"

#include <algorithm>

#include "core/lib.h"
#include "core/object_lifetime.h"
#include "core/scr_man.h"
#include "platform/base/event_loop.h"
#include "shell/xmdi_client.h"
#include "ui/window_message.h"
#include "ui/xframe.h"
#include "ui/xui.h"

namespace orvo {

FrameShell::~FrameShell() {
    if (plat::EventLoop* loop = plat::EventLoop::Current(); loop && m_paintTimer)
        loop->KillTimer(m_paintTimer);
}

std::vector<XFrame*> FrameShell::Frames() {
    std::vector<XFrame*> frames;
    for (XDO* frame : XScrMan::Instance().Frames()) {
        if (auto* f = dynamic_cast<XFrame*>(frame))
            frames.push_back(f);
    }
    return frames;
}

int FrameShell::OpenFrame(XDO* frame) {
    auto* f = dynamic_cast<XFrame*>(frame);
    // Anything else named "Frame" has no window to open.
    return f ? f->OpenFrame() : 1;
}

// ---- delayed painting
// ----------------------------------------------------------------------------

namespace {

// The screen whose tab order the keys of `host`'s window travel: the one that last took the
// focus in that window's tree, else the one around the focused object, else the host's own.
XLib* KeyboardScreen(XDO* host) {
    XDO* top = host->GetTopParent();
    if (auto* record = dynamic_cast<XLib*>(top->GetFocusRecord()); record && IsLiveXdo(record))
        return record;
    if (XUI* focused = XUI::GetFocusedObject();
        focused && IsLiveXdo(focused) && top->FindObjectInTree(focused, 0)) {
        if (auto* screen = dynamic_cast<XLib*>(focused->GetXDO(XDO_STYLE_SCREEN, 1)))
            return screen;
    }
    return dynamic_cast<XLib*>(host->GetXDO(XDO_STYLE_SCREEN, 0));
}

} // namespace

int FrameShell::TranslateMsg(MSG* msg, XDO* owner) {
    if (!msg || !owner)
        return 0;
    if (owner->OnPreTranslateMsg(msg))
        return 1;
    if (msg->message != WM_KEYDOWN)
        return 0;
    XLib* screen = KeyboardScreen(owner);
    return screen && screen->FocusKeyProc(static_cast<unsigned>(msg->wParam)) ? 1 : 0;
}

int FrameShell::SetPaintTime(int ms) {
    const int previous = m_paintTimeMs;
    m_paintTimeMs = std::max(ms, 0);
    return previous;
}

int FrameShell::RegPaint(XDO* host) {
    auto* window = dynamic_cast<XWindow*>(host);
    plat::EventLoop* loop = plat::EventLoop::Current();
    // Without a loop nothing would paint later: the host paints at once.
    if (!window || !loop)
        return 0;
    const IXORef ref = host->WeakRef();
    if (std::find(m_paintHosts.begin(), m_paintHosts.end(), ref) == m_paintHosts.end())
        m_paintHosts.push_back(ref);
    SchedulePaint();
    return 1;
}

int FrameShell::UnregPaint(XDO* host) {
    const auto before = m_paintHosts.size();
    std::erase(m_paintHosts, host ? host->WeakRef() : IXORef());
    return m_paintHosts.size() != before;
}

void FrameShell::SchedulePaint() {
    if (m_paintScheduled)
        return;
    plat::EventLoop* loop = plat::EventLoop::Current();
    m_paintScheduled = true;
    const std::weak_ptr<FrameShell*> self = m_self;
    if (m_paintTimeMs <= 0) {
        loop->Post([self] {
            if (auto shell = self.lock())
                (*shell)->FlushPaint();
        });
        return;
    }
    m_paintTimer = loop->SetTimer(static_cast<unsigned>(m_paintTimeMs), [self] {
        auto shell = self.lock();
        if (!shell)
            return;
        FrameShell& me = **shell;
        plat::EventLoop::Current()->KillTimer(me.m_paintTimer);
        me.m_paintTimer = 0;
        me.FlushPaint();
    });
}

void FrameShell::FlushPaint() {
    m_paintScheduled = false;
    // Painting may register hosts again; they wait for the next pass.
    std::vector<IXORef> hosts;
    hosts.swap(m_paintHosts);
    for (const IXORef& ref : hosts) {
        if (auto* host = dynamic_cast<XWindow*>(ref.Get()))
            host->DoPaint();
    }
}

// ---- frames
// --------------------------------------------------------------------------------------

int FrameShell::SetMainFrame(XDO* frame) {
    const bool hadMain = m_mainFrame.Alive();
    m_mainFrame = frame ? frame->WeakRef() : IXORef();
    if (!frame && hadMain && m_onMainClosed)
        m_onMainClosed();
    return 1;
}

XDO* FrameShell::GetMainFrame() {
    return static_cast<XDO*>(m_mainFrame.Get());
}

int FrameShell::ActivateFrame(XDO* frame) {
    auto* f = dynamic_cast<XFrame*>(frame);
    return f && f->Activate();
}

int FrameShell::OnActivateFrame(XDO* frame, int active) {
    auto* f = dynamic_cast<XFrame*>(frame);
    if (!f || f->GetFrameStyle() != XFrame::FRAME_CHILD)
        return 0;
    if (active)
        m_activeChild = f->WeakRef();
    else if (m_activeChild == f->WeakRef())
        m_activeChild = {};
    return 1;
}

XDO* FrameShell::GetActiveChildFrame() {
    return static_cast<XDO*>(m_activeChild.Get());
}

int FrameShell::SetFrameText(XDO* frame, const wchar_t* text) {
    auto* f = dynamic_cast<XFrame*>(frame);
    if (!f || !f->GetNativeWindow())
        return 0;
    f->SetFrameTitle(text ? text : L"");
    return 1;
}

int FrameShell::Lock(int lock) {
    const int previous = m_lock;
    m_lock = lock;
    auto* main = dynamic_cast<XFrame*>(GetMainFrame());
    if (plat::Window* window = main ? main->GetNativeWindow() : nullptr)
        window->LockUpdates(lock != 0);
    return previous;
}

int FrameShell::CloseMainFrame() {
    auto* main = dynamic_cast<XFrame*>(GetMainFrame());
    return main && main->CloseFrame();
}

int FrameShell::CloseAllWindow() {
    int closed = 0;
    for (XFrame* frame : Frames()) {
        if (frame->GetFrameStyle() != XFrame::FRAME_MAIN && !frame->IsSysFrame())
            closed += frame->CloseFrame() ? 1 : 0;
    }
    return closed;
}

int FrameShell::EnableAllWindow(int enable) {
    for (XFrame* frame : Frames()) {
        // A dialog stays usable while it disables the others.
        if (frame->GetFrameStyle() == XFrame::FRAME_DIALOG)
            continue;
        if (plat::Window* window = frame->GetNativeWindow())
            window->SetEnabled(enable != 0);
    }
    return 1;
}

int FrameShell::MinimizeAllWindow() {
    for (XFrame* frame : Frames()) {
        if (plat::Window* window = frame->GetNativeWindow())
            window->SetShowState(plat::ShowState::Minimized);
    }
    return 1;
}

int FrameShell::RestoreAllWindow() {
    for (XFrame* frame : Frames()) {
        if (plat::Window* window = frame->GetNativeWindow();
            window && window->GetShowState() == plat::ShowState::Minimized)
            window->SetShowState(plat::ShowState::Normal);
    }
    return 1;
}

int FrameShell::SetExitProc(const wchar_t* proc) {
    m_exitProc = proc ? proc : L"";
    return 1;
}

int FrameShell::SetMDI(int mdi) {
    m_mdi = mdi != 0;
    return 1;
}

int FrameShell::GetMDI() {
    return m_mdi && XMdiClient::Current() ? 1 : 0;
}

} // namespace orvo
