#pragma once
// FrameShell: the application shell the screen manager asks for frames and painting. It
// opens a page's frame once the page is built, knows the main frame and the active child
// frame, works with or without a multiple-document client, enables, minimises and closes the
// frames together, and paints registered window hosts once the current work is done.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/shell_hooks.h"
#include "nubra/ixo_ref.h"

class XFrame;

namespace orvo {

class FrameShell final : public ShellHooks {
public:
    FrameShell() = default;
    FrameShell(const FrameShell&) = delete;
    FrameShell& operator=(const FrameShell&) = delete;
    ~FrameShell();

    // Called once the main frame has gone (its window closed): the host ends its loop.
    void OnMainFrameClosed(std::function<void()> callback) { m_onMainClosed = std::move(callback); }

    int OpenFrame(XDO* frame) override;

    // Delayed painting: a registered host paints when the loop has finished its current work,
    // or after the paint time when one is set.
    // The owning window host sees each message of its window first (OnPreTranslateMsg).
    int TranslateMsg(MSG* msg, XDO* owner) override;

    int SetPaintTime(int ms) override;
    int RegPaint(XDO* host) override;
    int UnregPaint(XDO* host) override;
    // Paints every registered host now.
    void FlushPaint();

    int SetMainFrame(XDO* frame) override;
    XDO* GetMainFrame() override;
    int ActivateFrame(XDO* frame) override;
    int OnActivateFrame(XDO* frame, int active) override;
    XDO* GetActiveChildFrame() override;
    int SetFrameText(XDO* frame, const wchar_t* text) override;
    int Lock(int lock) override;
    int CloseMainFrame() override;
    int CloseAllWindow() override;
    int EnableAllWindow(int enable) override;
    int MinimizeAllWindow() override;
    int RestoreAllWindow() override;
    int SetExitProc(const wchar_t* proc) override;
    std::wstring GetExitProc() override { return m_exitProc; }
    // Multiple documents need both the mode and a live client.
    int SetMDI(int mdi) override;
    int GetMDI() override;

private:
    // The frames the screen manager knows, as frames.
    static std::vector<XFrame*> Frames();
    void SchedulePaint();

    IXORef m_mainFrame;
    IXORef m_activeChild;
    std::function<void()> m_onMainClosed;
    std::wstring m_exitProc;
    bool m_mdi = true;
    int m_lock = 0;
    int m_paintTimeMs = 0;
    bool m_paintScheduled = false;
    int m_paintTimer = 0;
    std::vector<IXORef> m_paintHosts;
    // Posted paint tasks reach the shell through this, and do nothing once it is gone.
    std::shared_ptr<FrameShell*> m_self = std::make_shared<FrameShell*>(this);
};

} // namespace orvo
