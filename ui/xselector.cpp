#include "ui/xselector.h"

#include <algorithm>

#include "core/contracts.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"
#include "ui/contracts.h"
#include "ui/xui.h"

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XSelector>();
} // namespace

ORVO_DISPATCH(XSelector,
              XDO,
              ORVO_METHOD(GetSelectObj),
              ORVO_PROPERTY_EX(GetSelectNo, SetSelectNo, SelectNo),
              ORVO_PROPERTY_EX(GetChangeTrigger, SetChangeTrigger, ChangeTrigger),
              ORVO_PROVIDE(orvo::contract::SelectorAddMember, AddMember),
              ORVO_PROVIDE(orvo::contract::SelectorGetCurUI, GetCurMember),
              ORVO_PROVIDE(orvo::contract::SelectorSelectMember, SelectMember))

XSelector::XSelector() {
    m_nStyle |= XDO_STYLE_SELECTOR;
}

int XSelector::SetElement(XElement* e) {
    if (!XDO::SetElement(e))
        return 0;
    e->GetValue(L"Select", m_select);
    e->GetBool(L"GateData", m_gateData);
    e->GetBool(L"ChangeTrigger", m_changeTrigger);
    return 1;
}

int XSelector::RunObjectEvent(int n) {
    const int result = XDO::RunObjectEvent(n);
    if (n == EVT_INITIALIZE)
        Select(m_select); // the number read from the markup or the settings
    return result;
}

void XSelector::Teardown() {
    // Members outliving the selector must not tell a destroyed one they leave.
    for (XUI* member : m_members)
        member->SetSelectorOwner(nullptr);
    m_members.clear();
    XDO::Teardown();
}

XUI* XSelector::Member(int n) const {
    return n >= 0 && static_cast<std::size_t>(n) < m_members.size()
               ? m_members[static_cast<std::size_t>(n)]
               : nullptr;
}

void XSelector::Select(int n) {
    if (m_nCreateState < 3) {
        m_select = n; // applied once the selector has initialised
        return;
    }
    if (XUI* previous = Member(m_select))
        previous->SetFlag(0, XUI::UI_SELECT);
    m_select = n;
    if (XUI* current = Member(m_select))
        current->SetFlag(XUI::UI_SELECT, 0);
    auto alive = WeakRef();
    RunObjectEvent(EVT_SELECT);
    // A gate already walking refuses a new trigger, so a selection made by a gate's apply
    // does not start another.
    if (alive.Alive() && m_changeTrigger && m_nCreateState == 4)
        TriggerLinkedGates();
}

void XSelector::Select(XUI* member) {
    Select(Find(member));
}

void XSelector::InitSelect() {
    Select(m_select);
}

void XSelector::SetSelectNo(long n) {
    if (n != m_select)
        Select(static_cast<int>(n));
}

void XSelector::DoSelect(int index, int on) {
    if (XUI* member = Member(index))
        member->SetFlag(on ? unsigned{XUI::UI_SELECT} : 0u, on ? 0u : unsigned{XUI::UI_SELECT});
}

XUI* XSelector::GetCurUI() const {
    return Member(m_select);
}

int XSelector::Find(const XUI* member) const {
    const auto it = std::find(m_members.begin(), m_members.end(), member);
    return it == m_members.end() ? -1 : static_cast<int>(it - m_members.begin());
}

int XSelector::Remove(XUI* member, int reselect) {
    const auto it = std::find(m_members.begin(), m_members.end(), member);
    if (it == m_members.end())
        return 0;
    m_members.erase(it);
    if (reselect) {
        m_select = -1;
        Select(-1);
    }
    return 1;
}

void XSelector::RemoveMember(XDO* member) {
    if (XUI* visual = AsVisual(member))
        Remove(visual, 0);
}

IXO* XSelector::GetSelectObj() const {
    return GetCurUI();
}

int XSelector::AddMember(XDO* member) {
    XUI* visual = AsVisual(member);
    if (!visual || Find(visual) >= 0)
        return 0;
    m_members.push_back(visual);
    return 1;
}

XDO* XSelector::GetCurMember() const {
    return GetCurUI();
}

int XSelector::SelectMember(XDO* member) {
    XUI* visual = AsVisual(member);
    if (!visual || Find(visual) < 0)
        return 0;
    Select(visual);
    return 1;
}

void XSelector::SetData(const wchar_t* value) {
    const int n = plat::_wtoi(value ? value : L"");
    if (Member(n))
        Select(n);
}

void XSelector::GetData(std::wstring* out) {
    if (!out)
        return;
    if (!m_gateData) {
        *out = std::to_wstring(m_select);
        return;
    }
    out->clear();
    if (XUI* current = GetCurUI())
        current->GetData(out);
}

int XSelector::GetPropW(const wchar_t* name, const wchar_t* sub, std::wstring& out) {
    if (name && plat::EqualsNoCase(name, L"select") && (!sub || !*sub)) {
        out = std::to_wstring(m_select);
        return 1;
    }
    return XDO::GetPropW(name, sub, out);
}

void XSelector::SaveObject(XElement* settings) {
    if (settings && m_bSave && !m_strName.empty())
        settings->SetValue(m_strName, std::to_wstring(m_select));
    _SaveObject(settings);
}

void XSelector::LoadObject(XElement* settings) {
    std::wstring kept;
    if (settings && m_bSave && !m_strName.empty() && settings->GetValue(m_strName, kept))
        m_select = plat::_wtoi(kept); // selected when the selector initialises
    _LoadObject(settings);
}
