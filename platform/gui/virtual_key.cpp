#include "platform/gui/virtual_key.h"

#include <Qt>

namespace plat {

int VirtualKeyFromQtKey(int qtKey) {
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey; // Qt uses the same ASCII codes
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Pause:
        return VK_PAUSE;
    case Qt::Key_CapsLock:
        return VK_CAPITAL;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_NumLock:
        return VK_NUMLOCK;
    case Qt::Key_ScrollLock:
        return VK_SCROLL;
    default:
        return 0;
    }
}

int VirtualKeyFromQtButton(int qtButton) {
    switch (qtButton) {
    case Qt::LeftButton:
        return VK_LBUTTON;
    case Qt::RightButton:
        return VK_RBUTTON;
    case Qt::MiddleButton:
        return VK_MBUTTON;
    default:
        return 0;
    }
}

} // namespace plat

namespace plat {

int QtKeyFromVirtualKey(int virtualKey) {
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return virtualKey;
    if (virtualKey >= VK_F1 && virtualKey < VK_F1 + 24)
        return Qt::Key_F1 + (virtualKey - VK_F1);
    // The keys without a letter: the first Qt key that maps to the code.
    static constexpr int kNamed[] = {
        Qt::Key_Backspace, Qt::Key_Tab,       Qt::Key_Return,   Qt::Key_Shift,  Qt::Key_Control,
        Qt::Key_Alt,       Qt::Key_Pause,     Qt::Key_CapsLock, Qt::Key_Escape, Qt::Key_Space,
        Qt::Key_PageUp,    Qt::Key_PageDown,  Qt::Key_End,      Qt::Key_Home,   Qt::Key_Left,
        Qt::Key_Up,        Qt::Key_Right,     Qt::Key_Down,     Qt::Key_Insert, Qt::Key_Delete,
        Qt::Key_NumLock,   Qt::Key_ScrollLock};
    for (int key : kNamed) {
        if (VirtualKeyFromQtKey(key) == virtualKey)
            return key;
    }
    return 0;
}

} // namespace plat
