#include "flow/link_input.h"

#include "core/element.h"
#include "data/meta_io_data.h"

int CLinkInput::SetElement(XElement* e, XMetaIOData* request) {
    std::wstring item;
    if (!e || !request || !e->GetValue(L"Item", item) ||
        !request->GetRowFieldIndex(item.c_str(), m_path))
        return 0;
    std::wstring value;
    if (e->GetValue(L"Value", value)) {
        request->SetVal(m_path, value.c_str(), 0);
    } else if (e->GetValue(L"GateItem", m_gateItem)) {
        m_gateMode = true;
    } else {
        e->GetValue(L"Link", m_link);
    }
    std::wstring format;
    if (e->GetValue(L"Format", format))
        m_format = std::make_unique<CFormat>(format);
    return 1;
}

void CLinkInput::MakeObject(XDO*) {
    if (!m_link.empty())
        m_targets.Parse(m_link, nullptr);
}

void CLinkInput::LinkObject(XDO* owner) {
    m_targets.Resolve(owner);
}

int CLinkInput::Store(std::wstring value, XMetaIOData* request) const {
    if (m_format)
        value = m_format->GetString(value);
    // A value the field refuses (too long, not a number) leaves the field as it was.
    if (request)
        request->SetVal(m_path, value.c_str(), 0);
    return 1;
}

int CLinkInput::SetGateItem(const XElement* gate, XMetaIOData* request) {
    const std::wstring* value = gate ? gate->FindValue(m_gateItem) : nullptr;
    return value ? Store(*value, request) : 0;
}

int CLinkInput::SetLinkItem(XMetaIOData* request) {
    std::wstring value;
    if (m_targets.Empty() || !m_targets[0].Read(nullptr, value))
        return 0;
    return Store(std::move(value), request);
}

int CLinkInput::CheckGateItem(const XElement* gate, XMetaIOData*) const {
    return gate && gate->HaveKey(m_gateItem) ? 1 : 0;
}
