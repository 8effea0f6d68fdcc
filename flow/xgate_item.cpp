#include "flow/xgate_item.h"

#include "core/notice_messages.h"
#include "core/xdo.h"
#include "nubra/tok.h"
#include "nubra/trim_blanks.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"

namespace orvo {

int ParseGateTypes(const std::wstring& text, bool allowDrag) {
    int types = 0;
    CTok words(text, L",");
    std::wstring word;
    while (words.GetNext(word)) {
        const std::wstring_view w = orvo::TrimBlanks(word);
        if (plat::EqualsNoCase(w, L"Input") || plat::EqualsNoCase(w, L"Apply"))
            types |= XGateItem::TYPE_INPUT;
        else if (plat::EqualsNoCase(w, L"Output") || plat::EqualsNoCase(w, L"Gather"))
            types |= XGateItem::TYPE_OUTPUT;
        else if (plat::EqualsNoCase(w, L"Param"))
            types |= XGateItem::TYPE_PARAM;
        else if (plat::EqualsNoCase(w, L"Save"))
            types |= XGateItem::TYPE_SAVE;
        else if (allowDrag && plat::EqualsNoCase(w, L"Drag"))
            types |= XGateItem::TYPE_DRAG;
    }
    return types;
}

} // namespace orvo

int XGateItem::SetElement(XElement* e) {
    if (!e)
        return 1;
    std::wstring types;
    if (e->GetValue(L"Type", types))
        m_type = orvo::ParseGateTypes(types, true);
    e->GetValue(L"Name", m_name);
    plat::MakeLower(m_name);
    e->GetValue(L"Link", m_link);
    e->GetValue(L"Value", m_value);
    e->GetBool(L"FromUp", m_fromUp);
    e->GetBool(L"FromDown", m_fromDown);
    e->GetBool(L"FromSelf", m_fromSelf);
    return 1;
}

int XGateItem::LinkObject(XDO* anchor) {
    m_linked = {};
    if (!anchor)
        return 0;
    if (m_link.empty())
        return 1;
    XDO* found = plat::EqualsNoCase(anchor->GetName(), m_link)
                     ? anchor
                     : anchor->GetNearObjByName(m_link.c_str());
    if (!found) {
        ConfirmMsg(plat::Format(
                       L"<gate.gateitem name=\"%s\" link=\"%s\"> link not found.", m_name, m_link),
                   0,
                   0);
        return 1;
    }
    m_linked = found->WeakRef();
    return 1;
}

XDO* XGateItem::GetLinked() const {
    auto* linked = static_cast<XDO*>(m_linked.Get());
    return linked && !linked->IsTornDown() ? linked : nullptr;
}

bool XGateItem::ActsFrom(int direction) const {
    switch (direction) {
    case TREE_SCAN_INFO<XDO>::DIR_SELF:
        return m_fromSelf;
    case TREE_SCAN_INFO<XDO>::DIR_FROM_CHILD:
        return m_fromDown;
    default:
        return m_fromUp;
    }
}

void XGateItem::GetOutputInfo(XElement* element, XElement* drag, int direction) {
    if (!HasType(TYPE_OUTPUT | TYPE_DRAG) || !ActsFrom(direction))
        return;
    XElement* main =
        HasType(TYPE_OUTPUT) && element && !element->HaveKey(m_name) ? element : nullptr;
    XElement* dragTarget = HasType(TYPE_DRAG) && drag && !drag->HaveKey(m_name) ? drag : nullptr;
    if (!main && !dragTarget)
        return;
    if (XDO* linked = GetLinked())
        linked->GetData(&m_value);
    if (main)
        main->SetValue(m_name, m_value);
    if (dragTarget)
        dragTarget->SetValue(m_name, m_value);
}

void XGateItem::SetInputInfo(XElement* element, int direction) {
    if (!HasType(TYPE_INPUT) || !ActsFrom(direction) || !element)
        return;
    const std::wstring* value = element->FindValue(m_name);
    if (!value)
        return;
    m_value = *value;
    if (XDO* linked = GetLinked())
        linked->SetData(m_value.c_str());
}
