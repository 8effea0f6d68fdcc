#pragma once
// MSG: a queued window message as the screen manager's "TranslateMsg" and an object's
// OnPreTranslateMsg see it, before its window handles it. The core only declares it, so
// that it never sees the platform's windows.
#include <cstdint>

#include "platform/base/geometry.h"

namespace plat {
class Window;
}

struct MSG {
    plat::Window* hwnd = nullptr;
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    CPoint pt; // client coordinates of the window, for mouse messages
};

namespace orvo {

// The message numbers of the messages a window host forwards.
constexpr unsigned WM_KEYDOWN = 0x100;
constexpr unsigned WM_KEYUP = 0x101;
constexpr unsigned WM_TIMER = 0x113;
constexpr unsigned WM_MOUSEMOVE = 0x200;
constexpr unsigned WM_LBUTTONDOWN = 0x201;
constexpr unsigned WM_LBUTTONUP = 0x202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x203;
constexpr unsigned WM_RBUTTONDOWN = 0x204;
constexpr unsigned WM_RBUTTONUP = 0x205;
constexpr unsigned WM_RBUTTONDBLCLK = 0x206;
constexpr unsigned WM_MOUSEWHEEL = 0x20A;

} // namespace orvo
