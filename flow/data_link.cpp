#include "flow/data_link.h"

#include "core/contracts.h"
#include "core/xdo.h"
#include "data/meta_io_data.h"
#include "nubra/contract.h"
#include "nubra/tok.h"
#include "nubra/trim_blanks.h"

namespace {

// "[name]" gives name; anything else is not a part name.
bool PartName(const std::wstring& sub, std::wstring& part) {
    if (sub.size() < 2 || sub.front() != L'[' || sub.back() != L']')
        return false;
    part = sub.substr(1, sub.size() - 2);
    return true;
}

} // namespace

CDataLink::CDataLink(std::wstring name, XMetaIOData* structure) : m_name(std::move(name)) {
    if (!m_name.empty() && m_name.front() == L':') {
        m_name.erase(0, 1);
        return;
    }
    if (structure && structure->GetRowFieldIndex(m_name.c_str(), m_path))
        m_kind = STRUCT_FIELD;
    else
        m_path.clear();
}

void CDataLink::Resolve(XDO* owner) {
    if (m_kind != UNRESOLVED || !owner)
        return;
    std::wstring objectName;
    std::wstring sub;
    CNameTok::SplitName(m_name, objectName, sub);
    XDO* found = FindLink(owner, objectName);
    if (!found)
        return;
    if (orvo::HasStyle(found, XDO_STYLE_UI)) {
        XDO* visual = found;
        if (!sub.empty()) {
            static orvo::ContractMethod<orvo::contract::VisualGetSubObject> s_getSubObject;
            std::wstring part;
            auto getSubObject = s_getSubObject.Get(found);
            visual = PartName(sub, part) && getSubObject ? getSubObject(part.c_str()) : nullptr;
            if (!visual)
                return;
        }
        m_kind = VISUAL;
        m_object = found->WeakRef();
        m_visual = visual->WeakRef();
        return;
    }
    if (orvo::HasStyle(found, XDO_STYLE_IODATA) && !sub.empty()) {
        XMetaIOData* io = AsMetaIOData(found);
        if (!io || !io->GetRowFieldIndex(sub.c_str(), m_ioPath)) {
            m_ioPath.clear();
            return;
        }
        m_kind = IO_FIELD;
        m_object = found->WeakRef();
        m_ioData = found->WeakRef();
        return;
    }
    m_kind = OBJECT;
    m_object = found->WeakRef();
}

XDO* CDataLink::Object() const {
    auto* obj = static_cast<XDO*>(m_object.Get());
    return obj && !obj->IsTornDown() ? obj : nullptr;
}

XDO* CDataLink::Visual() const {
    if (m_kind != VISUAL)
        return nullptr;
    auto* obj = static_cast<XDO*>(m_visual.Get());
    return obj && !obj->IsTornDown() ? obj : nullptr;
}

bool CDataLink::Read(XMetaIOData* inUse, std::wstring& out) const {
    switch (m_kind) {
    case STRUCT_FIELD:
        return inUse && inUse->GetVal(m_path, out, 0);
    case OBJECT:
    case VISUAL: {
        XDO* obj = m_kind == OBJECT ? Object() : Visual();
        if (!obj)
            return false;
        out.clear();
        obj->GetData(&out);
        return true;
    }
    case IO_FIELD: {
        XDO* obj = Object();
        XMetaIOData* io = obj ? AsMetaIOData(obj) : nullptr;
        return io && io->GetVal(m_ioPath, out, 0);
    }
    default:
        return false;
    }
}

void CDataLink::Write(XMetaIOData* inUse, const std::wstring& value) const {
    switch (m_kind) {
    case STRUCT_FIELD:
        if (inUse)
            inUse->SetVal(m_path, value.c_str(), 0);
        break;
    case OBJECT:
    case VISUAL:
        if (XDO* obj = m_kind == OBJECT ? Object() : Visual())
            obj->SetData(value.c_str());
        break;
    case IO_FIELD:
        if (XDO* obj = Object()) {
            if (XMetaIOData* io = AsMetaIOData(obj))
                io->SetVal(m_ioPath, value.c_str(), 0);
        }
        break;
    default:
        break;
    }
}

void CDataLinks::Parse(const std::wstring& text, XMetaIOData* structure) {
    m_links.clear();
    CTok names(text, L",");
    std::wstring name;
    while (names.GetNext(name)) {
        const std::wstring_view trimmed = orvo::TrimBlanks(name);
        if (!trimmed.empty())
            m_links.emplace_back(std::wstring(trimmed), structure);
    }
}

void CDataLinks::Resolve(XDO* owner) {
    for (CDataLink& link : m_links)
        link.Resolve(owner);
}

namespace orvo {

std::wstring WrapWithFormatString(const std::wstring& format, const std::wstring& value) {
    std::wstring out;
    out.reserve(format.size() + value.size());
    bool used = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size()) {
            if (format[i + 1] == L'%') {
                out += L'%';
                ++i;
                continue;
            }
            if (format[i + 1] == L's' && !used) {
                out += value;
                used = true;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

} // namespace orvo
