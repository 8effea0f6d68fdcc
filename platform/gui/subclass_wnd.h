#pragma once
// CSubclassWnd: sees the events of a window that another module made and owns, before that
// module's handler does. Derive from it, override the WindowHandler calls of interest and
// answer false for what should go on to the window's own handling.
#include "platform/gui/window.h"
#include "platform/gui/window_handler.h"

class CSubclassWnd : public plat::WindowHandler {
public:
    CSubclassWnd() = default;
    // Unhooks, if the window still lives.
    ~CSubclassWnd() override;
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // Hooks `window`, unhooking the one hooked before; null or a dead window only unhooks and
    // answers false.
    bool HookWindow(plat::Window* window);
    // The hooked window; null when none or when it has been destroyed.
    plat::Window* HookedWindow() const { return m_window.Get(); }

private:
    plat::WindowRef m_window;
};
