// XLib's focus travel: the tab stops of a screen, Tab and Shift+Tab between them, Enter and
// Space on the focused control.
#include <algorithm>

#include "core/focus_hooks.h"
#include "core/lib.h"
#include "core/object_lifetime.h"
#include "platform/base/key_state.h"

namespace {

constexpr unsigned kTab = 0x09;
constexpr unsigned kEnter = 0x0D;
constexpr unsigned kSpace = 0x20;
constexpr int kShift = 0x10;

orvo::FocusHooks* HooksOf(XDO* control) {
    return dynamic_cast<orvo::FocusHooks*>(control);
}

} // namespace

bool XLib::CanFocus(XDO* control) {
    if (!control || !IsLiveXdo(control))
        return false;
    const orvo::FocusHooks* hooks = HooksOf(control);
    return !hooks || hooks->CanTakeFocus();
}

void XLib::GatherTabStop(std::vector<CTabStop*>& stops) const {
    stops.clear();
    for (const auto& stop : m_tabStops) {
        if (CanFocus(stop->Control()))
            stops.push_back(stop.get());
    }
}

XDO* XLib::CurrentFocus() const {
    return m_currentTabStop ? m_currentTabStop->Control() : nullptr;
}

CTabStop* XLib::DefaultButton() const {
    std::vector<CTabStop*> stops;
    GatherTabStop(stops);
    const auto found =
        std::find_if(stops.begin(), stops.end(), [](CTabStop* s) { return s->IsDefaultButton(); });
    return found == stops.end() ? nullptr : *found;
}

void XLib::GiveFocus(CTabStop* stop) {
    XDO* control = stop ? stop->Control() : nullptr;
    if (!control)
        return;
    // Focusing windows makes the control that had the focus commit what was typed into it,
    // and its handlers may take this screen away.
    const orvo::DispatchScope scope;
    const orvo::IXORef self = WeakRef();
    const orvo::IXORef target = control->WeakRef();
    if (orvo::FocusHooks* hooks = HooksOf(control))
        hooks->TakeFocus();
    if (!self.Alive() || !target.Alive())
        return;
    control->SetFocus();
    if (!self.Alive())
        return;
    m_currentTabStop = stop;
    GetTopParent()->SetFocusRecord(this);
}

int XLib::InitFocus() {
    XDO* record = GetTopParent()->GetFocusRecord();
    if (record && record != this)
        return 0;
    std::vector<CTabStop*> stops;
    GatherTabStop(stops);
    if (stops.empty())
        return 0;
    GiveFocus(stops.front());
    return 1;
}

int XLib::RestoreFocus() {
    if (m_currentTabStop && CanFocus(m_currentTabStop->Control())) {
        GiveFocus(m_currentTabStop);
        return 1;
    }
    return InitFocus();
}

int XLib::NotifySetFocus(XDO* object) {
    if (!object)
        return 0;
    for (const auto& stop : m_tabStops) {
        if (stop->Control() == object) {
            m_currentTabStop = stop.get();
            GetTopParent()->SetFocusRecord(this);
            return 1;
        }
    }
    return 0;
}

int XLib::TabNavi(bool forward) {
    std::vector<CTabStop*> stops;
    GatherTabStop(stops);
    const auto current = std::find(stops.begin(), stops.end(), m_currentTabStop);
    if (current == stops.end())
        return 0;
    const auto count = static_cast<std::ptrdiff_t>(stops.size());
    const std::ptrdiff_t index = current - stops.begin();
    CTabStop* next = stops[static_cast<std::size_t>((index + (forward ? 1 : count - 1)) % count)];
    if (next == m_currentTabStop)
        return 0;
    GiveFocus(next);
    return 1;
}

void XLib::SimulateMouseClick(XDO* control) {
    if (orvo::FocusHooks* hooks = HooksOf(control))
        hooks->SimulateClick();
}

int XLib::FocusKeyProc(unsigned key) {
    switch (key) {
    case kTab:
        return TabNavi(plat::GetKeyState(kShift) >= 0);
    case kEnter: {
        CTabStop* stop = DefaultButton();
        XDO* control = stop ? stop->Control() : CurrentFocus();
        if (!control)
            return 0;
        SimulateMouseClick(control);
        return 1;
    }
    case kSpace: {
        XDO* control = CurrentFocus();
        if (!control)
            return 0;
        SimulateMouseClick(control);
        return 1;
    }
    default:
        return 0;
    }
}
