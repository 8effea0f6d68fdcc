#include "platform/gui/subclass_wnd.h"

CSubclassWnd::~CSubclassWnd() {
    HookWindow(nullptr);
}

bool CSubclassWnd::HookWindow(plat::Window* window) {
    if (plat::Window* hooked = m_window.Get())
        hooked->RemoveHook(this);
    m_window = {};
    if (!window || !window->IsAlive())
        return false;
    window->AddHook(this);
    m_window = window->Ref();
    return true;
}
