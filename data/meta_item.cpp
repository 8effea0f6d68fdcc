#include "data/meta_item.h"

#include "core/element.h"
#include "data/type_keyword.h"
#include "platform/base/nocase.h"

int CMetaItem::SetElement(XElement* e) {
    if (!e || !m_id.empty())
        return 0;
    std::wstring id;
    // An empty id could never be told apart from "no reference", so it counts as missing.
    if (!e->GetValue(L"id", id) || id.empty())
        return 0;
    m_id = plat::ToLower(id);
    std::wstring keyword;
    if (e->GetValue(L"type", keyword)) {
        int size = orvo::kSizeNotGiven;
        e->GetValue(L"size", size);
        const orvo::TypeAndWidth typed = orvo::TypeFromKeyword(keyword, size);
        m_dataType = typed.type;
        m_size = typed.size;
    }
    e->GetValue(L"text", m_text);
    return 1;
}
