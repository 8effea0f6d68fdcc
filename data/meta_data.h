#pragma once
// XMetaData ("metadata"): a named group of meta items. Its "item" children either declare an
// item ("type" given) or make an alias: the id of an item already declared in a metadata
// object met by the nearest-first scan from here (ancestors, their earlier children and
// those children's subtrees; never this object's own descendants).
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/xdo.h"
#include "data/meta_item.h"
#include "nubra/ixo_ref.h"

class XMetaData : public XDO {
public:
    ORVO_KEY(L"metadata")

    // "Name" is required; "Text" is optional.
    int SetElement(XElement* e) override;
    // Handles "item" children; other children are accepted and ignored.
    int SetMethod(const wchar_t* name, XElement* e) override;

    const std::wstring& GetText() const { return m_text; }
    // The items this object declared, in declaration order (aliases are not among them).
    const std::vector<std::unique_ptr<CMetaItem>>& GetItems() const { return m_items; }

    // The item registered here under `id`, declared or aliased, or null. The id compares
    // exactly: ids are stored lower case, so callers pass lower-case ids. An alias whose
    // owner has been destroyed answers null.
    CMetaItem* GetItemByID(const wchar_t* id) const;
    // This object's table, then the tables of its subtree and of its later siblings with
    // theirs, in pre-order; the first hit wins.
    CMetaItem* GetItemByIDDown(const wchar_t* id) { return FindItemDown(this, id); }
    // The same search from any object: the metadata objects among `start`, its subtree and
    // its later siblings with theirs.
    static CMetaItem* FindItemDown(XDO* start, const wchar_t* id);

private:
    struct Entry {
        CMetaItem* item = nullptr;
        orvo::IXORef aliasOwner; // the declaring object, for aliases only
        bool alias = false;
    };

    int ReadItem(XElement* e);
    // The live entry under `id` in this object's table, or null.
    const Entry* FindEntry(const std::wstring& id) const;
    // An alias of the item under `id` in the first table the nearest-first scan from here
    // meets; an entry without item when none holds it.
    Entry FindAliasTarget(const std::wstring& id);
    static int VisitForAlias(int phase, XDO* node, TREE_SCAN_INFO<XDO>& info);

    std::wstring m_text;
    std::vector<std::unique_ptr<CMetaItem>> m_items;
    std::unordered_map<std::wstring, Entry> m_table;
};
