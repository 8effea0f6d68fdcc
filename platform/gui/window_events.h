#pragma once
// What a window tells its handlers about input, in Windows' terms: client coordinates,
// virtual-key codes, the MK_* state of buttons and modifiers, wheel steps of 120.
#include <string>

#include "platform/base/geometry.h"

namespace plat {

enum MouseKeyState : unsigned {
    MK_LBUTTON = 0x01,
    MK_RBUTTON = 0x02,
    MK_SHIFT = 0x04,
    MK_CONTROL = 0x08,
    MK_MBUTTON = 0x10,
};

enum class MouseAction { Move, ButtonDown, ButtonUp, DoubleClick, Wheel };

// How a top-level window is shown.
enum class ShowState { Normal, Minimized, Maximized };

struct MouseEvent {
    MouseAction action = MouseAction::Move;
    int button = 0;     // VK_LBUTTON, VK_RBUTTON or VK_MBUTTON for button actions, else 0
    CPoint point;       // client coordinates
    unsigned keys = 0;  // MK_* after the event
    int wheelDelta = 0; // multiples of 120, positive away from the user
};

struct KeyEvent {
    bool down = true;
    int virtualKey = 0; // 0 for a key without a code (the text may still carry a character)
    bool autoRepeat = false;
    std::wstring text; // the characters a press types, if any
};

} // namespace plat
