#pragma once
// Windows virtual-key codes, which key handlers and GetKeyState speak, and the translation
// from Qt's key and button codes. Letters and digits are their upper-case ASCII codes.
namespace plat {

enum VirtualKey : int {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_MBUTTON = 0x04,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_F1 = 0x70, // ... VK_F24 = 0x87
    VK_NUMLOCK = 0x90,
    VK_SCROLL = 0x91,
};

// 0 for a key with no virtual-key code.
int VirtualKeyFromQtKey(int qtKey);
// The Qt key of a virtual-key code; 0 when there is none.
int QtKeyFromVirtualKey(int virtualKey);
// VK_LBUTTON, VK_RBUTTON or VK_MBUTTON; 0 for other buttons.
int VirtualKeyFromQtButton(int qtButton);

} // namespace plat
