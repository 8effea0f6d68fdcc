#include "flow/xdata_control.h"

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XDataControl>();
} // namespace

ORVO_DISPATCH(XDataControl, XDO)

XDataControl::XDataControl() {
    m_nStyle |= XDO_STYLE_DATACONTROL;
}

int XDataControl::SetElement(XElement* e) {
    if (!XDO::SetElement(e) || !e)
        return 0;
    int lazyTime = 0;
    if (e->GetValue(L"LazyTime", lazyTime)) {
        m_lazyTime = static_cast<unsigned>(lazyTime);
        m_lazy = 1;
        m_syncTRLazy = 0;
    }
    if (e->GetBool(L"Lazy", m_lazy))
        m_syncTRLazy = 0;
    e->GetBool(L"LazyEnforce", m_lazyEnforce);
    return 1;
}

int XDataControl::RunObjectEvent(int n) {
    if (!XDO::RunObjectEvent(n))
        return 0;
    if (n == EVT_INITIALIZE && !m_lazyEnforce)
        InheritLazy(parent());
    return 1;
}

int XDataControl::InheritLazy(XDO* start) {
    for (XDO* up = start; up; up = up->parent()) {
        if (!orvo::HasStyle(up, XDO_STYLE_DATACONTROL))
            continue;
        auto* control = orvo::KindOf<XDataControl>(up);
        if (!control)
            continue;
        if (control->m_lazyEnforce) {
            m_lazy = control->m_lazy;
            m_lazyTime = control->m_lazyTime;
            m_syncTRLazy = 0;
            return 1;
        }
        if (control->m_lazy && !m_lazy) {
            if (static_cast<int>(control->m_lazyTime) > 0) {
                m_lazy = 1;
                m_lazyTime = control->m_lazyTime;
                m_syncTRLazy = 0;
            }
            return 1;
        }
    }
    return 0;
}

void XDataControl::SyncTRLazy(const XTR* tr) {
    if (!m_syncTRLazy || !tr)
        return;
    m_lazy = tr->GetLazyProc();
    m_lazyTime = static_cast<unsigned>(tr->GetLazyTime());
}

void XDataControl::SyncSwitchLazy(const XTR::Switch* trSwitch) {
    if (!m_syncTRLazy || !trSwitch || !trSwitch->ApplyLazy)
        return;
    m_lazy = trSwitch->Lazy;
    if (trSwitch->ApplyTime)
        m_lazyTime = static_cast<unsigned>(trSwitch->LazyTime);
}
