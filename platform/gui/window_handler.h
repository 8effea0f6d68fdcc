#pragma once
// What a window does with its events. A window has one handler (its owner) and any number of
// hooks stacked above it (see CSubclassWnd); each event goes to the latest hook first and
// down the stack until one answers true. What nobody handles gets the window's default.
#include <cstdint>

#include "platform/base/geometry.h"
#include "platform/gui/window_events.h"

class CDC;

namespace plat {

class Window;

class WindowHandler {
public:
    virtual ~WindowHandler() = default;

    virtual bool OnMouse(Window&, const MouseEvent&) { return false; }
    // Unhandled keys go on to the parent window.
    virtual bool OnKey(Window&, const KeyEvent&) { return false; }
    // The new client size.
    virtual bool OnSize(Window&, CSize) { return false; }
    // `dc` draws into the window, clipped to `invalid` (client coordinates), which was filled
    // with the window's background colour first.
    virtual bool OnPaint(Window&, CDC&, const CRect&) { return false; }
    // Handled, the window stays as the handler left it; unhandled, it hides.
    virtual bool OnClose(Window&) { return false; }
    virtual bool OnTimer(Window&, int) { return false; }
    virtual bool OnFocus(Window&, bool) { return false; }
    // Top-level windows: the window became the active one or stopped being it.
    virtual bool OnActivate(Window&, bool) { return false; }
    // Top-level windows: the application as a whole became active or inactive.
    virtual bool OnActivateApp(Window&, bool) { return false; }
    // Top-level windows: minimised, maximised or restored, from one state to another.
    virtual bool OnShowState(Window&, ShowState /*from*/, ShowState /*to*/) { return false; }
    // Sent and posted messages; `result` is what SendMessage answers.
    virtual bool
    OnMessage(Window&, unsigned, std::uintptr_t, std::intptr_t, std::intptr_t& /*result*/) {
        return false;
    }
};

} // namespace plat
