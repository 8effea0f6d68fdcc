#include "flow/xgate_switch.h"

#include "core/xdo.h"
#include "nubra/tok.h"
#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"

namespace {

void ReadOverride(XElement* e, const wchar_t* name, XGateSwitch::Override& out) {
    bool value = out.value;
    if (e->GetBool(name, value)) {
        out.present = true;
        out.value = value;
    }
}

} // namespace

int XGateSwitch::SetElement(XElement* e) {
    std::wstring when;
    if (!e || !e->GetValue(L"When", when))
        return 0;
    CTok words(when, L",");
    std::wstring word;
    while (words.GetNext(word)) {
        const std::wstring_view w = orvo::TrimBlanks(word);
        if (plat::EqualsNoCase(w, L"Gather"))
            m_whenGather = true;
        else if (plat::EqualsNoCase(w, L"Apply"))
            m_whenApply = true;
    }
    const bool hasItem = e->GetValue(L"GateItem", m_gateItem) != 0;
    if (e->GetValue(L"GateName", m_gateName)) {
        plat::MakeLower(m_gateName);
        m_match = hasItem ? MATCH_BOTH : MATCH_GATE_NAME;
    } else if (hasItem) {
        m_match = MATCH_GATE_ITEM;
    } else {
        return 0;
    }
    if (m_match != MATCH_GATE_NAME) {
        plat::MakeLower(m_gateItem);
        m_hasValue = e->GetValue(L"Value", m_value) != 0;
    }
    ReadOverride(e, L"gup", m_gup);
    ReadOverride(e, L"gdown", m_gdown);
    ReadOverride(e, L"aup", m_aup);
    ReadOverride(e, L"adown", m_adown);
    ReadOverride(e, L"KeepInnerItem", m_keepInnerItem);
    return 1;
}

void XGateSwitch::LinkObject(XDO* anchor) {
    if (m_hasValue)
        m_value = FindData(anchor, m_value);
}

bool XGateSwitch::IsMatchingGatherSwitch(const XElement* element) const {
    return m_whenGather && IsMatchingSwitch(element);
}

bool XGateSwitch::IsMatchingApplySwitch(const XElement* element) const {
    return m_whenApply && IsMatchingSwitch(element);
}

bool XGateSwitch::IsMatchingSwitch(const XElement* element) const {
    switch (m_match) {
    case MATCH_GATE_NAME:
        return IsMatchingGateName(element);
    case MATCH_GATE_ITEM:
        return IsMatchingGateItem(element);
    case MATCH_BOTH:
        return IsMatchingGateName(element) && IsMatchingGateItem(element);
    default:
        return false;
    }
}

bool XGateSwitch::IsMatchingGateName(const XElement* element) const {
    return element && plat::EqualsNoCase(element->GetTagName(), m_gateName);
}

bool XGateSwitch::IsMatchingGateItem(const XElement* element) const {
    const std::wstring* value = element ? element->FindValue(m_gateItem) : nullptr;
    return value && (!m_hasValue || *value == m_value);
}
