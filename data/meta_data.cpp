#include "data/meta_data.h"

#include "core/notice_messages.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XMetaData>();

struct AliasSearch {
    const std::wstring* id;
    XMetaData* holder;
};
} // namespace

int XMetaData::SetElement(XElement* e) {
    if (!XDO::SetElement(e))
        return 0;
    std::wstring name;
    if (!e || !e->GetValue(L"Name", name))
        return 0;
    e->GetValue(L"Text", m_text);
    return 1;
}

int XMetaData::SetMethod(const wchar_t* name, XElement* e) {
    if (!plat::EqualsNoCase(name ? name : L"", L"item"))
        return 1;
    return ReadItem(e);
}

int XMetaData::ReadItem(XElement* e) {
    if (!e)
        return 0;
    std::wstring id;
    e->GetValue(L"id", id);
    plat::MakeLower(id);
    if (m_table.contains(id)) {
        ConfirmMsg(plat::Format(L"ID (%s) already registered", id), 0, 0);
        return 0;
    }
    std::wstring keyword;
    if (e->GetValue(L"type", keyword)) {
        auto item = std::make_unique<CMetaItem>();
        if (!item->SetElement(e)) {
            ConfirmMsg(L"metaType configuration file error", 0, 0);
            return 0;
        }
        m_table[id] = Entry{item.get(), {}, false};
        m_items.push_back(std::move(item));
        return 1;
    }
    Entry alias = FindAliasTarget(id);
    if (!alias.item)
        return 0;
    m_table[id] = std::move(alias);
    return 1;
}

const XMetaData::Entry* XMetaData::FindEntry(const std::wstring& id) const {
    auto it = m_table.find(id);
    if (it == m_table.end() || (it->second.alias && !it->second.aliasOwner.Alive()))
        return nullptr;
    return &it->second;
}

CMetaItem* XMetaData::GetItemByID(const wchar_t* id) const {
    const Entry* entry = FindEntry(id ? id : L"");
    return entry ? entry->item : nullptr;
}

CMetaItem* XMetaData::FindItemDown(XDO* start, const wchar_t* id) {
    if (!start)
        return nullptr;
    CMetaItem* found = nullptr;
    start->find_down([&](XDO* node) {
        auto* meta = dynamic_cast<XMetaData*>(node);
        return meta && (found = meta->GetItemByID(id)) != nullptr;
    });
    return found;
}

int XMetaData::VisitForAlias(int phase, XDO* node, TREE_SCAN_INFO<XDO>& info) {
    if (phase != orvo::ScanVisit)
        return 0;
    auto* search = static_cast<AliasSearch*>(info.user);
    auto* meta = dynamic_cast<XMetaData*>(node);
    if (meta && meta->FindEntry(*search->id)) {
        search->holder = meta;
        info.result = node;
        info.stop = true;
    }
    return 0;
}

XMetaData::Entry XMetaData::FindAliasTarget(const std::wstring& id) {
    if (id.empty())
        return {};
    AliasSearch search{&id, nullptr};
    TREE_SCAN_INFO<XDO> info;
    info.callback = &XMetaData::VisitForAlias;
    info.user = &search;
    info.skip = this; // neither this table (it lacks the id) nor the objects below
    ScanTreeDown(info);
    if (!search.holder)
        return {};
    const Entry* held = search.holder->FindEntry(id);
    // An alias of an alias shares the declaring object's item and watches that object.
    return Entry{held->item, held->alias ? held->aliasOwner : search.holder->WeakRef(), true};
}
