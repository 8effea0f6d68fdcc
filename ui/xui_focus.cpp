// A visual object as a control in its screen's tab order.
#include "core/object_lifetime.h"
#include "platform/gui/window.h"
#include "ui/contracts.h"
#include "ui/xui.h"
#include "ui/xwindow.h"

bool XUI::CanTakeFocus() const {
    for (XDO* node = const_cast<XUI*>(this); node; node = node->parent()) {
        const XUI* visual = AsVisual(node);
        if (visual && (!visual->IsShow() || !visual->IsEnabled()))
            return false;
    }
    return true;
}

void XUI::TakeFocus() {
    const orvo::IXORef alive = WeakRef();
    if (auto* host = dynamic_cast<XWindow*>(GetXDO(XDO_STYLE_WINDOWHOST, 1))) {
        if (plat::Window* window = host->GetNativeWindow())
            window->SetFocus();
    }
    if (!alive.Alive())
        return;
    if (auto* own = dynamic_cast<XWindow*>(this)) {
        if (plat::Window* window = own->GetNativeWindow())
            window->SetFocus();
    }
}

void XUI::SimulateClick() {
    // Handlers may destroy this object: its memory stays until the scope ends.
    const orvo::DispatchScope scope;
    const orvo::IXORef alive = WeakRef();
    const int before = m_nMouseState;
    SetEvent(XWindow::MOUSE_LDOWN, 1);
    if (XDO* selector = alive.Alive() ? GetSelectorOwner() : nullptr) {
        static orvo::ContractMethod<orvo::contract::SelectorSelectMember> s_select;
        if (auto select = s_select.Get(selector))
            select(this);
    }
    if (alive.Alive())
        AfterSetEvent(XWindow::MOUSE_LDOWN, nullptr);
    if (alive.Alive())
        SetEvent(XWindow::MOUSE_LUP, 1);
    if (alive.Alive())
        SetEvent(XWindow::MOUSE_LCLICK, 1);
    // The pointer is wherever it was: the object looks as it did before the key.
    if (alive.Alive())
        SetEvent(before, 0);
}

void XUI::JoinTabOrder() {
    SetFlag(UI_CANFOCUS, 0);
}
