#pragma once
// HostMessageHandler: the handler of a window host's platform window. It hands paint, size,
// timer and mouse messages to the host, mouse points with the host's logical x added, and
// lets the screen manager's "TranslateMsg" take any queued message first.
#include "platform/gui/window_handler.h"

class XWindow;

namespace orvo {

class HostMessageHandler final : public plat::WindowHandler {
public:
    explicit HostMessageHandler(XWindow& owner) : m_owner(owner) {}

    bool OnMouse(plat::Window& window, const plat::MouseEvent& event) override;
    bool OnKey(plat::Window& window, const plat::KeyEvent& event) override;
    bool OnSize(plat::Window& window, CSize size) override;
    bool OnPaint(plat::Window& window, CDC& dc, const CRect& invalid) override;
    bool OnTimer(plat::Window& window, int id) override;
    bool OnClose(plat::Window& window) override;
    bool OnActivate(plat::Window& window, bool active) override;
    bool OnActivateApp(plat::Window& window, bool active) override;
    bool OnShowState(plat::Window& window, plat::ShowState from, plat::ShowState to) override;
    // The gate drag-and-drop messages.
    bool OnMessage(plat::Window& window,
                   unsigned message,
                   std::uintptr_t wParam,
                   std::intptr_t lParam,
                   std::intptr_t& result) override;

private:
    // Whether the screen manager consumed the message.
    bool Translated(plat::Window& window, unsigned message, std::uintptr_t wParam, CPoint pt);

    XWindow& m_owner;
};

} // namespace orvo
