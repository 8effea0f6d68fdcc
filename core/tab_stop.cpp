#include "core/tab_stop.h"

#include "core/focus_hooks.h"
#include "core/notice_messages.h"
#include "core/xdo.h"
#include "nubra/call_site.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"

int CTabStop::SetElement(XElement* e) {
    if (!e)
        return 0;
    e->GetValue(L"Control", m_controlName);
    m_controlName = plat::ToLower(m_controlName);
    if (m_controlName.empty()) {
        ConfirmMsg(L"<lib.tabstop control=\"\"> control 명이 지정되지 않았습니다.", 0, 0);
        return 0;
    }
    e->GetBool(L"DefaultButton", m_defaultButton);
    return 1;
}

void CTabStop::LinkObject(XDO* lib) {
    static orvo::MethodCall<XDO*()> s_getClient(L"GetClient");
    XDO* found = lib ? lib->GetObjByNameDown(m_controlName.c_str()) : nullptr;
    if (!found) {
        ConfirmMsg(
            plat::Format(L"TabStop object %s not found.\n<lib.tabstop>", m_controlName), 0, 0);
        return;
    }
    // A grid takes the keys in its client window.
    if (plat::EqualsNoCase(found->GetIXOKey(), L"Grid")) {
        if (auto getClient = s_getClient.Get(found); getClient) {
            if (XDO* client = getClient())
                found = client;
        }
    }
    m_control = found->WeakRef();
    if (auto* hooks = dynamic_cast<orvo::FocusHooks*>(found); hooks && found->GetSelectorOwner())
        hooks->JoinTabOrder();
}

XDO* CTabStop::Control() const {
    return static_cast<XDO*>(m_control.Get());
}
